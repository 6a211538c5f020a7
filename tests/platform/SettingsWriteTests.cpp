// Writes to the settings store when something is in the way: an odd value under another
// key, a folder that cannot be written, writers killed half-way, unreadable files met
// more than once. A write either reaches the file whole or says why it did not; nothing
// is left behind and nothing a reader could not understand is thrown away.

#include "Cephei/HBPreferences.h"
#include "CoreFoundation/CFPreferences.h"
#include "Foundation/Foundation.h"
#include "Foundation/PropertyList.h"
#include "Foundation/RunLoop.h"
#include "Platform/Platform.h"

#include "PlatformTestValues.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace platform {
void registerFoundationClasses();
void registerCepheiClasses();
} // namespace platform

namespace {

using platform_test::plist;

constexpr const char* kDomain = "com.example.writes";

class Settings_Writes : public testing::Test {
protected:
    void SetUp() override
    {
        platform::registerFoundationClasses();
        platform::registerCepheiClasses();
        std::string pattern = (fs::temp_directory_path() / "lumetrix-writes-XXXXXX").string();
        ASSERT_TRUE(mkdtemp(pattern.data()));
        m_root = pattern;
        platform::setDeviceRoot(m_root);
        fs::create_directories(folder());
        m_runLoop = std::make_unique<platform::RunLoop>();
    }
    void TearDown() override
    {
        m_runLoop.reset();
        fs::remove_all(m_root);
        platform::setDeviceRoot("/");
    }

    fs::path folder() const { return fs::path(m_root) / "var/mobile/Library/Preferences"; }
    std::string settingsPath() const { return platform::preferencesFilePath(kDomain); }
    objc::RefPtr<HBPreferences> makeStore() const { return HBPreferences::alloc()->initWithIdentifier(NSString::create(kDomain).get()); }

