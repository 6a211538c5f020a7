// Scenario text written carelessly or with intent: enormous numbers, numbers past a
// double's range, broken strings inside filters, endless waits and device paths that
// climb out of the device root. Each is refused before anything runs, naming FILE:LINE.

#include "sim/device/DeviceRoot.h"
#include "sim/lumetrix-sim/scenario/ScenarioParser.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

using namespace sim::scenario;

namespace {

// The text is refused with `message` after "test.scenario:LINE: ".
void expectRefused(const std::string& text, const std::string& message)
{
    try {
        parseScenarioText(text, "test.scenario", "/scenarios");
        ADD_FAILURE() << "accepted: " << text.substr(0, 80);
    } catch (const ScenarioError& error) {
        EXPECT_NE(std::string(error.what()).find(message), std::string::npos) << error.what();
    } catch (const std::exception& error) {
        ADD_FAILURE() << "refused without FILE:LINE: " << error.what();
    }
}

} // namespace

TEST(Scenario_Hostile, NumbersOfAnyLengthAreReadWithoutRecursion)
{
    // Forty thousand digits once overflowed the stack of the pattern matcher.
    expectRefused("wait " + std::string(40000, '1') + "\n", "test.scenario:1: expected a number between");
    expectRefused("pref stripheight " + std::string(400, '9') + ".5\n", "test.scenario:1: expected a number between");
    expectRefused("mark\nexpect-events count=" + std::string(400, '9') + " == 1\n", "test.scenario:2: expected a number between");
    expectRefused("seek 1e5\n", "test.scenario:1: expected a position in seconds (a decimal number), got 1e5");
    // A long word is cut in the message.
    expectRefused("seek " + std::string(5000, 'x') + "\n", "(5000 characters)");

    auto scenario = parseScenarioText("wait " + std::string(300, '0') + "1.5\nseek .25\n", "test.scenario", "/scenarios");
    EXPECT_EQ(std::get<WaitCommand>(scenario.commands[0].body).seconds, 1.5);
    EXPECT_EQ(std::get<SeekCommand>(scenario.commands[1].body).seconds, 0.25);
}

TEST(Scenario_Hostile, ABrokenStringInsideAFilterNamesItsLine)
{
    // The line splits into words; the filter's value, read again on its own, does not.
    expectRefused("mark\nexpect-events type\"x=log\" == 1\n", "test.scenario:2: expected a filter field=value");
    expectRefused("mark\nexpect-events x\"=y\" == 1\n", "test.scenario:2: expected a filter field=value");
}

TEST(Scenario_Hostile, AWaitIsAtMostOneDay)
{
    expectRefused("wait 100000000000000000\n", "test.scenario:1: expected a wait of at most 86400 seconds");
    expectRefused("boot\nwait 86400.5\n", "test.scenario:2: expected a wait of at most 86400 seconds");
    auto scenario = parseScenarioText("wait 86400\n", "test.scenario", "/scenarios");
    EXPECT_EQ(std::get<WaitCommand>(scenario.commands[0].body).seconds, 86400);
}

TEST(Scenario_Hostile, DevicePathsStayInsideTheRoot)
{
    expectRefused("file \"/../../../../tmp/x\" \"escaped\"\n", "test.scenario:1: expected a device path inside the device root");
    expectRefused("boot\nfile \"/Library/../../etc/passwd\"\n", "test.scenario:2: expected a device path inside the device root");
    auto scenario = parseScenarioText("file \"/Library/./a//b/../c.dylib\"\nfile \"/x/..\"\n", "test.scenario", "/scenarios");
    EXPECT_EQ(std::get<FileCommand>(scenario.commands[0].body).devicePath, "/Library/a/c.dylib");
    EXPECT_EQ(std::get<FileCommand>(scenario.commands[1].body).devicePath, "/");
}

TEST(Scenario_Hostile, TheDeviceRootRefusesPathsAndLinksLeadingOut)
{
    auto root = sim::DeviceRoot::makeTemporary();
    EXPECT_THROW(root.resolve("/../outside"), std::invalid_argument);
    EXPECT_EQ(root.resolve("/a/../b"), root.path() / "b");

    // A link inside a kept root that points out of it.
    std::filesystem::path outside = root.path().parent_path() / (root.path().filename().string() + "-outside");
    std::filesystem::create_directories(outside);
    std::filesystem::create_directory_symlink(outside, root.path() / "Library/out");
    EXPECT_THROW(root.writeFile("/Library/out/x", "escaped"), std::invalid_argument);
    EXPECT_FALSE(std::filesystem::exists(outside / "x"));
    std::filesystem::remove_all(outside);

    root.writeFile("/Library/in/x", "kept");
    EXPECT_TRUE(std::filesystem::exists(root.path() / "Library/in/x"));
}

TEST(Scenario_Hostile, TheDeviceRootKeepsWritesInsideWhateverItsLinksSay)
{
    auto root = sim::DeviceRoot::makeTemporary();
    std::filesystem::path outside = root.path().parent_path() / (root.path().filename().string() + "-beyond");
    std::filesystem::remove_all(outside);
    std::filesystem::create_directories(root.path() / "var/mobile");
    // A link to a file outside that does not exist yet: following it would create it.
    std::filesystem::create_symlink(outside / "made", root.path() / "var/mobile/link");
    std::filesystem::create_symlink("../../../" + outside.filename().string() + "/made", root.path() / "var/mobile/relative");
    for (const char* path : { "/var/mobile/link", "/var/mobile/relative" }) {
        SCOPED_TRACE(path);
        EXPECT_THROW(root.writeFile(path, "x"), std::invalid_argument);
    }
    EXPECT_FALSE(std::filesystem::exists(outside));
    EXPECT_FALSE(std::filesystem::exists(outside / "made"));

    // A FIFO in the file's place is refused at once instead of blocking the run.
    ASSERT_EQ(mkfifo((root.path() / "var/mobile/fifo").c_str(), 0600), 0);
    EXPECT_THROW(root.writeFile("/var/mobile/fifo", "x"), std::runtime_error);

    // A link that stays inside the root is followed, folders made beneath it.
    std::filesystem::create_directory_symlink("../Library", root.path() / "var/library");
    root.writeFile("/var/library/deep/x", "kept");
    EXPECT_TRUE(std::filesystem::exists(root.path() / "Library/deep/x"));
}
