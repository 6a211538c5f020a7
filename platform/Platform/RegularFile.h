#pragma once
// Reading a whole file that someone else named: artwork an app or a scenario points at, a
// property list in the device root. Whatever is at the path is checked before a byte is
// read: a FIFO would block, /dev/zero never ends, a folder is no file, and a regular file
// larger than the caller's limit is not read at all.

#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/types.h>
#include <vector>

namespace platform {

struct RegularFileRead {
    enum class Outcome {
        Read,
        Missing,
        NotRegular,
        TooLarge,
        Unreadable
    };
    Outcome outcome = Outcome::Unreadable;
    std::vector<std::uint8_t> bytes;
    // Why nothing was read, to follow the file's name: "does not exist", "is not a
    // regular file (a FIFO)", "is larger than 1048576 bytes", "cannot be read: ...".
    std::string problem;

    bool ok() const { return outcome == Outcome::Read; }
};

// Opens `hostPath` without blocking, refuses anything but a regular file of at most
// `maximumBytes` (by its size and again while reading, for a file that grows or a /proc
// file that says 0), and reads it whole.
RegularFileRead readRegularFile(const std::string& hostPath, std::size_t maximumBytes);

// "a folder", "a FIFO", "a character device", ... for a stat mode.
const char* fileKindName(mode_t mode);

} // namespace platform
