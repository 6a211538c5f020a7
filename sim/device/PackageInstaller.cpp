#include "PackageInstaller.h"

#include "DeviceRoot.h"

#include "sim/payload/PayloadLocation.h"

#include "Platform/RegularFile.h"

#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <memory>
#include <sstream>
#include <string_view>
#include <unistd.h>

namespace fs = std::filesystem;

namespace sim {

namespace {

using ArchiveReader = std::unique_ptr<archive, decltype(&archive_read_free)>;
using ArchiveWriter = std::unique_ptr<archive, decltype(&archive_write_free)>;

std::string archiveError(archive* reader)
{
    const char* message = archive_error_string(reader);
    return message ? message : "unreadable";
}

// One member of an archive read from memory, whole, within `limit` bytes: a view of the
// bytes in place when the archive hands them over in one piece (an ar member is stored
// as it is), else a copy.
class Member {
public:
    Member() = default;
    Member(archive* reader, std::uintmax_t limit, const std::string& what)
    {
        const void* block = nullptr;
        size_t size = 0;
        la_int64_t offset = 0;
        for (int status; (status = archive_read_data_block(reader, &block, &size, &offset)) != ARCHIVE_EOF;) {
            if (status < ARCHIVE_WARN)
                throw PackageError(what + ": " + archiveError(reader));
            if (static_cast<std::uintmax_t>(offset) + size > limit)
                throw PackageError(what + ": larger than " + std::to_string(limit >> 20) + " MiB");
            std::string_view piece(static_cast<const char*>(block), size);
            if (m_view.empty() && m_owned.empty() && offset == 0) {
                m_view = piece;
                continue;
            }
            if (m_owned.empty())
                m_owned.assign(m_view);
            m_owned.resize(static_cast<std::size_t>(offset)); // a sparse gap reads as zeros
            m_owned.append(piece);
            m_view = m_owned;
        }
    }
    Member(const Member&) = delete;
    Member& operator=(const Member&) = delete;
    Member(Member&& other) noexcept { *this = std::move(other); }
    Member& operator=(Member&& other) noexcept
    {
        bool ownsItsBytes = !other.m_owned.empty();
        m_owned = std::move(other.m_owned);
        m_view = ownsItsBytes ? std::string_view(m_owned) : other.m_view;
        other.m_view = {};
        return *this;
    }

