#include "LibarchiveReading.h"

#include <archive.h>
#include <archive_entry.h>

#include <memory>

namespace sim {

namespace {

using ArchiveReader = std::unique_ptr<archive, decltype(&archive_read_free)>;

std::string archiveError(archive* reader)
{
    const char* message = archive_error_string(reader);
    return message ? message : "unreadable";
}

// The current entry's data, whole, within `room` bytes; false with `error` when it cannot
// be read, or `tooLarge` when it does not fit.
bool readData(archive* reader, std::uint64_t room, std::string& bytes, std::string& error, const std::string& tooLarge)
{
    char buffer[65536];
    for (;;) {
        la_ssize_t count = archive_read_data(reader, buffer, sizeof buffer);
        if (count < 0) {
            error = archiveError(reader);
            return false;
        }
        if (count == 0)
            return true;
        if (bytes.size() + static_cast<std::size_t>(count) > room) {
            error = tooLarge;
            return false;
        }
        bytes.append(buffer, static_cast<std::size_t>(count));
    }
}

} // namespace

} // namespace sim

extern "C" __attribute__((visibility("default"))) bool lumetrix_read_ar_members(std::string_view archive, std::uint64_t memberLimit,
    std::vector<sim::ArchiveMember>& members, std::deque<std::string>& storage, std::string& error)
{
    sim::ArchiveReader reader(archive_read_new(), archive_read_free);
    archive_read_support_format_ar(reader.get());
    if (archive_read_open_memory(reader.get(), archive.data(), archive.size()) != ARCHIVE_OK) {
        error = sim::archiveError(reader.get());
        return false;
    }
    archive_entry* entry = nullptr;
    for (int status; (status = archive_read_next_header(reader.get(), &entry)) != ARCHIVE_EOF;) {
        if (status < ARCHIVE_WARN) {
            error = sim::archiveError(reader.get());
            return false;
        }
        std::string& bytes = storage.emplace_back();
        if (!sim::readData(reader.get(), memberLimit, bytes, error, "a member is larger than " + std::to_string(memberLimit >> 20) + " MiB"))
            return false;
        members.push_back({ archive_entry_pathname(entry) ? archive_entry_pathname(entry) : "", sim::ArchiveBytes::inMemory(bytes) });
    }
    return true;
}

extern "C" __attribute__((visibility("default"))) bool lumetrix_read_tar_entries(std::string_view tar, std::uint64_t totalLimit,
    sim::TarEntries& entries, std::string& error)
{
    sim::ArchiveReader reader(archive_read_new(), archive_read_free);
    archive_read_support_format_tar(reader.get());
    archive_read_support_filter_all(reader.get());
    if (archive_read_open_memory(reader.get(), tar.data(), tar.size()) != ARCHIVE_OK) {
        error = sim::archiveError(reader.get());
        return false;
    }
    std::uint64_t total = 0;
    archive_entry* entry = nullptr;
    for (int status; (status = archive_read_next_header(reader.get(), &entry)) != ARCHIVE_EOF;) {
        if (status < ARCHIVE_WARN) {
            error = sim::archiveError(reader.get());
            return false;
        }
        sim::TarEntry read;
        read.name = archive_entry_pathname(entry) ? archive_entry_pathname(entry) : "";
        auto type = archive_entry_filetype(entry);
        read.hardLink = archive_entry_hardlink(entry) != nullptr;
        read.kind = read.hardLink ? sim::TarEntry::Kind::Other
            : type == AE_IFREG    ? sim::TarEntry::Kind::File
            : type == AE_IFDIR    ? sim::TarEntry::Kind::Folder
                                  : sim::TarEntry::Kind::Other;
        read.mode = archive_entry_perm(entry) & 07777;
        read.modified = archive_entry_mtime(entry);
        if (read.kind == sim::TarEntry::Kind::File) {
            std::string& bytes = entries.storage.emplace_back();
            if (!sim::readData(reader.get(), totalLimit - total, bytes, error, "unpacks to more than " + std::to_string(totalLimit >> 20) + " MiB"))
                return false;
            total += bytes.size();
            read.bytes = sim::ArchiveBytes::inMemory(bytes);
        }
        entries.entries.push_back(std::move(read));
    }
    return true;
}
