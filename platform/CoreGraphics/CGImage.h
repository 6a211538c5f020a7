#pragma once
// CGImage: an immutable bitmap of 8-bit RGBA pixels with premultiplied alpha, rows top to
// bottom, bytes R, G, B, A. Shared, never changed after it is made.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

struct CGImage {
    std::size_t width = 0;
    std::size_t height = 0;
    std::vector<std::uint8_t> pixels;

    std::size_t bytesPerRow() const { return width * 4; }
    const std::uint8_t* pixel(std::size_t x, std::size_t y) const { return pixels.data() + y * bytesPerRow() + x * 4; }
};

using CGImageRef = std::shared_ptr<const CGImage>;
