// SpringBoard's side of MediaRemote: replies that come later, the dictionary they carry,
// commands with their events, and the order of what a change sets off.

#include "MediaRemote/InProcessNowPlayingSource.h"
#include "MediaRemote/MediaRemote.h"
#include "MediaRemote/NowPlayingApplication.h"
#include "MediaRemote/NowPlayingService.h"

#include "Foundation/NSData.h"
#include "Foundation/NSDate.h"
#include "Foundation/NSDictionary.h"
#include "Foundation/NSNotification.h"
#include "Foundation/NSNotificationCenter.h"
#include "Foundation/NSNumber.h"
#include "Foundation/NSString.h"
#include "Foundation/RunLoop.h"
#include "Platform/Platform.h"
#include "objc/WeakPtr.h"

#include "PlatformTestValues.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <memory>
#include <string>
#include <vector>

using objc::RefPtr;
using platform::NowPlayingApplication;
using platform::NowPlayingService;
using platform::NowPlayingTrack;
using platform::RunLoop;

namespace platform {
void registerFoundationClasses();
}

namespace {

using platform_test::kPNGBytes;
using platform_test::kStart;

class MediaRemote_Service : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::registerFoundationClasses();
        platform::registerMediaRemoteConstants();
        loop = std::make_unique<RunLoop>();
        service = std::make_unique<NowPlayingService>(std::make_unique<platform::InProcessNowPlayingSource>(application));
        platform::setEventSink([this](const nlohmann::json& event) {
            if (event["type"] == "command")
                commandEvents.push_back(event);
        });
    }
    void TearDown() override
    {
        for (auto& token : observerTokens)
            NSNotificationCenter::defaultCenter()->removeObserver(token.get());
        platform::setEventSink(nullptr);
        service.reset();
        loop.reset();
    }

    void appendSong(std::optional<std::string> title, std::optional<std::string> artist, double duration)
    {
        NowPlayingTrack track;
        track.title = std::move(title);
        track.artist = std::move(artist);
        track.duration = duration;
        application.appendTrack(std::move(track), loop->now());
    }

    // Logs, in order, the updater's calls and the two notifications.
    void recordChangeOrder()
    {
        service->setMediaControllerUpdater([this](NSDictionary* info) {
            order.push_back(info ? "updater" : "updater(nil)");
        });
        for (NSString* name : { kMRMediaRemoteNowPlayingInfoDidChangeNotification, kMRMediaRemoteNowPlayingApplicationIsPlayingDidChangeNotification }) {
            observerTokens.push_back(NSNotificationCenter::defaultCenter()->addObserverForName(name, nil, [this](NSNotification* notification) {
                EXPECT_EQ(notification->object(), nullptr);
                order.push_back(notification->name()->string());
            }));
        }
    }

    // Asks for the record and runs the loop's current turn; the reply's dictionary.
    RefPtr<NSDictionary> fetchInfo()
    {
        RefPtr<NSDictionary> result;
        int replies = 0;
        MRMediaRemoteGetNowPlayingInfo(dispatch_get_main_queue(), [&](NSDictionary* info) {
            result = info;
            ++replies;
        });
        loop->runFor(0);
        EXPECT_EQ(replies, 1);
        return result;
    }

    std::unique_ptr<RunLoop> loop;
    NowPlayingApplication application;
    std::unique_ptr<NowPlayingService> service;
    std::vector<nlohmann::json> commandEvents;
    std::vector<std::string> order;
    std::vector<RefPtr<NSObject>> observerTokens;
};

double numberFor(NSDictionary* info, NSString* key)
{
    auto number = objc_cast<NSNumber>(info->objectForKey(key));
    EXPECT_TRUE(number) << key->string();
    return number ? number->doubleValue() : -1;
}

