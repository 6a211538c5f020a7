// The artwork colour: the average colour of an image, and how both players take it up
// under the colour settings, playing and paused.

#include "support/EventRecorder.h"
#include "support/InSpringBoard.h"
#include "support/PlayerAccess.h"
#include "support/TestImages.h"

#include "Foundation/NSData.h"
#include "SpringBoard/CSHomeAffordanceView.h"
#include "SpringBoard/SBDeviceApplicationSceneViewController.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIImageDecoder.h"

#include <algorithm>
#include <initializer_list>
#include <string>

using namespace testing_support;

namespace {

constexpr const char* kColourOn = "<key>dynamicenabled</key><true/><key>songtitlebg</key><true/>";

// The value the tweak makes of one byte of the reduced pixel.
double channel(std::uint8_t byte)
{
    return static_cast<double>(static_cast<float>(byte) / 255.0f);
}

void expectColour(UIColor* colour, RGBA expected, double tolerance = 0)
{
    ASSERT_TRUE(colour);
    CGFloat r = -1, g = -1, b = -1, a = -1;
    ASSERT_TRUE(colour->getRed(&r, &g, &b, &a));
    EXPECT_NEAR(r, channel(expected.r), tolerance);
    EXPECT_NEAR(g, channel(expected.g), tolerance);
    EXPECT_NEAR(b, channel(expected.b), tolerance);
    EXPECT_DOUBLE_EQ(a, 1.0);
}

std::string nameOf(UIColor* colour)
{
    return colour ? colour->systemName() : "(none)";
}

UIColor* averageColourOf(const std::vector<std::uint8_t>& bytes)
{
    auto image = UIImage::imageWithData(NSData::create(bytes).get());
    return image ? static_cast<UIColor*>(objc_msgSend<id>(image.get(), "averageColor"_sel)) : nullptr;
}

// A queue of tracks whose artwork is one colour each, the first current.
platform::NowPlayingApplication artworkQueue(std::initializer_list<std::vector<std::uint8_t>> artworks, bool playing)
{
    double start = sim::SpringBoardProcess::kDefaultStartTime;
    platform::NowPlayingApplication application;
    int number = 0;
    for (auto& artwork : artworks) {
        platform::NowPlayingTrack track;
        track.title = "Track " + std::to_string(++number);
        track.artist = "Band";
        track.duration = 200;
        track.artwork = artwork;
        application.appendTrack(track, start);
    }
    if (playing)
        application.play(start);
    return application;
}

// Both players on screen at once: the lock screen's (its strip built) and a full-screen
// app's.
struct Players {
    id lockScreen;
    UIProgressView* lockScreenStrip;
    id app;
};

Players bringUpBothPlayers(sim::SpringBoardSession& session)
{
    SpringBoard& springBoard = session.springBoard();
    springBoard.boot();
    session.runFor(3.5);
    springBoard.unlock();
    Players players { lockScreenHost(springBoard), nullptr, springBoard.openApp(kNotes) };
    players.lockScreenStrip = playerView<UIProgressView>(springBoard.homeAffordanceController()->homeAffordanceView(), "progressView");
    session.runFor(0);
    return players;
}

void nextTrack(sim::SpringBoardSession& session)
{
    session.nowPlaying().next(session.now());
    session.runFor(0);
}

// Colours no rule ever sets, to see what a rule left alone.
void markTitle(id host)
{
    playerView(host, "labelbg")->setBackgroundColor(UIColor::redColor().get());
    playerView<UILabel>(host, "label")->setTextColor(UIColor::grayColor().get());
}

void expectTitleMarked(id host)
{
    EXPECT_EQ(nameOf(playerView(host, "labelbg")->backgroundColor()), "redColor");
    EXPECT_EQ(nameOf(playerView<UILabel>(host, "label")->textColor()), "grayColor");
}

void expectNeutralLook(const Players& players)
{
    for (id host : { players.lockScreen, players.app }) {
        EXPECT_EQ(nameOf(playerView(host, "subView")->backgroundColor()), "clearColor");
        EXPECT_EQ(nameOf(playerView(host, "labelbg")->backgroundColor()), "clearColor");
        EXPECT_EQ(nameOf(playerView<UILabel>(host, "label")->textColor()), "labelColor");
    }
    EXPECT_EQ(nameOf(players.lockScreenStrip->progressTintColor()), "whiteColor");
    EXPECT_EQ(nameOf(playerView<UIProgressView>(players.app, "progressView")->progressTintColor()), "whiteColor");
}

const RGBA kDark { 40, 60, 120, 255 };
const RGBA kLight { 240, 230, 200, 255 };

} // namespace

