// What the server keeps of the phone's reports: the outcome of each line, the recording,
// the newest frame and the event log in the demo's words.
#include "sim/lumetrix-sim/serve/LivePhoneProcess.h"
#include "sim/lumetrix-sim/serve/PhoneState.h"

#include "MediaRemote/Base64.h"

#include <gtest/gtest.h>

#include <fstream>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using nlohmann::json;
using namespace std::chrono_literals;

namespace sim {
namespace {

class Serve_PhoneState : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directories(folder);
        state.apply({ { "phone-start", { { "device", nullptr }, { "lines", { "boot" } } } } });
        state.apply({ { "live", { { "t", 0 } } } });
    }
    void TearDown() override { fs::remove_all(folder); }

    fs::path folder = fs::temp_directory_path() / ("lumetrix-phone-state-" + std::to_string(::getpid()));
    PhoneState state { folder, "/s" };
};

TEST_F(Serve_PhoneState, ALineIsSettledWithWhatHappened)
{
    int id = state.newRequestId();
    state.apply({ { "ran", { { "id", id }, { "wait", "1.5" }, { "line", "lock" }, { "t", 1.5 } } } });
    EXPECT_FALSE(state.waitForOutcome(id, 1ms)) << "ran but not yet done";
    state.apply({ { "done", { { "id", id }, { "failures", 1 } } } });
    auto outcome = state.waitForOutcome(id, 1s);
    ASSERT_TRUE(outcome);
    EXPECT_EQ((*outcome)["line"], "lock");
    EXPECT_EQ((*outcome)["failures"], 1);
    EXPECT_EQ(state.recordingText().find("boot\nwait 1.5\nlock\n") != std::string::npos, true) << state.recordingText();
}

TEST_F(Serve_PhoneState, ARefusedLineGivesItsMessageAndIsNotRecorded)
{
    int id = state.newRequestId();
    state.apply({ { "refused", { { "id", id }, { "error", "the phone is restarting" } } } });
    auto outcome = state.waitForOutcome(id, 1s);
    ASSERT_TRUE(outcome);
    EXPECT_EQ((*outcome)["error"], "the phone is restarting");
    EXPECT_EQ(state.status()["recording"]["lines"], 1);
}

TEST_F(Serve_PhoneState, ARespringSettlesTheLineThatCausedIt)
{
    int id = state.newRequestId();
    state.apply({ { "ran", { { "id", id }, { "wait", "" }, { "line", "respring" }, { "t", 2 } } } });
    state.apply({ { "live", { { "t", 2 } } } });
    auto outcome = state.waitForOutcome(id, 1s);
    ASSERT_TRUE(outcome);
    EXPECT_EQ((*outcome)["line"], "respring");
}

TEST_F(Serve_PhoneState, AValueThePaneRefusedIsRecordedAsAComment)
{
    // Replayed, the refused value would fail the run; it changed nothing, so the file
    // keeps it as a comment and the lines after it as they ran.
    int refused = state.newRequestId();
    state.apply({ { "ran", { { "id", refused }, { "wait", "" }, { "line", "settings set maxwidth -5" }, { "t", 1 } } } });
    state.apply({ { "done", { { "id", refused }, { "failures", 1 } } } });
    int taken = state.newRequestId();
    state.apply({ { "ran", { { "id", taken }, { "wait", "" }, { "line", "settings set maxwidth 200" }, { "t", 1 } } } });
    state.apply({ { "done", { { "id", taken }, { "failures", 0 } } } });
    std::string text = state.recordingText();
    EXPECT_NE(text.find("\n# the pane refused this value: settings set maxwidth -5\nsettings set maxwidth 200\n"), std::string::npos) << text;
}

TEST_F(Serve_PhoneState, WhenThePhoneStopsThePageHearsWhatItLastSaid)
{
    state.phoneSaid("page:3: SpringBoard crashed (signal 11) while running this line");
    state.apply({ { "ended", { { "failures", 1 } } } });
    auto said = state.status()["ended"]["said"];
    ASSERT_EQ(said.size(), 1u);
    EXPECT_EQ(said[0], "page:3: SpringBoard crashed (signal 11) while running this line");
    for (int i = 0; i < 10; ++i)
        state.phoneSaid("line " + std::to_string(i));
    EXPECT_EQ(state.status()["ended"]["said"].size(), PhoneState::kLinesKept);
    state.apply({ { "phone-start", { { "device", nullptr }, { "lines", { "boot" } } } } });
    EXPECT_TRUE(state.status()["ended"].is_null()) << "a new phone starts with nothing to say";
}

