#pragma once
// Which part of the screen a new frame has to draw again, worked out from the `dump
// screen` trees of the last frame and this one. A view whose own fields changed (its
// presentation alpha in a fade, its text, its frame), one that came or went, and a
// title that scrolls, all with everything inside them; then, since a blurred material
// and the home bar's pill read the pixels under their whole frame, such a view that the
// area touches joins it whole. Drawing only that area gives the very pixels a whole
// picture has there.

#include <nlohmann/json.hpp>

namespace sim {

struct ScreenArea {
    double x = 0, y = 0, width = 0, height = 0;

    bool isEmpty() const { return width <= 0 || height <= 0; }
    ScreenArea united(const ScreenArea&) const;
    bool intersects(const ScreenArea&) const;
    ScreenArea inflated(double by) const;
};

// The damage in screen points (empty: nothing drawn differs). `titlesScroll`: the time
// moved while a title scrolls, so every running marquee is drawn again.
ScreenArea screenDamage(const nlohmann::json& before, const nlohmann::json& after, bool titlesScroll);

// The pixels (of a whole frame at `pixelsPerPoint`, `frameWidth` x `frameHeight`) that
// cover `area`, widened to whole 16-pixel blocks, so that a JPEG of them has the very
// blocks a JPEG of the whole frame has there. Returned as {x, y, width, height} in pixels.
struct PixelArea {
    int x = 0, y = 0, width = 0, height = 0;
};
PixelArea blockAlignedPixels(const ScreenArea& area, double pixelsPerPoint, int frameWidth, int frameHeight);

} // namespace sim
