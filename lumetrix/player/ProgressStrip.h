#pragma once
// What the two progress strips (the lock screen's home bar and each app's) share: how wide
// they are and how they follow the playhead.

#include "CoreGraphics/CGGeometry.h"

class NSDictionary;
class UIProgressView;

namespace lumetrix {

// The strips' width in points: `barwidth` read through floatValue when that is a finite
// width greater than 0 and no wider than the screen; anything else (NaN, infinity, a
// number beyond a float, a negative width) gives the default, with one log line.
CGFloat stripWidth();
inline constexpr CGFloat kDefaultStripWidth = 140.0;

// A refresh from the now-playing record: the played fraction, playing or paused (a paused
// record's elapsed time is its position). No record, or one without a sampling time,
// leaves the strip as it is.
void showPlayedFraction(UIProgressView* strip, NSDictionary* info);

} // namespace lumetrix
