// Property-list files as a hostile app or a broken disk leaves them: things in a file's
// place that are not files, files too large or too deep for the parsing library, and
// dates across the whole range the format holds. Each must be answered at once, with a
// reason, and never stall the reader.

#include "Foundation/Foundation.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace platform {
void registerFoundationClasses();
}

namespace {

namespace fs = std::filesystem;

// Kills the test (and so fails it) if what follows does not finish in time: a reader
// that blocks or loops must not hang the suite.
struct Deadline {
    explicit Deadline(unsigned seconds) { alarm(seconds); }
    ~Deadline() { alarm(0); }
};

class Foundation_PropertyListHazards : public testing::Test {
protected:
    void SetUp() override
    {
        platform::registerFoundationClasses();
        std::string pattern = (fs::temp_directory_path() / "plist-hazard-XXXXXX").string();
        ASSERT_TRUE(mkdtemp(pattern.data()));
        m_folder = pattern;
    }
    void TearDown() override { fs::remove_all(m_folder); }

    std::string path(const char* name) const { return (m_folder / name).string(); }
    void writeFile(const std::string& file, const std::string& bytes) const { std::ofstream(file, std::ios::binary) << bytes; }

    objc::AutoreleasePool m_pool;
    fs::path m_folder;
};

const char* kXMLHead = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n";

void appendBigEndian(std::string& bytes, std::uint64_t value, int width)
{
    for (int i = width - 1; i >= 0; --i)
        bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// A binary property list of the given objects, object 0 on top.
std::string binaryPropertyList(const std::vector<std::string>& objects, int referenceWidth)
{
    std::string bytes = "bplist00";
    std::vector<std::uint64_t> offsets;
    for (auto& object : objects) {
        offsets.push_back(bytes.size());
        bytes += object;
    }
    std::uint64_t table = bytes.size();
    for (auto offset : offsets)
        appendBigEndian(bytes, offset, 4);
    bytes += std::string(6, '\0');
    bytes += static_cast<char>(4);
    bytes += static_cast<char>(referenceWidth);
    appendBigEndian(bytes, objects.size(), 8);
    appendBigEndian(bytes, 0, 8);
    appendBigEndian(bytes, table, 8);
    return bytes;
}

// `levels` arrays, each holding the next (twice when `doubled`), around a boolean.
std::string nestedBinaryArrays(std::size_t levels, bool doubled)
{
    std::vector<std::string> objects;
    for (std::size_t i = 0; i < levels; ++i) {
        std::string array(1, static_cast<char>(doubled ? 0xA2 : 0xA1));
        for (int copy = 0; copy < (doubled ? 2 : 1); ++copy)
            appendBigEndian(array, i + 1, 4);
        objects.push_back(array);
    }
    objects.push_back(std::string(1, '\x09'));
    return binaryPropertyList(objects, 4);
}

std::string binaryDate(double seconds)
{
    std::uint64_t word;
    std::memcpy(&word, &seconds, sizeof word);
    std::string object(1, '\x33');
    appendBigEndian(object, word, 8);
    return binaryPropertyList({ object }, 1);
}

std::vector<std::uint8_t> bytesOf(const std::string& text) { return { text.begin(), text.end() }; }

TEST_F(Foundation_PropertyListHazards, AFIFOOrADeviceInTheFilesPlaceIsRefusedAtOnce)
{
    ASSERT_EQ(mkfifo(path("fifo.plist").c_str(), 0644), 0);
    fs::create_symlink("/dev/zero", path("zero.plist"));
    fs::create_directory(path("folder.plist"));
    Deadline deadline(10);
    for (const char* name : { "fifo.plist", "zero.plist", "folder.plist" }) {
        auto result = platform::readPropertyList(path(name));
        EXPECT_FALSE(result.value) << name;
        EXPECT_FALSE(result.missing) << name;
        EXPECT_NE(result.error.find("not a regular file"), std::string::npos) << name << ": " << result.error;
    }
    EXPECT_TRUE(fs::is_fifo(path("fifo.plist"))) << "left as it was";
}

TEST_F(Foundation_PropertyListHazards, FilesOverTheSizeCapAreRefusedUnread)
{
    // Valid XML, just too large for a settings file.
    std::string xml = kXMLHead + std::string("<array>");
    while (xml.size() <= platform::kMaximumPropertyListFileSize)
        xml += "<string>filler filler filler filler</string>";
    xml += "</array></plist>\n";
    writeFile(path("large.plist"), xml);
    auto result = platform::readPropertyList(path("large.plist"));
    EXPECT_FALSE(result.value);
    EXPECT_NE(result.error.find("larger than the 1024 KiB"), std::string::npos) << result.error;

    writeFile(path("small.plist"), std::string(kXMLHead) + "<array><string>x</string></array></plist>\n");
    EXPECT_TRUE(platform::readPropertyList(path("small.plist")).value);
}

TEST_F(Foundation_PropertyListHazards, StructureTheLibraryCannotTakeNeverReachesIt)
{
    Deadline deadline(10);
    struct Case {
        const char* what;
        std::string bytes;
        const char* reason;
    };
    std::string deepXML = kXMLHead;
    for (int i = 0; i < 100000; ++i)
        deepXML += "<array>";
    const Case cases[] = {
        { "binary, 60,000 deep", nestedBinaryArrays(60000, false), "nested too deeply" },
        { "XML, 100,000 deep", deepXML, "nested too deeply" },
        // 64 levels each referring twice to the next: 2^64 objects once expanded.
        { "binary, doubling references", nestedBinaryArrays(64, true), "too many times over" },
        { "binary, an array holding itself", binaryPropertyList({ std::string("\xA1\x00", 2) }, 1), "contains itself" },
        { "binary, a reference past the end", binaryPropertyList({ std::string("\xA1\x07", 2) }, 1), "does not have" },
        // The library asserts on these keys, taking the whole process down.
        { "binary, a number as a key", binaryPropertyList({ std::string("\xD1\x01\x02", 3), std::string("\x10\x05", 2), "\x09" }, 1),
            "key that is not a string" },
        { "binary, a key holding NUL", binaryPropertyList({ std::string("\xD1\x01\x02", 3), std::string("\x53"
                                                                                                        "a\0b",
                                                                                                4),
                                                              "\x09" },
                                           1),
            "key that is not a string" },
    };
    for (auto& c : cases) {
        std::string error;
        EXPECT_FALSE(platform::propertyListFromData(bytesOf(c.bytes), &error)) << c.what;
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.what << ": " << error;
    }
    // Nesting within the limit still reads.
    std::string error;
    EXPECT_TRUE(platform::propertyListFromData(bytesOf(nestedBinaryArrays(400, false)), &error)) << error;
}

TEST_F(Foundation_PropertyListHazards, EveryDateTheFormatHoldsRoundTripsExactly)
{
    // Seconds from 2001: year 0, 1850, 1901 (just outside 32 bits), now, 2100, 9999.
    const double dates[] = { -63145526400.0, -4733510400.0, -3124137600.0, 600000000.0, 3124137600.0, 252423993599.0 };
    for (double seconds : dates) {
        auto original = NSDictionary::create({ { "when"_ns, NSDate::dateWithTimeIntervalSinceReferenceDate(seconds) } });
        std::string error;
        ASSERT_TRUE(platform::writePropertyListAtomically(original.get(), path("dates.plist"), &error)) << seconds << ": " << error;
        auto reread = platform::readPropertyList(path("dates.plist"));
        ASSERT_TRUE(reread.value) << seconds << ": " << reread.error;
        auto date = objc_cast<NSDate>(objc_cast<NSDictionary>(reread.value.get())->objectForKey("when"_ns));
        ASSERT_TRUE(date) << seconds;
        EXPECT_EQ(date->timeIntervalSinceReferenceDate(), seconds);

        // A binary file's date reads whole as well.
        std::string binaryError;
        auto binaryValue = platform::propertyListFromData(bytesOf(binaryDate(seconds)), &binaryError);
        auto binary = objc_cast<NSDate>(binaryValue.get());
        ASSERT_TRUE(binary) << seconds << ": " << binaryError;
        EXPECT_EQ(binary->timeIntervalSinceReferenceDate(), seconds);
    }
}

TEST_F(Foundation_PropertyListHazards, DatesBeyondTheFormatAreRefusedWithAReason)
{
    std::string error;
    // Only a binary file can say year 33,000; XML cannot write it back.
    EXPECT_FALSE(platform::propertyListFromData(bytesOf(binaryDate(1e12)), &error));
    EXPECT_NE(error.find("years 0 to 9999"), std::string::npos) << error;
    error.clear();
    EXPECT_TRUE(platform::xmlPropertyList(NSDate::dateWithTimeIntervalSinceReferenceDate(1e12).get(), &error).empty());
    EXPECT_NE(error.find("years 0 to 9999"), std::string::npos) << error;
    // The library would read this as 1970; it is refused instead.
    error.clear();
    std::string garbage = std::string(kXMLHead) + "<date>soon</date></plist>\n";
    EXPECT_FALSE(platform::propertyListFromData(bytesOf(garbage), &error));
    EXPECT_NE(error.find("YYYY-MM-DDTHH:MM:SSZ"), std::string::npos) << error;
}

} // namespace
