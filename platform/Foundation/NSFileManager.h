#pragma once
// NSFileManager: file-system questions about device paths ("/Library/..."), answered
// inside the device root.

#include "NSObject.h"

namespace platform {
void registerFoundationTimeClasses();
}

class NSFileManager : public NSObject {
    OBJC_INTERFACE(NSFileManager)
public:
    NSFileManager() = default;

    // +defaultManager, sent to the class: the process's manager; it lives as long as the
    // process.
    static NSFileManager* defaultManager() { return static_cast<NSFileManager*>(objc_sendToClass<"NSFileManager", "defaultManager", id>()); }

    // Sent through the runtime, so hooks see it.
    // -fileExistsAtPath:, through the runtime.
    bool fileExistsAtPath(const NSString* devicePath) const
    {
        return objc_send<"fileExistsAtPath:", bool>(this, reinterpret_cast<id>(const_cast<NSString*>(devicePath)));
    }
    // Makes the folder (and, when asked, the missing folders above it). True when the
    // folder exists afterwards.
    bool createDirectoryAtPath(const NSString* devicePath, bool withIntermediateDirectories) const;
    // Removes a file or a whole folder. False when nothing was there or removal failed.
    bool removeItemAtPath(const NSString* devicePath) const;

private:
    friend void platform::registerFoundationTimeClasses();
    static bool fileExistsMethod(NSFileManager*, SEL, id path);
    static id defaultManagerMethod(Class, SEL);
};