TEST(MediaRemote_Constants, EachValueIsItsOwnName)
{
    platform::registerFoundationClasses();
    platform::registerMediaRemoteConstants();
    const std::pair<NSString*, const char*> constants[] = {
        { kMRMediaRemoteNowPlayingInfoTitle, "kMRMediaRemoteNowPlayingInfoTitle" },
        { kMRMediaRemoteNowPlayingInfoArtist, "kMRMediaRemoteNowPlayingInfoArtist" },
        { kMRMediaRemoteNowPlayingInfoAlbum, "kMRMediaRemoteNowPlayingInfoAlbum" },
        { kMRMediaRemoteNowPlayingInfoDuration, "kMRMediaRemoteNowPlayingInfoDuration" },
        { kMRMediaRemoteNowPlayingInfoElapsedTime, "kMRMediaRemoteNowPlayingInfoElapsedTime" },
        { kMRMediaRemoteNowPlayingInfoPlaybackRate, "kMRMediaRemoteNowPlayingInfoPlaybackRate" },
        { kMRMediaRemoteNowPlayingInfoTimestamp, "kMRMediaRemoteNowPlayingInfoTimestamp" },
        { kMRMediaRemoteNowPlayingInfoArtworkData, "kMRMediaRemoteNowPlayingInfoArtworkData" },
        { kMRMediaRemoteNowPlayingInfoArtworkMIMEType, "kMRMediaRemoteNowPlayingInfoArtworkMIMEType" },
        { kMRMediaRemoteOptionSkipInterval, "kMRMediaRemoteOptionSkipInterval" },
        { kMRMediaRemoteNowPlayingInfoDidChangeNotification, "kMRMediaRemoteNowPlayingInfoDidChangeNotification" },
        { kMRMediaRemoteNowPlayingApplicationIsPlayingDidChangeNotification, "kMRMediaRemoteNowPlayingApplicationIsPlayingDidChangeNotification" },
    };
    for (auto& [constant, name] : constants) {
        ASSERT_NE(constant, nullptr) << name;
        EXPECT_EQ(constant->string(), name);
        EXPECT_TRUE(constant->isKindOfClass(NSString::staticClass()));
    }
    NSString* before = kMRMediaRemoteNowPlayingInfoTitle;
    platform::registerMediaRemoteConstants();
    EXPECT_EQ(kMRMediaRemoteNowPlayingInfoTitle, before) << "registering again keeps the same objects";
}

TEST_F(MediaRemote_Service, ReplyComesOnALaterTurnAtTheSameInstant)
{
    appendSong("Song", "Singer", 120);
    application.play(loop->now());
    int replies = 0;
    double repliedAt = 0;
    MRMediaRemoteGetNowPlayingInfo(dispatch_get_main_queue(), [&](NSDictionary* info) {
        ++replies;
        repliedAt = loop->now();
        EXPECT_NE(info, nullptr);
    });
    EXPECT_EQ(replies, 0) << "the reply must not come inside the call";
    loop->runFor(0);
    EXPECT_EQ(replies, 1);
    EXPECT_DOUBLE_EQ(repliedAt, kStart);
    loop->runFor(10);
    EXPECT_EQ(replies, 1) << "one reply per request";
}

TEST_F(MediaRemote_Service, DictionaryHoldsTheRecordSampledAtTheLastChange)
{
    NowPlayingTrack track;
    track.title = "Song";
    track.album = "Album";
    track.duration = 200;
    track.artwork = kPNGBytes;
    application.appendTrack(track, loop->now());
    application.play(loop->now());
    loop->runFor(7);
    application.seek(30, loop->now());
    double sampledAt = loop->now();
    loop->runFor(5);

    RefPtr<NSDictionary> info = fetchInfo();
    ASSERT_TRUE(info);
    auto title = objc_cast<NSString>(info->objectForKey(kMRMediaRemoteNowPlayingInfoTitle));
    ASSERT_TRUE(title);
    EXPECT_EQ(title->string(), "Song");
    EXPECT_EQ(info->objectForKey(kMRMediaRemoteNowPlayingInfoArtist), nullptr) << "a missing artist is a missing key";
    EXPECT_EQ(objc_cast<NSString>(info->objectForKey(kMRMediaRemoteNowPlayingInfoAlbum))->string(), "Album");
    EXPECT_DOUBLE_EQ(numberFor(info.get(), kMRMediaRemoteNowPlayingInfoDuration), 200);
    EXPECT_DOUBLE_EQ(numberFor(info.get(), kMRMediaRemoteNowPlayingInfoElapsedTime), 30);
    EXPECT_DOUBLE_EQ(numberFor(info.get(), kMRMediaRemoteNowPlayingInfoPlaybackRate), 1);
    auto timestamp = objc_cast<NSDate>(info->objectForKey(kMRMediaRemoteNowPlayingInfoTimestamp));
    ASSERT_TRUE(timestamp);
    EXPECT_DOUBLE_EQ(timestamp->timeIntervalSinceReferenceDate(), sampledAt);
    auto artwork = objc_cast<NSData>(info->objectForKey(kMRMediaRemoteNowPlayingInfoArtworkData));
    ASSERT_TRUE(artwork);
    EXPECT_EQ(artwork->vector(), kPNGBytes);
    EXPECT_EQ(objc_cast<NSString>(info->objectForKey(kMRMediaRemoteNowPlayingInfoArtworkMIMEType))->string(), "image/png");

    application.pause(loop->now());
    info = fetchInfo();
    ASSERT_TRUE(info);
    EXPECT_DOUBLE_EQ(numberFor(info.get(), kMRMediaRemoteNowPlayingInfoPlaybackRate), 0);
    EXPECT_DOUBLE_EQ(numberFor(info.get(), kMRMediaRemoteNowPlayingInfoElapsedTime), 35);
}

