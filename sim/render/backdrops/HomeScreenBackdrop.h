#pragma once
// What the home screen shows when no app is in front and the phone is unlocked: the
// wallpaper with a grid of app icons and the dock, drawn as plain rounded tiles.

#include "CoreGraphics/CGGeometry.h"
#include "UIKit/UIGeometry.h"

#include <cairo.h>

namespace sim::render {

void drawHomeScreenBackdrop(cairo_t*, CGRect bounds, UIEdgeInsets safeArea, bool dark);

} // namespace sim::render
