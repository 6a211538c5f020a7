#include "ScratchFolder.h"

#include <cstdlib>
#include <sys/statfs.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr long kTmpfsMagic = 0x01021994;

bool isRoomyMemoryFolder(const char* folder)
{
    struct statfs status {};
    if (::statfs(folder, &status) != 0 || status.f_type != kTmpfsMagic)
        return false;
    return static_cast<unsigned long long>(status.f_bavail) * static_cast<unsigned long long>(status.f_bsize) >= kScratchMemoryFolderRoom
        && ::access(folder, W_OK | X_OK) == 0;
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
