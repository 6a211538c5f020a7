#include "NowPlayingTrack.h"

#include "Base64.h"
#include "OptionalJSONFields.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cmath>

namespace platform {

std::optional<std::string> imageMIMEType(const std::vector<std::uint8_t>& bytes)
{
    auto startsWith = [&bytes](auto signature) {
        return bytes.size() >= signature.size() && std::equal(signature.begin(), signature.end(), bytes.begin());
    };
    if (startsWith(std::array<std::uint8_t, 8> { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n' }))
        return "image/png";
    // Start of image, then the first marker's lead byte.
    if (startsWith(std::array<std::uint8_t, 3> { 0xff, 0xd8, 0xff }))
        return "image/jpeg";
    return std::nullopt;
}

std::optional<std::string> NowPlayingTrack::artworkMIMEType() const
{
    return artwork ? imageMIMEType(*artwork) : std::nullopt;
}

nlohmann::json NowPlayingTrack::toJSON() const
{
    nlohmann::json json = { { "duration", duration } };
    if (title)
        json["title"] = *title;
    if (artist)
        json["artist"] = *artist;
    if (album)
        json["album"] = *album;
    if (artwork)
        json["artwork"] = encodeBase64(*artwork);
    return json;
}

std::optional<NowPlayingTrack> NowPlayingTrack::fromJSON(const nlohmann::json& json)
{
    if (!json.is_object())
        return std::nullopt;
    NowPlayingTrack track;
    if (!readOptionalText(json, "title", track.title) || !readOptionalText(json, "artist", track.artist)
        || !readOptionalText(json, "album", track.album))
        return std::nullopt;
    auto duration = json.find("duration");
    if (duration == json.end() || !duration->is_number())
        return std::nullopt;
    track.duration = duration->get<double>();
    if (!std::isfinite(track.duration) || track.duration < 0)
        return std::nullopt;
    if (!readOptionalBytes(json, "artwork", track.artwork))
        return std::nullopt;
    return track;
}

} // namespace platform