TEST_F(Serve_PhoneState, AServerThatStopsWaitsForNoOutcome)
{
    int id = state.newRequestId();
    std::thread stopper([&] {
        std::this_thread::sleep_for(50ms);
        state.close();
    });
    auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(state.waitForOutcome(id, 10s));
    EXPECT_LT(std::chrono::steady_clock::now() - started, 5s) << "closing wakes whoever waits for the phone";
    stopper.join();
}

TEST_F(Serve_PhoneState, TheNewestFrameAndItsDumps)
{
    std::vector<std::uint8_t> png = { 0x89, 'P', 'N', 'G' };
    state.apply({ { "frame", { { "image", platform::encodeBase64(png) }, { "type", "image/png" }, { "width", 750 }, { "height", 1624 }, { "scale", 2 }, { "t", 4.5 } } } });
    state.apply({ { "frame-dumps", { { "screen", { { "class", "UIWindow" } } }, { "players", json::object() } } } });
    auto frame = state.frame();
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->number, 1u);
    EXPECT_EQ(*frame->image, std::string("\x89PNG"));
    json inspection = json::parse(*state.inspection());
    EXPECT_EQ(inspection["frame"], 1);
    EXPECT_EQ(inspection["points"], json({ 375.0, 812.0 }));
    EXPECT_EQ(inspection["screen"]["class"], "UIWindow");
    state.apply({ { "frame", { { "image", "not base64!" } } } });
    EXPECT_EQ(state.frame()->number, 1u) << "a frame that does not decode is dropped";
}

TEST_F(Serve_PhoneState, TheInspectionWaitsForTheNewestFramesDumps)
{
    auto frameReport = [](double t) {
        return json { { "frame", { { "image", platform::encodeBase64(std::vector<std::uint8_t> { 1, 2, 3 }) }, { "type", "image/jpeg" }, { "width", 750 }, { "height", 1624 }, { "scale", 2 }, { "t", t } } } };
    };
    auto dumpsReport = [](const char* windowClass) {
        return json { { "frame-dumps", { { "screen", { { "class", windowClass } } }, { "players", json::object() } } } };
    };
    state.apply(frameReport(1));
    state.apply(dumpsReport("First"));
    // The next frame is out; its dumps come a moment later, and whoever asks meanwhile
    // gets them, not the last frame's.
    state.apply(frameReport(2));
    std::thread phone([&] {
        std::this_thread::sleep_for(50ms);
        state.apply(dumpsReport("Second"));
    });
    json inspection = json::parse(*state.inspection());
    phone.join();
    EXPECT_EQ(inspection["frame"], 2);
    EXPECT_EQ(inspection["screen"]["class"], "Second");

    // Dumps that never come hold nobody for long: the last ones there are.
    state.apply(frameReport(3));
    auto asked = std::chrono::steady_clock::now();
    inspection = json::parse(*state.inspection());
    EXPECT_LT(std::chrono::steady_clock::now() - asked, 2s);
    EXPECT_EQ(inspection["screen"]["class"], "Second");
}

TEST_F(Serve_PhoneState, TheLogReadsTheTranscriptInTheDemosWords)
{
    std::ofstream transcript(folder / kLiveTranscriptFile, std::ios::binary);
    transcript << R"({"t":0,"type":"step","line":1,"text":"boot"})"
                  "\n"
               << R"({"t":0,"type":"boot"})"
                  "\n"
               << R"({"t":1,"type":"nowplaying","playing":true,"title":"A","artist":"B","elapsed":0,"duration":60})"
                  "\n"
               << R"({"t":1,"type":"nowplaying","playing":true,"title":"A","artist":"B","elapsed":0,"duration":60})"
                  "\n"
               << R"({"t":2,"type":"step","line":2,"text":"wait 1"})"
                  "\n"
               << R"({"t":2,"type":"command","command":17,"options":{"kMRMediaRemoteOptionSkipInterval":15}})"
                  "\n"
               << R"({"t":3,"type":"sou)";
    transcript.close();
    state.apply({ { "log", fs::file_size(folder / kLiveTranscriptFile) } });
    json log = state.logSince(1);
    std::vector<std::string> texts;
    for (auto& entry : log["entries"])
        texts.push_back(entry["text"]);
    EXPECT_EQ(texts, (std::vector<std::string> { "> boot", "SpringBoard starts with the tweak loaded; the phone is locked", "Music: playing \"A\" by B at 0:00 of 1:00", "Tweak sends \"skip forward\" to the music app (15 s)" }));
    EXPECT_EQ(log["next"], 5) << "the phone's start and four entries; the half line waits for the rest";
}

} // namespace
} // namespace sim
