#include "ArchiveBytes.h"

#include "Platform/WriteAll.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace sim {

ArchiveBytes ArchiveBytes::inMemory(std::string_view bytes)
{
    ArchiveBytes result;
    result.m_memory = bytes;
    result.m_size = bytes.size();
    return result;
}

ArchiveBytes ArchiveBytes::inFile(int descriptor, std::uint64_t offset, std::uint64_t size)
{
    ArchiveBytes result;
    result.m_descriptor = descriptor;
    result.m_offset = offset;
    result.m_size = size;
    return result;
}

ArchiveBytes ArchiveBytes::slice(std::uint64_t offset, std::uint64_t length) const
{
    offset = std::min(offset, m_size);
    length = std::min(length, m_size - offset);
    if (m_descriptor < 0)
        return inMemory(m_memory.substr(static_cast<std::size_t>(offset), static_cast<std::size_t>(length)));
    return inFile(m_descriptor, m_offset + offset, length);
}

bool ArchiveBytes::read(std::uint64_t offset, std::size_t length, char* out) const
{
    if (offset > m_size || length > m_size - offset)
        return false;
    if (m_descriptor < 0) {
        std::memcpy(out, m_memory.data() + offset, length);
        return true;
    }
    std::uint64_t at = m_offset + offset;
    while (length) {
        ssize_t count = ::pread(m_descriptor, out, length, static_cast<off_t>(at));
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        out += count;
        at += static_cast<std::uint64_t>(count);
        length -= static_cast<std::size_t>(count);
    }
    return true;
}

bool ArchiveBytes::readAll(std::string& out) const
{
    out.resize(static_cast<std::size_t>(m_size));
    return read(0, out.size(), out.data());
}

bool ArchiveBytes::copyTo(int descriptor) const
{
    if (m_descriptor < 0)
        return platform::writeAll(descriptor, m_memory);
    loff_t from = static_cast<loff_t>(m_offset);
    std::uint64_t left = m_size;
    // The kernel copies page to page; where it cannot between these two files (an older
    // kernel, another file system), the bytes go through a buffer.
    while (left) {
        ssize_t count = ::copy_file_range(m_descriptor, &from, descriptor, nullptr, static_cast<std::size_t>(left), 0);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0 && (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP))
            break;
        if (count < 0)
            return false;
        if (count == 0) {
            errno = EIO;
            return false;
        }
        left -= static_cast<std::uint64_t>(count);
    }
    char buffer[65536];
    while (left) {
        std::size_t piece = static_cast<std::size_t>(std::min<std::uint64_t>(left, sizeof buffer));
        if (!read(static_cast<std::uint64_t>(from) - m_offset, piece, buffer)) {
            errno = EIO;
            return false;
        }
        if (!platform::writeAll(descriptor, std::string_view(buffer, piece)))
            return false;
        from += static_cast<loff_t>(piece);
        left -= piece;
    }
    return true;
}

} // namespace sim
