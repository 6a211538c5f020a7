#pragma once
// The installer's way into a package's archives: read in place where they are stored
// plainly (PlainArchives.h), with libarchive otherwise (LibarchiveReading.h). Both throw
// PackageError, prefixed with `what`, for an archive that cannot be read.

#include "ArchiveEntries.h"

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

// `storage` keeps what had to be read into memory; the members may point into it.
std::vector<ArchiveMember> readArMembers(const ArchiveBytes& archive, std::uint64_t memberLimit, std::deque<std::string>& storage, const std::string& what);

TarEntries readTarEntries(const ArchiveBytes& tar, std::uint64_t totalLimit, const std::string& what);

} // namespace sim
