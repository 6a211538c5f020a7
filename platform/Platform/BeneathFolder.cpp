#include "BeneathFolder.h"

#include "RegularFile.h"
#include "WriteAll.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <vector>

namespace platform {

namespace {

// The path's components, "." and empty ones dropped; nothing (and EXDEV) for an absolute
// path or one with "..": neither can stay beneath a folder by its words alone, and the
// kernel would refuse them anyway.
bool splitRelative(const std::string& path, std::vector<std::string>& parts)
{
    parts.clear();
    if (path.empty() || path.front() == '/') {
        errno = EXDEV;
        return false;
    }
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        std::string part = path.substr(start, end - start);
        start = end + 1;
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            errno = EXDEV;
            return false;
        }
        parts.push_back(std::move(part));
    }
    if (parts.empty()) {
        errno = EISDIR;
        return false;
    }
    return true;
}

std::string joined(const std::vector<std::string>& parts, std::size_t count)
{
    std::string path;
    for (std::size_t i = 0; i < count; ++i)
        path += (i ? "/" : "") + parts[i];
    return path.empty() ? "." : path;
}

bool kernelHasOpenat2 = true;

int openResolvedBeneath(int folder, const std::string& path, int flags, mode_t mode)
{
    if (kernelHasOpenat2) {
        open_how how {};
        how.flags = static_cast<std::uint64_t>(flags | O_CLOEXEC);
        how.mode = (flags & (O_CREAT | O_TMPFILE)) ? mode : 0;
        how.resolve = RESOLVE_BENEATH | RESOLVE_NO_MAGICLINKS;
        long descriptor;
        do
            descriptor = ::syscall(SYS_openat2, folder, path.c_str(), &how, sizeof how);
        while (descriptor < 0 && errno == EAGAIN);
        if (descriptor >= 0 || errno != ENOSYS)
            return static_cast<int>(descriptor);
        kernelHasOpenat2 = false;
    }
    // No openat2: a walk that follows no link at all.
    std::vector<std::string> parts;
    if (path == ".")
        return ::openat(folder, ".", flags | O_CLOEXEC, mode);
    if (!splitRelative(path, parts))
        return -1;
    int current = ::dup(folder);
    for (std::size_t i = 0; current >= 0 && i + 1 < parts.size(); ++i) {
        int next = ::openat(current, parts[i].c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        int saved = errno;
        ::close(current);
        errno = saved;
        current = next;
    }
    if (current < 0)
        return -1;
    int descriptor = ::openat(current, parts.back().c_str(), flags | O_NOFOLLOW | O_CLOEXEC, mode);
    int saved = errno;
    ::close(current);
    errno = saved;
    return descriptor;
}

} // namespace

bool ledOutOfFolder(int error)
{
    return error == EXDEV || error == ELOOP;
}

BeneathFolder::BeneathFolder(const std::string& folder)
    : m_descriptor(::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC))
{
}

BeneathFolder::~BeneathFolder()
{
    if (m_descriptor >= 0)
        ::close(m_descriptor);
}

int BeneathFolder::openFolder(const std::string& relativePath, bool make) const
{
    std::vector<std::string> parts;
    if (relativePath.empty() || relativePath == ".")
        return openResolvedBeneath(m_descriptor, ".", O_PATH | O_DIRECTORY, 0);
    if (!splitRelative(relativePath, parts))
        return -1;
    // Each folder is made in its parent as opened beneath this one, never by a path the
    // kernel would resolve again without the boundary.
    std::size_t retried = 0;
    for (std::size_t count = 1; count <= parts.size(); ++count) {
        int folder = openResolvedBeneath(m_descriptor, joined(parts, count), O_PATH | O_DIRECTORY, 0);
        if (folder >= 0 && count == parts.size())
            return folder;
        if (folder >= 0) {
            ::close(folder);
            continue;
        }
        // Once made (or found made meanwhile), a folder that still does not open is a
        // dangling link in its place.
        if (errno != ENOENT || !make || retried == count)
            return -1;
        retried = count;
        int parent = openResolvedBeneath(m_descriptor, joined(parts, count - 1), O_PATH | O_DIRECTORY, 0);
        if (parent < 0)
            return -1;
        int made = ::mkdirat(parent, parts[count - 1].c_str(), 0755);
        int saved = errno;
        ::close(parent);
        if (made < 0 && saved != EEXIST) {
            errno = saved;
            return -1;
        }
        --count; // open it again, beneath
    }
    return -1;
}

