// lumetrix-sim following a real mpv (with the mpv-mpris plugin) on a private bus: the
// phone shows mpv's track, its strip follows mpv's position and cover, and its taps and
// swipes move mpv, checked with playerctl, a client of its own.

#include "ChildProcess.h"
#include "PrivateBus.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sys/wait.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;
using nlohmann::json;
using namespace musictest;

namespace {

constexpr double kTrackSeconds = 60;
constexpr double kStartSeconds = 20;

class RealPlayer : public testing::Test {
protected:
    void SetUp() override
    {
        if (!findProgram("dbus-daemon") || !findProgram("mpv"))
            GTEST_SKIP() << "dbus-daemon or mpv is not installed";
        ASSERT_TRUE(findProgram("ffmpeg") && findProgram("playerctl")) << "ffmpeg and playerctl come with scripts/setup";
        ASSERT_TRUE(fs::exists(LUMETRIX_MPV_MPRIS_PLUGIN)) << "the mpv-mpris plugin is missing: " << LUMETRIX_MPV_MPRIS_PLUGIN;
        m_folder = fs::temp_directory_path() / ("lumetrix-music-" + std::to_string(getpid()));
        fs::create_directories(m_folder / "one");
        fs::create_directories(m_folder / "two");
        makeTone(m_folder / "one" / "tone.flac", "Tone One", 440);
        makeTone(m_folder / "two" / "tone.flac", "Tone Two", 660);
        ASSERT_TRUE(runForOutput({ "ffmpeg", "-loglevel", "error", "-y", "-f", "lavfi", "-i", "color=c=0x2a7bd4:s=64x64", "-frames:v", "1",
            (m_folder / "one" / "cover.jpg").string() }));
        m_bus = PrivateBus::start();
        ASSERT_TRUE(m_bus) << "the private bus did not start";
    }

    void TearDown() override
    {
        m_sim.reset();
        m_mpv.reset();
        m_bus.reset();
        std::error_code ignored;
        if (!m_folder.empty())
            fs::remove_all(m_folder, ignored);
    }

    void makeTone(const fs::path& file, const std::string& title, int frequency)
    {
        ASSERT_TRUE(runForOutput({ "ffmpeg", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
            "sine=frequency=" + std::to_string(frequency) + ":duration=" + std::to_string(static_cast<int>(kTrackSeconds)), "-metadata",
            "title=" + title, "-metadata", "artist=Test Tones", file.string() }));
    }

    std::optional<std::string> playerctl(const std::vector<std::string>& arguments)
    {
        std::vector<std::string> argv { "playerctl", "--player=mpv" };
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        return runForOutput(argv, { m_bus->environment() });
    }

    std::optional<double> mpvPosition()
    {
        auto text = playerctl({ "position" });
        return text ? std::optional<double>(std::stod(*text)) : std::nullopt;
    }

    // A dump the running scenario writes, once whole.
    json awaitDump(const std::string& name, double limit = 20)
    {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(limit);
        while (std::chrono::steady_clock::now() < deadline) {
            std::ifstream in(m_folder / name);
            if (in) {
                json dump = json::parse(in, nullptr, false);
                if (!dump.is_discarded())
                    return dump;
            }
            if (m_sim && m_sim->waitForExit(0))
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        ADD_FAILURE() << name << " was not written";
        return json();
    }

    fs::path m_folder;
    std::unique_ptr<PrivateBus> m_bus;
    std::unique_ptr<ChildProcess> m_mpv;
    std::unique_ptr<ChildProcess> m_sim;
};

double stripSeconds(const json& dump)
{
    return dump["lockscreen"]["progressView"]["progress"].get<double>() * kTrackSeconds;
}

TEST_F(RealPlayer, PhoneFollowsAndControlsMpv)
{
    m_mpv = std::make_unique<ChildProcess>(std::vector<std::string> { "mpv", "--no-config", "--no-video", "--ao=null", "--really-quiet",
                                               "--script=" LUMETRIX_MPV_MPRIS_PLUGIN, "--start=" + std::to_string(static_cast<int>(kStartSeconds)),
                                               (m_folder / "one" / "tone.flac").string(), (m_folder / "two" / "tone.flac").string() },
        std::vector<std::string> { m_bus->environment() });
    for (int i = 0; i < 100 && playerctl({ "status" }) != "Playing"; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_EQ(playerctl({ "status" }), "Playing");

    // Each dump is followed by a wait long enough for the checks made meanwhile here.
    std::ofstream(m_folder / "follow.scenario") << "pref dynamicenabled true\n"
                                                   "pref swipetoskip true\n"
                                                   "boot\n"
                                                   "wait 3.5\n"
                                                   "dump players playing.json\n"
                                                   "tap lockscreen 50\n"
                                                   "wait 0.5\n"
                                                   "expect lockscreen.label.text == \"Tone One - Test Tones\"\n"
                                                   "tap lockscreen 50\n"
                                                   "wait 1\n"
                                                   "dump players paused.json\n"
                                                   "wait 1\n"
                                                   "swipe lockscreen right\n"
                                                   "wait 1\n"
                                                   "dump players skipped.json\n"
                                                   "wait 1\n"
                                                   "tap lockscreen 90\n"
                                                   "wait 1\n"
                                                   "expect lockscreen.label.text == \"Tone Two - Test Tones\"\n";
    m_sim = std::make_unique<ChildProcess>(std::vector<std::string> { LUMETRIX_SIM, "run", (m_folder / "follow.scenario").string(), "--music",
                                               "mpris:mpv", "--events", (m_folder / "events.jsonl").string() },
        std::vector<std::string> { m_bus->environment() });

    json playing = awaitDump("playing.json");
    auto colour = runForOutput({ LUMETRIX_COLOUR_TOOL, (m_folder / "one" / "cover.jpg").string() });
    ASSERT_TRUE(colour);
    int red, green, blue;
    std::istringstream(*colour) >> red >> green >> blue;
    auto rgba = playing["lockscreen"]["progressView"]["progressTintColor"]["rgba"];
    ASSERT_TRUE(rgba.is_array()) << playing["lockscreen"]["progressView"].dump();
    EXPECT_EQ(std::lround(rgba[0].get<double>() * 255), red);
    EXPECT_EQ(std::lround(rgba[1].get<double>() * 255), green);
    EXPECT_EQ(std::lround(rgba[2].get<double>() * 255), blue);

    json paused = awaitDump("paused.json");
    EXPECT_EQ(playerctl({ "status" }), "Paused");
    auto pausedAt = mpvPosition();
    ASSERT_TRUE(pausedAt);
    EXPECT_GT(*pausedAt, kStartSeconds);
    EXPECT_NEAR(stripSeconds(paused), *pausedAt, 0.5);

    json skipped = awaitDump("skipped.json");
    auto skippedTo = mpvPosition();
    ASSERT_TRUE(skippedTo);
    EXPECT_NEAR(*skippedTo - *pausedAt, 15, 1);
    EXPECT_NEAR(stripSeconds(skipped), *skippedTo, 0.5);

    auto status = m_sim->waitForExit(30);
    ASSERT_TRUE(status) << "lumetrix-sim did not finish";
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << "lumetrix-sim run failed";
    EXPECT_EQ(playerctl({ "metadata", "title" }), "Tone Two");

    // The event log names the player followed.
    std::ifstream events(m_folder / "events.jsonl");
    bool named = false;
    for (std::string line; std::getline(events, line);)
        named = named || line.find("following the player org.mpris.MediaPlayer2.mpv") != std::string::npos;
    EXPECT_TRUE(named);
}

} // namespace
