#include "ScratchFolder.h"

#include <cstdlib>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr long kTmpfsMagic = 0x01021994;

bool isRoomyMemoryFolder(const char* folder)
{
    struct statfs kind {};
    struct statvfs space {};
    if (::statfs(folder, &kind) != 0 || kind.f_type != kTmpfsMagic)
        return false;
    if (::statvfs(folder, &space) != 0)
        return false;
    return static_cast<unsigned long long>(space.f_bavail) * space.f_frsize >= kScratchMemoryFolderRoom && ::access(folder, W_OK | X_OK) == 0;
}

} // namespace

std::string chooseScratchFolder(const char* temporaryVariable, const char* memoryFolder)
{
    if (temporaryVariable && *temporaryVariable)
        return temporaryVariable;
    if (memoryFolder && isRoomyMemoryFolder(memoryFolder))
        return memoryFolder;
    return "/tmp";
}

const std::string& scratchFolder()
{
    static const std::string folder = chooseScratchFolder(std::getenv("TMPDIR"), "/dev/shm");
    return folder;
}

} // namespace platform
