#pragma once
// How text in the system font is set with pango: one setup for UIKit's measuring
// (NSStringDrawing.h) and the simulator's renderer, so that both lay out the same glyphs.

#include "NSStringDrawing.h"

#include <pango/pangocairo.h>

namespace platform {

// Gives `layout` the system font of `pointSize` (in the layout's user units) and `weight`,
// unhinted metrics and outlines. (Defined in libplatformtext.so, which shows only this and
// the measuring entry.)
__attribute__((visibility("default"))) void configureSystemFontLayout(PangoLayout*, CGFloat pointSize, UIFontWeight);

} // namespace platform
