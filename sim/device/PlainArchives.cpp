#include "PlainArchives.h"

#include <cstdint>
#include <cstring>
#include <sys/stat.h>

namespace sim {

namespace {

// A field of digits in `base`, padded with spaces or NULs on either side; nothing for
// anything else (or an empty field).
std::optional<std::uint64_t> numberField(std::string_view field, unsigned base)
{
    std::size_t start = field.find_first_not_of(std::string_view(" \0", 2));
    if (start == std::string_view::npos)
        return std::nullopt;
    std::uint64_t value = 0;
    std::size_t at = start;
    for (; at < field.size(); ++at) {
        unsigned digit = static_cast<unsigned char>(field[at]) - '0';
        if (digit >= base)
            break;
        if (value > (UINT64_MAX - digit) / base)
            return std::nullopt;
        value = value * base + digit;
    }
    if (at == start || field.find_first_not_of(std::string_view(" \0", 2), at) != std::string_view::npos)
        return std::nullopt;
    return value;
}

// A NUL-terminated (or full) name field.
std::string_view nameField(std::string_view field)
{
    return field.substr(0, std::min(field.size(), field.find('\0')));
}

constexpr std::size_t kBlock = 512;

} // namespace

std::optional<std::vector<ArchiveMember>> readPlainArMembers(const ArchiveBytes& archive)
{
    constexpr std::string_view kMagic = "!<arch>\n";
    constexpr std::size_t kHeader = 60;
    char magic[kMagic.size()];
    if (!archive.read(0, sizeof magic, magic) || std::string_view(magic, sizeof magic) != kMagic)
        return std::nullopt;
    std::vector<ArchiveMember> members;
    std::uint64_t at = kMagic.size();
    while (at < archive.size()) {
        char bytes[kHeader];
        if (!archive.read(at, kHeader, bytes))
            return std::nullopt;
        std::string_view header(bytes, kHeader);
        if (header.substr(58, 2) != "`\n")
            return std::nullopt;
        std::string_view name = header.substr(0, 16);
        name = name.substr(0, name.find_last_not_of(' ') + 1);
        // GNU ends names with '/'; "/", "//" and "/N" are its symbol and name tables, and
        // "#1/N" is BSD's long name: libarchive's to read.
        if (!name.empty() && name.back() == '/')
            name.remove_suffix(1);
        if (name.empty() || name.find('/') != std::string_view::npos || name.substr(0, 3) == "#1/")
            return std::nullopt;
        auto size = numberField(header.substr(48, 10), 10);
        at += kHeader;
        if (!size || *size > archive.size() - at)
            return std::nullopt;
        members.push_back({ std::string(name), archive.slice(at, *size) });
        at += *size;
        if (at % 2 && at < archive.size()) {
            char padding = 0;
            if (!archive.read(at, 1, &padding) || padding != '\n')
                return std::nullopt;
            ++at;
        }
    }
    return members;
}

std::optional<TarEntries> readPlainTarEntries(const ArchiveBytes& tar)
{
    TarEntries result;
    std::uint64_t at = 0;
    for (;;) {
        // The end: a block of zeros (two, by the format; one and the end of the bytes
        // happens too), or the bytes simply ending on a block boundary.
        if (at == tar.size())
            return result;
        char block[kBlock];
        if (tar.size() - at < kBlock || !tar.read(at, kBlock, block))
            return std::nullopt;
        std::string_view header(block, kBlock);
        if (header.find_first_not_of('\0') == std::string_view::npos)
            return result;

        // The checksum: the header's bytes summed with its own field counted as spaces.
        auto recorded = numberField(header.substr(148, 8), 8);
        std::uint64_t sum = 0;
        for (std::size_t i = 0; i < kBlock; ++i)
            sum += (i >= 148 && i < 156) ? ' ' : static_cast<unsigned char>(header[i]);
        if (!recorded || *recorded != sum)
            return std::nullopt;

        std::string_view magic = header.substr(257, 8);
        bool ustar = magic.substr(0, 6) == std::string_view("ustar\0", 6);
        bool gnu = magic == std::string_view("ustar  \0", 8);
        char type = header[156];
        TarEntry entry;
        switch (type) {
        case '0':
        case '\0':
        case '7': // contiguous: a regular file to everyone but a few old systems
            entry.kind = TarEntry::Kind::File;
            break;
        case '5':
            entry.kind = TarEntry::Kind::Folder;
            break;
        case '1':
            entry.hardLink = true;
            [[fallthrough]];
        case '2':
        case '3':
        case '4':
        case '6':
            entry.kind = TarEntry::Kind::Other;
            break;
        default:
            // pax headers, GNU long names and the rest.
            return std::nullopt;
        }
        std::string_view name = nameField(header.substr(0, 100));
        std::string_view prefix = ustar && !gnu ? nameField(header.substr(345, 155)) : std::string_view();
        entry.name = prefix.empty() ? std::string(name) : std::string(prefix) + "/" + std::string(name);
        if (name.empty())
            return std::nullopt;
        auto mode = numberField(header.substr(100, 8), 8);
        auto modified = numberField(header.substr(136, 12), 8);
        auto size = numberField(header.substr(124, 12), 8);
        if (!mode || !modified || !size)
            return std::nullopt;
        entry.mode = static_cast<mode_t>(*mode & 07777);
        entry.modified = static_cast<std::time_t>(*modified);
        at += kBlock;
        // Links and folders carry no data whatever their size field says (as libarchive
        // reads them); a file's must be there whole.
        std::uint64_t dataSize = (type == '1' || type == '2' || type == '5') ? 0 : *size;
        if (dataSize > tar.size() - at)
            return std::nullopt;
        entry.bytes = tar.slice(at, dataSize);
        std::uint64_t padded = (dataSize + kBlock - 1) / kBlock * kBlock;
        at = padded > tar.size() - at ? tar.size() : at + padded;
        result.entries.push_back(std::move(entry));
    }
}

} // namespace sim
