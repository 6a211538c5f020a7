// The simulated now-playing application: playhead arithmetic, commands, queue moves,
// track ends, stop, its events and its JSON form.

#include "MediaRemote/Base64.h"
#include "MediaRemote/NowPlayingApplication.h"
#include "MediaRemote/NowPlayingPlaybackTimer.h"

#include "Foundation/RunLoop.h"

#include "PlatformTestValues.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <functional>
#include <memory>
#include <string>
#include <vector>

using platform::NowPlayingApplication;
using platform::NowPlayingChange;
using platform::NowPlayingTrack;
using platform::RunLoop;

namespace {

using platform_test::kPNGBytes;
using platform_test::kStart;

NowPlayingTrack track(std::optional<std::string> title, std::optional<std::string> artist, double duration)
{
    NowPlayingTrack result;
    result.title = std::move(title);
    result.artist = std::move(artist);
    result.duration = duration;
    return result;
}

const std::vector<std::uint8_t> kJPEGBytes { 0xff, 0xd8, 0xff, 0xe0, 0, 16, 'J', 'F', 'I', 'F' };

// An application with three 100-second tracks and a log of what it reported.
struct Player {
    NowPlayingApplication application;
    std::vector<NowPlayingChange> changes;

    explicit Player(std::size_t trackCount = 3, double duration = 100)
    {
        for (std::size_t i = 0; i < trackCount; ++i)
            application.appendTrack(track("Track " + std::to_string(i), "Artist", duration), kStart);
        application.addListener([this](const NowPlayingChange& change) { changes.push_back(change); });
    }
};

TEST(MediaRemote_Application, PositionFollowsEachSampleAtItsRate)
{
    Player player;
    auto& app = player.application;
    struct Step {
        const char* story;
        double at;
        std::function<void(double)> action;
        double elapsed; // the sample the change took
        double rate;
        double positionFiveSecondsLater;
    };
    const Step steps[] = {
        { "play from the start", 0, [&](double now) { app.play(now); }, 0, 1, 5 },
        { "pause after ten seconds", 10, [&](double now) { app.pause(now); }, 10, 0, 10 },
        { "seek while paused", 20, [&](double now) { app.seek(50, now); }, 50, 0, 50 },
        { "resume from the seek", 30, [&](double now) { app.play(now); }, 50, 1, 55 },
        { "skip back while playing", 40, [&](double now) { app.skip(-15, now); }, 45, 1, 50 },
        { "skip forward while playing", 42, [&](double now) { app.skip(15, now); }, 62, 1, 67 },
        { "seek past the end is the end", 50, [&](double now) { app.pause(now); app.seek(1000, now); }, 100, 0, 100 },
        { "seek before the start is the start", 60, [&](double now) { app.seek(-3, now); }, 0, 0, 0 },
    };
    for (auto& step : steps) {
        SCOPED_TRACE(step.story);
        double now = kStart + step.at;
        step.action(now);
        auto record = app.record();
        ASSERT_TRUE(record);
        EXPECT_DOUBLE_EQ(record->elapsedTime, step.elapsed);
        EXPECT_DOUBLE_EQ(record->timestamp, now);
        EXPECT_DOUBLE_EQ(record->playbackRate, step.rate);
        EXPECT_DOUBLE_EQ(app.position(now + 5), step.positionFiveSecondsLater);
        EXPECT_DOUBLE_EQ(record->positionAt(now + 5), step.positionFiveSecondsLater);
    }
}

TEST(MediaRemote_Application, CommandsItObeysAndCommandsItIgnores)
{
    struct Case {
        const char* story;
        MRMediaRemoteCommand command;
        std::optional<double> interval;
        bool startPlaying;
        double startPosition;
        bool obeyed;
        bool playing;
        std::size_t index;
        double position;
    };
    const Case cases[] = {
        { "play", kMRPlay, {}, false, 30, true, true, 1, 30 },
        { "pause", kMRPause, {}, true, 30, true, false, 1, 30 },
        { "toggle pauses", kMRTogglePlayPause, {}, true, 30, true, false, 1, 30 },
        { "toggle plays", kMRTogglePlayPause, {}, false, 30, true, true, 1, 30 },
        { "next keeps playing", kMRNextTrack, {}, true, 30, true, true, 2, 0 },
        { "next keeps paused", kMRNextTrack, {}, false, 30, true, false, 2, 0 },
        { "previous late restarts the track", kMRPreviousTrack, {}, true, 30, true, true, 1, 0 },
        { "previous early goes back", kMRPreviousTrack, {}, true, 2, true, true, 0, 0 },
        { "previous at three seconds goes back", kMRPreviousTrack, {}, false, 3, true, false, 0, 0 },
        { "skip forward by the default", kMRSkipForward, {}, true, 30, true, true, 1, 45 },
        { "skip forward by the option", kMRSkipForward, 20, true, 30, true, true, 1, 50 },
        { "skip back", kMRSkipBackward, 15, false, 30, true, false, 1, 15 },
        { "skip back stops at the start", kMRSkipBackward, 40, false, 30, true, false, 1, 0 },
        { "skip forward stops at the end", kMRSkipForward, 90, false, 30, true, false, 1, 100 },
        { "a zero interval is refused", kMRSkipForward, 0, false, 30, false, false, 1, 30 },
        { "a negative interval is refused", kMRSkipBackward, -15, false, 30, false, false, 1, 30 },
        { "stop is not obeyed", kMRStop, {}, true, 30, false, true, 1, 30 },
        { "fifteen-second rewind is not obeyed", kMRGoBackFifteenSeconds, {}, true, 30, false, true, 1, 30 },
        { "fifteen-second skip is not obeyed", kMRSkipFifteenSeconds, {}, true, 30, false, true, 1, 30 },
        { "seek to position is not obeyed", kMRSeekToPlaybackPosition, {}, true, 30, false, true, 1, 30 },
        { "an unknown number is not obeyed", 99, {}, false, 30, false, false, 1, 30 },
    };
    for (auto& test : cases) {
        SCOPED_TRACE(test.story);
        Player player;
        auto& app = player.application;
        app.next(kStart);
        app.seek(test.startPosition, kStart);
        if (test.startPlaying)
            app.play(kStart);
        // At the same instant, so playing has not moved the playhead yet.
        EXPECT_EQ(app.handleCommand(test.command, test.interval, kStart), test.obeyed);
        EXPECT_EQ(app.isPlaying(), test.playing);
        EXPECT_EQ(app.currentIndex(), test.index);
        EXPECT_DOUBLE_EQ(app.position(kStart), test.position);
    }
}

TEST(MediaRemote_Application, ReportsPlayingStateChangesOnlyWhenTheyHappen)
{
    Player player;
    auto& app = player.application;
    struct Step {
        const char* story;
        std::function<void(double)> action;
        std::vector<bool> reports; // playingStateChanged of each report
    };
    const Step steps[] = {
        { "play", [&](double now) { app.play(now); }, { true } },
        { "play again changes nothing", [&](double now) { app.play(now); }, {} },
        { "seek", [&](double now) { app.seek(10, now); }, { false } },
        { "next", [&](double now) { app.next(now); }, { false } },
        { "append while playing", [&](double now) { app.appendTrack(track("New", {}, 5), now); }, { false } },
        { "pause", [&](double now) { app.pause(now); }, { true } },
        { "pause again changes nothing", [&](double now) { app.pause(now); }, {} },
        { "toggle", [&](double now) { app.togglePlayPause(now); }, { true } },
        { "stop while playing", [&](double now) { app.stop(now); }, { true } },
        { "next while stopped is ignored", [&](double now) { app.next(now); }, {} },
        { "seek while stopped is ignored", [&](double now) { app.seek(4, now); }, {} },
        { "append while stopped publishes nothing", [&](double now) { app.appendTrack(track("Later", {}, 5), now); }, {} },
        { "play after stop", [&](double now) { app.play(now); }, { true } },
    };
    double now = kStart;
    for (auto& step : steps) {
        SCOPED_TRACE(step.story);
        player.changes.clear();
        now += 1;
        step.action(now);
        std::vector<bool> reports;
        for (auto& change : player.changes)
            reports.push_back(change.playingStateChanged);
        EXPECT_EQ(reports, step.reports);
    }
}

TEST(MediaRemote_Application, StopLeavesNoRecordAndPlayStartsTheTrackAgain)
{
    Player player;
    auto& app = player.application;
    app.next(kStart);
    app.play(kStart);
    app.stop(kStart + 30);
    EXPECT_FALSE(app.record());
    EXPECT_FALSE(app.hasRecord());
    EXPECT_FALSE(app.isPlaying());
    EXPECT_EQ(app.currentTrack(), nullptr);

    app.play(kStart + 40);
    auto record = app.record();
    ASSERT_TRUE(record);
    EXPECT_EQ(record->title, "Track 1");
    EXPECT_DOUBLE_EQ(record->elapsedTime, 0);
    EXPECT_DOUBLE_EQ(record->timestamp, kStart + 40);
}

TEST(MediaRemote_Application, EmptyQueueHasNoRecordAndIgnoresPlay)
{
    NowPlayingApplication app;
    int reports = 0;
    app.addListener([&](const NowPlayingChange&) { ++reports; });
    app.play(kStart);
    app.next(kStart);
    EXPECT_FALSE(app.record());
    EXPECT_FALSE(app.isPlaying());
    EXPECT_EQ(reports, 0);

    app.appendTrack(track("First", "Artist", 60), kStart + 5);
    auto record = app.record();
    ASSERT_TRUE(record);
    EXPECT_EQ(record->title, "First");
    EXPECT_DOUBLE_EQ(record->playbackRate, 0);
    EXPECT_DOUBLE_EQ(record->timestamp, kStart + 5);
    EXPECT_EQ(reports, 1);
}

TEST(MediaRemote_Application, PlaysThroughTrackEndsFromTheInstantEachEnded)
{
    NowPlayingApplication app;
    app.appendTrack(track("A", {}, 10), kStart);
    app.appendTrack(track("B", {}, 5), kStart);
    app.appendTrack(track("C", {}, 100), kStart);
    std::vector<NowPlayingChange> changes;
    app.addListener([&](const NowPlayingChange& change) { changes.push_back(change); });
    app.play(kStart);
    changes.clear();

    EXPECT_EQ(app.trackEndTime(), kStart + 10);
    app.advanceTo(kStart + 17);
    EXPECT_EQ(app.currentIndex(), 2u);
    EXPECT_TRUE(app.isPlaying());
    auto record = app.record();
    ASSERT_TRUE(record);
    EXPECT_DOUBLE_EQ(record->timestamp, kStart + 15);
    EXPECT_DOUBLE_EQ(record->elapsedTime, 0);
    EXPECT_DOUBLE_EQ(app.position(kStart + 17), 2);
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_FALSE(changes[0].playingStateChanged);
    EXPECT_FALSE(changes[1].playingStateChanged);
}

TEST(MediaRemote_Application, LastTrackEndingPausesAtItsStart)
{
    struct Case {
        const char* story;
        std::function<void(NowPlayingApplication&, double)> finish;
    };
    const Case cases[] = {
        { "played to the end", [](NowPlayingApplication& app, double now) { app.advanceTo(now + 100); } },
        { "next on the last track", [](NowPlayingApplication& app, double now) { app.next(now); } },
        { "skipped past the end", [](NowPlayingApplication& app, double now) { app.skip(500, now); app.advanceTo(now); } },
    };
    for (auto& test : cases) {
        SCOPED_TRACE(test.story);
        Player player(1, 30);
        auto& app = player.application;
        app.play(kStart);
        player.changes.clear();
        test.finish(app, kStart + 1);
        EXPECT_FALSE(app.isPlaying());
        EXPECT_EQ(app.currentIndex(), 0u);
        ASSERT_TRUE(app.record());
        EXPECT_DOUBLE_EQ(app.record()->elapsedTime, 0);
        ASSERT_FALSE(player.changes.empty());
        EXPECT_TRUE(player.changes.back().playingStateChanged);
        EXPECT_FALSE(app.trackEndTime());
    }
}

TEST(MediaRemote_Application, TrackOfUnknownLengthNeverEnds)
{
    Player player(2, 0);
    auto& app = player.application;
    app.play(kStart);
    EXPECT_FALSE(app.trackEndTime());
    app.advanceTo(kStart + 10000);
    EXPECT_EQ(app.currentIndex(), 0u);
    EXPECT_DOUBLE_EQ(app.position(kStart + 10000), 10000);
}

TEST(MediaRemote_Application, ListenerRemovedDuringAReportIsNotCalledAgain)
{
    NowPlayingApplication app;
    app.appendTrack(track("A", {}, 10), kStart);
    std::vector<std::string> calls;
    NowPlayingApplication::ListenerId second = 0;
    app.addListener([&](const NowPlayingChange&) {
        calls.push_back("first");
        app.removeListener(second);
    });
    second = app.addListener([&](const NowPlayingChange&) { calls.push_back("second"); });
    app.play(kStart);
    app.pause(kStart + 1);
    EXPECT_EQ(calls, (std::vector<std::string> { "first", "first" }));
}

TEST(MediaRemote_Application, PlaybackTimerMovesToTheNextTrackOnTime)
{
    RunLoop loop;
    NowPlayingApplication app;
    app.appendTrack(track("A", {}, 10), kStart);
    app.appendTrack(track("B", {}, 20), kStart);
    platform::NowPlayingPlaybackTimer timer(app);
    std::vector<double> changeTimes;
    app.addListener([&](const NowPlayingChange&) { changeTimes.push_back(loop.now() - kStart); });

    app.play(loop.now());
    loop.runFor(9.5);
    EXPECT_EQ(app.currentIndex(), 0u);
    // A pause and a resume move the end along.
    app.pause(loop.now());
    loop.runFor(5);
    app.play(loop.now());
    loop.runFor(1);
    EXPECT_EQ(app.currentIndex(), 1u);
    EXPECT_DOUBLE_EQ(app.record()->timestamp, kStart + 15);
    loop.runFor(30);
    EXPECT_FALSE(app.isPlaying());
    EXPECT_EQ(changeTimes, (std::vector<double> { 0, 9.5, 14.5, 15, 35 }));
    EXPECT_EQ(loop.pendingTaskCount(), 0u);
}

TEST(MediaRemote_Application, PlaybackTimerGoneLeavesNothingScheduled)
{
    RunLoop loop;
    NowPlayingApplication app;
    app.appendTrack(track("A", {}, 10), kStart);
    {
        platform::NowPlayingPlaybackTimer timer(app);
        app.play(loop.now());
        EXPECT_EQ(loop.pendingTaskCount(), 1u);
    }
    EXPECT_EQ(loop.pendingTaskCount(), 0u);
    loop.runFor(20);
    // Nobody advanced it: the end is noticed at the next call.
    EXPECT_TRUE(app.isPlaying());
    app.advanceTo(loop.now());
    EXPECT_FALSE(app.isPlaying());
}

TEST(MediaRemote_Application, NowPlayingEventDescribesTheStateNow)
{
    Player player(1, 200);
    auto& app = player.application;
    app.appendTrack(track({}, {}, 50), kStart);
    app.play(kStart);
    EXPECT_EQ(app.nowPlayingEvent(kStart + 12), (nlohmann::json { { "type", "nowplaying" }, { "playing", true }, { "title", "Track 0" }, { "artist", "Artist" }, { "elapsed", 12.0 }, { "duration", 200.0 } }));
    app.next(kStart + 12);
    EXPECT_EQ(app.nowPlayingEvent(kStart + 13), (nlohmann::json { { "type", "nowplaying" }, { "playing", true }, { "title", nullptr }, { "artist", nullptr }, { "elapsed", 1.0 }, { "duration", 50.0 } }));
    app.stop(kStart + 14);
    EXPECT_EQ(app.nowPlayingEvent(kStart + 15), (nlohmann::json { { "type", "nowplaying" }, { "playing", false }, { "title", nullptr }, { "artist", nullptr }, { "elapsed", 0.0 }, { "duration", 0.0 } }));
}

TEST(MediaRemote_Application, ArtworkTypeComesFromTheBytes)
{
    struct Case {
        const char* story;
        std::optional<std::vector<std::uint8_t>> artwork;
        std::optional<std::string> type;
    };
    const Case cases[] = {
        { "PNG", kPNGBytes, "image/png" },
        { "JPEG", kJPEGBytes, "image/jpeg" },
        { "GIF is not guessed", std::vector<std::uint8_t> { 'G', 'I', 'F', '8', '9', 'a' }, std::nullopt },
        { "a cut PNG signature", std::vector<std::uint8_t>(kPNGBytes.begin(), kPNGBytes.begin() + 4), std::nullopt },
        { "empty bytes", std::vector<std::uint8_t> {}, std::nullopt },
        { "no artwork", std::nullopt, std::nullopt },
    };
    for (auto& test : cases) {
        SCOPED_TRACE(test.story);
        NowPlayingApplication app;
        auto item = track("T", "A", 10);
        item.artwork = test.artwork;
        app.appendTrack(item, kStart);
        auto record = app.record();
        ASSERT_TRUE(record);
        EXPECT_EQ(record->artworkMIMEType, test.type);
        EXPECT_EQ(record->artworkData, test.artwork);
    }
}

TEST(MediaRemote_Application, JSONCarriesTheWholeStateAcrossARestart)
{
    NowPlayingApplication app;
    auto withArtwork = track("Song", {}, 180);
    withArtwork.album = "Album";
    withArtwork.artwork = kJPEGBytes;
    app.appendTrack(track({}, "Someone", 60), kStart);
    app.appendTrack(withArtwork, kStart);
    app.next(kStart + 1);
    app.seek(42, kStart + 2);
    app.play(kStart + 3);

    // Through text, as the simulator would hand it on.
    auto restored = NowPlayingApplication::fromJSON(nlohmann::json::parse(app.toJSON().dump()));
    ASSERT_TRUE(restored);
    EXPECT_EQ(restored->toJSON(), app.toJSON());
    EXPECT_EQ(restored->record(), app.record());
    EXPECT_EQ(restored->queue(), app.queue());
    EXPECT_DOUBLE_EQ(restored->position(kStart + 10), 49);
    EXPECT_EQ(restored->trackEndTime(), app.trackEndTime());

    // The record alone, as a proxy would carry it from the application's process.
    auto record = app.record();
    ASSERT_TRUE(record);
    EXPECT_EQ(platform::NowPlayingRecord::fromJSON(nlohmann::json::parse(record->toJSON().dump())), record);
    EXPECT_FALSE(platform::NowPlayingRecord::fromJSON({ { "duration", 1 } })) << "a record needs its sample";

    NowPlayingApplication stopped;
    stopped.appendTrack(track("A", {}, 10), kStart);
    stopped.stop(kStart);
    auto restoredStopped = NowPlayingApplication::fromJSON(stopped.toJSON());
    ASSERT_TRUE(restoredStopped);
    EXPECT_TRUE(restoredStopped->isStopped());
    EXPECT_FALSE(restoredStopped->record());
}

// A process forked from the application's owner hands back only what follows the
// tracks it was given; the owner puts the queue together again from its own copy.
TEST(MediaRemote_Application, JSONFromATrackOnCarriesOnlyWhatFollows)
{
    NowPlayingApplication app;
    for (int i = 0; i < 3; ++i)
        app.appendTrack(track("Held " + std::to_string(i), {}, 60), kStart);
    const std::vector<NowPlayingTrack> held = app.queue();
    app.appendTrack(track("Appended", {}, 60), kStart + 1);
    app.next(kStart + 2);
    app.play(kStart + 3);

    nlohmann::json delta = nlohmann::json::parse(app.toJSON(held.size()).dump());
    ASSERT_EQ(delta["queue"].size(), 1u) << "the held tracks stay out";
    EXPECT_EQ(delta["queue"][0]["title"], "Appended");
    auto restored = NowPlayingApplication::fromJSON(delta, held);
    ASSERT_TRUE(restored);
    EXPECT_EQ(restored->queue(), app.queue());
    EXPECT_EQ(restored->toJSON(), app.toJSON());
    EXPECT_EQ(restored->record(), app.record());

    const std::vector<NowPlayingTrack> tooFew(held.begin(), held.begin() + 2);
    EXPECT_FALSE(NowPlayingApplication::fromJSON(delta, tooFew)) << "it must hold every track the JSON leaves out";
    EXPECT_FALSE(NowPlayingApplication::fromJSON(delta)) << "holding none";
    EXPECT_EQ(app.toJSON(99)["queue"].size(), 0u) << "past the end: no tracks, the state alone";
}

// Artwork travels by reference from the queue into every record: a large picture costs
// nothing per request.
TEST(MediaRemote_Application, RecordsShareTheTracksArtwork)
{
    NowPlayingApplication app;
    auto item = track("T", {}, 10);
    item.artwork = std::vector<std::uint8_t>(1 << 20, 7);
    app.appendTrack(std::move(item), kStart);
    auto first = app.record();
    auto second = app.record();
    ASSERT_TRUE(first && second && first->artworkData && second->artworkData);
    EXPECT_EQ(first->artworkData->data(), app.queue()[0].artwork->data());
    EXPECT_EQ(second->artworkData->data(), first->artworkData->data());
}

TEST(MediaRemote_Application, JSONThatIsNotAnApplicationIsRefused)
{
    NowPlayingApplication app;
    app.appendTrack(track("A", {}, 10), kStart);
    app.appendTrack(track("B", {}, 10), kStart);
    const nlohmann::json good = app.toJSON();
    ASSERT_TRUE(NowPlayingApplication::fromJSON(good));
    struct Case {
        const char* story;
        std::function<void(nlohmann::json&)> spoil;
    };
    const Case cases[] = {
        { "not an object", [](nlohmann::json& json) { json = nlohmann::json::array(); } },
        { "index past the queue", [](nlohmann::json& json) { json["index"] = 2; } },
        { "negative index", [](nlohmann::json& json) { json["index"] = -1; } },
        { "playing with an empty queue", [](nlohmann::json& json) { json["queue"] = nlohmann::json::array(); json["index"] = 0; json["playing"] = true; } },
        { "playing while stopped", [](nlohmann::json& json) { json["stopped"] = true; json["playing"] = true; } },
        { "missing timestamp", [](nlohmann::json& json) { json.erase("timestamp"); } },
        { "title of the wrong type", [](nlohmann::json& json) { json["queue"][0]["title"] = 5; } },
        { "negative duration", [](nlohmann::json& json) { json["queue"][0]["duration"] = -1; } },
        { "artwork that is not base64", [](nlohmann::json& json) { json["queue"][0]["artwork"] = "not base64!"; } },
    };
    for (auto& test : cases) {
        SCOPED_TRACE(test.story);
        nlohmann::json spoiled = good;
        test.spoil(spoiled);
        EXPECT_FALSE(NowPlayingApplication::fromJSON(spoiled));
    }
}

TEST(MediaRemote_Base64, EncodesAndDecodesTheStandardVectors)
{
    const std::pair<std::string, std::string> vectors[] = {
        { "", "" },
        { "f", "Zg==" },
        { "fo", "Zm8=" },
        { "foo", "Zm9v" },
        { "foob", "Zm9vYg==" },
        { "fooba", "Zm9vYmE=" },
        { "foobar", "Zm9vYmFy" },
    };
    for (auto& [plain, encoded] : vectors) {
        SCOPED_TRACE(plain);
        std::vector<std::uint8_t> bytes(plain.begin(), plain.end());
        EXPECT_EQ(platform::encodeBase64(bytes), encoded);
        EXPECT_EQ(platform::decodeBase64(encoded), bytes);
    }
    std::vector<std::uint8_t> everyByte;
    for (int i = 0; i < 256; ++i)
        everyByte.push_back(static_cast<std::uint8_t>(255 - i));
    EXPECT_EQ(platform::decodeBase64(platform::encodeBase64(everyByte)), everyByte);
}

TEST(MediaRemote_Base64, RefusesMalformedText)
{
    for (const char* text : { "Zg=", "Z===", "Zg==Zg==", "Zm9v!A==", "=Zm9", "Zm=v", "Zm9v\n" }) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(platform::decodeBase64(text));
    }
}

} // namespace
