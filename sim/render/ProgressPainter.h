#pragma once
// A progress view's bar: the track across the view in the track tint, and the filled
// part from the leading edge to `progress` of the width in the progress tint. The
// default style rounds the ends; the bar style is square (a view's own corner rounding
// and masking still apply around it).

#include "PaintContext.h"

#include "UIKit/UIColor.h"

class UIProgressView;

namespace sim::render {

// What UIKit shows without a track tint: a faint grey (a system fill colour).
constexpr UIColorComponents kDefaultProgressTrack { 0.47, 0.47, 0.50, 0.2 };

void paintProgressBar(const PaintContext&, const UIProgressView*);

} // namespace sim::render
