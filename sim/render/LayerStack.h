#pragma once
// The surfaces one render draws into: the canvas at the bottom and, above it, an
// offscreen layer for each view being drawn with group opacity. A view whose alpha is
// below one is drawn whole into its own layer and then composed at that alpha, as Core
// Animation does with group opacity, so a half-faded row shows the wallpaper through it
// evenly instead of its overlapping parts darkening each other.
//
// Layers cover only the pixels their view's subtree can reach, so a faded 100-point row
// costs a row's worth of pixels, not a screen's.

#include "PixelRect.h"

#include <cairo.h>

#include <vector>

namespace sim::render {

class Canvas;

class LayerStack {
public:
    explicit LayerStack(Canvas&);
    ~LayerStack();
    LayerStack(const LayerStack&) = delete;
    LayerStack& operator=(const LayerStack&) = delete;

    // The context of the top layer.
    cairo_t* context() const { return m_layers.back().context; }
    std::size_t depth() const { return m_layers.size(); }
    PixelRect canvasRect() const { return m_layers.front().rect; }

    // Sets a matrix given in canvas pixels on the top layer's context.
    void setMatrix(const cairo_matrix_t& canvasMatrix) const;
    // The top context's clip, in canvas pixels.
    PixelRect clipExtents() const;

    // Starts a transparent layer over `rect` (canvas pixels). Drawing goes there until
    // the matching pop.
    void push(PixelRect rect);
    // Composes the top layer onto the one below at `alpha`, through the clip that layer
    // has now, and drops it.
    void popWithAlpha(double alpha);

    // What has been drawn under `rect` so far, all layers composed at full strength: the
    // backdrop a blur samples. Pixels outside the canvas are transparent. The caller
    // owns the surface.
    cairo_surface_t* flatten(PixelRect rect) const;

private:
    struct Layer {
        cairo_surface_t* surface;
        cairo_t* context;
        PixelRect rect;
    };
    std::vector<Layer> m_layers;
};

} // namespace sim::render
