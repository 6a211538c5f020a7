#pragma once
// The bytes of an archive, a member or an entry: in memory (what libarchive decompressed),
// or a range of an open package file, read when needed. A package stored plainly is never
// read whole into memory: the installer reads its headers, and the kernel copies each
// file's bytes from the package into the device (copy_file_range). Fresh memory is what a
// run's install cost most, and a file that changes meanwhile is a short read, not a crash
// (as it would be through a mapping).

#include <cstdint>
#include <string>
#include <string_view>

namespace sim {

class ArchiveBytes {
public:
    ArchiveBytes() = default;
    static ArchiveBytes inMemory(std::string_view bytes);
    static ArchiveBytes inFile(int descriptor, std::uint64_t offset, std::uint64_t size);

    std::uint64_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    // The bytes from `offset` on, at most `length` of them (the caller keeps within size()).
    ArchiveBytes slice(std::uint64_t offset, std::uint64_t length) const;

    // `length` bytes at `offset` into `out`; false when they cannot all be had (a read
    // error, or a file that has shrunk).
    bool read(std::uint64_t offset, std::size_t length, char* out) const;
    // All of them; false as read().
    bool readAll(std::string& out) const;
    // Writes all of them to `descriptor` at its offset; false with errno set (EIO for a file
    // that has shrunk).
    bool copyTo(int descriptor) const;

private:
    std::string_view m_memory;
    int m_descriptor = -1;
    std::uint64_t m_offset = 0;
    std::uint64_t m_size = 0;
};

} // namespace sim
