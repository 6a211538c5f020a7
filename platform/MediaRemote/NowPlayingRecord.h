#pragma once
// The now-playing record: what the application reports at its last change, as the
// service hands it to SpringBoard. The position is not reported continuously; readers
// work it out from the elapsed time, when it was sampled and the rate.

#include "Foundation/SharedBytes.h"

#include <nlohmann/json_fwd.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

struct NowPlayingRecord {
    std::optional<std::string> title;
    std::optional<std::string> artist;
    std::optional<std::string> album;
    double duration = 0;
    double elapsedTime = 0;
    // 1 while playing, 0 while paused.
    double playbackRate = 0;
    // When elapsedTime was sampled (CFAbsoluteTime).
    double timestamp = 0;
    // The track's own bytes, shared, not a copy.
    std::optional<SharedBytes> artworkData;
    std::optional<std::string> artworkMIMEType;

    double positionAt(double now) const;

    // For carrying a record between processes; artwork is base64.
    nlohmann::json toJSON() const;
    static std::optional<NowPlayingRecord> fromJSON(const nlohmann::json&);

    bool operator==(const NowPlayingRecord&) const = default;
};

// elapsed + (now − timestamp) × rate, kept within 0..duration (no upper bound when the
// duration is 0, i.e. unknown).
double playbackPosition(double elapsed, double timestamp, double rate, double duration, double now);

} // namespace platform
