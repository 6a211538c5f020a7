#pragma once
// Reading an artwork file named on the command line: whatever is in the way (nothing
// there, a folder, a device, a FIFO, no permission, a file beyond the decoders' limit)
// comes back as a short reason for that file's error line, never as an exception or a
// read that blocks.

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace sim::tools {

struct ArtworkFileProblem {
    std::string why; // e.g. "does not exist", "is not a regular file", "permission denied"
};

using ArtworkFileBytes = std::vector<std::uint8_t>;

// The whole file, or why it cannot be had. Files larger than `limit` bytes are refused
// without being read.
std::variant<ArtworkFileBytes, ArtworkFileProblem> readArtworkFile(const std::string& path, std::size_t limit);

} // namespace sim::tools
