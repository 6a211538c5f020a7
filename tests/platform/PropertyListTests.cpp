#include "Foundation/Foundation.h"

#include <gtest/gtest.h>
#include <plist/plist.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using objc::RefPtr;

namespace platform {
void registerFoundationClasses();
}

namespace {

namespace fs = std::filesystem;

class Foundation_PropertyList : public testing::Test {
protected:
    void SetUp() override
    {
        platform::registerFoundationClasses();
        std::string pattern = (fs::temp_directory_path() / "plist-test-XXXXXX").string();
        ASSERT_TRUE(mkdtemp(pattern.data()));
        m_folder = pattern;
    }
    void TearDown() override { fs::remove_all(m_folder); }

    std::string path(const char* name) const { return (m_folder / name).string(); }
    void writeFile(const std::string& file, const std::string& bytes) const
    {
        std::ofstream(file, std::ios::binary) << bytes;
    }
    std::string readFile(const std::string& file) const
    {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::vector<std::string> filesIn(const fs::path& folder) const
    {
        std::vector<std::string> names;
        for (auto& entry : fs::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    objc::AutoreleasePool m_pool;
    fs::path m_folder;
};

RefPtr<NSDictionary> mixedDictionary()
{
    return NSDictionary::create({
        { "enabled"_ns, NSNumber::numberWithBool(true) },
        { "hidden"_ns, NSNumber::numberWithBool(false) },
        { "count"_ns, NSNumber::numberWithInt(42) },
        { "offset"_ns, NSNumber::numberWithInt(-7) },
        { "big"_ns, NSNumber::numberWithLongLong(1LL << 40) },
        { "scale"_ns, NSNumber::numberWithDouble(1.5) },
        { "title"_ns, "Caf\xC3\xA9 & <tags> \xF0\x9F\x98\x80"_ns },
        { "empty"_ns, ""_ns },
        { "artwork"_ns, NSData::create({ 0, 1, 2, 255 }) },
        { "when"_ns, NSDate::dateWithTimeIntervalSinceReferenceDate(600000000) },
        { "list"_ns, NSArray::create({ "a"_ns, NSNumber::numberWithInt(1), NSDictionary::create({ { "deep"_ns, NSArray::create({}) } }) }) },
        { "nothing"_ns, NSDictionary::create({}) },
    });
}

TEST_F(Foundation_PropertyList, MixedDictionaryRoundTripsThroughXML)
{
    auto original = mixedDictionary();
    std::string error;
    ASSERT_TRUE(platform::writePropertyListAtomically(original.get(), path("prefs.plist"), &error)) << error;
    EXPECT_NE(readFile(path("prefs.plist")).find("<?xml"), std::string::npos);

    auto result = platform::readPropertyList(path("prefs.plist"));
    ASSERT_TRUE(result.value) << result.error;
    EXPECT_TRUE(result.error.empty());
    EXPECT_FALSE(result.missing);
    auto read = objc_cast<NSDictionary>(result.value.get());
    ASSERT_TRUE(read);
    EXPECT_TRUE(read->isEqual(original.get())) << read->descriptionString();

    // Equality cannot tell @YES from @1; the kinds must survive too, and the key order.
    EXPECT_TRUE(objc_cast<NSNumber>(read->objectForKey("enabled"))->isBoolean());
    EXPECT_TRUE(objc_cast<NSNumber>(read->objectForKey("hidden"))->isBoolean());
    EXPECT_FALSE(objc_cast<NSNumber>(read->objectForKey("count"))->isBoolean());
    EXPECT_FALSE(objc_cast<NSNumber>(read->objectForKey("count"))->isFloatingPoint());
    EXPECT_TRUE(objc_cast<NSNumber>(read->objectForKey("scale"))->isFloatingPoint());
    EXPECT_EQ(objc_cast<NSNumber>(read->objectForKey("offset"))->intValue(), -7);
    std::vector<std::string> keys;
    for (auto& entry : read->entries())
        keys.push_back(entry.first->descriptionString());
    std::vector<std::string> expectedKeys;
    for (auto& entry : original->entries())
        expectedKeys.push_back(entry.first->descriptionString());
    EXPECT_EQ(keys, expectedKeys);
}

TEST_F(Foundation_PropertyList, ReadsBinaryPropertyLists)
{
    plist_t root = plist_new_dict();
    plist_dict_set_item(root, "flag", plist_new_bool(1));
    plist_dict_set_item(root, "name", plist_new_string("binary"));
    plist_dict_set_item(root, "ratio", plist_new_real(0.25));
    char* bytes = nullptr;
    uint32_t length = 0;
    plist_to_bin(root, &bytes, &length);
    plist_free(root);
    ASSERT_TRUE(bytes);
    writeFile(path("binary.plist"), std::string(bytes, length));
    plist_to_bin_free(bytes);

    auto result = platform::readPropertyList(path("binary.plist"));
    ASSERT_TRUE(result.value) << result.error;
    auto expected = NSDictionary::create({ { "flag"_ns, NSNumber::numberWithBool(true) }, { "name"_ns, "binary"_ns }, { "ratio"_ns, NSNumber::numberWithDouble(0.25) } });
    EXPECT_TRUE(result.value->isEqual(expected.get())) << result.value->descriptionString();
}

TEST_F(Foundation_PropertyList, MissingAndCorruptFilesAreReportedDistinctly)
{
    auto missing = platform::readPropertyList(path("absent.plist"));
    EXPECT_FALSE(missing.value);
    EXPECT_TRUE(missing.missing);
    EXPECT_EQ(missing.error, "missing");

    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        { "empty", "" },
        { "garbage", "this is not a property list" },
        { "truncated xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n<key>a</key>\n<integ" },
        { "corrupt binary", std::string("bplist00\xd1\x01\x02\x51\x61\x09\x08\x0b\x0d", 17) },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(path("bad.plist"), c.bytes);
        auto result = platform::readPropertyList(path("bad.plist"));
        EXPECT_FALSE(result.value);
        EXPECT_FALSE(result.missing);
        EXPECT_FALSE(result.error.empty());
        EXPECT_NE(result.error, "missing");
    }

    // A folder where the file should be is unreadable, not missing.
    fs::create_directory(path("folder.plist"));
    auto folder = platform::readPropertyList(path("folder.plist"));
    EXPECT_FALSE(folder.value);
    EXPECT_FALSE(folder.missing);
    EXPECT_FALSE(folder.error.empty());
}

TEST_F(Foundation_PropertyList, AtomicWriteMakesFoldersAndLeavesNoTemporaryFile)
{
    fs::path folder = m_folder / "var/mobile/Library/Preferences";
    std::string target = (folder / "com.example.prefs.plist").string();
    std::string error;
    ASSERT_TRUE(platform::writePropertyListAtomically(NSDictionary::create({ { "v"_ns, NSNumber::numberWithInt(1) } }).get(), target, &error)) << error;
    ASSERT_TRUE(platform::writePropertyListAtomically(NSDictionary::create({ { "v"_ns, NSNumber::numberWithInt(2) } }).get(), target, &error)) << error;
    EXPECT_EQ(filesIn(folder), std::vector<std::string> { "com.example.prefs.plist" });

    auto result = platform::readPropertyList(target);
    ASSERT_TRUE(result.value) << result.error;
    EXPECT_EQ(objc_cast<NSNumber>(objc_cast<NSDictionary>(result.value.get())->objectForKey("v"))->intValue(), 2);
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::others_read, fs::perms::others_read);
}

TEST_F(Foundation_PropertyList, AReaderOfTheOldFileNeverSeesTheNewOneHalfWritten)
{
    std::string target = path("shared.plist");
    std::string error;
    ASSERT_TRUE(platform::writePropertyListAtomically(NSDictionary::create({ { "v"_ns, "old"_ns } }).get(), target, &error)) << error;
    std::string before = readFile(target);

    // A reader that opened the file before the write keeps the complete old contents:
    // the new file replaces the old by rename, it is not written over it.
    std::ifstream reader(target, std::ios::binary);
    std::vector<RefPtr<NSObject>> many;
    for (int i = 0; i < 2000; ++i)
        many.push_back(NSString::create("entry " + std::to_string(i)));
    ASSERT_TRUE(platform::writePropertyListAtomically(NSDictionary::create({ { "v"_ns, NSArray::create(many) } }).get(), target, &error)) << error;
    std::string seenByReader((std::istreambuf_iterator<char>(reader)), std::istreambuf_iterator<char>());
    EXPECT_EQ(seenByReader, before);
    EXPECT_NE(readFile(target), before);
}

TEST_F(Foundation_PropertyList, UnrepresentableValuesWriteNothing)
{
    std::string target = path("keep.plist");
    std::string error;
    ASSERT_TRUE(platform::writePropertyListAtomically(NSDictionary::create({ { "kept"_ns, "yes"_ns } }).get(), target, &error)) << error;
    std::string before = readFile(target);

    struct Case {
        const char* name;
        RefPtr<NSObject> value;
    };
    const Case cases[] = {
        { "plain object", NSObject::alloc() },
        { "object inside an array", NSArray::create({ "ok"_ns, NSObject::alloc() }) },
        { "number key", NSDictionary::create({ { NSNumber::numberWithInt(1), "v"_ns } }) },
        { "nil", nullptr },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        error.clear();
        EXPECT_FALSE(platform::writePropertyListAtomically(c.value.get(), target, &error));
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(readFile(target), before);
        EXPECT_EQ(filesIn(m_folder), std::vector<std::string> { "keep.plist" });
    }
}

TEST_F(Foundation_PropertyList, WriteFailsCleanlyWhenTheFolderCannotBeMade)
{
    writeFile(path("file"), "not a folder");
    std::string error;
    EXPECT_FALSE(platform::writePropertyListAtomically("v"_ns.get(), (m_folder / "file/sub/x.plist").string(), &error));
    EXPECT_FALSE(error.empty());
}

TEST_F(Foundation_PropertyList, ParsesBytesInMemory)
{
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<plist version=\"1.0\"><array><string>x</string><real>2.5</real><true/><integer>-3</integer>"
                      "<date>2001-01-01T00:01:00Z</date><data>AAEC</data></array></plist>";
    std::string error;
    auto value = platform::propertyListFromData(std::vector<std::uint8_t>(xml.begin(), xml.end()), &error);
    ASSERT_TRUE(value) << error;
    auto expected = NSArray::create({ "x"_ns, NSNumber::numberWithDouble(2.5), NSNumber::numberWithBool(true), NSNumber::numberWithInt(-3),
        NSDate::dateWithTimeIntervalSinceReferenceDate(60), NSData::create({ 0, 1, 2 }) });
    EXPECT_TRUE(value->isEqual(expected.get())) << value->descriptionString();
}

} // namespace
