// A scenario file read as the run goes: the commands it gives one at a time are the ones
// the whole-text parser gives, wherever its reads of the file break the lines, and every
// line is still checked before the first one is given.

#include "sim/lumetrix-sim/scenario/ScenarioFile.h"
#include "sim/lumetrix-sim/scenario/ScenarioParser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace sim::scenario;
namespace fs = std::filesystem;

namespace {

class Scenario_File : public testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "lumetrix-scenario-file-XXXXXX").string();
        ASSERT_TRUE(mkdtemp(pattern.data()));
        m_folder = pattern;
    }
    void TearDown() override { fs::remove_all(m_folder); }

    std::string write(const std::string& text, const std::string& name = "long.scenario")
    {
        fs::path path = m_folder / name;
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }

    // ScenarioFile's message for the file, or "" when it is accepted.
    std::string refusal(const std::string& path)
    {
        try {
            ScenarioFile file(path);
        } catch (const ScenarioError& error) {
            return error.what();
        }
        return "";
    }

    fs::path m_folder;
};

// Lines of every length, blank and comment lines, a carriage return, a line far longer
// than one read of the file, and a last line without its newline; `boot` early, so a
// reading again from the top must start the order rules again.
std::string awkwardText()
{
    std::string text = "# header\n\nboot\n";
    for (int i = 0; i < 3000; ++i) {
        text += "wait " + std::to_string(i % 97) + "." + std::string(i % 13, '5') + "\n";
        if (i % 7 == 0)
            text += "   # a comment " + std::string(i % 50, 'c') + "\n\n";
        if (i == 1500)
            text += "lock # " + std::string(200000, 'x') + "\n";
        if (i == 2000)
            text += "pref title \"" + std::string(100000, 't') + "\"\r\n";
    }
    return text + "dump players last.json";
}

TEST_F(Scenario_File, GivesTheCommandsTheWholeTextGives)
{
    std::string text = awkwardText();
    Scenario whole = parseScenarioText(text, (m_folder / "long.scenario").string(), m_folder);
    ScenarioFile file(write(text));
    ASSERT_GT(whole.commands.size(), 3000u);
    for (std::size_t i = 0; i < whole.commands.size(); ++i) {
        const Command* command = file.command(i);
        ASSERT_NE(command, nullptr) << "command " << i;
        ASSERT_EQ(command->where.line, whole.commands[i].where.line) << "command " << i;
        ASSERT_EQ(command->text, whole.commands[i].text) << "command " << i;
        ASSERT_EQ(command->body.index(), whole.commands[i].body.index()) << "command " << i;
    }
    EXPECT_EQ(std::get<DumpCommand>(file.command(whole.commands.size() - 1)->body).hostPath, (m_folder / "last.json").string());
    EXPECT_EQ(file.command(whole.commands.size()), nullptr);
    EXPECT_EQ(file.command(whole.commands.size() + 5), nullptr);

    // Asked again for earlier commands (a message naming a line already run), then on.
    for (std::size_t i : { std::size_t(0), std::size_t(2999), std::size_t(10), std::size_t(11), whole.commands.size() - 1 }) {
        ASSERT_NE(file.command(i), nullptr) << "command " << i;
        EXPECT_EQ(file.command(i)->where.line, whole.commands[i].where.line) << "command " << i;
    }
}

TEST_F(Scenario_File, AMalformedLineLateInALongFileIsRefusedWhenTheFileOpens)
{
    std::string text = awkwardText() + "\nwait 1\n";
    int lines = static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    EXPECT_EQ(refusal(write(text + "wait soon\nwait 1\n")),
        (m_folder / "long.scenario").string() + ":" + std::to_string(lines + 1) + ": expected a number of seconds (a decimal number), got soon");
    // The rules that span lines still hold across the whole file.
    EXPECT_NE(refusal(write(text + "boot\n")).find(":" + std::to_string(lines + 1) + ": expected one `boot`"), std::string::npos);
    EXPECT_NE(refusal(write("wait 1\n" + std::string(100000, '\n') + "lock\n")).find(":100002: expected `boot` before `lock`"), std::string::npos);
}

TEST_F(Scenario_File, WhatCannotBeReadIsRefused)
{
    EXPECT_EQ(refusal((m_folder / "missing.scenario").string()), (m_folder / "missing.scenario").string() + ": cannot read the scenario file");
    EXPECT_EQ(refusal(m_folder.string()), m_folder.string() + ": cannot read the scenario file");
}

TEST_F(Scenario_File, ALineChangedInPlaceAfterTheCheckIsRefusedWhereTheRunReachesIt)
{
    std::string path = write("wait 1\nwait 2\nwait 3\n");
    ScenarioFile file(path);
    std::fstream(path, std::ios::in | std::ios::out | std::ios::binary).seekp(12) << "x";
    ASSERT_NE(file.command(0), nullptr);
    try {
        file.command(1);
        FAIL() << "the changed line was read";
    } catch (const ScenarioError& error) {
        EXPECT_EQ(std::string(error.what()), path + ":2: expected a number of seconds (a decimal number), got x (the file has changed since the run began)");
    }
}

TEST_F(Scenario_File, AByteOrderMarkIsNoWord)
{
    std::string path = write("\xEF\xBB\xBFwait 1\nwait 2\n");
    ScenarioFile file(path);
    ASSERT_NE(file.command(1), nullptr);
    EXPECT_EQ(file.command(0)->text, "wait 1");
    // Only at the very start of the file.
    EXPECT_NE(refusal(write("wait 1\n\xEF\xBB\xBFwait 2\n")).find(":2: expected a command"), std::string::npos);
}

TEST_F(Scenario_File, ALineLongerThanTheCapIsRefusedWithItsNumber)
{
    std::string longLine = "file \"/a\" \"" + std::string(kLongestLine, 'x') + "\"\n";
    EXPECT_EQ(refusal(write("wait 1\n" + longLine + "wait 2\n")),
        (m_folder / "long.scenario").string() + ":2: expected a line of at most 1048576 bytes, got a longer one");
    // Nor is one without a newline at the end of the file read whole.
    EXPECT_NE(refusal(write("wait 1\n\n" + std::string(kLongestLine + 10, '#'))).find(":3: expected a line of at most"), std::string::npos);
    // Just under the cap is a line like any other.
    EXPECT_EQ(refusal(write("# " + std::string(kLongestLine - 2, 'c') + "\nwait 1\n")), "");
}

} // namespace
