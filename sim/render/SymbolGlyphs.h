#pragma once
// Vector drawings of the system symbols the players show. SF Symbols are Apple's and are
// not on Debian, so each is drawn here from its well-known shape, scaled to the symbol's
// point size: filled shapes with softly rounded corners, as the ".fill" variants look.

#include "CoreGraphics/CGGeometry.h"

#include <cairo.h>

#include <string>
#include <vector>

namespace sim::render {

// Draws the symbol centred in `box` (the image's rectangle: the point size, square) with
// the context's source. An unknown name draws a placeholder (a rounded square outline)
// and returns false.
bool drawSymbol(cairo_t*, const std::string& name, CGRect box);

// Whether drawSymbol knows the name.
bool isKnownSymbol(const std::string& name);
// Every name drawSymbol knows: the platform's symbol catalogue (UISymbolCatalogue.h) lists
// exactly these.
std::vector<std::string> knownSymbolNames();

} // namespace sim::render
