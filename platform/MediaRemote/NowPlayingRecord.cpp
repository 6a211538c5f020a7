#include "NowPlayingRecord.h"

#include "Base64.h"
#include "OptionalJSONFields.h"

#include <nlohmann/json.hpp>

#include <algorithm>

namespace platform {

double playbackPosition(double elapsed, double timestamp, double rate, double duration, double now)
{
    double position = std::max(0.0, elapsed + (now - timestamp) * rate);
    return duration > 0 ? std::min(position, duration) : position;
}

double NowPlayingRecord::positionAt(double now) const
{
    return playbackPosition(elapsedTime, timestamp, playbackRate, duration, now);
}

nlohmann::json NowPlayingRecord::toJSON() const
{
    nlohmann::json json = {
        { "duration", duration },
        { "elapsedTime", elapsedTime },
        { "playbackRate", playbackRate },
        { "timestamp", timestamp },
    };
    if (title)
        json["title"] = *title;
    if (artist)
        json["artist"] = *artist;
    if (album)
        json["album"] = *album;
    if (artworkData)
        json["artworkData"] = encodeBase64(*artworkData);
    if (artworkMIMEType)
        json["artworkMIMEType"] = *artworkMIMEType;
    return json;
}

std::optional<NowPlayingRecord> NowPlayingRecord::fromJSON(const nlohmann::json& json)
{
    if (!json.is_object())
        return std::nullopt;
    NowPlayingRecord record;
    auto readNumber = [&json](const char* key, double& field) {
        auto it = json.find(key);
        if (it == json.end() || !it->is_number())
            return false;
        field = it->get<double>();
        return true;
    };
    if (!readNumber("duration", record.duration) || !readNumber("elapsedTime", record.elapsedTime)
        || !readNumber("playbackRate", record.playbackRate) || !readNumber("timestamp", record.timestamp))
        return std::nullopt;
    if (!readOptionalText(json, "title", record.title) || !readOptionalText(json, "artist", record.artist)
        || !readOptionalText(json, "album", record.album) || !readOptionalText(json, "artworkMIMEType", record.artworkMIMEType)
        || !readOptionalBytes(json, "artworkData", record.artworkData))
        return std::nullopt;
    return record;
}

} // namespace platform