    std::vector<std::string> filesInFolder() const
    {
        std::vector<std::string> names;
        for (auto& entry : fs::directory_iterator(folder()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    NSDictionary* storedDictionary()
    {
        m_lastRead = platform::readPropertyList(settingsPath()).value;
        return objc_cast<NSDictionary>(m_lastRead.get());
    }

    objc::AutoreleasePool m_pool;
    std::string m_root;
    std::unique_ptr<platform::RunLoop> m_runLoop;
    objc::RefPtr<NSObject> m_lastRead;
};

TEST_F(Settings_Writes, ADateFarFrom2001UnderAnotherKeyNoLongerBlocksWrites)
{
    std::ofstream(settingsPath()) << plist("<key>installed</key><date>2100-06-01T12:00:00Z</date>");
    auto store = makeStore();
    store->setBool(true, "enable"_ns);
    EXPECT_EQ(store->writeProblem(), "");
    NSDictionary* stored = storedDictionary();
    ASSERT_TRUE(stored);
    EXPECT_TRUE(objc_cast<NSNumber>(stored->objectForKey("enable"))->boolValue());
    auto date = objc_cast<NSDate>(stored->objectForKey("installed"));
    ASSERT_TRUE(date) << "the other key survives the write, unchanged";
    EXPECT_EQ(date->descriptionString(), "2100-06-01 12:00:00 +0000");
}

TEST_F(Settings_Writes, AFailedWriteSaysWhyAndChangesNothing)
{
    std::ofstream(settingsPath()) << plist("<key>enable</key><false/>");
    auto store = makeStore();
    bool enable = true;
    store->registerBool(&enable, true, "enable"_ns);
    ASSERT_FALSE(enable);

    // A value no property list can hold.
    store->setObject(NSDate::dateWithTimeIntervalSinceReferenceDate(1e12).get(), "when"_ns);
    EXPECT_NE(store->writeProblem().find("years 0 to 9999"), std::string::npos) << store->writeProblem();
    EXPECT_EQ(store->objectForKey("when"_ns), nullptr) << "the store shows what the file holds";

    // A folder that cannot be written.
    fs::remove_all(folder());
    std::ofstream(folder().string()) << "a file where the folder belongs";
    store->setObject("unsaved"_ns, "title"_ns);
    EXPECT_NE(store->writeProblem().find("Not a directory"), std::string::npos) << store->writeProblem();
    EXPECT_EQ(store->objectForKey("title"_ns), nullptr);

    std::string problem;
    EXPECT_FALSE(platform::writePreferencesFile(kDomain, NSDictionary::create({}).get(), false, "test", &problem));
    EXPECT_NE(problem, "");
}

TEST_F(Settings_Writes, EveryUnreadableFileIsKeptNumbered)
{
    auto store = makeStore();
    for (const char* garbage : { "first garbage", "second garbage", "third garbage" }) {
        std::ofstream(settingsPath()) << garbage;
        store->reload();
        store->setBool(true, "enable"_ns);
        ASSERT_EQ(store->writeProblem(), "");
    }
    auto read = [&](const std::string& suffix) {
        std::stringstream text;
        text << std::ifstream(settingsPath() + suffix).rdbuf();
        return text.str();
    };
    EXPECT_EQ(read(".unreadable"), "first garbage");
    EXPECT_EQ(read(".unreadable.2"), "second garbage");
    EXPECT_EQ(read(".unreadable.3"), "third garbage");
}

TEST_F(Settings_Writes, TemporaryFilesOfDeadWritersGoWithTheNextWrite)
{
    std::string stale = (folder() / ("." + std::string(kDomain) + ".plist.a1B2c3")).string();
    std::ofstream(stale) << "half a plist";
    std::string unrelated = (folder() / ".other.plist.a1B2c3").string();
    std::ofstream(unrelated) << "someone else's";
    // A temporary file still locked by its writer is left to it.
    std::string live = (folder() / ("." + std::string(kDomain) + ".plist.LiVe01")).string();
    std::ofstream(live) << "being written";
    int liveLock = ::open(live.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(liveLock, LOCK_EX), 0);
    pid_t holder = fork();
    if (holder == 0) {
        // A lock held by another process, as a live writer's would be.
        pause();
        _exit(0);
    }
    ::close(liveLock);

    makeStore()->setBool(true, "enable"_ns);
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(unrelated));
    EXPECT_TRUE(fs::exists(live));
    kill(holder, SIGKILL);
    waitpid(holder, nullptr, 0);

    makeStore()->setBool(false, "enable"_ns);
    EXPECT_FALSE(fs::exists(live)) << "its writer has gone";
}

// Writers are killed at random instants, over and over. After each kill the file is a
// whole old or new version, and the next write leaves no temporary file behind.
TEST_F(Settings_Writes, WritersKilledAtRandomNeverLeaveATornFileOrLitter)
{
    // Versions large enough that a write takes a while, each saying which it is.
    auto version = [](int number) {
        std::vector<objc::RefPtr<NSObject>> filler;
        for (int i = 0; i < 400; ++i)
            filler.push_back(NSString::create("entry " + std::to_string(i) + " of version " + std::to_string(number)));
        return NSDictionary::create({ { "version"_ns, NSNumber::numberWithInt(number) }, { "filler"_ns, NSArray::create(filler) } });
    };
    ASSERT_TRUE(platform::writePreferencesFile(kDomain, version(0).get(), false, "test"));

    std::mt19937 random(20260101);
    const int kills = 200;
    for (int round = 1; round <= kills; ++round) {
        std::fflush(nullptr);
        pid_t writer = fork();
        if (writer == 0) {
            for (int number = round * 1000;; ++number)
                platform::writePreferencesFile(kDomain, version(number).get(), false, "writer");
        }
        usleep(std::uniform_int_distribution<int>(0, 4000)(random));
        kill(writer, SIGKILL);
        waitpid(writer, nullptr, 0);

        NSDictionary* stored = storedDictionary();
        ASSERT_TRUE(stored) << "round " << round << ": the file is torn";
        auto number = objc_cast<NSNumber>(stored->objectForKey("version"));
        ASSERT_TRUE(number) << "round " << round;
        auto filler = objc_cast<NSArray>(stored->objectForKey("filler"));
        ASSERT_TRUE(filler && filler->count() == 400) << "round " << round;
        EXPECT_EQ(objc_cast<NSString>(filler->objects().back().get())->string(), "entry 399 of version " + std::to_string(number->intValue()));
    }
    ASSERT_TRUE(platform::writePreferencesFile(kDomain, version(-1).get(), false, "test"));
    EXPECT_EQ(filesInFolder(), std::vector<std::string> { std::string(kDomain) + ".plist" });
}

TEST_F(Settings_Writes, AWriteThatCouldNotBeReadBackFailsAndKeepsTheFile)
{
    std::ofstream(settingsPath()) << plist("<key>enable</key><false/><key>alwaysshow</key><true/>");
    auto store = makeStore();
    // Over the read limit once written: every setting would read as its default.
    store->setObject(NSString::create(std::string(platform::kMaximumPropertyListFileSize + 1, 'a')).get(), "songtitlebg"_ns);
    EXPECT_NE(store->writeProblem().find("at most 1024 KiB"), std::string::npos) << store->writeProblem();
    EXPECT_EQ(store->objectForKey("songtitlebg"_ns), nullptr);
    // A NUL would cut the string where the file is written.
    store->setObject(NSString::create(std::string("red\0blue", 8)).get(), "songtitlebg"_ns);
    EXPECT_NE(store->writeProblem().find("NUL"), std::string::npos) << store->writeProblem();

    NSDictionary* stored = storedDictionary();
    ASSERT_TRUE(stored) << "the old file is still there and readable";
    EXPECT_FALSE(objc_cast<NSNumber>(stored->objectForKey("enable"))->boolValue());
    EXPECT_TRUE(objc_cast<NSNumber>(stored->objectForKey("alwaysshow"))->boolValue());
    EXPECT_EQ(stored->objectForKey("songtitlebg"), nullptr);
    EXPECT_EQ(filesInFolder(), std::vector<std::string> { std::string(kDomain) + ".plist" }) << "nothing kept aside";
}

TEST_F(Settings_Writes, APreferencesFolderThatLinksOutOfTheRootIsNotWrittenThrough)
{
    fs::path outside = fs::path(m_root + "-outside");
    fs::create_directories(outside);
    fs::remove_all(folder());
    fs::create_directory_symlink(outside, folder());
    auto store = makeStore();
    store->setBool(true, "enable"_ns);
    EXPECT_NE(store->writeProblem(), "");
    EXPECT_TRUE(fs::is_empty(outside)) << "no file, temporary or kept, written outside";
    fs::remove_all(outside);

    // A link that stays inside the root is a folder like any other.
    fs::remove(folder());
    fs::create_directories(fs::path(m_root) / "var/elsewhere");
    fs::create_directory_symlink("../../elsewhere", folder());
    store->setBool(true, "enable"_ns);
    EXPECT_EQ(store->writeProblem(), "");
    EXPECT_TRUE(fs::exists(fs::path(m_root) / "var/elsewhere" / (std::string(kDomain) + ".plist")));
}

} // namespace