TEST(Tweak_AverageColor, OneColourImagesGiveTheirColourAndTransparencyPullsTowardsBlack)
{
    TemporaryDevice device;
    inSpringBoard(device, [](sim::SpringBoardSession&) {
        RGBA colour { 200, 100, 50, 255 };
        expectColour(averageColourOf(solidPNG(12, 7, colour)), colour);
        expectColour(averageColourOf(solidPNG(1, 1, colour)), colour);
        // JPEG stores colour as luma and chroma: a flat colour comes back within a step or two.
        expectColour(averageColourOf(solidJPEG(16, 16, colour)), colour, 3.0 / 255);

        expectColour(averageColourOf(solidPNG(9, 9, { 255, 255, 255, 0 })), { 0, 0, 0, 255 });
        // Half covered: the premultiplied pixel is not divided by its alpha again.
        expectColour(averageColourOf(solidPNG(4, 4, { 200, 100, 50, 128 })), { 100, 50, 25, 255 }, 1.0 / 255);
    });
}

TEST(Tweak_AverageColor, ArtworkThatIsNoImageGivesNoImageAndUndecodableArtworkNoColour)
{
    TemporaryDevice device;
    inSpringBoard(device, [](sim::SpringBoardSession&) {
        auto png = solidPNG(20, 20, kDark);
        std::vector<std::uint8_t> truncated(png.begin(), png.begin() + png.size() / 2);
        auto jpeg = solidJPEG(20, 20, kDark);
        std::vector<std::uint8_t> cut(jpeg.begin(), jpeg.begin() + 40);
        for (auto& bytes : { truncated, cut, std::vector<std::uint8_t>(64, 0x41) })
            EXPECT_EQ(averageColourOf(bytes), nullptr);
    });
}

TEST(Tweak_Colour, PlayingArtworkColoursBothPlayersWithReadableTitleText)
{
    TemporaryDevice device;
    device.writeSettings(kColourOn);
    inSpringBoard(device, [](sim::SpringBoardSession& session) {
        Players players = bringUpBothPlayers(session);
        nextTrack(session); // dark artwork
        for (id host : { players.lockScreen, players.app }) {
            expectColour(playerView(host, "subView")->backgroundColor(), kDark);
            expectColour(playerView(host, "labelbg")->backgroundColor(), kDark);
            EXPECT_EQ(nameOf(playerView<UILabel>(host, "label")->textColor()), "whiteColor");
        }
        expectColour(players.lockScreenStrip->progressTintColor(), kDark);
        expectColour(playerView<UIProgressView>(players.app, "progressView")->progressTintColor(), kDark);

        nextTrack(session); // light artwork, as JPEG
        for (id host : { players.lockScreen, players.app }) {
            expectColour(playerView(host, "subView")->backgroundColor(), kLight, 3.0 / 255);
            EXPECT_EQ(nameOf(playerView<UILabel>(host, "label")->textColor()), "blackColor");
        }
        // The glyphs keep their own tint whatever the artwork.
        EXPECT_EQ(nameOf(playerView(players.app, "pauseicon")->tintColor()), "labelColor");
    }, artworkQueue({ solidPNG(8, 8, kLight), solidPNG(8, 8, kDark), solidJPEG(8, 8, kLight) }, true));
}

TEST(Tweak_Colour, PausedWithRestoreToWhiteGivesTheNeutralLookUnlessRestoringIsOff)
{
    for (bool restore : { true, false }) {
        SCOPED_TRACE(restore ? "restorehomebartowhite on" : "restorehomebartowhite off");
        TemporaryDevice device;
        device.writeSettings(std::string(kColourOn) + "<key>restorehomebartowhite</key>" + (restore ? "<true/>" : "<false/>"));
        inSpringBoard(device, [restore](sim::SpringBoardSession& session) {
            Players players = bringUpBothPlayers(session);
            nextTrack(session); // new artwork while paused
            UIProgressView* appStrip = playerView<UIProgressView>(players.app, "progressView");
            if (restore) {
                expectNeutralLook(players);
            } else {
                for (id host : { players.lockScreen, players.app })
                    expectColour(playerView(host, "subView")->backgroundColor(), kDark);
                expectColour(players.lockScreenStrip->progressTintColor(), kDark);
                expectColour(appStrip->progressTintColor(), kDark);
            }
        }, artworkQueue({ solidPNG(8, 8, kLight), solidPNG(8, 8, kDark) }, false));
    }
}

