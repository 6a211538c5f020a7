#pragma once
// What a painter of one view's content is handed: the context, set to the view's own
// coordinates (points, its bounds), and what it needs to reach past them (the layers, for
// a blur of what lies behind; the clock, for a scrolling marquee).

#include "LayerStack.h"

#include "CoreGraphics/CGGeometry.h"

#include <cairo.h>

namespace sim::render {

struct PaintContext {
    cairo_t* context;
    LayerStack& layers;
    // The view's coordinates to canvas pixels.
    cairo_matrix_t toCanvas;
    CGFloat pixelsPerPoint;
    // The run loop's time (absolute seconds), the instant the picture shows.
    double now;
};

} // namespace sim::render
