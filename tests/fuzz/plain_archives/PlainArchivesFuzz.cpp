// A package's archives as the installer reads them itself: bytes anyone may hand to `run
// --package`. Whatever is read must lie within the bytes given, and reading the same bytes
// from a file (as the installer does) must give what reading them from memory gives.

#include "sim/device/PlainArchives.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

// Every entry's bytes can be read whole, and give the same from memory and from the file.
template<typename Items>
void compare(const Items& fromMemory, const Items& fromFile)
{
    require(fromMemory.size() == fromFile.size());
    for (std::size_t i = 0; i < fromMemory.size(); ++i) {
        require(fromMemory[i].name == fromFile[i].name);
        std::string memoryBytes, fileBytes;
        require(fromMemory[i].bytes.readAll(memoryBytes));
        require(fromFile[i].bytes.readAll(fileBytes));
        require(memoryBytes == fileBytes);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string bytes(reinterpret_cast<const char*>(data), size);
    auto inMemory = sim::ArchiveBytes::inMemory(bytes);
    int file = memfd_create("archive", MFD_CLOEXEC);
    require(file >= 0);
    require(size == 0 || write(file, bytes.data(), size) == static_cast<ssize_t>(size));
    auto inFile = sim::ArchiveBytes::inFile(file, 0, size);

    auto members = sim::readPlainArMembers(inMemory);
    auto fileMembers = sim::readPlainArMembers(inFile);
    require(members.has_value() == fileMembers.has_value());
    if (members)
        compare(*members, *fileMembers);

    auto entries = sim::readPlainTarEntries(inMemory);
    auto fileEntries = sim::readPlainTarEntries(inFile);
    require(entries.has_value() == fileEntries.has_value());
    if (entries) {
        compare(entries->entries, fileEntries->entries);
        for (auto& entry : entries->entries)
            require(entry.kind == sim::TarEntry::Kind::File || entry.bytes.size() == 0 || entry.kind == sim::TarEntry::Kind::Other);
    }
    close(file);
    return 0;
}
