// Whole runs, through the same path as `lumetrix-sim run`: the device process, the
// Settings process and a fresh SpringBoard process at boot and every respring. What must
// hold across those processes: one clock, one event log, one numbering of dump nodes,
// the now-playing app carried over, and the failures of every process counted.

#include "sim/lumetrix-sim/run/EventLog.h"
#include "sim/lumetrix-sim/run/ScenarioRun.h"
#include "sim/lumetrix-sim/scenario/ScenarioParser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

class Scenario_Run : public testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "lumetrix-run-test-XXXXXX").string();
        ASSERT_TRUE(mkdtemp(pattern.data()));
        m_folder = pattern;
    }
    void TearDown() override { fs::remove_all(m_folder); }

    // Runs the scenario; returns how many expectations failed.
    int run(const std::string& text, sim::RunOptions options = {})
    {
        auto scenario = sim::scenario::parseScenarioText(text, "test.scenario", m_folder);
        m_log = std::make_unique<sim::EventLog>((m_folder / "events.jsonl").string());
        return sim::runScenario(scenario, options, *m_log);
    }

    std::vector<json> events(const std::string& type) const
    {
        std::vector<json> matching;
        for (auto& event : m_log->eventsSince(0)) {
            if (event["type"] == type)
                matching.push_back(event);
        }
        return matching;
    }

    json readDump(const std::string& name) const
    {
        std::ifstream in(m_folder / name);
        return json::parse(in);
    }

    fs::path m_folder;
    std::unique_ptr<sim::EventLog> m_log;
};

TEST_F(Scenario_Run, FailuresOfEveryProcessAreCountedAndTheRunGoesOn)
{
    testing::internal::CaptureStderr();
    int failures = run("expect lockscreen != null\n" // device process: no SpringBoard yet
                       "boot\n"
                       "expect globals.enable == false\n" // first SpringBoard
                       "respring\n"
                       "expect globals.enable == true\n"
                       "expect lockscreen == null\n"); // second SpringBoard
    std::string messages = testing::internal::GetCapturedStderr();
    EXPECT_EQ(failures, 3);
    EXPECT_NE(messages.find("test.scenario:1: expected lockscreen != null, got null"), std::string::npos) << messages;
    EXPECT_NE(messages.find("test.scenario:3: expected globals.enable == false, got true"), std::string::npos) << messages;
    EXPECT_NE(messages.find("test.scenario:6: expected lockscreen == null, got {"), std::string::npos) << messages;
}

TEST_F(Scenario_Run, OneClockAcrossTheDeviceAndEverySpringBoard)
{
    EXPECT_EQ(run("track A B 100\nplay\nwait 2\nboot\nwait 3\nrespring\nwait 1.5\npause\n"), 0);
    auto boots = events("boot");
    ASSERT_EQ(boots.size(), 2u);
    EXPECT_EQ(boots[0]["t"], 2.0);
    EXPECT_EQ(boots[1]["t"], 5.0);
    ASSERT_EQ(events("respring").size(), 1u);
    EXPECT_EQ(events("respring")[0]["t"], 5.0);
    // The music played on through both hand-overs: paused 6.5 s after it started.
    auto nowPlaying = events("nowplaying");
    ASSERT_FALSE(nowPlaying.empty());
    EXPECT_EQ(nowPlaying.back()["t"], 6.5);
    EXPECT_EQ(nowPlaying.back()["playing"], false);
    EXPECT_EQ(nowPlaying.back()["elapsed"], 6.5);
}

TEST_F(Scenario_Run, TrackEndsArePlayedThroughWhereverTheAppIs)
{
    // The first track ends in the device process, the second in SpringBoard.
    EXPECT_EQ(run("track A B 3\ntrack C D 4\nplay\nwait 5\nboot\nwait 5\n"), 0);
    auto nowPlaying = events("nowplaying");
    ASSERT_GE(nowPlaying.size(), 2u);
    json second = nowPlaying[nowPlaying.size() - 2];
    EXPECT_EQ(second["t"], 3.0);
    EXPECT_EQ(second["title"], "C");
    EXPECT_EQ(nowPlaying.back()["t"], 7.0);
    EXPECT_EQ(nowPlaying.back()["playing"], false);
}

TEST_F(Scenario_Run, NodeIdsLastAnObjectsLifeAndNeverNameAnother)
{
    EXPECT_EQ(run("boot\ndump players a.json\nwait 1\ndump players b.json\nrespring\ndump players c.json\n"), 0);
    std::string first = readDump("a.json")["lockscreen"]["homeAffordance"]["id"];
    EXPECT_EQ(first.rfind("CSHomeAffordanceView#", 0), 0u);
    EXPECT_EQ(readDump("b.json")["lockscreen"]["homeAffordance"]["id"], first);
    // The new SpringBoard's home affordance is a new object with a new id.
    std::string afterRespring = readDump("c.json")["lockscreen"]["homeAffordance"]["id"];
    EXPECT_EQ(afterRespring.rfind("CSHomeAffordanceView#", 0), 0u);
    EXPECT_NE(afterRespring, first);
    EXPECT_EQ(readDump("c.json")["time"], 1.0);
}

TEST_F(Scenario_Run, AMarkHoldsAcrossARespring)
{
    EXPECT_EQ(run("boot\nmark\nrespring\nexpect-events type=respring == 1\nexpect-events type=boot == 1\n"), 0);
}

