#pragma once
// NSBundle: a folder on the device with an Info.plist, resources and an executable that
// can be loaded into the process. The Settings app loads preference bundles this way;
// a controller finds its own bundle (for its specifier lists) with bundleForClass.

#include "NSDictionary.h"
#include "NSObject.h"
#include "NSString.h"

#include <string>

class NSBundle : public NSObject {
    OBJC_INTERFACE(NSBundle)
public:
    NSBundle() = default;

    // The bundle at a device path ("/Library/PreferenceBundles/x.bundle"), or nil when
    // there is no folder there. One object per path for the life of the process.
    static NSBundle* bundleWithPath(const NSString* devicePath);
    static NSBundle* bundleWithPath(const std::string& devicePath);
    // The loaded bundle whose executable defines the class's methods (its own or, for a
    // class that defines none, its nearest ancestor's), or nil for a class of the platform.
    static NSBundle* bundleForClass(Class);

    // Device path.
    const std::string& bundlePath() const { return m_path; }
    NSString* bundleIdentifier() const;
    // Info.plist's dictionary; empty when the bundle has none or it does not read.
    NSDictionary* infoDictionary() const { return m_info.get(); }
    NSObject* objectForInfoDictionaryKey(std::string_view key) const { return m_info->objectForKey(key); }

    // The device path of "<name>.<type>" in the bundle, or nil when there is no such file.
    objc::RefPtr<NSString> pathForResource(const NSString* name, const NSString* type) const;
    objc::RefPtr<NSString> pathForResource(const std::string& name, const std::string& type) const;

    // Loads the executable (CFBundleExecutable, else the bundle's name, with or without
    // ".so"); its classes register as it loads. Loading twice does nothing. False, with
    // the reason in loadError(), when there is none or it does not load.
    bool load();
    bool isLoaded() const { return m_handle; }
    const std::string& loadError() const { return m_loadError; }
    // NSPrincipalClass from Info.plist, loading the bundle first; nil if absent.
    Class principalClass();

    std::string descriptionString() const override;

    static void registerRuntimeClass();

private:
    std::string executableHostPath() const;

    std::string m_path;
    objc::RefPtr<NSDictionary> m_info;
    void* m_handle = nullptr;
    std::string m_executable;
    std::string m_loadError;
};
