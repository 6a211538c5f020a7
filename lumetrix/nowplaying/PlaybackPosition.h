#pragma once
// How far the current track has played, from a now-playing record.

#include <optional>

class NSDictionary;

namespace lumetrix {

// Whether the playhead has moved on since the record's sample: it has while the track
// plays; a paused record's elapsed time is where the playhead stands.
enum class Playhead {
    Moving,
    Still
};

// (elapsed + time since the sample, while moving) / duration, where an elapsed time of
// one second or less counts as none and a duration of 0 (or none) gives 0. Not clamped:
// the strip pins it. Empty when the record has no sampling time, which leaves nothing to
// measure from.
std::optional<double> playedFraction(NSDictionary* info, Playhead);

} // namespace lumetrix
