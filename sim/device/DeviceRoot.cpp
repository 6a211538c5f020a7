#include "DeviceRoot.h"

#include "PackageInstaller.h"

#include "Platform/BeneathFolder.h"
#include "sim/payload/PayloadLocation.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace sim {

Artefacts Artefacts::fromBuild()
{
    const payload::Location& payload = payload::here();
    return { payload.devicePackage(), payload.library("lumetrix.so") };
}

DeviceRoot::DeviceRoot(fs::path path)
    : m_path(fs::absolute(std::move(path)))
{
    for (const char* folder : { "Library/MobileSubstrate/DynamicLibraries", "Library/PreferenceBundles",
             "Library/PreferenceLoader/Preferences", "var/mobile/Library/Preferences", "var/run" })
        fs::create_directories(m_path / folder);
}

DeviceRoot DeviceRoot::makeTemporary(const fs::path& folder)
{
    std::string pattern = (folder / "lumetrix-device-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary device root in " + folder.string());
    DeviceRoot root { fs::path(pattern) };
    root.m_temporary = true;
    return root;
}

DeviceRoot::DeviceRoot(DeviceRoot&& other) noexcept
    : m_path(std::move(other.m_path))
    , m_temporary(std::exchange(other.m_temporary, false))
{
}

DeviceRoot::~DeviceRoot()
{
    if (m_temporary) {
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
}

std::optional<std::string> DeviceRoot::normalizedDevicePath(const std::string& devicePath)
{
    if (devicePath.empty() || devicePath.front() != '/')
        return std::nullopt;
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= devicePath.size()) {
        std::size_t end = devicePath.find('/', start);
        if (end == std::string::npos)
            end = devicePath.size();
        std::string part = devicePath.substr(start, end - start);
        start = end + 1;
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            if (parts.empty())
                return std::nullopt;
            parts.pop_back();
            continue;
        }
        parts.push_back(std::move(part));
    }
    std::string normal;
    for (auto& part : parts)
        normal += "/" + part;
    return normal.empty() ? "/" : normal;
}

fs::path DeviceRoot::resolve(const std::string& devicePath) const
{
    auto normal = normalizedDevicePath(devicePath.empty() || devicePath.front() != '/' ? "/" + devicePath : devicePath);
    if (!normal)
        throw std::invalid_argument(devicePath + " leads outside the device root");
    return m_path / fs::path(*normal).relative_path();
}

void DeviceRoot::install(const Artefacts& artefacts) const
{
    installPackage(*this, artefacts.devicePackage, "com.orvanta.lumetrix");
}

void DeviceRoot::writeFile(const std::string& devicePath, const std::string& contents) const
{
    fs::path relative = resolve(devicePath).lexically_relative(m_path);
    // Resolved in the kernel beneath the root: a link a user left in a kept root (even one
    // to a file that does not exist yet) cannot carry the write out of it.
    platform::BeneathFolder root(m_path.string());
    std::string error;
    bool ledOut = false;
    if (!root.writeFile(relative.string(), contents, &error, &ledOut)) {
        if (ledOut)
            throw std::invalid_argument(devicePath + " leads outside the device root (through a link)");
        throw std::runtime_error("cannot write " + devicePath + ": " + error);
    }
}

} // namespace sim
