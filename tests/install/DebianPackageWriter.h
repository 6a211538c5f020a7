#pragma once
// Writes Debian packages for tests, well-formed or not, with libarchive: an ar archive of
// debian-binary, control.tar.gz and data.tar.gz, or of plain control.tar and data.tar as
// dpkg-deb -Znone makes them.

#include <archive.h>
#include <archive_entry.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace testing_support {

struct ArchiveMember {
    ArchiveMember(std::string path, std::string contents = "", unsigned type = AE_IFREG, std::string linkTarget = "", std::string hardlinkTarget = "")
        : path(std::move(path))
        , contents(std::move(contents))
        , type(type)
        , linkTarget(std::move(linkTarget))
        , hardlinkTarget(std::move(hardlinkTarget))
    {
    }
    std::string path;
    std::string contents;
    unsigned type; // AE_IFREG, AE_IFDIR, AE_IFLNK, AE_IFIFO, ...
    std::string linkTarget; // a symbolic link's target
    std::string hardlinkTarget; // for a hard link to an earlier member
};

enum class Packing {
    Ar,
    Tar,
    TarWithGzip
};

inline std::string writeArchive(const std::vector<ArchiveMember>& members, Packing packing)
{
    std::unique_ptr<archive, decltype(&archive_write_free)> writer(archive_write_new(), archive_write_free);
    if (packing != Packing::Ar) {
        archive_write_set_format_pax_restricted(writer.get());
        if (packing == Packing::TarWithGzip)
            archive_write_add_filter_gzip(writer.get());
    } else {
        archive_write_set_format_ar_svr4(writer.get());
    }
    std::string bytes(4 << 20, '\0');
    size_t used = 0;
    if (archive_write_open_memory(writer.get(), bytes.data(), bytes.size(), &used) != ARCHIVE_OK)
        throw std::runtime_error(archive_error_string(writer.get()));
    for (auto& member : members) {
        std::unique_ptr<archive_entry, decltype(&archive_entry_free)> entry(archive_entry_new(), archive_entry_free);
        archive_entry_set_pathname(entry.get(), member.path.c_str());
        archive_entry_set_filetype(entry.get(), member.type);
        archive_entry_set_perm(entry.get(), member.type == AE_IFDIR ? 0755 : 0644);
        archive_entry_set_size(entry.get(), member.type == AE_IFREG ? member.contents.size() : 0);
        if (!member.linkTarget.empty())
            archive_entry_set_symlink(entry.get(), member.linkTarget.c_str());
        if (!member.hardlinkTarget.empty())
            archive_entry_set_hardlink(entry.get(), member.hardlinkTarget.c_str());
        if (archive_write_header(writer.get(), entry.get()) != ARCHIVE_OK)
            throw std::runtime_error(archive_error_string(writer.get()));
        if (member.type == AE_IFREG && !member.contents.empty())
            archive_write_data(writer.get(), member.contents.data(), member.contents.size());
    }
    archive_write_close(writer.get());
    bytes.resize(used);
    return bytes;
}

inline std::string controlText(const std::string& package, const std::string& version, const std::string& architecture)
{
    return "Package: " + package + "\nVersion: " + version + "\nArchitecture: " + architecture
        + "\nMaintainer: Test <test@example.org>\nDescription: a test package\n with a second line\n";
}

inline std::string writeArchive(const std::vector<ArchiveMember>& members, bool tarWithGzip)
{
    return writeArchive(members, tarWithGzip ? Packing::TarWithGzip : Packing::Ar);
}

// A package of `data` (paths like "./Library/x") with the given control file; its tars
// compressed, or plain.
inline void writeDebianPackage(const std::filesystem::path& file, const std::string& control, const std::vector<ArchiveMember>& data, bool compressed = true)
{
    Packing tar = compressed ? Packing::TarWithGzip : Packing::Tar;
    std::string suffix = compressed ? ".gz" : "";
    std::string controlTar = writeArchive({ { "./control", control } }, tar);
    std::string dataTar = writeArchive(data, tar);
    std::string deb = writeArchive({ { "debian-binary", "2.0\n" }, { "control.tar" + suffix, controlTar }, { "data.tar" + suffix, dataTar } }, Packing::Ar);
    std::ofstream(file, std::ios::binary) << deb;
}

} // namespace testing_support
