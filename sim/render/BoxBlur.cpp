#include "BoxBlur.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace sim::render {

namespace {

constexpr int kPasses = 3;

// One box pass along a line of `count` pixels `stride` apart: each output is the mean of
// the 2r+1 inputs around it, with the ends repeated.
void blurLine(std::uint32_t* line, int count, int stride, int radius, std::vector<std::uint32_t>& scratch)
{
    scratch.resize(count);
    for (int i = 0; i < count; ++i)
        scratch[i] = line[i * stride];
    auto at = [&](int i) { return scratch[std::clamp(i, 0, count - 1)]; };
    std::uint32_t window = 2 * radius + 1;
    std::uint32_t sums[4] = {};
    for (int i = -radius; i <= radius; ++i) {
        std::uint32_t pixel = at(i);
        for (int c = 0; c < 4; ++c)
            sums[c] += (pixel >> (8 * c)) & 0xff;
    }
    for (int i = 0; i < count; ++i) {
        std::uint32_t value = 0;
        for (int c = 0; c < 4; ++c)
            value |= ((sums[c] + window / 2) / window) << (8 * c);
        line[i * stride] = value;
        std::uint32_t leaving = at(i - radius);
        std::uint32_t entering = at(i + radius + 1);
        for (int c = 0; c < 4; ++c)
            sums[c] += ((entering >> (8 * c)) & 0xff) - ((leaving >> (8 * c)) & 0xff);
    }
}

} // namespace

void boxBlur(cairo_surface_t* surface, int radius)
{
    if (radius <= 0 || cairo_image_surface_get_format(surface) != CAIRO_FORMAT_ARGB32)
        return;
    cairo_surface_flush(surface);
    int width = cairo_image_surface_get_width(surface);
    int height = cairo_image_surface_get_height(surface);
    int stride = cairo_image_surface_get_stride(surface) / 4;
    auto* pixels = reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(surface));
    std::vector<std::uint32_t> scratch;
    // Premultiplied channels average correctly on their own: a transparent neighbour
    // adds no colour, only transparency.
    for (int pass = 0; pass < kPasses; ++pass) {
        for (int y = 0; y < height; ++y)
            blurLine(pixels + y * stride, width, 1, radius, scratch);
        for (int x = 0; x < width; ++x)
            blurLine(pixels + x, height, stride, radius, scratch);
    }
    cairo_surface_mark_dirty(surface);
}

} // namespace sim::render
