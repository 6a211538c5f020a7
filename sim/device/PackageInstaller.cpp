#include "PackageInstaller.h"

#include "ArchiveReading.h"
#include "DeviceRoot.h"

#include "Platform/BeneathFolder.h"
#include "sim/payload/PayloadLocation.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace sim {

namespace {

// A file descriptor closed when it goes out of scope, however the scope is left.
struct Descriptor {
    int value = -1;
    Descriptor() = default;
    explicit Descriptor(int value)
        : value(value)
    {
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor()
    {
        if (value >= 0)
            ::close(value);
    }
};

// The members of a package, read from the open package file as they are needed.
struct DebianMembers {
    Descriptor package;
    std::deque<std::string> storage; // what libarchive had to read whole
    ArchiveBytes control; // control.tar.*
    ArchiveBytes data; // data.tar.*
};

void readMembers(const fs::path& package, DebianMembers& members)
{
    // Opened as the platform's reader opens what someone named: a FIFO or a device never
    // blocks, and anything but a regular file is refused.
    members.package.value = ::open(package.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    struct stat status {};
    if (members.package.value < 0 || ::fstat(members.package.value, &status) < 0 || !S_ISREG(status.st_mode))
        throw PackageError(package.string() + ": not a readable file");
    if (static_cast<std::uintmax_t>(status.st_size) > kMaximumPackageBytes)
        throw PackageError(package.string() + ": larger than the " + std::to_string(kMaximumPackageBytes >> 20) + " MiB a package may be");

    const std::string notDebian = package.string() + ": not a Debian package";
    auto bytes = ArchiveBytes::inFile(members.package.value, 0, static_cast<std::uint64_t>(status.st_size));
    auto archiveMembers = readArMembers(bytes, kMaximumPackageBytes, members.storage, notDebian);
    // The format's version comes first; dpkg reads 2.x.
    if (archiveMembers.empty())
        throw PackageError(notDebian + " (empty)");
    char version[2] = {};
    if (archiveMembers[0].name != "debian-binary" || archiveMembers[0].bytes.size() > 64 || !archiveMembers[0].bytes.read(0, 2, version)
        || std::string_view(version, 2) != "2.")
        throw PackageError(notDebian + " (no debian-binary 2.x first)");
    for (auto& member : archiveMembers) {
        if (member.name.rfind("control.tar", 0) == 0)
            members.control = member.bytes;
        else if (member.name.rfind("data.tar", 0) == 0)
            members.data = member.bytes;
        // Members whose names start with "_" and later additions are not ours to read.
    }
    if (members.control.empty() || members.data.empty())
        throw PackageError(notDebian + " (it needs control.tar and data.tar members)");
}

// An entry's name without its leading "./".
std::string entryName(const TarEntry& entry)
{
    return entry.name.rfind("./", 0) == 0 ? entry.name.substr(2) : entry.name;
}

struct ControlMembers {
    PackageControl control;
    std::optional<std::string> md5sums;
};

ControlMembers readControl(const ArchiveBytes& controlTar, const fs::path& package)
{
    const std::string what = package.string() + ": control.tar";
    TarEntries entries = readTarEntries(controlTar, kMaximumUnpackedBytes, what);
    std::optional<std::string> controlText;
    ControlMembers members;
    auto within = [&](const TarEntry& entry, std::size_t limit, const std::string& name) {
        std::string text;
        if (entry.bytes.size() > limit)
            throw PackageError(what + ": " + name + ": larger than " + std::to_string(limit >> 20) + " MiB");
        if (!entry.bytes.readAll(text))
            throw PackageError(what + ": " + name + ": cannot be read");
        return text;
    };
    for (auto& entry : entries.entries) {
        std::string name = entryName(entry);
        if (name == "control")
            controlText = within(entry, 1 << 20, "control");
        else if (name == "md5sums")
            members.md5sums = within(entry, 16 << 20, "md5sums");
    }
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
void checkData(const TarEntries& data, const fs::path& root, const std::string& what)
{
    std::uintmax_t total = 0;
    for (auto& entry : data.entries) {
        std::string name = entryName(entry);
        auto devicePath = devicePathOf(name, what);
        if (auto link = devicePath ? linkOnTheWay(root, *devicePath) : std::nullopt)
            throw PackageError(what + ": " + name + ": " + link->string() + " is a link; the installer neither follows nor replaces one");
        if (entry.kind == TarEntry::Kind::Other)
            throw PackageError(what + ": " + name + " is not a regular file or a folder");
        total += entry.bytes.size();
        if (total > kMaximumUnpackedBytes)
            throw PackageError(what + ": unpacks to more than " + std::to_string(kMaximumUnpackedBytes >> 20) + " MiB");
    }
}

// Writes `bytes` to the new file `name` in `folder` with the entry's mode and time. A file
// already there is unlinked and written anew, so a process that has it mapped keeps its
// copy; it is made with O_EXCL and O_NOFOLLOW, so nothing put in its place meanwhile is
// written through.
void writeEntryFile(int folder, const std::string& name, const TarEntry& entry, const std::string& what)
{
    auto fail = [&](const char* step) { throw PackageError(what + ": " + entryName(entry) + ": " + step + ": " + std::strerror(errno)); };
    if (::unlinkat(folder, name.c_str(), 0) < 0 && errno != ENOENT)
        fail("cannot replace what is there");
    Descriptor file(::openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (file.value < 0)
        fail("cannot be made");
    if (!entry.bytes.copyTo(file.value))
        fail("cannot be written");
    const timespec times[2] = { { entry.modified, 0 }, { entry.modified, 0 } };
    if (::fchmod(file.value, entry.mode & 0777) < 0 || ::futimens(file.value, times) < 0)
        fail("cannot be given its mode and time");
}

// Unpacks the checked entries beneath `root`, every step resolved beneath it in the
// kernel; the device paths written, in archive order.
std::vector<std::string> unpackData(const TarEntries& data, const fs::path& root, const std::string& what)
{
    platform::BeneathFolder beneath(root.string());
    if (!beneath.valid())
        throw PackageError(what + ": cannot open the device root " + root.string() + ": " + std::strerror(errno));
    std::vector<std::string> paths;
    for (auto& entry : data.entries) {
        auto devicePath = devicePathOf(entryName(entry), what);
        if (!devicePath)
            continue;
        fs::path relative = fs::path(*devicePath).relative_path();
        if (entry.kind == TarEntry::Kind::Folder) {
            // Made as a path (O_PATH), then opened for reading to take its mode.
            if (Descriptor(beneath.openFolder(relative.string(), true)).value < 0)
                throw PackageError(what + ": " + entryName(entry) + ": cannot be made: " + std::strerror(errno));
            Descriptor folder(beneath.open(relative.string(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC, 0));
            if (folder.value < 0 || ::fchmod(folder.value, entry.mode & 0777) < 0)
                throw PackageError(what + ": " + entryName(entry) + ": cannot be given its mode: " + std::strerror(errno));
        } else {
            Descriptor folder(beneath.openFolder(relative.parent_path().string(), true));
            if (folder.value < 0)
                throw PackageError(what + ": " + entryName(entry) + ": its folder cannot be made: " + std::strerror(errno));
            writeEntryFile(folder.value, relative.filename().string(), entry, what);
        }
        paths.push_back(*devicePath);
    }
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
    DebianMembers members;
    readMembers(package, members);
    ControlMembers control = readControl(members.control, package);
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
    TarEntries data = readTarEntries(members.data, kMaximumUnpackedBytes, what);
    checkData(data, realRoot, what);
    InstalledPackage installed { control.control, unpackData(data, realRoot, what) };

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