TEST_F(MediaRemote_Service, ReplyIsNilWhenNothingPlays)
{
    EXPECT_FALSE(fetchInfo()) << "empty queue";
    appendSong("Song", "Singer", 120);
    application.play(loop->now());
    EXPECT_TRUE(fetchInfo());
    application.stop(loop->now());
    EXPECT_FALSE(fetchInfo()) << "stopped";
    service.reset();
    EXPECT_FALSE(fetchInfo()) << "no service in the process";
}

TEST_F(MediaRemote_Service, ReplyDescribesATrackThatEndedMeanwhile)
{
    appendSong("First", {}, 10);
    appendSong("Second", {}, 10);
    application.play(loop->now());
    RefPtr<NSDictionary> result;
    MRMediaRemoteGetNowPlayingInfo(dispatch_get_main_queue(), [&](NSDictionary* info) { result = info; });
    // No playback timer here: the reply itself must notice the first track is over.
    loop->runUntil(kStart + 12);
    ASSERT_TRUE(result);
    result = fetchInfo();
    EXPECT_EQ(objc_cast<NSString>(result->objectForKey(kMRMediaRemoteNowPlayingInfoTitle))->string(), "Second");
    EXPECT_DOUBLE_EQ(objc_cast<NSDate>(result->objectForKey(kMRMediaRemoteNowPlayingInfoTimestamp))->timeIntervalSinceReferenceDate(), kStart + 10);
}

// The dictionary is a snapshot of the record: the same immutable object for every request
// until the record changes, a new one from then on, and its artwork the track's own
// bytes rather than a copy.
TEST_F(MediaRemote_Service, RequestsShareOneSnapshotUntilTheRecordChanges)
{
    NowPlayingTrack track;
    track.title = "First";
    track.duration = 10;
    track.artwork = kPNGBytes;
    const std::uint8_t* trackBytes = track.artwork->data();
    application.appendTrack(std::move(track), loop->now());
    appendSong("Second", {}, 10);
    application.play(loop->now());

    RefPtr<NSDictionary> first = fetchInfo();
    ASSERT_TRUE(first);
    loop->runFor(3);
    EXPECT_EQ(fetchInfo().get(), first.get()) << "nothing changed: the same snapshot";
    auto artwork = objc_cast<NSData>(first->objectForKey(kMRMediaRemoteNowPlayingInfoArtworkData));
    ASSERT_TRUE(artwork);
    EXPECT_EQ(artwork->bytes(), trackBytes) << "the queue's bytes, shared";

    application.seek(5, loop->now());
    RefPtr<NSDictionary> afterSeek = fetchInfo();
    EXPECT_NE(afterSeek.get(), first.get()) << "a change makes a new snapshot";
    EXPECT_DOUBLE_EQ(numberFor(afterSeek.get(), kMRMediaRemoteNowPlayingInfoElapsedTime), 5);
    EXPECT_DOUBLE_EQ(numberFor(first.get(), kMRMediaRemoteNowPlayingInfoElapsedTime), 0) << "an old snapshot never changes";

    // No playback timer here: the track's end is found by the request itself.
    loop->runFor(6);
    RefPtr<NSDictionary> afterEnd = fetchInfo();
    ASSERT_TRUE(afterEnd);
    EXPECT_EQ(objc_cast<NSString>(afterEnd->objectForKey(kMRMediaRemoteNowPlayingInfoTitle))->string(), "Second");

    application.stop(loop->now());
    EXPECT_FALSE(fetchInfo()) << "no record, no snapshot";
}

TEST_F(MediaRemote_Service, ReplyForAHostThatDiedStillRunsOnceAndTouchesNothing)
{
    appendSong("Song", "Singer", 120);
    auto host = NSObject::alloc();
    objc::WeakPtr<NSObject> weakHost = host.get();
    int replies = 0;
    int hostUpdates = 0;
    MRMediaRemoteGetNowPlayingInfo(dispatch_get_main_queue(), [&, weakHost](NSDictionary*) {
        ++replies;
        if (auto alive = weakHost.strong())
            ++hostUpdates;
    });
    host = nullptr;
    loop->runFor(0);
    EXPECT_EQ(replies, 1);
    EXPECT_EQ(hostUpdates, 0);
}

