// The bridge against a fake player on a private bus: what it reads, what it sends, and
// that a hostile or vanishing player costs a message and never a stuck bridge.

#include "FakePlayer.h"
#include "PrivateBus.h"

#include "sim/lumetrix-sim/music/MprisBridge.h"

#include <gtest/gtest.h>

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>

using namespace musictest;
using sim::MprisBridge;
using sim::PlayerState;
using sim::PropertyMap;

namespace {

// What the bridge has posted so far, gathered as SpringBoard's thread would.
struct Heard {
    std::optional<PlayerState> player;
    bool playerWentAway = false;
    std::vector<std::string> messages;

    std::size_t count(const std::string& part) const
    {
        return std::count_if(messages.begin(), messages.end(), [&](auto& message) { return message.find(part) != std::string::npos; });
    }
};

class MusicBridge : public testing::Test {
protected:
    void SetUp() override
    {
        m_bus = PrivateBus::start();
        if (!m_bus)
            GTEST_SKIP() << "dbus-daemon is not installed";
        setenv("DBUS_SESSION_BUS_ADDRESS", m_bus->address().c_str(), 1);
    }
    void TearDown() override
    {
        m_bridge.reset();
        m_player.reset();
        m_bus.reset();
    }

    void startPlayer(PropertyMap properties)
    {
        m_player = std::make_unique<FakePlayer>(m_bus->address(), "fake", std::move(properties));
    }
    void startBridge() { m_bridge = std::make_unique<MprisBridge>(sim::MusicOption { std::string("fake") }); }

    // Takes updates until `done` holds or `seconds` pass; whether it held.
    bool listen(const std::function<bool(const Heard&)>& done, double seconds = 3)
    {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        while (!done(m_heard)) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
            if (left <= 0)
                return false;
            pollfd fd { m_bridge->wakeFd(), POLLIN, 0 };
            poll(&fd, 1, static_cast<int>(left));
            for (auto& update : m_bridge->takeUpdates()) {
                m_heard.messages.insert(m_heard.messages.end(), update.messages.begin(), update.messages.end());
                if (update.hasState) {
                    m_heard.playerWentAway = !update.player;
                    m_heard.player = update.player;
                }
            }
        }
        return true;
    }
    bool listenForPlayer()
    {
        return listen([](const Heard& heard) { return heard.player.has_value(); });
    }

    std::unique_ptr<PrivateBus> m_bus;
    std::unique_ptr<FakePlayer> m_player;
    std::unique_ptr<MprisBridge> m_bridge;
    Heard m_heard;
};

sim::PropertyMap withMetadata(sim::PropertyMap metadata)
{
    auto properties = FakePlayer::playingTrack();
    properties["Metadata"] = sdbus::Variant(metadata);
    return properties;
}

TEST_F(MusicBridge, ReadsThePlayersTrackAndState)
{
    startPlayer(FakePlayer::playingTrack());
    startBridge();
    ASSERT_TRUE(listenForPlayer());
    EXPECT_EQ(m_heard.player->title, "Daybreak");
    EXPECT_EQ(m_heard.player->artist, "Ana, Bo");
    EXPECT_DOUBLE_EQ(m_heard.player->length, 90);
    EXPECT_DOUBLE_EQ(m_heard.player->position, 5);
    EXPECT_EQ(m_heard.player->status, PlayerState::Status::Playing);
    EXPECT_EQ(m_heard.count("following the player org.mpris.MediaPlayer2.fake"), 1u);

    // A change the player signals arrives with a fresh position.
    m_player->changeProperties({ { "PlaybackStatus", sdbus::Variant(std::string("Paused")) } });
    ASSERT_TRUE(listen([](const Heard& heard) { return heard.player->status == PlayerState::Status::Paused; }));
}

TEST_F(MusicBridge, CarriesCommandsAsMethodCalls)
{
    startPlayer(FakePlayer::playingTrack());
    startBridge();
    ASSERT_TRUE(listenForPlayer());
    m_bridge->send(MprisBridge::Command::PlayPause);
    m_bridge->send(MprisBridge::Command::Next);
    m_bridge->send(MprisBridge::Command::Previous);
    m_bridge->send(MprisBridge::Command::Seek, 15'000'000);
    m_bridge->send(MprisBridge::Command::Seek, -15'000'000);
    std::vector<std::string> expected { "PlayPause", "Next", "Previous", "Seek 15000000", "Seek -15000000" };
    for (int i = 0; i < 300 && m_player->calls().size() < expected.size(); ++i)
        listen([](const Heard&) { return false; }, 0.01);
    EXPECT_EQ(m_player->calls(), expected);
}

TEST_F(MusicBridge, DoesNotAskWhatThePlayerSaysItCannotDo)
{
    auto properties = FakePlayer::playingTrack();
    properties["CanGoNext"] = sdbus::Variant(false);
    properties["CanSeek"] = sdbus::Variant(false);
    startPlayer(properties);
    startBridge();
    ASSERT_TRUE(listenForPlayer());
    m_bridge->send(MprisBridge::Command::Next);
    m_bridge->send(MprisBridge::Command::Seek, 15'000'000);
    m_bridge->send(MprisBridge::Command::Previous);
    ASSERT_TRUE(listen([](const Heard& heard) { return heard.count("cannot seek") == 1; }));
    for (int i = 0; i < 100 && m_player->calls().empty(); ++i)
        listen([](const Heard&) { return false; }, 0.01);
    EXPECT_EQ(m_player->calls(), std::vector<std::string> { "Previous" });
    EXPECT_EQ(m_heard.count("cannot go to the next track (CanGoNext is false): Next not sent"), 1u);
}