TEST(Tweak_Colour, StripsFollowTheArtworkOnlyWhenAskedWhileTheInAppStripStillTurnsWhite)
{
    TemporaryDevice device;
    device.writeSettings(std::string(kColourOn) + "<key>homebardynamic</key><false/>");
    inSpringBoard(device, [](sim::SpringBoardSession& session) {
        EventRecorder events;
        Players players = bringUpBothPlayers(session);
        UIProgressView* appStrip = playerView<UIProgressView>(players.app, "progressView");
        players.lockScreenStrip->setProgressTintColor(UIColor::redColor().get());
        appStrip->setProgressTintColor(UIColor::redColor().get());

        nextTrack(session); // playing: live
        EXPECT_EQ(nameOf(players.lockScreenStrip->progressTintColor()), "redColor");
        EXPECT_EQ(nameOf(appStrip->progressTintColor()), "redColor");
        expectColour(playerView(players.app, "subView")->backgroundColor(), kDark); // the row still takes the colour

        session.nowPlaying().pause(session.now());
        nextTrack(session); // paused: not live
        EXPECT_EQ(nameOf(players.lockScreenStrip->progressTintColor()), "redColor") << "no strip broadcast at all";
        EXPECT_EQ(nameOf(appStrip->progressTintColor()), "whiteColor");
        for (auto& name : events.notificationNames())
            EXPECT_NE(name, "UpdateHomeSB");
    }, artworkQueue({ solidPNG(8, 8, kLight), solidPNG(8, 8, kDark), solidPNG(8, 8, kLight) }, true));
}

TEST(Tweak_Colour, WithoutTitleBackdropTheTitleColoursAreNeverTouched)
{
    TemporaryDevice device;
    device.writeSettings("<key>dynamicenabled</key><true/><key>songtitlebg</key><false/>");
    inSpringBoard(device, [](sim::SpringBoardSession& session) {
        Players players = bringUpBothPlayers(session);
        markTitle(players.lockScreen);
        markTitle(players.app);
        nextTrack(session); // live: coloured look
        expectTitleMarked(players.lockScreen);
        expectTitleMarked(players.app);
        session.nowPlaying().pause(session.now());
        nextTrack(session); // not live: neutral look
        expectTitleMarked(players.lockScreen);
        expectTitleMarked(players.app);
        EXPECT_EQ(nameOf(playerView(players.app, "subView")->backgroundColor()), "clearColor");
    }, artworkQueue({ solidPNG(8, 8, kLight), solidPNG(8, 8, kDark), solidPNG(8, 8, kLight) }, true));
}

TEST(Tweak_Colour, ArtworkThatDoesNotDecodeOrIsMissingLeavesBothPlayersAsTheyAre)
{
    auto png = solidPNG(20, 20, kDark);
    std::vector<std::uint8_t> truncated(png.begin(), png.begin() + png.size() / 2);
    TemporaryDevice device;
    device.writeSettings(kColourOn);
    double start = sim::SpringBoardProcess::kDefaultStartTime;
    platform::NowPlayingApplication application = artworkQueue({ solidPNG(8, 8, kLight), truncated }, true);
    platform::NowPlayingTrack bare;
    bare.title = "No artwork";
    bare.duration = 100;
    application.appendTrack(bare, start);
    inSpringBoard(device, [](sim::SpringBoardSession& session) {
        EventRecorder events;
        Players players = bringUpBothPlayers(session);
        for (int step = 0; step < 2; ++step) {
            SCOPED_TRACE(step == 0 ? "truncated artwork" : "no artwork");
            for (id host : { players.lockScreen, players.app })
                markTitle(host);
            events.clear();
            nextTrack(session);
            for (id host : { players.lockScreen, players.app }) {
                expectColour(playerView(host, "subView")->backgroundColor(), kLight);
                expectTitleMarked(host);
            }
            EXPECT_TRUE(events.notificationNames().size() > 0) << "the change itself was announced";
            for (auto& name : events.notificationNames()) {
                EXPECT_NE(name, "updateColourSB");
                EXPECT_NE(name, "UpdateHomeSB");
            }
        }
    }, std::move(application));
}

