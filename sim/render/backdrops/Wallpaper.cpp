#include "Wallpaper.h"

namespace sim::render {

namespace {

struct Glow {
    // Centre and radius as fractions of the width and height.
    double x, y, radius;
    double red, green, blue, alpha;
};

// Fixed, so every picture of the same screen is the same.
constexpr Glow kGlows[] = {
    { 0.15, 0.22, 0.55, 0.36, 0.22, 0.78, 0.75 },
    { 0.92, 0.40, 0.50, 0.05, 0.55, 0.75, 0.55 },
    { 0.30, 0.70, 0.60, 0.90, 0.30, 0.45, 0.60 },
    { 0.85, 0.88, 0.45, 1.00, 0.62, 0.25, 0.70 },
    { 0.10, 0.97, 0.35, 0.95, 0.45, 0.20, 0.55 },
};

} // namespace

void drawWallpaper(cairo_t* cr, CGRect bounds, bool dark)
{
    double x = bounds.origin.x, y = bounds.origin.y, width = bounds.size.width, height = bounds.size.height;
    cairo_save(cr);
    cairo_rectangle(cr, x, y, width, height);
    cairo_clip(cr);

    cairo_pattern_t* sky = cairo_pattern_create_linear(x, y, x, y + height);
    cairo_pattern_add_color_stop_rgb(sky, 0.0, 0.06, 0.07, 0.22);
    cairo_pattern_add_color_stop_rgb(sky, 0.45, 0.20, 0.12, 0.40);
    cairo_pattern_add_color_stop_rgb(sky, 0.80, 0.62, 0.26, 0.42);
    cairo_pattern_add_color_stop_rgb(sky, 1.0, 0.90, 0.52, 0.36);
    cairo_set_source(cr, sky);
    cairo_paint(cr);
    cairo_pattern_destroy(sky);

    double extent = std::max(width, height);
    for (const Glow& glow : kGlows) {
        double cx = x + glow.x * width, cy = y + glow.y * height;
        cairo_pattern_t* light = cairo_pattern_create_radial(cx, cy, 0, cx, cy, glow.radius * extent * 0.6);
        cairo_pattern_add_color_stop_rgba(light, 0, glow.red, glow.green, glow.blue, glow.alpha);
        cairo_pattern_add_color_stop_rgba(light, 1, glow.red, glow.green, glow.blue, 0);
        cairo_set_source(cr, light);
        cairo_paint(cr);
        cairo_pattern_destroy(light);
    }

    // A few hills along the bottom, so edges cross the strip and the rows.
    cairo_set_source_rgba(cr, 0.18, 0.08, 0.22, 0.55);
    cairo_move_to(cr, x, y + height * 0.86);
    cairo_curve_to(cr, x + width * 0.30, y + height * 0.80, x + width * 0.55, y + height * 0.93, x + width, y + height * 0.84);
    cairo_line_to(cr, x + width, y + height);
    cairo_line_to(cr, x, y + height);
    cairo_close_path(cr);
    cairo_fill(cr);

    if (dark) {
        cairo_set_source_rgba(cr, 0, 0, 0, 0.35);
        cairo_paint(cr);
    }
    cairo_restore(cr);
}

} // namespace sim::render