// Each hostile player: the bridge still follows it, says what was wrong once, and
// nothing else changes.
TEST_F(MusicBridge, HostilePlayerCostsOneLine)
{
    struct Case {
        const char* story;
        PropertyMap properties;
        const char* message;
        std::function<void(const PlayerState&)> check;
    };
    std::vector<Case> cases;
    cases.push_back({ "title of the wrong type", withMetadata({ { "xesam:title", sdbus::Variant(std::int32_t(42)) }, { "xesam:artist", sdbus::Variant(std::string("Solo")) } }),
        "xesam:title is not a string", [](const PlayerState& player) {
        EXPECT_FALSE(player.title);
        EXPECT_EQ(player.artist, "Solo");
    } });
    auto notADictionary = FakePlayer::playingTrack();
    notADictionary["Metadata"] = sdbus::Variant(std::string("Daybreak"));
    cases.push_back({ "metadata that is no dictionary", notADictionary, "Metadata is not a dictionary",
        [](const PlayerState& player) { EXPECT_EQ(player.status, PlayerState::Status::Playing); } });
#if !defined(__SANITIZE_ADDRESS__)
    // Under AddressSanitizer the bus library copies 50 MB so slowly that every read of the
    // metadata overruns the 100 ms call timeout and the title never arrives to be cut.
    cases.push_back({ "a 50 MB title", withMetadata({ { "xesam:title", sdbus::Variant(std::string(50'000'000, 'a')) } }), "xesam:title of 50000000 bytes cut to 1024",
        [](const PlayerState& player) { EXPECT_EQ(player.title->size(), sim::kMaximumTextBytes); } });
#endif
    cases.push_back({ "cover art that never ends", withMetadata({ { "mpris:artUrl", sdbus::Variant(std::string("file:///dev/zero")) } }),
        "cover /dev/zero is not a regular file", [](const PlayerState& player) { EXPECT_FALSE(player.art); } });
    cases.push_back({ "cover art on the network", withMetadata({ { "mpris:artUrl", sdbus::Variant(std::string("https://example.com/a.jpg")) } }),
        "is on the network: never fetched", [](const PlayerState& player) { EXPECT_FALSE(player.art); } });

    for (auto& hostile : cases) {
        SCOPED_TRACE(hostile.story);
        m_heard = {};
        startPlayer(hostile.properties);
        startBridge();
        ASSERT_TRUE(listenForPlayer());
        // Sent twice (read whole, then signalled): said once. A read that takes more
        // than the call timeout (50 MB on a busy machine) is its own line, and the
        // signal brings the metadata all the same.
        m_player->changeProperties({ { "Metadata", hostile.properties["Metadata"] } });
        ASSERT_TRUE(listen([&](const Heard& heard) { return heard.count(hostile.message) > 0; }, 10)) << testing::PrintToString(m_heard.messages);
        hostile.check(*m_heard.player);
        listen([](const Heard&) { return false; }, 0.3);
        EXPECT_EQ(m_heard.count(hostile.message), 1u);
        std::size_t timeouts = m_heard.count("no answer within");
        EXPECT_EQ(m_heard.messages.size(), 2u + timeouts) << testing::PrintToString(m_heard.messages);
        m_bridge.reset();
        m_player.reset();
    }
}

TEST_F(MusicBridge, SlowPlayerIsGivenUpOnAndCommandsNeverWait)
{
    startPlayer(FakePlayer::playingTrack());
    m_player->setAnswerDelay(std::chrono::milliseconds(1500));
    startBridge();
    auto before = std::chrono::steady_clock::now();
    ASSERT_TRUE(listen([](const Heard& heard) { return heard.count("no answer within 100 ms") > 0; }, 1.4));
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(1000));
    auto sendStart = std::chrono::steady_clock::now();
    for (int i = 0; i < 10; ++i)
        m_bridge->send(MprisBridge::Command::PlayPause);
    EXPECT_LT(std::chrono::steady_clock::now() - sendStart, std::chrono::milliseconds(50));
}

TEST_F(MusicBridge, PlayerThatQuitsLeavesNothingPlaying)
{
    startPlayer(FakePlayer::playingTrack());
    startBridge();
    ASSERT_TRUE(listenForPlayer());
    m_player->quit();
    ASSERT_TRUE(listen([](const Heard& heard) { return heard.playerWentAway; }));
    EXPECT_EQ(m_heard.count("org.mpris.MediaPlayer2.fake went away"), 1u);
}

TEST_F(MusicBridge, BusThatGoesAwayIsSaidAndTheStateStays)
{
    startPlayer(FakePlayer::playingTrack());
    startBridge();
    ASSERT_TRUE(listenForPlayer());
    m_bus->stop();
    ASSERT_TRUE(listen([](const Heard& heard) { return heard.count("the session bus went away") > 0; }));
    EXPECT_FALSE(m_heard.playerWentAway);
}

} // namespace
