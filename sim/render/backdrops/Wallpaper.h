#pragma once
// The project's own wallpaper, drawn by code: a deep evening gradient with soft glows of
// colour, varied enough that a blur over it visibly softens something, dark at the top
// for the clock's white text and warm towards the bottom, where the players sit. The dark
// appearance dims it, as iOS dims the wallpaper in dark mode.

#include "CoreGraphics/CGGeometry.h"

#include <cairo.h>

namespace sim::render {

void drawWallpaper(cairo_t*, CGRect bounds, bool dark);

} // namespace sim::render
