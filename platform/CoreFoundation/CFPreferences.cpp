#include "CFPreferences.h"

#include "Foundation/NSDictionary.h"
#include "Foundation/NSLog.h"
#include "Foundation/PropertyList.h"
#include "Platform/BeneathFolder.h"
#include "Platform/Platform.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr const char* kPreferencesFolder = "var/mobile/Library/Preferences";

// Renames `from` to `to` in `folder` unless something is already there.
bool renameWithoutReplacing(int folder, const std::string& from, const std::string& to)
{
    if (::renameat2(folder, from.c_str(), folder, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system without the flag: look first (a race only another writer could lose).
    struct stat existing {};
    if (::fstatat(folder, to.c_str(), &existing, AT_SYMLINK_NOFOLLOW) == 0) {
        errno = EEXIST;
        return false;
    }
    return ::renameat(folder, from.c_str(), folder, to.c_str()) == 0;
}

// Keeps the unreadable file beside the target, as "<file>.unreadable", or
// "<file>.unreadable.2", ".3", ... when earlier ones are still there.
void keepUnreadableFile(int folder, const std::string& fileName, const std::string& path, const char* writer)
{
    struct stat status {};
    if (::fstatat(folder, fileName.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0)
        return;
    for (int number = 1; number <= 1000; ++number) {
        std::string suffix = ".unreadable" + (number == 1 ? std::string() : "." + std::to_string(number));
        if (renameWithoutReplacing(folder, fileName, fileName + suffix)) {
            NSLog("%s: kept the unreadable %s as %s", writer, path.c_str(), (path + suffix).c_str());
            return;
        }
        if (errno != EEXIST)
            return;
    }
}

} // namespace

std::string preferencesFilePath(const std::string& domain)
{
    return devicePath("/" + std::string(kPreferencesFolder) + "/" + domain + ".plist");
}

bool writePreferencesFile(const std::string& domain, const NSDictionary* values, bool overUnreadableFile, const char* writer,
    std::string* problem)
{
    std::string path = preferencesFilePath(domain);
    std::string fileName = domain + ".plist";
    std::string error;
    auto fail = [&] {
        NSLog("%s: cannot write %s (%s)", writer, path.c_str(), error.c_str());
        if (problem)
            *problem = error;
        return false;
    };
    // Check before keeping anything aside: a value that cannot be written leaves the
    // folder exactly as it was.
    if (xmlPropertyList(values, &error).empty())
        return fail();
    // The folder is found beneath the device root by the kernel: a Preferences folder that
    // is a link out of the root (or a domain name with a slash) cannot take the write
    // elsewhere.
    BeneathFolder root(deviceRoot());
    int folder = root.valid() && fileName.find('/') == std::string::npos ? root.openFolder(kPreferencesFolder, true) : -1;
    if (folder < 0) {
        const char* why = ledOutOfFolder(errno) ? "leads outside the device root" : std::strerror(errno);
        if (fileName.find('/') != std::string::npos)
            why = "a domain may not hold a slash";
        error = kPreferencesFolder;
        error += ": ";
        error += why;
        return fail();
    }
    if (overUnreadableFile)
        keepUnreadableFile(folder, fileName, path, writer);
    bool written = writePropertyListAtomically(values, folder, fileName, &error);
    ::close(folder);
    if (!written)
        return fail();
    return true;
}

} // namespace platform
