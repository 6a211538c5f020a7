#pragma once
// The control row's behaviour, the same on both players: a tap while the row is hidden
// calls it up and arms the fade-out; a tap on a visible row acts by zone; swipes skip;
// the fade-out hides the row again. Each player's added methods call these with their
// own host and its own reference view for the tap's position.

#include "objc/objc.h"

class NSDictionary;
class NSTimer;
class UIView;

namespace lumetrix {

// playpausenotif: 0.1 s later, the centre glyph shows pause while playing, play otherwise.
void refreshPlayPauseGlyphSoon(id host);

// The title label follows the record: "title - artist", only when both are present.
void showTitle(id host, NSDictionary* info);

// tapGesture: with the x of the touch in the 100-point-wide target's coordinates.
void handleTap(id host, double x);

// swipeleft: / swiperight:
enum class SkipDirection {
    Back,
    Forward
};
void handleSwipe(SkipDirection);

// dismissControls: the row fades out over 0.4 s and is hidden; the timer that fired is
// invalidated at the end of the fade (lock screen) or right after it starts (apps).
enum class InvalidateTimer {
    WhenHidden,
    AtOnce
};
void dismissControls(id host, NSTimer* timer, InvalidateTimer);

// The control row's fade, in seconds: the single-precision 0.4, widened.
inline constexpr double kRowFadeDuration = static_cast<double>(0.4f);

} // namespace lumetrix
