#include "ArtworkFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sim::tools {

namespace {

ArtworkFileProblem problemFromErrno(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return { "does not exist" };
    case EACCES:
    case EPERM:
        return { "permission denied" };
    default:
        return { std::string("cannot be read: ") + std::strerror(error) };
    }
}

ArtworkFileProblem tooLarge(std::size_t limit)
{
    return { "larger than the " + std::to_string(limit / (1024 * 1024)) + " MiB artwork limit" };
}

struct FileDescriptor {
    int fd;
    ~FileDescriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

} // namespace

std::variant<ArtworkFileBytes, ArtworkFileProblem> readArtworkFile(const std::string& path, std::size_t limit)
{
    // Non-blocking, so opening a FIFO nobody writes to returns at once; what was opened is
    // then checked, not the name, so nothing can be swapped in between.
    FileDescriptor file { ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY) };
    if (file.fd < 0)
        return problemFromErrno(errno);
    struct stat status;
    if (::fstat(file.fd, &status) != 0)
        return problemFromErrno(errno);
    if (!S_ISREG(status.st_mode))
        return ArtworkFileProblem { "is not a regular file" };
    if (static_cast<std::uint64_t>(status.st_size) > limit)
        return tooLarge(limit);

    // Read to the end rather than to the size stat gave: a file can change while it is
    // read, and some (in /proc) say 0 and still hold bytes. The limit holds either way.
    ArtworkFileBytes bytes(static_cast<std::size_t>(status.st_size) + 1);
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (bytes.size() > limit)
                return tooLarge(limit);
            bytes.resize(std::min(limit + 1, std::max<std::size_t>(bytes.size() * 2, 4096)));
        }
        ssize_t count = ::read(file.fd, bytes.data() + filled, bytes.size() - filled);
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return problemFromErrno(errno);
        }
        if (count == 0)
            break;
        filled += static_cast<std::size_t>(count);
    }
    bytes.resize(filled);
    return bytes;
}

} // namespace sim::tools
