// Where device roots and other scratch folders go: the user's $TMPDIR first, a memory
// file system with room next, else /tmp.

#include "Platform/ScratchFolder.h"

#include <gtest/gtest.h>

#include <sys/statfs.h>
#include <sys/statvfs.h>

namespace {

bool isRoomyTmpfs(const char* folder)
{
    struct statfs kind {};
    struct statvfs space {};
    return ::statfs(folder, &kind) == 0 && kind.f_type == 0x01021994 && ::statvfs(folder, &space) == 0
        && static_cast<unsigned long long>(space.f_bavail) * space.f_frsize >= platform::kScratchMemoryFolderRoom;
}

} // namespace

TEST(Platform_ScratchFolder, TheUsersTemporaryFolderComesFirstThenAMemoryFileSystem)
{
    EXPECT_EQ(platform::chooseScratchFolder("/var/tmp/mine", "/dev/shm"), "/var/tmp/mine");
    // A folder on a disk's file system is never taken for a memory one.
    EXPECT_EQ(platform::chooseScratchFolder(nullptr, "/"), "/tmp");
    EXPECT_EQ(platform::chooseScratchFolder("", "/nonexistent-memory-folder"), "/tmp");
    if (!isRoomyTmpfs("/dev/shm"))
        GTEST_SKIP() << "this machine has no /dev/shm memory file system with room";
    EXPECT_EQ(platform::chooseScratchFolder(nullptr, "/dev/shm"), "/dev/shm");
}
