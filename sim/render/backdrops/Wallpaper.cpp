#include "Wallpaper.h"

#include <algorithm>
#include <cmath>
#include <vector>

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

namespace {

// The sky and its glows change slowly across the screen, so they are drawn once at one
// pixel a point and enlarged (smoothly) for each picture: radial gradients are the
// costliest thing on the screen to draw at full resolution. The cache keeps the last
// few sizes; it lives for the process, as the screen does.
struct SkyCache {
    struct Entry {
        int width;
        int height;
        bool dark;
        cairo_surface_t* surface;
    };
    std::vector<Entry> entries;
};

constexpr std::size_t kCachedSkies = 4;

void paintSky(cairo_t* cr, double width, double height, bool dark)
{
    cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, height);
    cairo_pattern_add_color_stop_rgb(sky, 0.0, 0.06, 0.07, 0.22);
    cairo_pattern_add_color_stop_rgb(sky, 0.45, 0.20, 0.12, 0.40);
    cairo_pattern_add_color_stop_rgb(sky, 0.80, 0.62, 0.26, 0.42);
    cairo_pattern_add_color_stop_rgb(sky, 1.0, 0.90, 0.52, 0.36);
    cairo_set_source(cr, sky);
    cairo_paint(cr);
    cairo_pattern_destroy(sky);

    double extent = std::max(width, height);
    for (const Glow& glow : kGlows) {
        double cx = glow.x * width, cy = glow.y * height;
        cairo_pattern_t* light = cairo_pattern_create_radial(cx, cy, 0, cx, cy, glow.radius * extent * 0.6);
        cairo_pattern_add_color_stop_rgba(light, 0, glow.red, glow.green, glow.blue, glow.alpha);
        cairo_pattern_add_color_stop_rgba(light, 1, glow.red, glow.green, glow.blue, 0);
        cairo_set_source(cr, light);
        cairo_paint(cr);
        cairo_pattern_destroy(light);
    }
    if (dark) {
        cairo_set_source_rgba(cr, 0, 0, 0, 0.35);
        cairo_paint(cr);
    }
}

cairo_surface_t* skyFor(int width, int height, bool dark)
{
    static auto* cache = new SkyCache;
    for (auto& entry : cache->entries) {
        if (entry.width == width && entry.height == height && entry.dark == dark)
            return entry.surface;
    }
    if (cache->entries.size() == kCachedSkies) {
        cairo_surface_destroy(cache->entries.front().surface);
        cache->entries.erase(cache->entries.begin());
    }
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(surface);
    paintSky(cr, width, height, dark);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    cache->entries.push_back({ width, height, dark, surface });
    return surface;
}

} // namespace

void drawWallpaper(cairo_t* cr, CGRect bounds, bool dark)
{
    double x = bounds.origin.x, y = bounds.origin.y, width = bounds.size.width, height = bounds.size.height;
    if (width <= 0 || height <= 0)
        return;
    cairo_save(cr);
    cairo_rectangle(cr, x, y, width, height);
    cairo_clip(cr);

    int skyWidth = std::max(1, static_cast<int>(std::ceil(width)));
    int skyHeight = std::max(1, static_cast<int>(std::ceil(height)));
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, width / skyWidth, height / skyHeight);
    cairo_set_source_surface(cr, skyFor(skyWidth, skyHeight, dark), 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_BILINEAR);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_paint(cr);
    cairo_restore(cr);

    // A few hills along the bottom, drawn sharp, so edges cross the strip and the rows.
    cairo_set_source_rgba(cr, 0.18, 0.08, 0.22, dark ? 0.75 : 0.55);
    cairo_move_to(cr, x, y + height * 0.86);
    cairo_curve_to(cr, x + width * 0.30, y + height * 0.80, x + width * 0.55, y + height * 0.93, x + width, y + height * 0.84);
    cairo_line_to(cr, x + width, y + height);
    cairo_line_to(cr, x, y + height);
    cairo_close_path(cr);
    cairo_fill(cr);
    cairo_restore(cr);
}

} // namespace sim::render
