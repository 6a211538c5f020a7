// lumetrix-sim's command line: what each command accepts, and the usage errors (exit 2)
// for what it does not.

#include "sim/lumetrix-sim/CommandLine.h"
#include "sim/lumetrix-sim/scenario/ScenarioParser.h"

#include "LumetrixVersion.h"

#include <gtest/gtest.h>

#include <vector>

using sim::CommandLine;

namespace {

CommandLine parse(std::vector<std::string> arguments)
{
    arguments.insert(arguments.begin(), "lumetrix-sim");
    std::vector<char*> argv;
    for (auto& argument : arguments)
        argv.push_back(argument.data());
    return sim::parseCommandLine(static_cast<int>(argv.size()), argv.data());
}

} // namespace

TEST(Sim_CommandLine, RunTakesFilesAndOptionsInAnyOrder)
{
    auto line = parse({ "run", "a.scenario", "--root", "/tmp/r", "b.scenario", "--events", "e.jsonl", "--device", "iphone-12",
        "--realtime", "--dumps", "out", "--log" });
    EXPECT_EQ(line.command, CommandLine::Command::Run);
    EXPECT_EQ(line.files, (std::vector<std::string> { "a.scenario", "b.scenario" }));
    EXPECT_EQ(line.run.root, "/tmp/r");
    EXPECT_EQ(line.run.eventsPath, "e.jsonl");
    EXPECT_EQ(line.run.device, "iphone-12");
    EXPECT_TRUE(line.run.realtime);
    EXPECT_EQ(line.run.dumpDirectory, "out");
    EXPECT_TRUE(line.run.echoLogs);
}

TEST(Sim_CommandLine, DemoAndDevices)
{
    auto demo = parse({ "demo" });
    EXPECT_EQ(demo.command, CommandLine::Command::Demo);
    EXPECT_EQ(demo.demoOutput, "lumetrix-demo");
    EXPECT_EQ(parse({ "demo", "--out", "/tmp/d" }).demoOutput, "/tmp/d");
    EXPECT_EQ(parse({ "devices" }).command, CommandLine::Command::Devices);
}

TEST(Sim_CommandLine, HelpForTheWholeToolAndEachCommand)
{
    EXPECT_EQ(parse({ "--help" }).command, CommandLine::Command::Help);
    for (auto [name, command] : { std::pair { "run", CommandLine::Command::Run }, { "demo", CommandLine::Command::Demo },
             { "devices", CommandLine::Command::Devices } }) {
        SCOPED_TRACE(name);
        // --help wins over anything else on the line, even what would be an error.
        auto line = parse({ name, "--bogus-before-help", "--help" });
        EXPECT_EQ(line.command, CommandLine::Command::Help);
        EXPECT_EQ(line.helpFor, command);
        EXPECT_NE(sim::usageText(command).find(std::string("usage: lumetrix-sim ") + name), std::string::npos);
    }
}

TEST(Sim_CommandLine, UsageErrors)
{
    struct Case {
        std::vector<std::string> arguments;
        const char* message;
    };
    const Case cases[] = {
        { {}, "no command given" },
        { { "fly" }, "unknown command 'fly'" },
        { { "run" }, "no scenario file given" },
        { { "run", "a.scenario", "--root" }, "--root needs a value" },
        { { "run", "a.scenario", "--device", "Nokia" }, "unknown device 'Nokia'" },
        { { "run", "a.scenario", "--fast" }, "unknown option '--fast'" },
        { { "demo", "extra" }, "unknown argument 'extra'" },
        { { "devices", "--all" }, "unknown argument '--all'" },
        { { "run", "-", "a.scenario", "-" }, "standard input (-) can be read once" },
        { { "run", "a.scenario", "--junit" }, "--junit needs a value" },
        { { "help", "flying" }, "no help on 'flying'" },
    };
    for (auto& test : cases) {
        SCOPED_TRACE(test.message);
        try {
            parse(test.arguments);
            ADD_FAILURE() << "accepted";
        } catch (const sim::UsageError& error) {
            EXPECT_NE(std::string(error.what()).find(test.message), std::string::npos) << error.what();
        }
    }
}

TEST(Sim_CommandLine, ResultsForCIAndGoldenPictures)
{
    auto line = parse({ "run", "-", "--junit", "report.xml", "--update-snapshots", "--quiet" });
    EXPECT_EQ(line.files, (std::vector<std::string> { "-" }));
    EXPECT_EQ(line.run.junitPath, "report.xml");
    EXPECT_TRUE(line.run.updateSnapshots);
    EXPECT_TRUE(line.run.quiet);
    EXPECT_EQ(parse({ "--version" }).command, CommandLine::Command::Version);
    EXPECT_EQ(sim::versionText(), std::string("lumetrix-sim ") + LUMETRIX_VERSION + "\n");
}

TEST(Sim_CommandLine, TopLevelUsageNamesEveryOptionOfEveryCommand)
{
    std::string usage = sim::usageText(CommandLine::Command::Help);
    for (auto command : { CommandLine::Command::Run, CommandLine::Command::Demo, CommandLine::Command::Serve }) {
        std::string own = sim::usageText(command);
        // Every "--option" in a command's own text appears in the overview.
        for (std::size_t at = own.find("--"); at != std::string::npos; at = own.find("--", at + 2)) {
            std::size_t end = own.find_first_of(" ]\n,)`'", at);
            std::string option = own.substr(at, end - at);
            if (option == "--help")
                continue;
            EXPECT_NE(usage.find(option), std::string::npos) << option << " is missing from the overview";
        }
    }
}

TEST(Sim_CommandLine, ScenarioHelpListsEveryCommandTheParserKnows)
{
    EXPECT_EQ(parse({ "help", "scenario" }).command, CommandLine::Command::ScenarioHelp);
    std::string help = sim::scenarioHelpText();
    // Each word the parser accepts at the start of a line is listed, and only those.
    for (auto& command : sim::scenario::scenarioCommandHelp()) {
        std::string word = std::string(command.form).substr(0, std::string(command.form).find(' '));
        std::string error;
        try {
            sim::scenario::parseScenarioText(word, "t.scenario", ".");
        } catch (const sim::scenario::ScenarioError& thrown) {
            error = thrown.what();
        }
        EXPECT_EQ(error.find("expected a command"), std::string::npos) << word << ": " << error;
        EXPECT_NE(help.find(std::string("  ") + command.form), std::string::npos) << command.form;
    }
    for (const char* shown : { "pref-raw KEY VALUE", "expect-snapshot FILE.png", "previous below 30", "play/pause 35 to 70", "next above 75" })
        EXPECT_NE(help.find(shown), std::string::npos) << shown;
}
