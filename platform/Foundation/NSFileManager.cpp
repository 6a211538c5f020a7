#include "NSFileManager.h"

#include "NSString.h"
#include "Platform/Platform.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace {
std::filesystem::path hostPath(const NSString* devicePath)
{
    return platform::devicePath(devicePath->string());
}
} // namespace

id NSFileManager::defaultManagerMethod(Class, SEL)
{
    static NSFileManager* manager = alloc().leakRef();
    return manager;
}

bool NSFileManager::fileExistsMethod(NSFileManager*, SEL, id path)
{
    auto* devicePath = objc_cast<NSString>(path);
    if (!devicePath)
        return false;
    std::error_code error;
    // Like Foundation, a symbolic link counts by what it points at.
    return std::filesystem::exists(hostPath(devicePath), error);
}

bool NSFileManager::createDirectoryAtPath(const NSString* devicePath, bool withIntermediateDirectories) const
{
    if (!devicePath)
        return false;
    std::error_code error;
    auto path = hostPath(devicePath);
    if (withIntermediateDirectories)
        std::filesystem::create_directories(path, error);
    else
        std::filesystem::create_directory(path, error);
    return std::filesystem::is_directory(path, error);
}

bool NSFileManager::removeItemAtPath(const NSString* devicePath) const
{
    if (!devicePath)
        return false;
    std::error_code error;
    auto removed = std::filesystem::remove_all(hostPath(devicePath), error);
    return !error && removed != 0 && removed != static_cast<std::uintmax_t>(-1);
}
