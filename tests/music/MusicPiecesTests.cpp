// The bridge's plain pieces: the option, the cover reader, and the record a player's
// state stands for.

#include "sim/lumetrix-sim/demo/Timeline.h"
#include "sim/lumetrix-sim/music/CoverArt.h"
#include "sim/lumetrix-sim/music/MprisNowPlayingSource.h"
#include "sim/lumetrix-sim/music/MusicOption.h"

#include "MediaRemote/Base64.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>

using namespace sim;

TEST(Music_Option, ReadsPlayerNamesAndRefusesTheRest)
{
    EXPECT_FALSE(parseMusicOption("mpris").option->playerName);
    EXPECT_EQ(parseMusicOption("mpris").option->busName(), "org.mpris.MediaPlayer2.");
    EXPECT_EQ(parseMusicOption("mpris:mpv").option->busName(), "org.mpris.MediaPlayer2.mpv");
    EXPECT_EQ(parseMusicOption("mpris:vlc.instance42").option->playerName, "vlc.instance42");
    for (const char* bad : { "mpv", "mpris:", "mpris:a..b", "mpris:.a", "mpris:a b", "mpris:1st", "mpris:x/y", "MPRIS:mpv" }) {
        SCOPED_TRACE(bad);
        auto parsed = parseMusicOption(bad);
        EXPECT_FALSE(parsed.option);
        EXPECT_NE(parsed.problem.find("--music"), std::string::npos);
    }
}

TEST(Music_CoverArt, ReadsLocalFilesAndDataButNeverTheNetwork)
{
    auto folder = std::filesystem::temp_directory_path() / ("lumetrix-cover-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder / "with space");
    std::ofstream(folder / "with space" / "cover.jpg") << "\xFF\xD8\xFF bytes";
    auto art = loadCoverArt("file://" + (folder / "with%20space" / "cover.jpg").string());
    ASSERT_TRUE(art.bytes) << art.problem;
    EXPECT_EQ(art.bytes->size(), 9u);
    EXPECT_TRUE(loadCoverArt("file://localhost" + (folder / "with space" / "cover.jpg").string()).bytes);
    std::filesystem::remove_all(folder);

    auto data = loadCoverArt("data:image/png;base64," + platform::encodeBase64({ 0x89, 'P', 'N', 'G' }));
    ASSERT_TRUE(data.bytes) << data.problem;
    EXPECT_EQ(data.bytes->vector(), (std::vector<std::uint8_t> { 0x89, 'P', 'N', 'G' }));

    struct Refusal {
        const char* url;
        const char* says;
    } refusals[] = {
        { "https://covers.example/a.jpg", "never fetched" },
        { "http://covers.example/a.jpg", "never fetched" },
        { "file:///dev/zero", "not a regular file" },
        { "file:///", "not a regular file" },
        { "file:///no/such/cover.jpg", "cannot be read" },
        { "file://otherhost/cover.jpg", "not a file on this machine" },
        { "data:image/png,rawbytes", "not base64" },
        { "data:image/png;base64,@@@@", "not valid base64" },
        { "ftp://x/y.jpg", "neither a file:// nor a data: URL" },
    };
    for (auto& refusal : refusals) {
        SCOPED_TRACE(refusal.url);
        auto refused = loadCoverArt(refusal.url);
        EXPECT_FALSE(refused.bytes);
        EXPECT_NE(refused.problem.find(refusal.says), std::string::npos) << refused.problem;
    }
}

TEST(Music_Record, StandsForThePlayerAtThisInstant)
{
    PlayerState player;
    player.title = "Daybreak";
    player.length = 200;
    player.position = 30;
    player.positionReadAt = 1000;
    player.rate = 1;

    player.status = PlayerState::Status::Stopped;
    EXPECT_FALSE(recordForPlayer(player, 5, 1000));

    // Playing: the position read 2 s ago is 2 s further now.
    player.status = PlayerState::Status::Playing;
    auto playing = recordForPlayer(player, 5, 1002);
    ASSERT_TRUE(playing);
    EXPECT_DOUBLE_EQ(playing->elapsedTime, 32);
    EXPECT_DOUBLE_EQ(playing->timestamp, 5);
    EXPECT_DOUBLE_EQ(playing->playbackRate, 1);
    EXPECT_DOUBLE_EQ(playing->duration, 200);

    // Paused: it stays, and the rate is 0 whatever the player's rate.
    player.status = PlayerState::Status::Paused;
    auto paused = recordForPlayer(player, 5, 1002);
    EXPECT_DOUBLE_EQ(paused->elapsedTime, 30);
    EXPECT_DOUBLE_EQ(paused->playbackRate, 0);

    // Cover bytes go on by reference with their type.
    player.art = platform::SharedBytes(std::vector<std::uint8_t> { 0xFF, 0xD8, 0xFF, 0xE0 });
    auto withArt = recordForPlayer(player, 5, 1002);
    EXPECT_EQ(withArt->artworkData->storage(), player.art->storage());
    EXPECT_EQ(withArt->artworkMIMEType, "image/jpeg");
}

TEST(Music_Record, OnlyRealChangesAreAnnounced)
{
    PlayerState player;
    player.title = "Daybreak";
    player.length = 200;
    player.status = PlayerState::Status::Playing;
    player.position = 30;
    player.positionReadAt = 1000;
    auto first = recordForPlayer(player, 10, 1000);

    // Read again 1 s later at 31 s: the same playback, not a change.
    player.position = 31.05;
    player.positionReadAt = 1001;
    EXPECT_FALSE(recordChanged(first, recordForPlayer(player, 11, 1001), 11));
    // A seek is.
    player.position = 46;
    EXPECT_TRUE(recordChanged(first, recordForPlayer(player, 11, 1001), 11));
    player.position = 31;
    player.title = "Night Drive";
    EXPECT_TRUE(recordChanged(first, recordForPlayer(player, 11, 1001), 11));
    EXPECT_TRUE(recordChanged(first, std::nullopt, 11));
    EXPECT_FALSE(recordChanged(std::nullopt, std::nullopt, 11));
}

TEST(Music_Timeline, SaysWhatTheBridgeSaid)
{
    auto words = describeTimelineEntry({ { "type", "music" }, { "text", "following the player org.mpris.MediaPlayer2.mpv" } });
    EXPECT_EQ(words, "Desktop player: following the player org.mpris.MediaPlayer2.mpv");
}
