// The installer's own reading of plain ar and tar archives: what it reads in place, and
// what it leaves to libarchive (anything compressed, extended or not adding up), which
// then reads it or refuses it.

#include "DebianPackageWriter.h"

#include "sim/device/ArchiveReading.h"
#include "sim/device/PackageInstaller.h"
#include "sim/device/PlainArchives.h"

#include <gtest/gtest.h>

using testing_support::ArchiveMember;
using testing_support::Packing;
using testing_support::writeArchive;

namespace {

constexpr std::uint64_t kLimit = 64 << 20;

sim::ArchiveBytes bytesOf(const std::string& text)
{
    return sim::ArchiveBytes::inMemory(text);
}

std::string textOf(const sim::ArchiveBytes& bytes)
{
    std::string text;
    EXPECT_TRUE(bytes.readAll(text));
    return text;
}

// The tar header at `offset` with the byte at `field` replaced and the checksum made right
// again, so that only the field is wrong.
std::string withHeaderByte(std::string tar, std::size_t offset, std::size_t field, char value)
{
    tar[offset + field] = value;
    unsigned sum = 0;
    for (std::size_t i = 0; i < 512; ++i)
        sum += (i >= 148 && i < 156) ? ' ' : static_cast<unsigned char>(tar[offset + i]);
    std::snprintf(&tar[offset + 148], 8, "%06o", sum);
    tar[offset + 155] = ' ';
    return tar;
}

} // namespace

TEST(PlainArchives, ReadsAPlainTarInPlaceWithKindsModesAndBytes)
{
    std::string tar = writeArchive({ { "./", "", AE_IFDIR }, { "./Library/", "", AE_IFDIR }, { "./Library/tweak.dylib", std::string(1000, 'x') },
                                       { "./Library/empty", "" }, { "./Library/link", "", AE_IFLNK, "/etc/passwd" } },
        Packing::Tar);
    auto read = sim::readPlainTarEntries(bytesOf(tar));
    ASSERT_TRUE(read);
    ASSERT_EQ(read->entries.size(), 5u);
    EXPECT_EQ(read->entries[1].name, "./Library/");
    EXPECT_EQ(read->entries[1].kind, sim::TarEntry::Kind::Folder);
    EXPECT_EQ(read->entries[1].mode, 0755u);
    EXPECT_EQ(read->entries[2].kind, sim::TarEntry::Kind::File);
    EXPECT_EQ(read->entries[2].mode, 0644u);
    EXPECT_EQ(textOf(read->entries[2].bytes), std::string(1000, 'x'));
    EXPECT_TRUE(read->entries[3].bytes.empty());
    EXPECT_EQ(read->entries[4].kind, sim::TarEntry::Kind::Other);
    EXPECT_TRUE(read->storage.empty());
}

TEST(PlainArchives, LeavesWhatItDoesNotReadToLibarchiveWhichReadsOrRefusesIt)
{
    std::string plain = writeArchive({ { "./a", "first" }, { "./b", std::string(600, 'b') } }, Packing::Tar);
    const std::size_t second = 512 + 512; // a's header and its one block of data
    enum class Libarchive {
        Reads,
        Refuses,
        Either // reads what it makes of it
    };
    struct Case {
        const char* story;
        std::string tar;
        Libarchive libarchive;
    };
    std::string badSum = plain;
    badSum[1] ^= 1; // the name changes, the checksum does not
    std::string longName = "./" + std::string(120, 'n');
    const Case cases[] = {
        { "compressed", writeArchive({ { "./a", "first" } }, Packing::TarWithGzip), Libarchive::Reads },
        { "a pax record for a long name", writeArchive({ { longName, "long" } }, Packing::Tar), Libarchive::Reads },
        { "a checksum that does not add up", badSum, Libarchive::Refuses },
        { "a size past the end", withHeaderByte(plain, second, 124 + 4, '7'), Libarchive::Refuses },
        { "a size that is not a number", withHeaderByte(plain, second, 124 + 5, 'x'), Libarchive::Either },
        { "a header cut short", plain.substr(0, second + 300), Libarchive::Refuses },
        { "data cut short", plain.substr(0, second + 512 + 100), Libarchive::Refuses },
    };
    for (auto& test : cases) {
        SCOPED_TRACE(test.story);
        EXPECT_FALSE(sim::readPlainTarEntries(bytesOf(test.tar)));
        if (test.libarchive == Libarchive::Reads) {
            auto read = sim::readTarEntries(bytesOf(test.tar), kLimit, "test.tar");
            ASSERT_FALSE(read.entries.empty());
            EXPECT_TRUE(textOf(read.entries[0].bytes) == "first" || read.entries[0].name == longName) << read.entries[0].name;
        } else if (test.libarchive == Libarchive::Refuses) {
            EXPECT_THROW(sim::readTarEntries(bytesOf(test.tar), kLimit, "test.tar"), sim::PackageError);
        }
    }
}

TEST(PlainArchives, ReadsAPlainArAndLeavesTablesAndDamageToLibarchive)
{
    std::string ar = writeArchive({ { "debian-binary", "2.0\n" }, { "control.tar", "odd" }, { "data.tar", "even" } }, Packing::Ar);
    auto members = sim::readPlainArMembers(bytesOf(ar));
    ASSERT_TRUE(members);
    ASSERT_EQ(members->size(), 3u);
    EXPECT_EQ((*members)[0].name, "debian-binary");
    EXPECT_EQ(textOf((*members)[1].bytes), "odd");
    EXPECT_EQ((*members)[2].name, "data.tar");
    EXPECT_EQ(textOf((*members)[2].bytes), "even");

    // A long name (BSD's "#1/N": the name leads the member's bytes) is libarchive's to read.
    const std::string longName = "a-member-name-longer-than-sixteen";
    char header[61];
    std::snprintf(header, sizeof header, "%-16s%-12s%-6s%-6s%-8s%-10zu`\n", ("#1/" + std::to_string(longName.size())).c_str(), "0", "0", "0", "644",
        longName.size() + 1);
    std::string longNames = std::string("!<arch>\n") + header + longName + "x" + "\n";
    EXPECT_FALSE(sim::readPlainArMembers(bytesOf(longNames)));
    std::deque<std::string> storage;
    auto read = sim::readArMembers(bytesOf(longNames), kLimit, storage, "test.deb");
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].name, longName);
    EXPECT_EQ(textOf(read[0].bytes), "x");

    std::string badEnd = ar;
    badEnd[8 + 58] = 'X'; // the first header's "`\n"
    EXPECT_FALSE(sim::readPlainArMembers(bytesOf(badEnd)));
    EXPECT_FALSE(sim::readPlainArMembers(bytesOf(ar.substr(0, ar.size() - 2)))) << "the last member cut short";
    const std::string notAnArchive = "Package: not an archive\n";
    EXPECT_FALSE(sim::readPlainArMembers(bytesOf(notAnArchive)));
    EXPECT_THROW(sim::readArMembers(bytesOf(notAnArchive), kLimit, storage, "test.deb"), sim::PackageError);
}
