// The recorder: the phone's start-up lines, then waits and page lines, cut where the user
// stopped; relative artwork made absolute so the file replays from anywhere.
#include "sim/lumetrix-sim/serve/PhoneStartup.h"
#include "sim/lumetrix-sim/serve/Recording.h"

#include "sim/lumetrix-sim/scenario/ScenarioParser.h"
#include "sim/lumetrix-sim/scenario/Tokenizer.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace sim {
namespace {

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

std::vector<std::string> commandsOf(const std::string& text)
{
    std::vector<std::string> commands;
    for (auto& line : linesOf(text)) {
        if (!line.empty() && line[0] != '#')
            commands.push_back(line);
    }
    return commands;
}

TEST(Serve_Recording, TheDownloadEndsWhereRecordingStopped)
{
    Recording recording;
    recording.startPhone({ "play", "boot" }, "/scenarios");
    recording.addLine("wait 2.5", "/out");
    recording.startRecording();
    recording.addLine("tap screen 10 20", "/out");
    recording.addLine("wait 1", "/out");
    recording.stopRecording();
    recording.addLine("lock", "/out");
    std::string text = recording.scenarioText();
    EXPECT_EQ(commandsOf(text), (std::vector<std::string> { "play", "boot", "wait 2.5", "tap screen 10 20", "wait 1" }));
    auto lines = linesOf(text);
    auto at = [&](const std::string& line) { return std::find(lines.begin(), lines.end(), line) - lines.begin(); };
    EXPECT_LT(at("wait 2.5"), at("# Recording starts"));
    EXPECT_LT(at("# Recording starts"), at("tap screen 10 20"));
    EXPECT_EQ(at("# Recording ends"), static_cast<long>(lines.size()) - 1);
}

TEST(Serve_Recording, WhileRecordingTheDownloadRunsToNow)
{
    Recording recording;
    recording.startPhone({ "boot" }, "/s");
    EXPECT_EQ(recording.scenarioText().find("# Recording"), std::string::npos) << "nothing recorded, no marks";
    recording.startRecording();
    recording.addLine("lock", "/out");
    EXPECT_TRUE(recording.isRecording());
    EXPECT_EQ(commandsOf(recording.scenarioText()), (std::vector<std::string> { "boot", "lock" }));
    recording.addLine("", "/out");
    EXPECT_EQ(recording.lineCount(), 2u) << "an empty wait is no line";
}

TEST(Serve_Recording, ANewPhoneStartsTheTranscriptAgainAndKeepsRecording)
{
    Recording recording;
    recording.startPhone({ "boot" }, "/s");
    recording.startRecording();
    recording.addLine("lock", "/out");
    recording.startPhone({ "device \"iPhone 12\"", "boot" }, "/s");
    recording.addLine("unlock", "/out");
    std::string text = recording.scenarioText();
    EXPECT_EQ(commandsOf(text), (std::vector<std::string> { "device \"iPhone 12\"", "boot", "unlock" }));
    EXPECT_LT(text.find("boot"), text.find("# Recording starts"));
}

TEST(Serve_Recording, RelativeArtworkBecomesAbsolute)
{
    EXPECT_EQ(Recording::withAbsoluteArtwork("track \"A\" \"B\" 10 artwork media/a.png", "/scenarios"),
        "track \"A\" \"B\" 10 artwork \"/scenarios/media/a.png\"");
    EXPECT_EQ(Recording::withAbsoluteArtwork("track \"A\" \"B\" 10 artwork ../media/a.png", "/x/scenarios"),
        "track \"A\" \"B\" 10 artwork \"/x/media/a.png\"");
    for (const char* same : { "track \"A\" \"B\" 10 artwork /abs/a.png", "track \"A\" \"B\" 10 artwork none", "track \"A\" \"B\" 10", "tap screen 1 2" })
        EXPECT_EQ(Recording::withAbsoluteArtwork(same, "/s"), same);
    // A folder with a quote in its name still reads back as that folder.
    std::string line = Recording::withAbsoluteArtwork("track A B 10 artwork a.png", "/my \"music\"");
    EXPECT_EQ(scenario::tokenizeLine(line).at(5).text, "/my \"music\"/a.png");
}

TEST(Serve_PhoneStartup, ThePhoneBootsAndTheChosenDeviceWins)
{
    auto bare = phoneStartup(std::nullopt, std::nullopt);
    EXPECT_EQ(startupLines(bare), (std::vector<std::string> { "boot" }));
    EXPECT_EQ(startupLines(phoneStartup(std::nullopt, "iPhone 12")), (std::vector<std::string> { "device \"iPhone 12\"", "boot" }));
    auto user = scenario::parseScenarioText("device \"iPhone X\"\nplay\nboot\nwait 3\n", "u", ".");
    EXPECT_EQ(startupLines(phoneStartup(user, "iPhone 12")),
        (std::vector<std::string> { "device \"iPhone X\"", "play", "device \"iPhone 12\"", "boot", "wait 3" }));
    EXPECT_EQ(startupLines(phoneStartup(user, std::nullopt)), (std::vector<std::string> { "device \"iPhone X\"", "play", "boot", "wait 3" }));
}

} // namespace
} // namespace sim
