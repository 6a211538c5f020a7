#pragma once
// One item of the now-playing application's queue: what the application knows about a
// track, each text optional because a real application may leave any key out.

#include "Foundation/SharedBytes.h"

#include <nlohmann/json_fwd.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

struct NowPlayingTrack {
    std::optional<std::string> title;
    std::optional<std::string> artist;
    std::optional<std::string> album;
    // Seconds. 0 means the length is unknown (a live stream): such a track never ends by
    // itself and its position is not bounded above.
    double duration = 0;
    // Encoded image bytes, handed on untouched and by reference (records and the info
    // dictionary share them).
    std::optional<SharedBytes> artwork;

    // The artwork's type, read from its signature.
    std::optional<std::string> artworkMIMEType() const;

    // Missing texts and artwork are left out; artwork is base64.
    nlohmann::json toJSON() const;
    // Nothing when the JSON is not a track (wrong types, bad base64).
    static std::optional<NowPlayingTrack> fromJSON(const nlohmann::json&);

    bool operator==(const NowPlayingTrack&) const = default;
};

// "image/png" or "image/jpeg" from the first bytes; nothing for anything else, since a
// guess would only mislead whoever decodes it.
std::optional<std::string> imageMIMEType(const std::vector<std::uint8_t>& bytes);

} // namespace platform