TEST_F(MediaRemote_Service, ChangeReachesTheUpdaterFirstThenTheNotifications)
{
    appendSong("Song", "Singer", 120);
    appendSong("Next", "Singer", 120);
    recordChangeOrder();
    const std::string info = "kMRMediaRemoteNowPlayingInfoDidChangeNotification";
    const std::string playing = "kMRMediaRemoteNowPlayingApplicationIsPlayingDidChangeNotification";
    struct Step {
        const char* story;
        std::function<void()> action;
        std::vector<std::string> order;
    };
    const Step steps[] = {
        { "play", [&] { application.play(loop->now()); }, { "updater", info, playing } },
        { "seek", [&] { application.seek(20, loop->now()); }, { "updater", info } },
        { "next keeps playing", [&] { application.next(loop->now()); }, { "updater", info } },
        { "pause", [&] { application.pause(loop->now()); }, { "updater", info, playing } },
        { "pause again", [&] { application.pause(loop->now()); }, {} },
        { "stop while paused", [&] { application.stop(loop->now()); }, { "updater(nil)", info } },
        { "play after stop", [&] { application.play(loop->now()); }, { "updater", info, playing } },
        { "stop while playing", [&] { application.stop(loop->now()); }, { "updater(nil)", info, playing } },
    };
    for (auto& step : steps) {
        SCOPED_TRACE(step.story);
        order.clear();
        step.action();
        EXPECT_EQ(order, step.order);
    }
}

TEST_F(MediaRemote_Service, UpdaterSeesTheStateItIsToldAbout)
{
    appendSong("Song", "Singer", 120);
    std::vector<double> rates;
    service->setMediaControllerUpdater([&](NSDictionary* info) {
        ASSERT_TRUE(info);
        rates.push_back(numberFor(info, kMRMediaRemoteNowPlayingInfoPlaybackRate));
    });
    application.play(loop->now());
    application.pause(loop->now());
    EXPECT_EQ(rates, (std::vector<double> { 1, 0 }));
}

TEST_F(MediaRemote_Service, CommandsAreLoggedWithTheirOptionsAndTakeEffectAtTheNextTurn)
{
    appendSong("Song", "Singer", 120);
    application.seek(40, loop->now());
    recordChangeOrder();
    auto skip = NSDictionary::create({ { kMRMediaRemoteOptionSkipInterval, NSNumber::numberWithDouble(15.0) } });
    auto longSkip = NSDictionary::create({ { kMRMediaRemoteOptionSkipInterval, NSNumber::numberWithDouble(25.0) } });
    struct Case {
        const char* story;
        MRMediaRemoteCommand command;
        NSDictionary* options;
        nlohmann::json loggedOptions;
        bool playing;
        double position;
    };
    const Case cases[] = {
        { "play", kMRPlay, nullptr, nlohmann::json::object(), true, 40 },
        { "skip forward by the option", kMRSkipForward, skip.get(), { { "kMRMediaRemoteOptionSkipInterval", 15.0 } }, true, 55 },
        { "skip back by a longer option", kMRSkipBackward, longSkip.get(), { { "kMRMediaRemoteOptionSkipInterval", 25.0 } }, true, 30 },
        { "skip without options uses fifteen", kMRSkipForward, nullptr, nlohmann::json::object(), true, 45 },
        { "toggle", kMRTogglePlayPause, nullptr, nlohmann::json::object(), false, 45 },
        { "ignored command is still logged", kMRStop, nullptr, nlohmann::json::object(), false, 45 },
    };
    for (auto& test : cases) {
        SCOPED_TRACE(test.story);
        commandEvents.clear();
        order.clear();
        bool wasPlaying = application.isPlaying();
        EXPECT_TRUE(MRMediaRemoteSendCommand(test.command, test.options));
        ASSERT_EQ(commandEvents.size(), 1u);
        EXPECT_EQ(commandEvents[0], (nlohmann::json { { "type", "command" }, { "command", test.command }, { "options", test.loggedOptions } }));
        EXPECT_TRUE(order.empty()) << "the application hears of the command later, not inside the call";
        EXPECT_EQ(application.isPlaying(), wasPlaying);
        loop->runFor(0);
        EXPECT_EQ(application.isPlaying(), test.playing);
        EXPECT_DOUBLE_EQ(application.position(loop->now()), test.position);
    }
}

TEST_F(MediaRemote_Service, CommandWithoutAServiceIsLoggedAndNotSent)
{
    service.reset();
    EXPECT_FALSE(MRMediaRemoteSendCommand(kMRNextTrack, nullptr));
    ASSERT_EQ(commandEvents.size(), 1u);
    EXPECT_EQ(commandEvents[0]["command"], kMRNextTrack);
}

TEST_F(MediaRemote_Service, CommandQueuedWhenTheServiceGoesAwayIsDropped)
{
    appendSong("Song", "Singer", 120);
    EXPECT_TRUE(MRMediaRemoteSendCommand(kMRPlay, nullptr));
    service.reset();
    loop->runFor(0);
    EXPECT_FALSE(application.isPlaying());
}

} // namespace
