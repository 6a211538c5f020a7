#pragma once
// The home indicator (MTLumaDodgePillView): a pill that stays visible over anything by
// taking the opposite of the brightness behind it, dark over light content and light
// over dark, unless its home bar gives it an override colour.

#include "PaintContext.h"

class UIColor;
class UIView;

namespace sim::render {

void paintLumaDodgePill(const PaintContext&, const UIView* pill, const UIColor* overrideColor);

// Average Rec. 709 luminance, 0...1, of what has been drawn under `bounds` (view
// coordinates); 0 over nothing.
double backdropLuminance(const PaintContext&, CGRect bounds);

} // namespace sim::render
