#include "ArchiveReading.h"

#include "LibarchiveReading.h"
#include "PackageInstaller.h"
#include "PlainArchives.h"

#include "Platform/BesidePlatform.h"

namespace sim {

namespace {

template<typename Entry>
Entry libarchiveEntry(const char* symbol, const std::string& what)
{
    std::string failure;
    void* entry = platform::entryBesidePlatform(LUMETRIX_ARCHIVE_LIBRARY, symbol, failure);
    if (!entry)
        throw PackageError(what + ": cannot load the archive reader (" + failure + ")");
    return reinterpret_cast<Entry>(entry);
}

} // namespace

std::vector<ArchiveMember> readArMembers(const ArchiveBytes& archive, std::uint64_t memberLimit, std::deque<std::string>& storage, const std::string& what)
{
    if (auto members = readPlainArMembers(archive)) {
        for (auto& member : *members)
            if (member.bytes.size() > memberLimit)
                throw PackageError(what + " (" + member.name + " is larger than " + std::to_string(memberLimit >> 20) + " MiB)");
        return std::move(*members);
    }
    static auto read = libarchiveEntry<ReadArMembersWithLibarchive>(LUMETRIX_READ_AR_MEMBERS, what);
    std::string& whole = storage.emplace_back();
    if (!archive.readAll(whole))
        throw PackageError(what + " (it cannot be read whole)");
    std::vector<ArchiveMember> members;
    std::string error;
    if (!read(whole, memberLimit, members, storage, error))
        throw PackageError(what + " (" + error + ")");
    return members;
}

TarEntries readTarEntries(const ArchiveBytes& tar, std::uint64_t totalLimit, const std::string& what)
{
    if (auto entries = readPlainTarEntries(tar))
        return std::move(*entries);
    static auto read = libarchiveEntry<ReadTarEntriesWithLibarchive>(LUMETRIX_READ_TAR_ENTRIES, what);
    TarEntries entries;
    std::string& whole = entries.storage.emplace_back();
    if (!tar.readAll(whole))
        throw PackageError(what + ": it cannot be read whole");
    std::string error;
    if (!read(whole, totalLimit, entries, error))
        throw PackageError(what + ": " + error);
    return entries;
}

} // namespace sim
