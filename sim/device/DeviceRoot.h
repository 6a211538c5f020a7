#pragma once
// A device root: a folder that stands for the phone's "/", laid out as a jailbroken
// device's, with the built deliverables installed as a device package would put them.

#include "Platform/ScratchFolder.h"

#include <filesystem>
#include <optional>
#include <string>

namespace sim {

// What goes onto a device: this build's device package, found beside the program (see
// sim/payload), or another one named in its place.
struct Artefacts {
    std::filesystem::path devicePackage; // com.orvanta.lumetrix_<version>_<arch>.deb
    std::filesystem::path tweakLibrary; // the tweak as built, for tools that read it
    static Artefacts fromBuild();
};

class DeviceRoot {
public:
    // Uses `path` (created if missing) as the root; the folders a device has are made.
    explicit DeviceRoot(std::filesystem::path path);
    // A fresh temporary root that is removed when this object goes, in `folder` (the
    // system's temporary folder without it).
    static DeviceRoot makeTemporary(const std::filesystem::path& folder = platform::scratchFolder());
    DeviceRoot(DeviceRoot&&) noexcept;
    DeviceRoot& operator=(DeviceRoot&&) = delete;
    ~DeviceRoot();

    const std::filesystem::path& path() const { return m_path; }
    // "/Library/..." -> "<root>/Library/...". "." and ".." are worked out first; a path
    // that climbs above "/" is refused (std::invalid_argument): nothing on the device
    // reaches outside its root.
    std::filesystem::path resolve(const std::string& devicePath) const;
    // The absolute device path with "." and ".." worked out and repeated slashes joined,
    // or nothing when it is not absolute or climbs above "/".
    static std::optional<std::string> normalizedDevicePath(const std::string& devicePath);

    // Installs the device package as the device's package manager would (PackageInstaller.h):
    // the tweak as /Library/MobileSubstrate/DynamicLibraries/lumetrix.dylib with its
    // filter, the Settings pane's bundle and its loader entry. Throws PackageError.
    void install(const Artefacts&) const;
    // Writes a file at a device path, creating its folders. Refused when the path, or a
    // link inside the root on the way to it, leads outside the root.
    void writeFile(const std::string& devicePath, const std::string& contents) const;

private:
    std::filesystem::path m_path;
    bool m_temporary = false;
};

} // namespace sim
