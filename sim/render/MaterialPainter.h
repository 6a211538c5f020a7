#pragma once
// Blur materials: SpringBoard's MTMaterialView and UIKit's UIVisualEffectView. Both show
// what lies behind them, blurred, under a tint. Which blur and tint each recipe or blur
// style stands for is private to the system; the values below are chosen to look like
// them (a light frosted platter in light appearance, a smoky one in dark).

#include "PaintContext.h"

#include "UIKit/UIBlurEffect.h"
#include "UIKit/UIColor.h"

namespace sim::render {

struct MaterialLook {
    // The blur's standard deviation, in points.
    CGFloat blurRadius = 0;
    UIColorComponents tint;
};

// An MTMaterialView's look. `weighting` is how strongly the material shows, pinned to
// 0...1 (what the weighting means on iOS is not documented; callers pass up to 5).
MaterialLook materialLookForRecipe(long recipe, CGFloat weighting, UIUserInterfaceStyle);
// A UIVisualEffectView's look for its blur style.
MaterialLook materialLookForBlurStyle(UIBlurEffectStyle, UIUserInterfaceStyle);

// Blurs what has been drawn behind `bounds` (view coordinates) and lays the tint over it,
// inside the rounded rectangle and the clip in force.
void paintMaterial(const PaintContext&, CGRect bounds, CGFloat cornerRadius, const MaterialLook&);

} // namespace sim::render