TEST_F(Scenario_Run, AKeptRootKeepsItsSettingsForTheNextRun)
{
    sim::RunOptions options;
    options.root = (m_folder / "device").string();
    EXPECT_EQ(run("pref alwaysshow true\nsettings set fadeoutspeed \"3\"\n", options), 0);
    EXPECT_EQ(run("boot\nexpect globals.alwaysshow == true\nexpect globals.fadeoutspeed == \"3\"\n"
                  "expect lockscreen.subView.hidden == false\n",
                  options),
        0);
    // Without the kept root the next run starts from the defaults.
    EXPECT_EQ(run("boot\nexpect globals.alwaysshow == false\n"), 0);
}

TEST_F(Scenario_Run, DeviceFilesAndTheScreenBeforeBoot)
{
    EXPECT_EQ(run("device iphone-14-pro-max\nfile \"/Library/MobileSubstrate/DynamicLibraries/Brevo11UIKit.dylib\"\n"
                  "file /var/mobile/note.txt \"two\\nlines\"\ndump screen screen.json\nboot\n"
                  "expect globals.bottomConstant == -40\nexpect lockscreen.homeAffordance.frame[2] == 430\n"),
        0);
    // Before SpringBoard runs the screen is the chosen device's, with nothing on it.
    json screen = readDump("screen.json");
    EXPECT_EQ(screen["frame"], json({ 0, 0, 430, 932 }));
    EXPECT_TRUE(screen["subviews"].empty());
}

TEST_F(Scenario_Run, TheSettingsAppFollowsTheAppearanceBothWays)
{
    EXPECT_EQ(run("appearance dark\nsettings open\ndump settings dark.json\nboot\n"
                  "expect lockscreen.label.textColor.rgba[0] == 1\n"
                  "appearance light\ndump settings light.json\n"),
        0);
    auto tint = [&](const char* file) { return readDump(file)["settingsApp"]["appearance"]["navigationBarTintColor"]; };
    EXPECT_EQ(tint("dark.json")["name"], "labelColor");
    EXPECT_EQ(tint("dark.json")["rgba"], json({ 1.0, 1.0, 1.0, 1.0 }));
    EXPECT_EQ(tint("light.json")["rgba"], json({ 0.0, 0.0, 0.0, 1.0 }));
}

// Comment lines enough to take the next line past one read of the file (64 KiB).
std::string padding()
{
    std::string lines;
    for (int i = 0; i < 1200; ++i)
        lines += "# padding " + std::string(60, '.') + "\n";
    return lines;
}

TEST_F(Scenario_Run, AFileReadAsItRunsGoesOnFromWhereEverySpringBoardStopped)
{
    // Each SpringBoard process reads the file on from where the previous one resprung,
    // and names its lines as the file numbers them.
    std::string text = "pref alwaysshow false\nboot\n";
    for (int round = 0; round < 4; ++round) {
        std::string value = round % 2 ? "false" : "true";
        text += padding() + "pref alwaysshow " + value + "\nrespring\nwait 1\nexpect globals.alwaysshow == " + value
            + "\ndump globals round" + std::to_string(round) + ".json\n";
    }
    text += "expect globals.alwaysshow == 7\n";
    int lastLine = static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    std::ofstream(m_folder / "long.scenario") << text;
    sim::RunOptions options;
    options.eventsPath = (m_folder / "events.jsonl").string();
    testing::internal::CaptureStderr();
    int status = sim::runScenarioFiles({ (m_folder / "long.scenario").string() }, options);
    std::string messages = testing::internal::GetCapturedStderr();

    EXPECT_EQ(status, sim::ExitFailure);
    EXPECT_EQ(messages, (m_folder / "long.scenario").string() + ":" + std::to_string(lastLine) + ": expected globals.alwaysshow == 7, got false\n");
    for (int round = 0; round < 4; ++round)
        EXPECT_EQ(readDump("round" + std::to_string(round) + ".json")["alwaysshow"], round % 2 == 0) << round;
    std::ifstream events(*options.eventsPath);
    int resprings = 0;
    for (std::string line; std::getline(events, line);)
        resprings += json::parse(line)["type"] == "respring";
    EXPECT_EQ(resprings, 4);
}

TEST_F(Scenario_Run, AMalformedLineLateInALongFileStopsEverythingBeforeItRuns)
{
    std::ofstream(m_folder / "first.scenario") << "boot\ndump players first.json\n";
    std::string second = "boot\ndump players early.json\n" + padding() + padding() + "wait 1\nwait soon\nwait 2\n";
    std::ofstream(m_folder / "second.scenario") << second;
    sim::RunOptions options;
    options.eventsPath = (m_folder / "events.jsonl").string();
    testing::internal::CaptureStderr();
    int status = sim::runScenarioFiles({ (m_folder / "first.scenario").string(), (m_folder / "second.scenario").string() }, options);
    std::string messages = testing::internal::GetCapturedStderr();

    EXPECT_EQ(status, sim::ExitUsage);
    EXPECT_EQ(messages, (m_folder / "second.scenario").string() + ":2404: expected a number of seconds (a decimal number), got soon\n");
    EXPECT_FALSE(fs::exists(m_folder / "first.json"));
    EXPECT_FALSE(fs::exists(m_folder / "early.json"));
    EXPECT_TRUE(!fs::exists(*options.eventsPath) || fs::is_empty(*options.eventsPath));
}

} // namespace
