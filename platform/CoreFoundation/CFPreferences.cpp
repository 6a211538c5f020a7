#include "CFPreferences.h"

#include "Foundation/NSDictionary.h"
#include "Foundation/NSLog.h"
#include "Foundation/PropertyList.h"
#include "Platform/Platform.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>

namespace platform {

namespace {

// Renames `from` to `to` unless something is already there.
bool renameWithoutReplacing(const std::string& from, const std::string& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system without the flag: look first (a race only another writer could lose).
    struct stat existing {};
    if (::lstat(to.c_str(), &existing) == 0)
        return false;
    return std::rename(from.c_str(), to.c_str()) == 0;
}

// Keeps the unreadable file beside the target, as "<file>.unreadable", or
// "<file>.unreadable.2", ".3", ... when earlier ones are still there.
void keepUnreadableFile(const std::string& path, const char* writer)
{
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0)
        return;
    for (int number = 1; number <= 1000; ++number) {
        std::string keep = path + ".unreadable" + (number == 1 ? std::string() : "." + std::to_string(number));
        if (renameWithoutReplacing(path, keep)) {
            NSLog("%s: kept the unreadable %s as %s", writer, path.c_str(), keep.c_str());
            return;
        }
        if (errno != EEXIST)
            return;
    }
}

} // namespace

std::string preferencesFilePath(const std::string& domain)
{
    return devicePath("/var/mobile/Library/Preferences/" + domain + ".plist");
}

bool writePreferencesFile(const std::string& domain, const NSDictionary* values, bool overUnreadableFile, const char* writer,
    std::string* problem)
{
    std::string path = preferencesFilePath(domain);
    std::string error;
    // Check before keeping anything aside: a value that cannot be written leaves the
    // folder exactly as it was.
    if (xmlPropertyList(values, &error).empty()) {
        NSLog("%s: cannot write %s (%s)", writer, path.c_str(), error.c_str());
        if (problem)
            *problem = error;
        return false;
    }
    if (overUnreadableFile)
        keepUnreadableFile(path, writer);
    if (!writePropertyListAtomically(values, path, &error)) {
        NSLog("%s: cannot write %s (%s)", writer, path.c_str(), error.c_str());
        if (problem)
            *problem = error;
        return false;
    }
    return true;
}

} // namespace platform
