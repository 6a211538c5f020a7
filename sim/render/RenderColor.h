#pragma once
// Colours and shapes as views describe them, in cairo's terms.

#include "UIKit/UIColor.h"

#include <cairo.h>

class UIView;

namespace sim::render {

// Components for the current appearance (labelColor resolves here).
UIColorComponents resolvedComponents(const UIColor*);
// The text colour UIKit uses when a view sets none: labelColor, for the current appearance.
UIColorComponents defaultTextComponents();
// True when the colour would leave no mark: nil or fully transparent.
bool isInvisible(const UIColor*);
void setSourceColor(cairo_t*, const UIColorComponents&);
void setSourceColor(cairo_t*, const UIColor*);

// The tint a view draws with: its own, else its nearest ancestor's, else the system blue,
// as tintColor is inherited in UIKit.
UIColorComponents effectiveTint(const UIView*);
// UIKit's default tint (systemBlue, 0 122 255).
constexpr UIColorComponents kSystemBlue { 0, 122.0 / 255, 1, 1 };

// A rectangle with corners rounded by `radius` (limited to half the shorter side, as Core
// Animation limits it), added to the current path.
void addRoundedRect(cairo_t*, CGRect, CGFloat radius);

} // namespace sim::render
