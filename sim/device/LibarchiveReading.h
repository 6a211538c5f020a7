#pragma once
// Archives the installer does not read itself (PlainArchives.h), read with libarchive:
// compressed tars, pax and GNU long-name records, ar name tables. libarchive and the
// libraries it brings (xml2, ICU, the compressors: a dozen) live in libsimarchive.so,
// beside libplatform.so, loaded the first time such an archive comes; the packages the
// build makes never need it.

#include "ArchiveEntries.h"

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

// The members of an ar archive, each within `memberLimit` bytes; copies kept in `storage`.
// False with `error` (libarchive's words, or the limit) when it cannot be read.
using ReadArMembersWithLibarchive = bool (*)(std::string_view archive, std::uint64_t memberLimit, std::vector<ArchiveMember>& members,
    std::deque<std::string>& storage, std::string& error);
// The entries of a tar, compressed or not, their data within `totalLimit` bytes together.
using ReadTarEntriesWithLibarchive = bool (*)(std::string_view tar, std::uint64_t totalLimit, TarEntries& entries, std::string& error);

} // namespace sim

#define LUMETRIX_ARCHIVE_LIBRARY "libsimarchive.so"
#define LUMETRIX_READ_AR_MEMBERS "lumetrix_read_ar_members"
#define LUMETRIX_READ_TAR_ENTRIES "lumetrix_read_tar_entries"
