#pragma once
// The progress strip both players show (the lock screen's home bar and each app's): how it
// is made, placed and sized, and how it follows the playhead.

#include "PlayerGeometry.h"

#include "CoreGraphics/CGGeometry.h"
#include "objc/RefPtr.h"
#include "objc/objc.h"

class NSDictionary;
class UIColor;
class UILayoutGuide;
class UIProgressView;
class UIView;

namespace lumetrix {

// A new strip, empty: bar style, corners of 2.5 points that clip it, laid out by
// constraints, white progress on `track`.
objc::RefPtr<UIProgressView> makeProgressStrip(UIColor* track);

// Adds `strip` to `superview`, centred on `guide` and `offset` points below its middle,
// `barwidth` wide and 5 points tall, and fills it until its first refresh.
void placeProgressStrip(UIProgressView* strip, UIView* superview, UILayoutGuide* guide, CGFloat offset);

// The strips' width in points: `barwidth` read through floatValue when that is a finite
// width greater than 0 and no wider than the screen; anything else (NaN, infinity, a
// number beyond a float, a negative width) gives the default, with one log line.
CGFloat stripWidth();

// updateProgress: asks for the now-playing record and shows it on the strip in `host`'s
// `progressView`, if the host is still there when the reply comes.
void refreshProgressStrip(id host);

// A refresh from the now-playing record: the played fraction, playing or paused (a paused
// record's elapsed time is its position). No record, or one without a sampling time,
// leaves the strip as it is.
void showPlayedFraction(UIProgressView* strip, NSDictionary* info);

} // namespace lumetrix