int BeneathFolder::open(const std::string& relativePath, int flags, mode_t mode, bool makeParents) const
{
    std::vector<std::string> parts;
    if (!splitRelative(relativePath, parts))
        return -1;
    if (makeParents && parts.size() > 1) {
        int parent = openFolder(joined(parts, parts.size() - 1), true);
        if (parent < 0)
            return -1;
        ::close(parent);
    }
    return openResolvedBeneath(m_descriptor, joined(parts, parts.size()), flags, mode);
}

namespace {

// The descriptor of a file just opened for writing (O_NONBLOCK, so a FIFO answered at once
// instead of waiting for a reader), emptied, when it is a regular file; -1 otherwise.
int keepIfRegular(int descriptor, const std::string& name, std::string* error)
{
    struct stat status {};
    std::string problem;
    if (::fstat(descriptor, &status) < 0)
        problem = name + ": " + std::strerror(errno);
    else if (!S_ISREG(status.st_mode))
        problem = name + " is not a regular file (it is " + fileKindName(status.st_mode) + ")";
    else if (::ftruncate(descriptor, 0) < 0)
        problem = name + ": " + std::strerror(errno);
    if (problem.empty()) {
        // Writes from here on may block as any file's do.
        ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
        return descriptor;
    }
    ::close(descriptor);
    if (error)
        *error = problem;
    return -1;
}

constexpr int kWriteFlags = O_WRONLY | O_CREAT | O_NONBLOCK | O_NOCTTY;

// Why an open for writing failed. Without blocking, a FIFO with no reader (or a device
// with nothing behind it) refuses the open itself.
std::string openProblem(const std::string& name, int error)
{
    if (error == ENXIO)
        return name + " is not a regular file (it is a FIFO or device that nothing answers)";
    return name + ": " + std::strerror(error);
}

} // namespace

int openRegularFileForWriting(const std::string& hostPath, std::string* error)
{
    int descriptor = ::open(hostPath.c_str(), kWriteFlags | O_CLOEXEC, 0644);
    if (descriptor < 0) {
        if (error)
            *error = openProblem(hostPath, errno);
        return -1;
    }
    return keepIfRegular(descriptor, hostPath, error);
}

int BeneathFolder::openRegularForWriting(const std::string& relativePath, std::string* error, bool* ledOut) const
{
    auto fail = [&](const std::string& why) {
        if (error)
            *error = why;
        return -1;
    };
    if (!valid())
        return fail("the folder cannot be opened");
    int descriptor = open(relativePath, kWriteFlags, 0644, true);
    if (descriptor < 0) {
        if (ledOutOfFolder(errno)) {
            if (ledOut)
                *ledOut = true;
            return fail(relativePath + " leads outside the folder (through a link or ..)");
        }
        return fail(openProblem(relativePath, errno));
    }
    return keepIfRegular(descriptor, relativePath, error);
}

bool BeneathFolder::writeFile(const std::string& relativePath, const std::string& contents, std::string* error, bool* ledOut) const
{
    int descriptor = openRegularForWriting(relativePath, error, ledOut);
    if (descriptor < 0)
        return false;
    if (!writeAll(descriptor, contents)) {
        if (error)
            *error = relativePath + ": " + std::strerror(errno);
        ::close(descriptor);
        return false;
    }
    return ::close(descriptor) == 0;
}

} // namespace platform
