// The scenario language: what each line means, and the message a malformed line gets
// before anything runs.

#include "sim/lumetrix-sim/scenario/ScenarioParser.h"
#include "sim/lumetrix-sim/scenario/Tokenizer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace sim::scenario;
using nlohmann::json;

namespace {

Scenario parse(const std::string& text)
{
    return parseScenarioText(text, "test.scenario", LUMETRIX_SCENARIO_MEDIA);
}

template<typename T>
T only(const Scenario& scenario)
{
    EXPECT_EQ(scenario.commands.size(), 1u);
    return std::get<T>(scenario.commands.at(0).body);
}

} // namespace

TEST(Scenario_Tokenizer, QuotedPartsJoinTheirWord)
{
    auto tokens = tokenizeLine(R"(expect-events text="two words" name=plain "a\"b\\c\n" # comment "not a token")");
    ASSERT_EQ(tokens.size(), 4u);
    EXPECT_EQ(tokens[1].text, "text=two words");
    EXPECT_FALSE(tokens[1].quoted);
    EXPECT_EQ(tokens[1].source, "text=\"two words\"");
    EXPECT_EQ(tokens[2].text, "name=plain");
    EXPECT_EQ(tokens[3].text, "a\"b\\c\n");
    EXPECT_TRUE(tokens[3].quoted);
}

TEST(Scenario_Tokenizer, HashInsideAStringIsText)
{
    auto tokens = tokenizeLine(R"(file "/a" "#not a comment")");
    ASSERT_EQ(tokens.size(), 3u);
    EXPECT_EQ(tokens[2].text, "#not a comment");
}

TEST(Scenario_Parser, MalformedLinesNameFileLineAndWhatWasExpected)
{
    struct Case {
        const char* text;
        int line;
        const char* message;
    };
    const Case cases[] = {
        { "wait", 1, "expected `wait SECONDS`" },
        { "wait abc", 1, "expected a number of seconds (a decimal number), got abc" },
        { "wait -1", 1, "expected a number of seconds of zero or more, got -1" },
        { "wait 1e3", 1, "(a decimal number), got 1e3" },
        { "\n# comment\nfrobnicate", 3, "expected a command (" },
        { "pref alwaysshow", 1, "expected `pref KEY VALUE`" },
        { "pref alwaysshow yes", 1, "expected true, false, a number or a quoted string, got yes" },
        { "pref alwaysshow null", 1, "got null" },
        { "pref k \"open", 1, "unterminated string starting at column 8" },
        { "pref k \"a\\q\"", 1, "unknown escape \\q" },
        { "appearance sepia", 1, "expected light or dark, got sepia" },
        { "device Nokia 3310", 1, "expected a device name (iPhone X, " },
        { "file relative/path", 1, "expected an absolute device path" },
        { "track A B", 1, "expected `track TITLE ARTIST DURATION [artwork PATH|none]`" },
        { "track A B 10 cover x.png", 1, "expected artwork, got cover" },
        { "track A B 10 artwork missing.png", 1, "missing.png does not exist" },
        { "track A B long", 1, "expected a duration in seconds (a decimal number), got long" },
        { "seek", 1, "expected `seek SECONDS`" },
        { "boot\nlock now", 2, "expected `lock`" },
        { "open", 1, "expected `open APP`" },
        { "grabber sleep", 1, "expected lost or reset, got sleep" },
        { "grabber reset 3", 1, "expected `grabber reset` without a timeout" },
        { "tap lockscreen", 1, "expected `tap lockscreen X [Y]`" },
        { "tap screen 10", 1, "expected `tap lockscreen X [Y]`, `tap app APP X [Y]` or `tap screen X Y`" },
        { "tap lockscreen middle", 1, "expected an x coordinate (a decimal number), got middle" },
        { "swipe lockscreen up", 1, "expected left or right, got up" },
        { "swipe app com.example.notes", 1, "expected `swipe lockscreen left|right` or `swipe app APP left|right`" },
        { "settings set alwaysshow", 1, "expected `settings set KEY VALUE`" },
        { "settings close", 1, "expected open or set or respring or reset" },
        { "dump everything x.json", 1, "expected players or screen or settings or globals or stats, got everything" },
        { "expect a.b === 1", 1, "expected a comparison (== != < <= > >= ~=) after the path, got ===" },
        { "expect a..b == 1", 1, "expected a field name at column 3 of the path \"a..b\"" },
        { "expect a[x] == 1", 1, "expected an index like [0]" },
        { "expect [0] == 1", 1, "expected a field name at column 1" },
        { "expect a == maybe", 1, "expected true, false, null, a number or a quoted string, got maybe" },
        { "expect a ~= \"x\"", 1, "expected a number after ~=" },
        { "expect a == 1 +- 2", 1, "a tolerance `+- TOL` goes only with ~=" },
        { "expect-events type=command ~= 1", 1, "expected a comparison (== != < <= > >=) before the count" },
        { "expect-events type=command == -1", 1, "expected a count of events of zero or more" },
        { "expect-events command == 1", 1, "expected a filter field=value, got command" },
        // Order: one boot, the device before it, SpringBoard's commands after it.
        { "lock", 1, "expected `boot` before `lock` (SpringBoard is not running yet)" },
        { "tap lockscreen 50", 1, "expected `boot` before `tap`" },
        { "respring", 1, "expected `boot` before `respring`" },
        { "boot\nwait 1\nboot", 3, "expected one `boot`" },
        { "boot\ndevice \"iPhone 12\"", 2, "expected `device` before `boot`" },
    };
    for (auto& test : cases) {
        SCOPED_TRACE(test.text);
        try {
            parse(test.text);
            ADD_FAILURE() << "parsed without complaint";
        } catch (const ScenarioError& error) {
            std::string message = error.what();
            std::string prefix = "test.scenario:" + std::to_string(test.line) + ": ";
            EXPECT_EQ(message.rfind(prefix, 0), 0u) << message;
            EXPECT_NE(message.find(test.message), std::string::npos) << message;
        }
    }
}

TEST(Scenario_Parser, ArtworkBeyondTheSizeLimitIsNotRead)
{
    // A sparse file: as big as it says, without taking the disk.
    auto folder = std::filesystem::temp_directory_path() / ("scenario-artwork-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    auto file = folder / "huge.png";
    std::ofstream(file).put('x');
    std::filesystem::resize_file(file, 64 * 1024 * 1024 + 1);
    try {
        parse("track A B 10 artwork " + file.string());
        ADD_FAILURE() << "parsed without complaint";
    } catch (const ScenarioError& error) {
        EXPECT_NE(std::string(error.what()).find("expected an artwork file of at most 64 MiB, but "), std::string::npos) << error.what();
    }
    std::filesystem::resize_file(file, 64 * 1024 * 1024);
    EXPECT_EQ(only<TrackCommand>(parse("track A B 10 artwork " + file.string())).artwork->size(), 64u * 1024 * 1024);
    std::filesystem::remove_all(folder);
}

TEST(Scenario_Parser, SettingValuesKeepTheirKind)
{
    struct Case {
        const char* line;
        json value;
    };
    const Case cases[] = {
        { "pref k true", true },
        { "pref k false", false },
        { "pref k 20", 20 },
        { "pref k -3", -3 },
        { "pref k 0.5", 0.5 },
        { "pref k .5", 0.5 },
        { "pref k \"20\"", "20" },
        { "pref k \"true\"", "true" },
    };
    for (auto& test : cases) {
        SCOPED_TRACE(test.line);
        auto pref = only<PrefCommand>(parse(test.line));
        EXPECT_EQ(pref.key, "k");
        EXPECT_EQ(pref.value, test.value);
        EXPECT_EQ(pref.value.is_number_integer(), test.value.is_number_integer());
    }
}

TEST(Scenario_Parser, TracksReadTheirArtworkAndMissingTexts)
{
    auto scenario = parse("track none \"Vela\" 188 artwork daybreak.png\ntrack \"Night\" none 0 artwork none\ntrack T A 3.5");
    ASSERT_EQ(scenario.commands.size(), 3u);
    auto& first = std::get<TrackCommand>(scenario.commands[0].body);
    EXPECT_FALSE(first.title);
    EXPECT_EQ(first.artist, "Vela");
    EXPECT_EQ(first.duration, 188);
    ASSERT_TRUE(first.artwork);
    EXPECT_EQ(first.artwork->size(), std::filesystem::file_size(std::filesystem::path(LUMETRIX_SCENARIO_MEDIA) / "daybreak.png"));
    EXPECT_EQ((*first.artwork)[1], 'P');
    auto& second = std::get<TrackCommand>(scenario.commands[1].body);
    EXPECT_EQ(second.title, "Night");
    EXPECT_FALSE(second.artist);
    EXPECT_FALSE(second.artwork);
    EXPECT_EQ(std::get<TrackCommand>(scenario.commands[2].body).duration, 3.5);
}

TEST(Scenario_Parser, TouchesAndTheirTargets)
{
    auto scenario = parse("boot\ntap lockscreen 50\ntap app com.example.notes 10 4\ntap screen 187.5 800\nswipe app com.x right\nswipe lockscreen left");
    auto& lockscreen = std::get<TouchCommand>(scenario.commands[1].body);
    EXPECT_EQ(lockscreen.target, TouchCommand::Target::LockScreen);
    EXPECT_EQ(lockscreen.x, 50);
    EXPECT_FALSE(lockscreen.y);
    auto& app = std::get<TouchCommand>(scenario.commands[2].body);
    EXPECT_EQ(app.target, TouchCommand::Target::App);
    EXPECT_EQ(app.bundleIdentifier, "com.example.notes");
    EXPECT_EQ(app.y, 4);
    auto& screen = std::get<TouchCommand>(scenario.commands[3].body);
    EXPECT_EQ(screen.target, TouchCommand::Target::Screen);
    EXPECT_EQ(screen.x, 187.5);
    auto& swipeRight = std::get<TouchCommand>(scenario.commands[4].body);
    EXPECT_EQ(swipeRight.gesture, TouchCommand::Gesture::Swipe);
    EXPECT_EQ(swipeRight.direction, TouchCommand::Direction::Right);
    EXPECT_EQ(std::get<TouchCommand>(scenario.commands[5].body).direction, TouchCommand::Direction::Left);
}

TEST(Scenario_Parser, ExpectationsAndEventFilters)
{
    auto scenario = parse("expect app(com.x).label.text == \"A - B\"\nexpect lockscreen.progressView.progress ~= 0.5 +- 0.01\n"
                          "expect-events type=command options.kMRMediaRemoteOptionSkipInterval=15 text=\"KAKAPIPI HALLL \" object=null >= 2");
    auto& text = std::get<ExpectCommand>(scenario.commands[0].body);
    EXPECT_EQ(text.value, "A - B");
    ASSERT_EQ(text.path.steps().size(), 3u);
    EXPECT_EQ(text.path.steps()[0].kind, PathStep::Kind::App);
    EXPECT_EQ(text.path.steps()[0].name, "com.x");
    auto& about = std::get<ExpectCommand>(scenario.commands[1].body);
    EXPECT_EQ(about.op, CompareOp::About);
    EXPECT_EQ(about.tolerance, 0.01);
    auto& events = std::get<ExpectEventsCommand>(scenario.commands[2].body);
    ASSERT_EQ(events.filters.size(), 4u);
    EXPECT_EQ(events.filters[0].value, "command");
    EXPECT_EQ(events.filters[1].field, "options.kMRMediaRemoteOptionSkipInterval");
    EXPECT_EQ(events.filters[1].value, 15.0);
    EXPECT_EQ(events.filters[1].bareText, "15");
    EXPECT_EQ(events.filters[2].value, "KAKAPIPI HALLL ");
    EXPECT_FALSE(events.filters[2].bareText);
    EXPECT_TRUE(events.filters[3].value.is_null());
    EXPECT_EQ(events.op, CompareOp::GreaterEqual);
    EXPECT_EQ(events.count, 2);
}

TEST(Scenario_Parser, LinesKeepTheirNumbersAndTextAndDumpsTheirFolder)
{
    ParseOptions options;
    options.dumpDirectory = "/tmp/out";
    auto scenario = parseScenarioText("# header\n\nwait 1   # settle\n  dump players p.json\ndump screen /abs/s.json\n", "s.scenario", "/scenarios", options);
    ASSERT_EQ(scenario.commands.size(), 3u);
    EXPECT_EQ(scenario.commands[0].where.line, 3);
    EXPECT_EQ(scenario.commands[0].text, "wait 1");
    EXPECT_EQ(scenario.commands[1].where.line, 4);
    EXPECT_EQ(std::get<DumpCommand>(scenario.commands[1].body).hostPath, "/tmp/out/p.json");
    EXPECT_EQ(std::get<DumpCommand>(scenario.commands[2].body).hostPath, "/abs/s.json");
}

TEST(Scenario_Parser, DeviceNamesFollowTheProfiles)
{
    EXPECT_EQ(only<DeviceCommand>(parse("device iphone-14-pro")).name, "iPhone 14 Pro");
    EXPECT_EQ(only<DeviceCommand>(parse("device iPhone 15 Pro Max")).name, "iPhone 14 Pro Max");
    EXPECT_EQ(only<DeviceCommand>(parse("device \"iPhone XS\"")).name, "iPhone X");
}