TEST(Tweak_Colour, TheLockScreenStripBuiltAfterTheBootBroadcastTakesItsColourUnderTheRulesOfThatMoment)
{
    struct Case {
        const char* story;
        bool playing;
        bool restore;
        bool coloured;
    };
    for (Case c : { Case { "playing", true, true, true }, Case { "paused, back to white", false, true, false },
             Case { "paused, colour kept", false, false, true } }) {
        SCOPED_TRACE(c.story);
        TemporaryDevice device;
        // Appended in steps: GCC 12 reads a chain of + on a temporary string as a copy past
        // its small buffer (a false -Warray-bounds).
        std::string settings = kColourOn;
        settings += "<key>restorehomebartowhite</key>";
        settings += c.restore ? "<true/>" : "<false/>";
        device.writeSettings(settings);
        inSpringBoard(device, [c](sim::SpringBoardSession& session) {
            EventRecorder events;
            SpringBoard& springBoard = session.springBoard();
            springBoard.boot();
            session.runFor(0);
            auto names = events.notificationNames();
            ASSERT_NE(std::find(names.begin(), names.end(), "UpdateHomeSB"), names.end()) << "the colour went out at boot";
            session.runFor(3.0);
            auto strip = playerView<UIProgressView>(springBoard.homeAffordanceController()->homeAffordanceView(), "progressView");
            ASSERT_TRUE(strip);
            if (c.coloured)
                expectColour(strip->progressTintColor(), kDark);
            else
                EXPECT_EQ(nameOf(strip->progressTintColor()), "whiteColor");
        }, artworkQueue({ solidPNG(8, 8, kDark) }, c.playing));
    }
}

TEST(Tweak_Colour, PausingOrStoppingATrackWithoutArtworkGivesTheNeutralLookOnBothPlayers)
{
    for (bool stop : { false, true }) {
        SCOPED_TRACE(stop ? "stopped" : "paused");
        TemporaryDevice device;
        device.writeSettings(kColourOn);
        double start = sim::SpringBoardProcess::kDefaultStartTime;
        platform::NowPlayingApplication application = artworkQueue({ solidPNG(8, 8, kDark) }, true);
        platform::NowPlayingTrack bare;
        bare.title = "No artwork";
        bare.artist = "Band";
        bare.duration = 100;
        application.appendTrack(bare, start);
        inSpringBoard(device, [stop](sim::SpringBoardSession& session) {
            Players players = bringUpBothPlayers(session);
            nextTrack(session); // playing, no artwork: the dark colour stays
            expectColour(playerView(players.app, "subView")->backgroundColor(), kDark);
            expectColour(players.lockScreenStrip->progressTintColor(), kDark);

            if (stop)
                session.nowPlaying().stop(session.now());
            else
                session.nowPlaying().pause(session.now());
            session.runFor(0);
            expectNeutralLook(players);
        }, std::move(application));
    }
}

TEST(Tweak_Colour, TheSameArtworkIsDecodedOnceHoweverOftenAndByWhomItsColourIsAsked)
{
    auto png = solidPNG(20, 20, kDark);
    std::vector<std::uint8_t> truncated(png.begin(), png.begin() + png.size() / 2);
    TemporaryDevice device;
    device.writeSettings(kColourOn);
    // The third track brings the second's artwork again, in bytes of its own.
    platform::NowPlayingApplication application = artworkQueue(
        { solidPNG(8, 8, kLight), solidPNG(8, 8, kDark), solidPNG(8, 8, kDark), truncated }, true);
    inSpringBoard(device, [](sim::SpringBoardSession& session) {
        Players players = bringUpBothPlayers(session);
        auto decodes = UIImageDecoder::decodesStarted();
        nextTrack(session);
        EXPECT_EQ(UIImageDecoder::decodesStarted() - decodes, 1u) << "SpringBoard's broadcast and the app's player share one decode";
        expectColour(playerView(players.app, "subView")->backgroundColor(), kDark);

        decodes = UIImageDecoder::decodesStarted();
        session.nowPlaying().pause(session.now());
        session.runFor(2);
        session.nowPlaying().play(session.now());
        session.runFor(2);
        nextTrack(session);
        EXPECT_EQ(UIImageDecoder::decodesStarted(), decodes) << "pause, play and the same artwork again";
        for (id host : { players.lockScreen, players.app })
            expectColour(playerView(host, "subView")->backgroundColor(), kDark);

        // Artwork that gives no colour is refused once too (a seek is another change of the
        // record; a pause would give the neutral look by itself).
        nextTrack(session);
        session.nowPlaying().seek(10, session.now());
        session.runFor(0);
        EXPECT_EQ(UIImageDecoder::decodesStarted() - decodes, 1u);
        expectColour(playerView(players.app, "subView")->backgroundColor(), kDark);
    }, std::move(application));
}

