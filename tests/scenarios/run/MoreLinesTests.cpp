// A run that is given more lines as it goes (what `lumetrix-sim serve` does with the
// page's lines): each is asked for when the scenario runs out, runs in the SpringBoard
// process of the moment, and a respring among them carries on in the next process.

#include "sim/lumetrix-sim/run/EventLog.h"
#include "sim/lumetrix-sim/run/Interpreter.h"
#include "sim/lumetrix-sim/run/ScenarioHost.h"
#include "sim/lumetrix-sim/run/ScenarioRun.h"
#include "sim/lumetrix-sim/scenario/ScenarioParser.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

TEST(Scenario_MoreLines, LinesGivenLaterRunAcrossARespring)
{
    std::string pattern = (fs::temp_directory_path() / "lumetrix-more-lines-XXXXXX").string();
    ASSERT_TRUE(mkdtemp(pattern.data()));
    fs::path folder = pattern;
    auto scenario = sim::scenario::parseScenarioText("boot\n", "test.scenario", folder);
    const std::size_t firstLater = scenario.commands.size();
    const std::vector<std::string> later = { "pref alwaysshow true", "respring", "wait 4", "dump players after.json",
        "expect globals.alwaysshow == true", "expect globals.initialStart == true" };
    sim::EventLog log((folder / "events.jsonl").string());

    // Each SpringBoard process has its own copy of this; where the run is (nextCommand)
    // says which line comes next.
    int failures = sim::runScenario(scenario, {}, log, [&](sim::ScenarioHost& host, sim::RunState& state, sim::RunServices&) {
        EXPECT_NE(host.springBoard(), nullptr) << "lines come once the phone is on";
        std::size_t next = state.nextCommand - firstLater;
        if (next >= later.size())
            return false;
        auto more = sim::scenario::parseScenarioText("boot\n" + later[next], "later", folder);
        if (scenario.commands.size() < state.nextCommand)
            scenario.commands.resize(state.nextCommand);
        scenario.commands.push_back(more.commands.back());
        return true;
    });

    EXPECT_EQ(failures, 1) << "only the last expectation fails: initialStart is false after a respring";
    int resprings = 0;
    for (auto& event : log.eventsSince(0))
        resprings += event["type"] == "respring";
    EXPECT_EQ(resprings, 1);
    std::ifstream in(folder / "after.json");
    ASSERT_TRUE(in) << "the lines after the respring ran";
    EXPECT_EQ(json::parse(in)["globals"]["alwaysshow"], true);
    fs::remove_all(folder);
}

} // namespace
