#pragma once
// Draws view trees as they are on screen at the run loop's current instant, into a canvas.
//
// For each view, back to front: hidden views (and everything in them) are skipped; the
// presentation alpha is used (an alpha animation halfway through draws half
// transparent), and a view below full alpha is composed as a group; the view sits where
// its centre, bounds and transform put it; its backdrop (if it was given one), its
// background colour in its layer's rounded rectangle, then, clipped to that rounded
// rectangle when it masks to bounds, its own content (text, image, material) and its
// subviews. A progress view's bar goes over its subviews: in UIKit the track and fill are
// the bar's own subviews, so anything sent to the back of a progress view (a backdrop
// material) lies under them. A table's separators go over its cells likewise.

#include "Canvas.h"
#include "LayerStack.h"

#include <cairo.h>

#include <functional>
#include <unordered_map>

class UIView;

namespace sim::render {

// Drawn under a view's own background, in the view's coordinates: what stands for
// content that is not made of views here (the wallpaper under the lock screen, an app's
// page under its scene).
using Backdrop = std::function<void(cairo_t*, CGRect bounds)>;

class ViewRenderer {
public:
    // `now` is the instant drawn (absolute run-loop time): marquees are read at it, and
    // presentation values come from the run loop.
    ViewRenderer(Canvas&, double now);

    void setBackdrop(const UIView*, Backdrop);

    // Draws `root` and its subtree. The root sits where its frame puts it in screen
    // coordinates (a window's frame is the screen's).
    void drawTree(UIView* root);

    // The canvas pixels that a view and its visible subtree can touch, given the matrix
    // that maps its superview's coordinates to canvas pixels.
    static PixelRect subtreePixelBounds(const UIView*, const cairo_matrix_t& parentToCanvas);
    // The matrix from a view's own coordinates (its bounds) to the canvas, given its
    // superview's.
    static cairo_matrix_t viewToCanvas(const UIView*, const cairo_matrix_t& parentToCanvas);

private:
    void drawView(UIView*, const cairo_matrix_t& parentToCanvas);
    void drawContent(UIView*, const cairo_matrix_t& toCanvas);
    void drawOverlay(UIView*, const cairo_matrix_t& toCanvas);

    Canvas& m_canvas;
    LayerStack m_layers;
    double m_now;
    std::unordered_map<const UIView*, Backdrop> m_backdrops;
};

} // namespace sim::render
