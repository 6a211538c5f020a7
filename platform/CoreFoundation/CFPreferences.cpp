#include "CFPreferences.h"

#include "Foundation/NSDictionary.h"
#include "Foundation/NSLog.h"
#include "Foundation/PropertyList.h"
#include "Platform/Platform.h"

#include <cstdio>

namespace platform {

std::string preferencesFilePath(const std::string& domain)
{
    return devicePath("/var/mobile/Library/Preferences/" + domain + ".plist");
}

bool writePreferencesFile(const std::string& domain, const NSDictionary* values, bool overUnreadableFile, const char* writer)
{
    std::string path = preferencesFilePath(domain);
    if (overUnreadableFile) {
        std::string keep = path + ".unreadable";
        if (std::rename(path.c_str(), keep.c_str()) == 0)
            NSLog("%s: kept the unreadable %s as %s", writer, path.c_str(), keep.c_str());
    }
    std::string error;
    if (!writePropertyListAtomically(values, path, &error)) {
        NSLog("%s: cannot write %s (%s)", writer, path.c_str(), error.c_str());
        return false;
    }
    return true;
}

} // namespace platform
