#pragma once
// A Gaussian-like blur: three box blurs in each direction (the classic approximation,
// whose cost does not grow with the radius). Edges repeat their outermost pixels, so a
// blur next to the screen's edge does not darken towards it.

#include <cairo.h>

namespace sim::render {

// Blurs an ARGB32 image surface in place. `radius` is in pixels and is close to the
// standard deviation of the Gaussian it approximates; 0 leaves the surface alone.
void boxBlur(cairo_surface_t*, int radius);

} // namespace sim::render
