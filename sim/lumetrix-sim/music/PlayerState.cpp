#include "PlayerState.h"

#include <algorithm>
#include <cmath>

namespace sim {

namespace {

// Cuts at a UTF-8 character boundary, so the label never shows half a character.
std::string capText(std::string text, const std::string& what, std::vector<std::string>& problems)
{
    if (text.size() <= kMaximumTextBytes)
        return text;
    std::size_t cut = kMaximumTextBytes;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    problems.push_back(what + " of " + std::to_string(text.size()) + " bytes cut to " + std::to_string(cut));
    text.resize(cut);
    return text;
}

std::optional<std::string> readText(const sdbus::Variant& value, const std::string& what, std::vector<std::string>& problems)
{
    if (value.peekValueType() != "s") {
        problems.push_back(what + " is not a string (type " + value.peekValueType() + "): ignored");
        return std::nullopt;
    }
    return capText(value.get<std::string>(), what, problems);
}

// xesam:artist is a list; a lone string is accepted too, as some players send one.
std::optional<std::string> readArtist(const sdbus::Variant& value, std::vector<std::string>& problems)
{
    std::string type = value.peekValueType();
    if (type == "s")
        return capText(value.get<std::string>(), "xesam:artist", problems);
    if (type != "as") {
        problems.push_back("xesam:artist is not a list of strings (type " + type + "): ignored");
        return std::nullopt;
    }
    std::string joined;
    for (auto& name : value.get<std::vector<std::string>>()) {
        if (!joined.empty())
            joined += ", ";
        joined += name;
        if (joined.size() > kMaximumTextBytes)
            break;
    }
    return capText(std::move(joined), "xesam:artist", problems);
}

std::optional<bool> readFlag(const sdbus::Variant& value, const std::string& what, std::vector<std::string>& problems)
{
    if (value.peekValueType() != "b") {
        problems.push_back(what + " is not a boolean (type " + value.peekValueType() + "): ignored");
        return std::nullopt;
    }
    return value.get<bool>();
}

void applyMetadata(PlayerState& state, const sdbus::Variant& value, std::vector<std::string>& problems)
{
    if (value.peekValueType() != "a{sv}") {
        problems.push_back("Metadata is not a dictionary (type " + value.peekValueType() + "): ignored");
        return;
    }
    auto metadata = value.get<PropertyMap>();
    // Metadata always comes whole: keys it leaves out are gone.
    state.title.reset();
    state.artist.reset();
    state.artUrl.reset();
    state.length = 0;
    if (auto it = metadata.find("xesam:title"); it != metadata.end())
        state.title = readText(it->second, "xesam:title", problems);
    if (auto it = metadata.find("xesam:artist"); it != metadata.end())
        state.artist = readArtist(it->second, problems);
    if (auto it = metadata.find("mpris:artUrl"); it != metadata.end())
        state.artUrl = readText(it->second, "mpris:artUrl", problems);
    if (auto it = metadata.find("mpris:length"); it != metadata.end()) {
        auto length = microsecondsToSeconds(it->second);
        if (length && *length >= 0)
            state.length = *length;
        else
            problems.push_back("mpris:length is not a count of microseconds (type " + it->second.peekValueType() + "): ignored");
    }
}

} // namespace

std::optional<double> microsecondsToSeconds(const sdbus::Variant& value)
{
    std::string type = value.peekValueType();
    double microseconds;
    if (type == "x")
        microseconds = static_cast<double>(value.get<std::int64_t>());
    else if (type == "t")
        microseconds = static_cast<double>(value.get<std::uint64_t>());
    else if (type == "i")
        microseconds = value.get<std::int32_t>();
    else if (type == "u")
        microseconds = value.get<std::uint32_t>();
    else
        return std::nullopt;
    return microseconds / 1e6;
}

bool applyPlayerProperties(PlayerState& state, const PropertyMap& properties, std::vector<std::string>& problems)
{
    bool metadataChanged = false;
    for (auto& [name, value] : properties) {
        if (name == "Metadata") {
            applyMetadata(state, value, problems);
            metadataChanged = true;
        } else if (name == "PlaybackStatus") {
            auto status = readText(value, name, problems);
            if (status == "Playing")
                state.status = PlayerState::Status::Playing;
            else if (status == "Paused")
                state.status = PlayerState::Status::Paused;
            else if (status == "Stopped")
                state.status = PlayerState::Status::Stopped;
            else if (status)
                problems.push_back("PlaybackStatus '" + status->substr(0, 40) + "' is none of Playing, Paused, Stopped: ignored");
        } else if (name == "Rate") {
            if (value.peekValueType() == "d" && std::isfinite(value.get<double>()) && value.get<double>() >= 0)
                state.rate = value.get<double>();
            else
                problems.push_back("Rate is not a rate (type " + value.peekValueType() + "): ignored");
        } else if (name == "Position") {
            // A player loading the next file may say it is a little before the start.
            auto position = microsecondsToSeconds(value);
            if (position)
                state.position = std::max(0.0, *position);
            else
                problems.push_back("Position is not a count of microseconds (type " + value.peekValueType() + "): ignored");
        } else if (name == "CanPlay") {
            state.canPlay = readFlag(value, name, problems).value_or(state.canPlay);
        } else if (name == "CanPause") {
            state.canPause = readFlag(value, name, problems).value_or(state.canPause);
        } else if (name == "CanGoNext") {
            state.canGoNext = readFlag(value, name, problems).value_or(state.canGoNext);
        } else if (name == "CanGoPrevious") {
            state.canGoPrevious = readFlag(value, name, problems).value_or(state.canGoPrevious);
        } else if (name == "CanSeek") {
            state.canSeek = readFlag(value, name, problems).value_or(state.canSeek);
        }
    }
    return metadataChanged;
}

} // namespace sim
