#include "PayloadLocation.h"

#include <stdexcept>
#include <string>

namespace fs = std::filesystem;

namespace payload {

fs::path Location::devicePackage() const
{
    return data / "packages" / ("com.orvanta.lumetrix_" LUMETRIX_PACKAGE_VERSION "_" LUMETRIX_PACKAGE_ARCHITECTURE ".deb");
}

std::string_view packageArchitecture()
{
    return LUMETRIX_PACKAGE_ARCHITECTURE;
}

std::optional<Location> locateFrom(const fs::path& program)
{
    fs::path folder = program.parent_path();
    for (int depth = 1; depth <= kMaximumProgramDepth && !folder.empty(); ++depth) {
        std::error_code error;
        Location candidate { folder / "lib" / "lumetrix", folder / "share" / "lumetrix" };
        if (fs::is_directory(candidate.libraries, error) && fs::is_directory(candidate.data, error))
            return candidate;
        if (folder == folder.root_path())
            break;
        folder = folder.parent_path();
    }
    return std::nullopt;
}

const Location& here()
{
    // Looked up once: the program does not move while it runs.
    static const Location location = [] {
        std::error_code error;
        fs::path program = fs::read_symlink("/proc/self/exe", error);
        if (error)
            throw std::runtime_error("cannot find this program's own file (/proc/self/exe): " + error.message());
        auto found = locateFrom(program);
        if (!found)
            throw std::runtime_error("cannot find the Lumetrix payload (lib/lumetrix and share/lumetrix) in any folder above " + program.string());
        return *found;
    }();
    return location;
}

} // namespace payload
