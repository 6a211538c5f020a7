#pragma once
// Where this program's payload lies: the libraries it loads (the tweak, the pane) and the
// data it reads or installs on the simulated device. Both are found from the program's own
// location, so an installed tree works wherever it is put (bin/ beside lib/lumetrix/ and
// share/lumetrix/), and the build tree, which mirrors that layout at its top, works as it
// is. No path is compiled in.

#include <filesystem>
#include <optional>
#include <string_view>

namespace payload {

struct Location {
    std::filesystem::path libraries; // <tree>/lib/lumetrix
    std::filesystem::path data; // <tree>/share/lumetrix

    std::filesystem::path library(std::string_view fileName) const { return libraries / fileName; }
    std::filesystem::path dataFile(std::string_view relativePath) const { return data / relativePath; }
    // The device package of this build: what a user would publish, and what the simulator
    // installs on its device unless told otherwise.
    std::filesystem::path devicePackage() const;
};

// The Debian architecture this build's libraries are for (a device package must be built
// for it, or for "all").
std::string_view packageArchitecture();

// A program lies at most this many folders below its tree: bin/ in an installed tree, and
// sim/, tests/fuzz/<target>/ and the like in the build tree.
constexpr int kMaximumProgramDepth = 4;

// The tree that holds `program`: the nearest folder above it with both lib/lumetrix and
// share/lumetrix, or nothing.
std::optional<Location> locateFrom(const std::filesystem::path& program);

// The tree of the running program (/proc/self/exe), looked up once. Throws
// std::runtime_error naming the program when it has none, as when a program was copied
// away from its tree.
const Location& here();

} // namespace payload
