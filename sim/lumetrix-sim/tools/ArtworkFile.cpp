#include "ArtworkFile.h"

#include "Platform/RegularFile.h"

#include <cerrno>
#include <cstring>

namespace sim::tools {

std::variant<ArtworkFileBytes, ArtworkFileProblem> readArtworkFile(const std::string& path, std::size_t limit)
{
    // The platform's reader, which SpringBoard uses for artwork files too: what is at the
    // path is checked before a byte is read, so a FIFO or a device never blocks the tool.
    platform::RegularFileRead read = platform::readRegularFile(path, limit);
    using Outcome = platform::RegularFileRead::Outcome;
    switch (read.outcome) {
    case Outcome::Read:
        return std::move(read.bytes);
    case Outcome::TooLarge:
        return ArtworkFileProblem { "larger than the " + std::to_string(limit / (1024 * 1024)) + " MiB artwork limit" };
    case Outcome::Unreadable:
        if (read.problem.find(std::strerror(EACCES)) != std::string::npos || read.problem.find(std::strerror(EPERM)) != std::string::npos)
            return ArtworkFileProblem { "permission denied" };
        return ArtworkFileProblem { read.problem };
    case Outcome::Missing:
    case Outcome::NotRegular:
        return ArtworkFileProblem { read.problem };
    }
    return ArtworkFileProblem { read.problem };
}

} // namespace sim::tools
