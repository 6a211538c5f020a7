// Lines from the page: read by the scenario parser as lines after `boot`, refused with
// its message, and kept to the output folder and the device root.
#include "sim/lumetrix-sim/serve/PageLine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace sim {
namespace {

class Serve_PageLine : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = fs::temp_directory_path() / ("lumetrix-page-line-" + std::to_string(::getpid()));
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string refusal(const std::string& line)
    {
        try {
            readPageLine(line, folder, 1);
        } catch (const PageLineRefused& refused) {
            return refused.what();
        }
        return "";
    }

    fs::path folder;
};

TEST_F(Serve_PageLine, ALineIsParsedAsTheScenarioParserReadsIt)
{
    auto command = readPageLine("tap   screen 10.5 20", folder, 7);
    EXPECT_EQ(command.text, "tap screen 10.5 20");
    EXPECT_EQ(command.where.prefix(), "page:7: ");
    auto& touch = std::get<scenario::TouchCommand>(command.body);
    EXPECT_EQ(touch.x, 10.5);
    EXPECT_EQ(touch.y, 20);
}

TEST_F(Serve_PageLine, TheParsersMessageComesBackWithoutALineNumber)
{
    EXPECT_EQ(refusal("tap lockscreen"), "expected `tap lockscreen X [Y]`, `tap app APP X [Y]` or `tap screen X Y`");
    EXPECT_EQ(refusal("seek soon"), "expected a position in seconds (a decimal number), got soon");
    EXPECT_EQ(refusal("dance").rfind("expected a command (", 0), 0u);
    std::string unterminated = refusal("settings set note \"unterminated");
    EXPECT_NE(unterminated, "");
    EXPECT_EQ(unterminated.find("page"), std::string::npos) << unterminated;
}

TEST_F(Serve_PageLine, ThePhoneIsOnSoBootAndDeviceAreRefused)
{
    EXPECT_NE(refusal("boot").find("one `boot`"), std::string::npos);
    EXPECT_NE(refusal("device \"iPhone X\"").find("before `boot`"), std::string::npos);
    EXPECT_EQ(refusal("respring"), "") << "SpringBoard's own commands are fine on a phone that is on";
}

TEST_F(Serve_PageLine, FilesStayInTheOutputFolder)
{
    for (const char* line : { "dump players ../x.json", "dump players /tmp/x.json", "snapshot ../../a.png",
             "settings snapshot /etc/a.png", "track \"A\" \"B\" 10 artwork /etc/passwd", "track \"A\" \"B\" 10 artwork ../secret.png",
             "dump screen a/../../b.json" }) {
        EXPECT_NE(refusal(line).find("inside the session's output folder"), std::string::npos) << line;
    }
    EXPECT_NE(refusal("file \"/../../outside\"").find("without .."), std::string::npos);
    auto dump = readPageLine("dump players live/final.json", folder, 1);
    EXPECT_EQ(std::get<scenario::DumpCommand>(dump.body).hostPath, (folder / "live/final.json").string());
    EXPECT_EQ(refusal("track \"A\" \"B\" 10 artwork none"), "");
    EXPECT_EQ(refusal("file \"/Library/x.dylib\""), "");
}

TEST_F(Serve_PageLine, ArtworkInsideTheFolderIsRead)
{
    std::ofstream(folder / "cover.png", std::ios::binary) << "\x89PNG";
    auto track = readPageLine("track \"A\" \"B\" 10 artwork cover.png", folder, 1);
    ASSERT_TRUE(std::get<scenario::TrackCommand>(track.body).artwork);
    EXPECT_EQ(std::get<scenario::TrackCommand>(track.body).artwork->size(), 4u);
}

TEST_F(Serve_PageLine, OneShortLineOnly)
{
    EXPECT_EQ(refusal(""), "expected a command, got an empty line");
    EXPECT_EQ(refusal("# only a comment"), "expected a command, got an empty line");
    EXPECT_EQ(refusal("lock\nunlock"), "expected one line, got several");
    EXPECT_EQ(refusal(std::string("lock\0unlock", 11)), "expected text, got the control character 0x00 at byte 5")
        << "a NUL would run `lock` and drop the rest";
    EXPECT_NE(refusal("settings set note \"a\x1b[2Jb\""), "");
    EXPECT_EQ(refusal("settings set note \"a\tb\""), "") << "a tab is text";
    EXPECT_NE(refusal("pref note \"" + std::string(kMaximumPageLine, 'x') + "\"").find("at most 1024 bytes"), std::string::npos);
}

TEST(Serve_PageLinePaths, StayingInsideAFolder)
{
    EXPECT_TRUE(staysInsideFolder("a.json"));
    EXPECT_TRUE(staysInsideFolder("deep/er/a.json"));
    EXPECT_TRUE(staysInsideFolder("a..b.json"));
    EXPECT_FALSE(staysInsideFolder(""));
    EXPECT_FALSE(staysInsideFolder("/a.json"));
    EXPECT_FALSE(staysInsideFolder(".."));
    EXPECT_FALSE(staysInsideFolder("a/../../b"));
}

} // namespace
} // namespace sim
