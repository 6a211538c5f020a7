// The demo's timeline: which entries get a line, and the words they get.

#include "sim/lumetrix-sim/demo/Timeline.h"

#include <gtest/gtest.h>

using nlohmann::json;

TEST(Sim_DemoTimeline, EventsInWords)
{
    struct Case {
        const char* entry;
        const char* words; // null: no line
    };
    const Case cases[] = {
        { R"({"type": "boot"})", "SpringBoard starts with the tweak loaded; the phone is locked" },
        { R"({"type": "respring"})", "SpringBoard restarts (respring)" },
        { R"({"type": "openURL", "url": "prefs:root=Lumetrix"})", "Settings opens prefs:root=Lumetrix" },
        { R"({"type": "nowplaying", "playing": true, "title": "Daybreak", "artist": "The Lumen Trio", "elapsed": 75.9, "duration": 214})",
            "Music: playing \"Daybreak\" by The Lumen Trio at 1:15 of 3:34" },
        { R"({"type": "nowplaying", "playing": false, "title": null, "artist": null, "elapsed": 0, "duration": 0})", "Music: nothing playing" },
        { R"({"type": "nowplaying", "playing": false, "title": null, "artist": "Vela", "elapsed": 0, "duration": 60})",
            "Music: paused on (untitled) by Vela at 0:00 of 1:00" },
        { R"({"type": "command", "command": 4, "options": {}})", "Tweak sends \"next track\" to the music app" },
        { R"({"type": "command", "command": 17, "options": {"kMRMediaRemoteOptionSkipInterval": 15}})",
            "Tweak sends \"skip forward\" to the music app (15 s)" },
        { R"({"type": "command", "command": 99, "options": {}})", "Tweak sends \"command 99\" to the music app" },
        { R"({"type": "sound", "id": 1520})", "Click: system sound 1520" },
        { R"({"type": "log", "text": "KAKAPIPI HALLL "})", "NSLog: KAKAPIPI HALLL " },
        { R"({"type": "notification", "name": "updateColourSB", "object": "SBMediaController", "userInfo": {"bgcolor1": {"rgba": [1, 0.5, 0, 1]}}})",
            "Artwork colour goes out to the lock-screen player: #FF8000 (alpha 1)" },
        { R"({"type": "notification", "name": "UpdateHomeSB", "object": null, "userInfo": {"bgcolor1": {"rgba": [1, 1, 1, 1], "name": "whiteColor"}}})",
            "Artwork colour goes out to the home-bar strip: whiteColor #FFFFFF (alpha 1)" },
        { R"({"type": "notification", "name": "hidemediaplayer", "object": "SBHomeGrabberView", "userInfo": {}})",
            "The home grabber goes idle: in-app players hide" },
        { R"({"type": "notification", "name": "kMRMediaRemoteNowPlayingInfoDidChangeNotification", "object": null, "userInfo": {}})", nullptr },
        { R"({"type": "step", "line": 3, "text": "tap lockscreen 50"})", "> tap lockscreen 50" },
        { R"({"type": "step", "line": 4, "text": "wait 20"})", nullptr },
        { R"({"type": "step", "line": 5, "text": "expect-events type=sound == 1"})", "> expect-events type=sound == 1" },
        { R"({"type": "step", "line": 5, "text": "mark"})", nullptr },
        { R"({"type": "step", "line": 5, "text": "snapshot 01.png crop lockscreen"})", nullptr },
        { R"({"type": "step", "line": 6, "text": "settings snapshot 11.png \"In Settings\""})", nullptr },
        { R"({"type": "step", "line": 6, "text": "dump players x.json"})", nullptr },
    };
    for (auto& test : cases) {
        SCOPED_TRACE(test.entry);
        auto words = sim::describeTimelineEntry(json::parse(test.entry));
        if (!test.words) {
            EXPECT_FALSE(words) << *words;
            continue;
        }
        ASSERT_TRUE(words);
        EXPECT_EQ(*words, test.words);
    }
}

TEST(Sim_DemoTimeline, OneLinePerNotableEntryWithItsTime)
{
    const char* paused = R"({"t": 0, "type": "nowplaying", "playing": false, "title": "A", "artist": "B", "elapsed": 0, "duration": 60})";
    std::vector<json> transcript = {
        json::parse(R"({"t": 0, "type": "boot"})"),
        json::parse(paused),
        json::parse(paused),
        json::parse(R"({"t": 3.5, "type": "step", "text": "wait 1"})"),
        json::parse(R"({"t": 12.25, "type": "sound", "id": 1520})"),
        json::parse(R"({"t": 13, "type": "nowplaying", "playing": true, "title": "A", "artist": "B", "elapsed": 0, "duration": 60})"),
    };
    auto lines = sim::timelineLines(transcript);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "     0.00 s  SpringBoard starts with the tweak loaded; the phone is locked");
    EXPECT_EQ(lines[1], "     0.00 s  Music: paused on \"A\" by B at 0:00 of 1:00");
    EXPECT_EQ(lines[2], "    12.25 s  Click: system sound 1520");
    EXPECT_EQ(lines[3], "    13.00 s  Music: playing \"A\" by B at 0:00 of 1:00");
}
