#pragma once
// A rectangle of whole device pixels, for the surfaces a render allocates.

#include <algorithm>
#include <cairo.h>
#include <cmath>

namespace sim::render {

struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool isEmpty() const { return width <= 0 || height <= 0; }

    PixelRect intersection(const PixelRect& other) const
    {
        int left = std::max(x, other.x);
        int top = std::max(y, other.y);
        int right = std::min(x + width, other.x + other.width);
        int bottom = std::min(y + height, other.y + other.height);
        return { left, top, std::max(0, right - left), std::max(0, bottom - top) };
    }

    PixelRect united(const PixelRect& other) const
    {
        if (isEmpty())
            return other;
        if (other.isEmpty())
            return *this;
        int left = std::min(x, other.x);
        int top = std::min(y, other.y);
        int right = std::max(x + width, other.x + other.width);
        int bottom = std::max(y + height, other.y + other.height);
        return { left, top, right - left, bottom - top };
    }

    PixelRect inflated(int by) const { return { x - by, y - by, width + 2 * by, height + 2 * by }; }

    // The whole pixels a user-space rectangle covers under `matrix` (its bounding box,
    // if the matrix turns it).
    static PixelRect covering(double x, double y, double width, double height, const cairo_matrix_t& matrix)
    {
        double xs[4] = { x, x + width, x, x + width };
        double ys[4] = { y, y, y + height, y + height };
        double minX = HUGE_VAL, minY = HUGE_VAL, maxX = -HUGE_VAL, maxY = -HUGE_VAL;
        for (int i = 0; i < 4; ++i) {
            cairo_matrix_transform_point(&matrix, &xs[i], &ys[i]);
            minX = std::min(minX, xs[i]);
            minY = std::min(minY, ys[i]);
            maxX = std::max(maxX, xs[i]);
            maxY = std::max(maxY, ys[i]);
        }
        if (!std::isfinite(minX) || !std::isfinite(minY) || !std::isfinite(maxX) || !std::isfinite(maxY))
            return {};
        // Clamped far outside any canvas, so absurd geometry cannot overflow an int.
        auto clamp = [](double value) { return std::clamp(value, -1e6, 1e6); };
        int left = static_cast<int>(std::floor(clamp(minX)));
        int top = static_cast<int>(std::floor(clamp(minY)));
        int right = static_cast<int>(std::ceil(clamp(maxX)));
        int bottom = static_cast<int>(std::ceil(clamp(maxY)));
        return { left, top, right - left, bottom - top };
    }
};

} // namespace sim::render
