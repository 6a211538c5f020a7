// lumetrix-sim's command line: what each command accepts, and the usage errors (exit 2)
// for what it does not.

#include "sim/lumetrix-sim/CommandLine.h"

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
