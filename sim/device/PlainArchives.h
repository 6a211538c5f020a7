#pragma once
// Reading the archives a package is usually made of, as they are stored: the ar archive
// dpkg-deb writes and an uncompressed tar (ustar, or GNU's, with names that fit). Reading
// them needs no library and reads only their headers, which matters because every run
// installs the device package.
//
// Anything else (a compressed tar, pax or GNU long-name records, an ar symbol table or
// long-name table, a header that does not add up) gives nothing: the caller then reads the
// archive with libarchive, which either reads it or says what is wrong with it.

#include "ArchiveEntries.h"

#include <optional>
#include <string_view>
#include <vector>

namespace sim {

std::optional<std::vector<ArchiveMember>> readPlainArMembers(const ArchiveBytes& archive);

std::optional<TarEntries> readPlainTarEntries(const ArchiveBytes& tar);

} // namespace sim
