#include "Cephei/HBPreferences.h"
#include "Foundation/NSNumber.h"
#include "Foundation/NSString.h"
#include "Foundation/PropertyList.h"
#include "Foundation/RunLoop.h"
#include "Platform/Platform.h"
#include "notify/notify.h"

#include "PlatformTestValues.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
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

class Cephei_HBPreferences : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::registerFoundationClasses();
        platform::registerCepheiClasses();
        std::string pattern = (fs::temp_directory_path() / "lumetrix-prefs-XXXXXX").string();
        ASSERT_TRUE(mkdtemp(pattern.data()));
        m_root = pattern;
        platform::setDeviceRoot(m_root);
        fs::create_directories(fs::path(m_root) / "var/mobile/Library/Preferences");
        m_runLoop = std::make_unique<platform::RunLoop>();
    }

    void TearDown() override
    {
        m_runLoop.reset();
        fs::remove_all(m_root);
        platform::setDeviceRoot("/");
    }

    std::string settingsPath() const { return m_root + "/var/mobile/Library/Preferences/com.example.test.plist"; }

    void writeSettings(const std::string& contents) const
    {
        std::ofstream(settingsPath()) << contents;
    }

    std::string readSettings() const
    {
        std::stringstream text;
        text << std::ifstream(settingsPath()).rdbuf();
        return text.str();
    }

    objc::RefPtr<HBPreferences> makeStore() const
    {
        return HBPreferences::alloc()->initWithIdentifier("com.example.test"_ns);
    }

    std::string m_root;
    std::unique_ptr<platform::RunLoop> m_runLoop;
};

// A bound object variable is owned by the store; the tests read it through the runtime,
// as the tweak does.
float floatOf(id value)
{
    return objc_msgSend<float>(value, "floatValue"_sel);
}

TEST_F(Cephei_HBPreferences, MissingFileBindsEveryDefault)
{
    auto store = makeStore();
    bool flag = false;
    bool on = false;
    id speed = nil;
    store->registerBool(&flag, true, "flag"_ns);
    store->registerBool(&on, false, "on"_ns);
    store->registerObject(&speed, "20.0"_ns, "speed"_ns);
    EXPECT_TRUE(flag);
    EXPECT_FALSE(on);
    EXPECT_FLOAT_EQ(floatOf(speed), 20.0f);
    EXPECT_EQ(store->objectForKey("nothing"_ns), nullptr);
    EXPECT_FALSE(fs::exists(settingsPath())) << "reading never creates the file";
}

TEST_F(Cephei_HBPreferences, OneStorePerIdentifierWhileItLives)
{
    auto first = makeStore();
    auto second = makeStore();
    EXPECT_EQ(first.get(), second.get());
    auto other = HBPreferences::alloc()->initWithIdentifier("com.example.other"_ns);
    EXPECT_NE(first.get(), other.get());
}

TEST_F(Cephei_HBPreferences, NumbersAndNumericStringsGiveTheSameFloatValue)
{
    struct Case {
        const char* stored;
        float expected;
    };
    for (Case c : { Case { "<real>5</real>", 5.0f }, Case { "<string>5.0</string>", 5.0f }, Case { "<integer>5</integer>", 5.0f },
             Case { "<string>  7.25abc</string>", 7.25f }, Case { "<string>fast</string>", 0.0f } }) {
        writeSettings(plist(std::string("<key>speed</key>") + c.stored));
        auto store = makeStore();
        id speed = nil;
        store->registerObject(&speed, "20.0"_ns, "speed"_ns);
        EXPECT_FLOAT_EQ(floatOf(speed), c.expected) << c.stored;
    }
}

TEST_F(Cephei_HBPreferences, SetWritesThroughKeepsOtherKeysAndUpdatesBindings)
{
    writeSettings(plist("<key>keep</key><string>me</string>"));
    auto store = makeStore();
    bool flag = false;
    store->registerBool(&flag, false, "flag"_ns);
    store->setBool(true, "flag"_ns);
    EXPECT_TRUE(flag);
    auto reread = platform::readPropertyList(settingsPath());
    ASSERT_TRUE(reread.value);
    auto dictionary = objc_cast<NSDictionary>(reread.value.get());
    ASSERT_TRUE(dictionary);
    EXPECT_TRUE(objc_cast<NSNumber>(dictionary->objectForKey("flag"))->boolValue());
    EXPECT_EQ(objc_cast<NSString>(dictionary->objectForKey("keep"))->string(), "me");

    store->removeAllObjects();
    EXPECT_FALSE(flag) << "back to its default";
    EXPECT_EQ(store->objectForKey("keep"_ns), nullptr);
}

TEST_F(Cephei_HBPreferences, ChangeWrittenByAnotherProcessReachesBoundVariables)
{
    auto store = makeStore();
    bool flag = false;
    id width = nil;
    store->registerBool(&flag, false, "flag"_ns);
    store->registerObject(&width, "140.0"_ns, "width"_ns);

    std::fflush(nullptr);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Another process: writes the file as the Settings pane would, then announces it.
        std::ofstream(settingsPath()) << plist("<key>flag</key><true/><key>width</key><integer>90</integer>");
        notify_post("com.example.test/ReloadPrefs");
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_FALSE(flag) << "nothing changes before the run loop runs";
    m_runLoop->runFor(0);
    EXPECT_TRUE(flag);
    EXPECT_FLOAT_EQ(floatOf(width), 90.0f);
}

TEST_F(Cephei_HBPreferences, CorruptFileReadsDefaultsAndIsLeftUntouched)
{
    const std::string garbage = "<?xml version=\"1.0\"?><plist><dict><key>flag</key><tr";
    writeSettings(garbage);
    auto store = makeStore();
    bool flag = false;
    store->registerBool(&flag, true, "flag"_ns);
    EXPECT_TRUE(flag);
    store->reload();
    EXPECT_EQ(readSettings(), garbage);

    // A write over an unreadable file keeps a copy of it rather than losing it.
    store->setBool(false, "flag"_ns);
    EXPECT_FALSE(flag);
    std::stringstream kept;
    kept << std::ifstream(settingsPath() + ".unreadable").rdbuf();
    EXPECT_EQ(kept.str(), garbage);
}

TEST_F(Cephei_HBPreferences, MistypedValuesReadTheirDefaults)
{
    writeSettings(plist("<key>flag</key><string>YES</string><key>width</key><array/><key>speed</key><integer>3</integer>"
                        "<key>other</key><true/>"));
    auto store = makeStore();
    bool flag = false;
    bool other = false;
    id width = nil;
    id speed = nil;
    store->registerBool(&flag, false, "flag"_ns);
    store->registerBool(&other, false, "other"_ns);
    store->registerObject(&width, "140.0"_ns, "width"_ns);
    store->registerObject(&speed, "20.0"_ns, "speed"_ns);
    EXPECT_FALSE(flag) << "a string is no boolean: the default";
    EXPECT_TRUE(other);
    EXPECT_FLOAT_EQ(floatOf(width), 140.0f) << "an array is no number: the default";
    EXPECT_FLOAT_EQ(floatOf(speed), 3.0f);
}

TEST_F(Cephei_HBPreferences, TopLevelThatIsNoDictionaryReadsDefaults)
{
    writeSettings("<?xml version=\"1.0\"?><plist version=\"1.0\"><array><true/></array></plist>");
    auto store = makeStore();
    bool flag = true;
    store->registerBool(&flag, false, "flag"_ns);
    EXPECT_FALSE(flag);
}

} // namespace