    std::string_view bytes() const { return m_view; }

private:
    std::string m_owned;
    std::string_view m_view;
};

// The members of a package, read in place from its bytes (which must outlive them).
struct DebianMembers {
    std::vector<std::uint8_t> package; // the whole .deb: read once, not copied again
    Member control; // control.tar.*
    Member data; // data.tar.*
};

DebianMembers readMembers(const fs::path& package)
{
    DebianMembers members;
    platform::RegularFileRead read = platform::readRegularFile(package.string(), kMaximumPackageBytes);
    if (read.outcome == platform::RegularFileRead::Outcome::TooLarge)
        throw PackageError(package.string() + ": larger than the " + std::to_string(kMaximumPackageBytes >> 20) + " MiB a package may be");
    if (!read.ok())
        throw PackageError(package.string() + ": not a readable file");
    members.package = std::move(read.bytes);

    ArchiveReader reader(archive_read_new(), archive_read_free);
    archive_read_support_format_ar(reader.get());
    const std::string notDebian = package.string() + ": not a Debian package";
    if (archive_read_open_memory(reader.get(), members.package.data(), members.package.size()) != ARCHIVE_OK)
        throw PackageError(notDebian + " (" + archiveError(reader.get()) + ")");

    bool first = true;
    archive_entry* entry = nullptr;
    for (int status; (status = archive_read_next_header(reader.get(), &entry)) != ARCHIVE_EOF;) {
        if (status < ARCHIVE_WARN)
            throw PackageError(notDebian + " (" + archiveError(reader.get()) + ")");
        std::string name = archive_entry_pathname(entry) ? archive_entry_pathname(entry) : "";
        if (first) {
            // The format's version comes first; dpkg reads 2.x.
            if (name != "debian-binary" || Member(reader.get(), 64, notDebian).bytes().substr(0, 2) != "2.")
                throw PackageError(notDebian + " (no debian-binary 2.x first)");
            first = false;
        } else if (name.rfind("control.tar", 0) == 0) {
            members.control = Member(reader.get(), kMaximumPackageBytes, package.string() + ": " + name);
        } else if (name.rfind("data.tar", 0) == 0) {
            members.data = Member(reader.get(), kMaximumPackageBytes, package.string() + ": " + name);
        }
        // Members whose names start with "_" and later additions are not ours to read.
    }
    if (first)
        throw PackageError(notDebian + " (empty)");
    if (members.control.bytes().empty() || members.data.bytes().empty())
        throw PackageError(notDebian + " (it needs control.tar and data.tar members)");
    return members;
}

// One small member of a tar, whole, within `limit` bytes (the control file, md5sums).
std::string readMember(archive* reader, std::uintmax_t limit, const std::string& what)
{
    return std::string(Member(reader, limit, what).bytes());
}

// Calls visit(reader, entry, name) for every entry of a (compressed) tar held in memory;
// name is the entry's path without its leading "./".
template<typename Visit>
void forEachEntry(std::string_view tar, const std::string& what, Visit visit)
{
    ArchiveReader reader(archive_read_new(), archive_read_free);
    archive_read_support_format_tar(reader.get());
    archive_read_support_filter_all(reader.get());
    if (archive_read_open_memory(reader.get(), tar.data(), tar.size()) != ARCHIVE_OK)
        throw PackageError(what + ": " + archiveError(reader.get()));
    archive_entry* entry = nullptr;
    for (int status; (status = archive_read_next_header(reader.get(), &entry)) != ARCHIVE_EOF;) {
        if (status < ARCHIVE_WARN)
            throw PackageError(what + ": " + archiveError(reader.get()));
        std::string name = archive_entry_pathname(entry) ? archive_entry_pathname(entry) : "";
        if (name.rfind("./", 0) == 0)
            name.erase(0, 2);
        visit(reader.get(), entry, name);
    }
}

struct ControlMembers {
    PackageControl control;
    std::optional<std::string> md5sums;
};

ControlMembers readControl(std::string_view controlTar, const fs::path& package)
{
    const std::string what = package.string() + ": control.tar";
    std::optional<std::string> controlText;
    ControlMembers members;
    forEachEntry(controlTar, what, [&](archive* reader, archive_entry*, const std::string& name) {
        if (name == "control")
            controlText = readMember(reader, 1 << 20, what + ": control");
        else if (name == "md5sums")
            members.md5sums = readMember(reader, 16 << 20, what + ": md5sums");
    });
    if (!controlText)
        throw PackageError(what + ": no control file");
    try {
        members.control = PackageControl::parse(*controlText);
    } catch (const PackageError& error) {
        throw PackageError(what + ": control: " + error.what());
    }
    return members;
}

// Where an entry goes: its device path, or a refusal naming it.
std::optional<std::string> devicePathOf(const std::string& name, const std::string& what)
{
    auto path = DeviceRoot::normalizedDevicePath("/" + name);
    if (!path)
        throw PackageError(what + ": " + name + " leads outside the device root");
    if (*path == "/")
        return std::nullopt;
    return path;
}

// A link already in the root on the way to `devicePath`, or in its place: one left in a
// kept root may point anywhere, and it is the user's, so it is neither followed nor
// replaced.
std::optional<fs::path> linkOnTheWay(const fs::path& root, const std::string& devicePath)
{
    fs::path path = root;
    for (auto& part : fs::path(devicePath).relative_path()) {
        path /= part;
        std::error_code error;
        auto status = fs::symlink_status(path, error);
        if (error || !fs::exists(status))
            return std::nullopt;
        if (fs::is_symlink(status))
            return path;
    }
    return std::nullopt;
}

// Every entry is checked before the first is written, so a refused package leaves the
// device as it was.
void checkData(std::string_view dataTar, const fs::path& root, const std::string& what)
{
    std::uintmax_t total = 0;
    forEachEntry(dataTar, what, [&](archive*, archive_entry* entry, const std::string& name) {
        auto devicePath = devicePathOf(name, what);
        if (auto link = devicePath ? linkOnTheWay(root, *devicePath) : std::nullopt)
            throw PackageError(what + ": " + name + ": " + link->string() + " is a link; the installer neither follows nor replaces one");
        auto type = archive_entry_filetype(entry);
        if ((type != AE_IFREG && type != AE_IFDIR) || archive_entry_hardlink(entry))
            throw PackageError(what + ": " + name + " is not a regular file or a folder");
        total += archive_entry_size(entry) > 0 ? archive_entry_size(entry) : 0;
        if (total > kMaximumUnpackedBytes)
            throw PackageError(what + ": unpacks to more than " + std::to_string(kMaximumUnpackedBytes >> 20) + " MiB");
    });
}

std::vector<std::string> unpackData(std::string_view dataTar, const fs::path& root, const std::string& what)
{
    ArchiveWriter writer(archive_write_disk_new(), archive_write_free);
    // Never through a link on the way (one left in a kept root may point anywhere) and
    // never "..". A link is refused, not replaced by a folder (as ARCHIVE_EXTRACT_UNLINK
    // would): it is the user's. A file already there is unlinked and written anew, so a
    // process that has it mapped keeps its copy.
    archive_write_disk_set_options(writer.get(),
        ARCHIVE_EXTRACT_TIME | ARCHIVE_EXTRACT_PERM | ARCHIVE_EXTRACT_SECURE_SYMLINKS | ARCHIVE_EXTRACT_SECURE_NODOTDOT);
    std::vector<std::string> paths;
    forEachEntry(dataTar, what, [&](archive* reader, archive_entry* entry, const std::string& name) {
        auto devicePath = devicePathOf(name, what);
        if (!devicePath)
            return;
        std::string target = (root / fs::path(*devicePath).relative_path()).string();
        archive_entry_set_pathname(entry, target.c_str());
        if (archive_write_header(writer.get(), entry) < ARCHIVE_WARN)
            throw PackageError(what + ": " + name + ": " + archiveError(writer.get()));
        const void* block = nullptr;
        size_t size = 0;
        la_int64_t offset = 0;
        for (int status; (status = archive_read_data_block(reader, &block, &size, &offset)) != ARCHIVE_EOF;) {
            if (status < ARCHIVE_WARN)
                throw PackageError(what + ": " + name + ": " + archiveError(reader));
            if (archive_write_data_block(writer.get(), block, size, offset) < ARCHIVE_WARN)
                throw PackageError(what + ": " + name + ": " + archiveError(writer.get()));
        }
        if (archive_write_finish_entry(writer.get()) < ARCHIVE_WARN)
            throw PackageError(what + ": " + name + ": " + archiveError(writer.get()));
        paths.push_back(*devicePath);
    });
    return paths;
}

std::string readDeviceFile(const DeviceRoot& root, const std::string& devicePath)
{
    std::ifstream in(root.resolve(devicePath), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The status database without the stanza of `package`, and with it at the end.
std::string statusWith(const std::string& status, const PackageControl& control)
{
    const std::string name = *control.field("Package");
    std::string kept;
    std::istringstream in(status);
    std::string stanza;
    auto keep = [&] {
        if (stanza.empty())
            return;
        if (stanza.rfind("Package: " + name + "\n", 0) != 0)
            kept += stanza + "\n";
        stanza.clear();
    };
    for (std::string line; std::getline(in, line);) {
        if (line.empty())
            keep();
        else
            stanza += line + "\n";
    }
    keep();
    return kept + control.statusStanza() + "\n";
}

} // namespace

std::optional<std::string> PackageControl::field(const std::string& name) const
{
    for (auto& [key, value] : fields) {
        if (key == name)
            return value;
    }
    return std::nullopt;
}

PackageControl PackageControl::parse(const std::string& text)
{
    PackageControl control;
    std::istringstream in(text);
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        if (line.empty())
            break; // one stanza
        if (line.front() == ' ' || line.front() == '\t') {
            if (control.fields.empty())
                throw PackageError("line " + std::to_string(number) + " continues no field");
            control.fields.back().second += "\n" + line;
            continue;
        }
        auto colon = line.find(':');
        if (colon == std::string::npos || colon == 0)
            throw PackageError("line " + std::to_string(number) + " is not \"Field: value\"");
        std::string value = line.substr(colon + 1);
        value.erase(0, value.find_first_not_of(" \t"));
        control.fields.emplace_back(line.substr(0, colon), value);
    }
    return control;
}

std::string PackageControl::statusStanza() const
{
    // dpkg's order: the name, then the state, then the rest as the package gave them.
    std::string stanza = "Package: " + field("Package").value_or("") + "\nStatus: install ok installed\n";
    for (auto& [key, value] : fields) {
        if (key != "Package" && key != "Status")
            stanza += key + ": " + value + "\n";
    }
    return stanza;
}

InstalledPackage installPackage(const DeviceRoot& root, const fs::path& package, const std::optional<std::string>& expectedName)
{
    DebianMembers members = readMembers(package);
    ControlMembers control = readControl(members.control.bytes(), package);
    for (const char* required : { "Package", "Version", "Architecture" }) {
        if (!control.control.field(required))
            throw PackageError(package.string() + ": the control file has no " + required + " field");
    }
    const std::string name = *control.control.field("Package");
    // Debian's rule for package names ([a-z0-9][a-z0-9+.-]+); the name also becomes a file
    // name below.
    auto lowerOrDigit = [](char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); };
    bool isPackageName = name.size() >= 2 && lowerOrDigit(name[0])
        && std::all_of(name.begin() + 1, name.end(), [&](char c) { return lowerOrDigit(c) || c == '+' || c == '.' || c == '-'; });
    if (!isPackageName)
        throw PackageError(package.string() + ": \"" + name + "\" is not a package name");
    if (expectedName && name != *expectedName)
        throw PackageError(package.string() + ": holds the package " + name + ", not " + *expectedName);
    const std::string architecture = *control.control.field("Architecture");
    if (architecture != "all" && architecture != payload::packageArchitecture())
        throw PackageError(package.string() + ": built for " + architecture + ", this device is " + std::string(payload::packageArchitecture()));

    const std::string what = package.string() + ": data.tar";
    // The root as the kernel sees it: a link on the way to a kept root is the user's choice.
    fs::path realRoot = fs::canonical(root.path());
    checkData(members.data.bytes(), realRoot, what);
    InstalledPackage installed { control.control, unpackData(members.data.bytes(), realRoot, what) };

    std::string list;
    for (auto& path : installed.paths)
        list += path + "\n";
    root.writeFile("/var/lib/dpkg/info/" + name + ".list", list);
    if (control.md5sums)
        root.writeFile("/var/lib/dpkg/info/" + name + ".md5sums", *control.md5sums);
    std::string status = fs::exists(root.resolve("/var/lib/dpkg/status")) ? readDeviceFile(root, "/var/lib/dpkg/status") : "";
    root.writeFile("/var/lib/dpkg/status", statusWith(status, control.control));
    return installed;
}

} // namespace sim
