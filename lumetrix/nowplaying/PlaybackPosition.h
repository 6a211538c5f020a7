#pragma once
// How far the current track has played, from a now-playing record.

#include <optional>

class NSDictionary;

namespace lumetrix {

// (elapsed + time since the sample) / duration, where an elapsed time of one second or
// less counts as none and a duration of 0 (or none) gives 0. Not clamped: the strip pins
// it. Empty when the record has no sampling time, which leaves nothing to measure from.
std::optional<double> playedFraction(NSDictionary* info);

} // namespace lumetrix
