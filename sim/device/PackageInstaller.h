#pragma once
// Installs a Debian package (.deb) into a device root as the device's package manager
// would: its files are unpacked beneath the root and the package is recorded in
// /var/lib/dpkg (the status database and the list of its files), replacing an earlier
// install of the same package.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace sim {

class DeviceRoot;

// A package that cannot be installed; the message names the file and says why.
class PackageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The fields of a package's control file, in their order.
struct PackageControl {
    std::vector<std::pair<std::string, std::string>> fields;

    std::optional<std::string> field(const std::string& name) const;
    // "Field: value" lines, a continuation line starting with a space or a tab; throws
    // PackageError for anything else.
    static PackageControl parse(const std::string& text);
    // The control stanza as dpkg's status database holds it.
    std::string statusStanza() const;
};

struct InstalledPackage {
    PackageControl control;
    std::vector<std::string> paths; // device paths, folders included, in archive order
};

// What the installer takes at most: a package is a few megabytes.
constexpr std::uintmax_t kMaximumPackageBytes = 256ull << 20; // the .deb itself
constexpr std::uintmax_t kMaximumUnpackedBytes = 512ull << 20; // its files together

// Only regular files and folders are unpacked; links, devices and paths that climb out
// of the root are refused before anything is written. The package's Architecture must be
// this build's own or "all"; with `expectedName`, the package must be that one.
InstalledPackage installPackage(const DeviceRoot&, const std::filesystem::path& package, const std::optional<std::string>& expectedName = std::nullopt);

} // namespace sim
