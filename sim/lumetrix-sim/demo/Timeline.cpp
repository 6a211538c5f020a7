#include "Timeline.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

using nlohmann::json;

namespace sim {

namespace {

std::string clock(double seconds)
{
    if (!std::isfinite(seconds) || seconds < 0)
        seconds = 0;
    long whole = std::lround(std::floor(seconds));
    char text[32];
    std::snprintf(text, sizeof(text), "%ld:%02ld", whole / 60, whole % 60);
    return text;
}

std::string colour(const json& value)
{
    if (!value.is_object() || !value.contains("rgba") || !value["rgba"].is_array() || value["rgba"].size() != 4)
        return value.dump();
    auto channel = [&](int i) { return static_cast<int>(std::lround(std::clamp(value["rgba"][i].get<double>(), 0.0, 1.0) * 255)); };
    char text[48];
    std::snprintf(text, sizeof(text), "#%02X%02X%02X (alpha %.2g)", channel(0), channel(1), channel(2), value["rgba"][3].get<double>());
    std::string described = text;
    if (value.contains("name"))
        described = value["name"].get<std::string>() + " " + described;
    return described;
}

std::string quotedOr(const json& value, const char* missing)
{
    return value.is_string() ? "\"" + value.get<std::string>() + "\"" : missing;
}

std::string commandName(int command)
{
    static const std::map<int, std::string> names = {
        { 0, "play" },
        { 1, "pause" },
        { 2, "play/pause" },
        { 3, "stop" },
        { 4, "next track" },
        { 5, "previous track" },
        { 12, "rewind 15 s" },
        { 13, "fast-forward 15 s" },
        { 17, "skip forward" },
        { 18, "skip backward" },
        { 24, "seek" },
    };
    auto name = names.find(command);
    return name == names.end() ? "command " + std::to_string(command) : name->second;
}

// Scenario steps that neither change nor check anything (pictures included) are left out.
bool isQuietStep(const std::string& text)
{
    for (const char* quiet : { "wait", "dump", "mark", "snapshot", "settings snapshot" }) {
        std::string word = quiet;
        if (text == word || text.rfind(word + " ", 0) == 0)
            return true;
    }
    return false;
}

} // namespace

std::optional<std::string> describeTimelineEntry(const json& entry)
{
    std::string type = entry.value("type", "");
    if (type == "step") {
        std::string text = entry.value("text", "");
        if (isQuietStep(text))
            return std::nullopt;
        return "> " + text;
    }
    if (type == "boot")
        return "SpringBoard starts with the tweak loaded; the phone is locked";
    if (type == "respring")
        return "SpringBoard restarts (respring)";
    if (type == "openURL")
        return "Settings opens " + entry.value("url", std::string("?"));
    if (type == "nowplaying") {
        if (entry["title"].is_null() && entry["artist"].is_null() && entry.value("duration", 0.0) == 0)
            return "Music: nothing playing";
        return std::string("Music: ") + (entry.value("playing", false) ? "playing " : "paused on ") + quotedOr(entry["title"], "(untitled)")
            + " by " + (entry["artist"].is_string() ? entry["artist"].get<std::string>() : "(unknown artist)") + " at "
            + clock(entry.value("elapsed", 0.0)) + " of " + clock(entry.value("duration", 0.0));
    }
    if (type == "command") {
        std::string text = "Tweak sends \"" + commandName(entry.value("command", -1)) + "\" to the music app";
        auto& options = entry["options"];
        if (options.is_object() && options.contains("kMRMediaRemoteOptionSkipInterval")) {
            auto& interval = options["kMRMediaRemoteOptionSkipInterval"];
            char seconds[32];
            std::snprintf(seconds, sizeof(seconds), "%g", interval.is_number() ? interval.get<double>() : 0.0);
            text += " (" + (interval.is_number() ? std::string(seconds) : interval.dump()) + " s)";
        }
        return text;
    }
    if (type == "sound")
        return "Click: system sound " + entry["id"].dump();
    if (type == "log")
        return "NSLog: " + entry.value("text", std::string());
    if (type == "music")
        return "Desktop player: " + entry.value("text", std::string());
    if (type == "notification") {
        std::string name = entry.value("name", std::string());
        auto& info = entry["userInfo"];
        if (name == "kMRMediaRemoteNowPlayingInfoDidChangeNotification" || name == "kMRMediaRemoteNowPlayingApplicationIsPlayingDidChangeNotification")
            return std::nullopt;
        if (name == "updateColourSB" && info.is_object() && info.contains("bgcolor1"))
            return "Artwork colour goes out to the lock-screen player: " + colour(info["bgcolor1"]);
        if (name == "UpdateHomeSB" && info.is_object() && info.contains("bgcolor1"))
            return "Artwork colour goes out to the home-bar strip: " + colour(info["bgcolor1"]);
        if (name == "hidemediaplayer")
            return "The home grabber goes idle: in-app players hide";
        if (name == "showmediaplayer")
            return "Attention is back: in-app players show";
        return "Notification " + name;
    }
    return type.empty() ? std::nullopt : std::optional<std::string>("Event " + entry.dump());
}

std::vector<std::string> timelineLines(const std::vector<json>& transcript)
{
    std::vector<std::string> lines;
    std::string lastNowPlaying;
    for (auto& entry : transcript) {
        auto words = describeTimelineEntry(entry);
        if (!words)
            continue;
        // Appending to the queue reports the same current track again: once is enough.
        if (entry.value("type", "") == "nowplaying") {
            if (*words == lastNowPlaying)
                continue;
            lastNowPlaying = *words;
        }
        char time[32];
        std::snprintf(time, sizeof(time), "%9.2f s  ", entry.value("t", 0.0));
        lines.push_back(time + *words);
    }
    return lines;
}

} // namespace sim
