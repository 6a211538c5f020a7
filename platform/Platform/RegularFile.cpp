#include "RegularFile.h"

#include "PagePrefault.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

const char* fileKindName(mode_t mode)
{
    switch (mode & S_IFMT) {
    case S_IFREG:
        return "a regular file";
    case S_IFDIR:
        return "a folder";
    case S_IFIFO:
        return "a FIFO";
    case S_IFCHR:
        return "a character device";
    case S_IFBLK:
        return "a block device";
    case S_IFSOCK:
        return "a socket";
    case S_IFLNK:
        return "a symbolic link";
    default:
        return "of an unknown kind";
    }
}

RegularFileRead readRegularFile(const std::string& hostPath, std::size_t maximumBytes)
{
    RegularFileRead result;
    auto fail = [&](RegularFileRead::Outcome outcome, std::string problem) {
        result.outcome = outcome;
        result.problem = std::move(problem);
        result.bytes.clear();
        return result;
    };
    int descriptor = ::open(hostPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (descriptor < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return fail(RegularFileRead::Outcome::Missing, "does not exist");
        return fail(RegularFileRead::Outcome::Unreadable, std::string("cannot be opened: ") + std::strerror(errno));
    }
    struct Closer {
        int descriptor;
        ~Closer() { ::close(descriptor); }
    } closer { descriptor };
    struct stat status {};
    if (::fstat(descriptor, &status) < 0)
        return fail(RegularFileRead::Outcome::Unreadable, std::string("cannot be read: ") + std::strerror(errno));
    if (!S_ISREG(status.st_mode))
        return fail(RegularFileRead::Outcome::NotRegular, std::string("is not a regular file (it is ") + fileKindName(status.st_mode) + ")");
    std::string tooLarge = "is larger than " + std::to_string(maximumBytes) + " bytes";
    if (static_cast<std::uint64_t>(status.st_size) > maximumBytes)
        return fail(RegularFileRead::Outcome::TooLarge, tooLarge);
    // Read into a buffer of the size fstat gives; then on, for a file that grows meanwhile
    // or a /proc file that says 0, in pieces up to one byte past the limit.
    // A buffer of more than a few pages gets them in one call rather than a fault each: in
    // a virtual machine a fault costs about twice what the call takes for its page, so a
    // cover of 40 KB is read in half the time, one of megabytes a few hundred faults less.
    constexpr std::size_t kPrefaultFrom = 16 * 1024;
    result.bytes.reserve(static_cast<std::size_t>(status.st_size));
    if (result.bytes.capacity() >= kPrefaultFrom)
        prefaultPages(result.bytes.data(), result.bytes.capacity());
    result.bytes.resize(static_cast<std::size_t>(status.st_size));
    std::size_t filled = 0;
    std::uint8_t piece[65536];
    while (true) {
        bool sized = filled < result.bytes.size();
        std::uint8_t* into = sized ? result.bytes.data() + filled : piece;
        std::size_t room = sized ? result.bytes.size() - filled : sizeof piece;
        ssize_t count = ::read(descriptor, into, room);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return fail(RegularFileRead::Outcome::Unreadable, std::string("cannot be read: ") + std::strerror(errno));
        if (count == 0)
            break;
        if (!sized)
            result.bytes.insert(result.bytes.end(), piece, piece + count);
        filled += static_cast<std::size_t>(count);
        if (filled > maximumBytes)
            return fail(RegularFileRead::Outcome::TooLarge, tooLarge);
    }
    result.bytes.resize(filled);
    result.outcome = RegularFileRead::Outcome::Read;
    return result;
}

} // namespace platform
