#pragma once
// Where a process makes the short-lived folders it removes again: a device root laid out
// for one run, with the notification FIFOs its processes open in it. A few megabytes each,
// living as long as the run.
//
// $TMPDIR when the user set it. Otherwise a memory file system when there is one with room
// (/dev/shm, a tmpfs): laying out a device root and removing it costs a fraction there of
// what it costs on a disk's file system, whose inode allocator slows down as files come and
// go. Otherwise the system's temporary folder.

#include <string>

namespace platform {

// The folder, looked up once a process.
const std::string& scratchFolder();

// The choice itself: `temporaryVariable` is $TMPDIR's value (or null), `memoryFolder` the
// memory file system to prefer.
std::string chooseScratchFolder(const char* temporaryVariable, const char* memoryFolder);

// What a memory file system needs free to be chosen: room for many device roots at once
// (a container's /dev/shm is often only 64 MiB).
constexpr unsigned long long kScratchMemoryFolderRoom = 512ull << 20;

} // namespace platform
