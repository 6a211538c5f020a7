#pragma once
// The players' geometry in points, named once. Numbers only, with no platform or tweak
// types: the Settings pane's still preview (which never links the tweak) and the simulator
// include it as well.

namespace lumetrix {

// The invisible view that takes a player's taps and swipes.
inline constexpr double kTouchTargetWidth = 100.0;
inline constexpr double kTouchTargetHeight = 40.0;

// Tap zones across the touch target, as x in its coordinates: previous below 30,
// play/pause between 35 and 70, next above 75. A tap in the bands between does nothing.
inline constexpr double kPreviousZoneEnd = 30.0;
inline constexpr double kCentreZoneStart = 35.0;
inline constexpr double kCentreZoneEnd = 70.0;
inline constexpr double kNextZoneStart = 75.0;

// The control row and its glyphs: previous, play/pause and next, 30 points apart, each a
// 5-point frame the 13-point symbol overflows.
inline constexpr double kControlRowWidth = 100.0;
inline constexpr double kControlRowHeight = 20.0;
inline constexpr double kControlCornerRadius = 7.0;
inline constexpr double kGlyphSpacing = 30.0;
inline constexpr double kGlyphFrame = 5.0;
inline constexpr double kGlyphPointSize = 13.0;

// The title label and its backdrop, the backdrop's top 15 points above the row's.
inline constexpr double kTitleWidth = 80.0;
inline constexpr double kTitleHeight = 13.0;
inline constexpr double kTitleAboveRow = -15.0;
inline constexpr double kTitleFontSize = 9.0;

// The progress strip: `barwidth` wide (this by default), shown full until its first refresh.
inline constexpr double kStripCornerRadius = 2.5;
inline constexpr double kStripHeight = 5.0;
inline constexpr double kDefaultStripWidth = 140.0;
inline constexpr float kStripFull = 100.0f;

} // namespace lumetrix
