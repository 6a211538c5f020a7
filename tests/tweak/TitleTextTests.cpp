// The title label's text on both players: "title - artist" while the record has both,
// and left as it was by a record that lacks either (a podcast episode or a radio stream
// often has a title and no artist).

#include "support/InSpringBoard.h"
#include "support/PlayerAccess.h"

#include <optional>
#include <string>

using namespace testing_support;

namespace {

platform::NowPlayingTrack track(std::optional<std::string> title, std::optional<std::string> artist)
{
    platform::NowPlayingTrack item;
    item.title = std::move(title);
    item.artist = std::move(artist);
    item.duration = 300;
    return item;
}

std::string titleText(id host)
{
    NSString* text = playerView<UILabel>(host, "label")->text();
    return text ? text->string() : "(no text)";
}

} // namespace

TEST(Tweak_TitleText, ARecordWithoutArtistOrTitleLeavesBothLabelsAsTheyWere)
{
    double start = sim::SpringBoardProcess::kDefaultStartTime;
    platform::NowPlayingApplication application;
    application.appendTrack(track("Song", "Band"), start);
    application.appendTrack(track("Podcast Episode", std::nullopt), start);
    application.appendTrack(track(std::nullopt, "Radio Vela"), start);
    application.appendTrack(track(std::nullopt, std::nullopt), start);
    application.appendTrack(track("Night Drive", "Vela"), start);
    application.play(start);

    TemporaryDevice device;
    inSpringBoard(device, [](sim::SpringBoardSession& session) {
        SpringBoard& springBoard = session.springBoard();
        springBoard.boot();
        session.runFor(3.5);
        springBoard.unlock();
        id lockScreen = lockScreenHost(springBoard);
        id app = springBoard.openApp(kNotes);
        session.runFor(1);
        for (id host : { lockScreen, app })
            ASSERT_EQ(titleText(host), "Song - Band");

        for (const char* story : { "a title and no artist", "an artist and no title", "neither" }) {
            SCOPED_TRACE(story);
            session.nowPlaying().next(session.now());
            session.runFor(1);
            EXPECT_EQ(titleText(lockScreen), "Song - Band") << "on the lock screen";
            EXPECT_EQ(titleText(app), "Song - Band") << "in the app";
        }

        // Both again: the labels were listening all along.
        session.nowPlaying().next(session.now());
        session.runFor(1);
        EXPECT_EQ(titleText(lockScreen), "Night Drive - Vela");
        EXPECT_EQ(titleText(app), "Night Drive - Vela");
    }, std::move(application));
}