// Perceived brightness is (0.299 R + 0.587 G + 0.114 B); from 0.5 up the title turns
// black. Greys just either side of that line, each primary alone (their weights differ,
// so a swapped weight moves one of them across) and two colours of real artwork.
TEST(Tweak_Colour, TitleTextTurnsBlackExactlyWhereTheArtworkTurnsBrightOnBothPlayers)
{
    struct Case {
        const char* story;
        RGBA colour;
        const char* text;
    };
    const std::vector<Case> cases = {
        { "grey at 0.49", { 125, 125, 125, 255 }, "whiteColor" },
        { "grey at 0.51", { 130, 130, 130, 255 }, "blackColor" },
        { "pure red, 0.299", { 255, 0, 0, 255 }, "whiteColor" },
        { "pure green, 0.587", { 0, 255, 0, 255 }, "blackColor" },
        { "pure blue, 0.114", { 0, 0, 255, 255 }, "whiteColor" },
        { "mid-bright tan, 0.62", { 200, 150, 100, 255 }, "blackColor" },
        { "deep blue, 0.24", { 40, 40, 230, 255 }, "whiteColor" },
    };
    std::vector<std::vector<std::uint8_t>> artworks = { solidPNG(8, 8, kLight) };
    for (auto& c : cases)
        artworks.push_back(solidPNG(8, 8, c.colour));
    double start = sim::SpringBoardProcess::kDefaultStartTime;
    platform::NowPlayingApplication application;
    for (auto& artwork : artworks) {
        platform::NowPlayingTrack track;
        track.title = "Track";
        track.artist = "Band";
        track.duration = 200;
        track.artwork = artwork;
        application.appendTrack(track, start);
    }
    application.play(start);

    TemporaryDevice device;
    device.writeSettings(kColourOn);
    inSpringBoard(device, [&cases](sim::SpringBoardSession& session) {
        Players players = bringUpBothPlayers(session);
        for (auto& c : cases) {
            SCOPED_TRACE(c.story);
            nextTrack(session);
            for (id host : { players.lockScreen, players.app }) {
                expectColour(playerView(host, "labelbg")->backgroundColor(), c.colour);
                EXPECT_EQ(nameOf(playerView<UILabel>(host, "label")->textColor()), c.text) << (host == players.app ? "in the app" : "on the lock screen");
            }
        }
    }, std::move(application));
}

TEST(Tweak_AverageColor, ImagesOfSeveralColoursGiveTheirTrueAverage)
{
    TemporaryDevice device;
    inSpringBoard(device, [](sim::SpringBoardSession&) {
        for (auto& image : imagesWithKnownAverage()) {
            SCOPED_TRACE(image.story);
            expectColour(averageColourOf(image.bytes), image.average, image.tolerance / 255.0 + 1e-9);
        }
    });
}

TEST(Tweak_Colour, BothPlayersTakeTheAverageOfAHalfBlackHalfWhiteCover)
{
    TemporaryDevice device;
    device.writeSettings(kColourOn);
    RGBA black { 0, 0, 0, 255 };
    RGBA white { 255, 255, 255, 255 };
    auto halves = drawnPNG(16, 16, [&](int x, int) { return x < 8 ? black : white; });
    inSpringBoard(device, [](sim::SpringBoardSession& session) {
        Players players = bringUpBothPlayers(session);
        nextTrack(session);
        RGBA grey { 128, 128, 128, 255 };
        for (id host : { players.lockScreen, players.app })
            expectColour(playerView(host, "subView")->backgroundColor(), grey, 1.0 / 255 + 1e-9);
        expectColour(players.lockScreenStrip->progressTintColor(), grey, 1.0 / 255 + 1e-9);
    }, artworkQueue({ solidPNG(8, 8, kDark), halves }, true));
}
