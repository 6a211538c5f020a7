#pragma once
// Small encoded images made on the spot, for artwork.

#include <cstdint>
#include <functional>
#include <vector>

namespace testing_support {

struct RGBA {
    std::uint8_t r, g, b, a;
};

// A width x height image of one colour.
std::vector<std::uint8_t> solidPNG(int width, int height, RGBA);
std::vector<std::uint8_t> solidJPEG(int width, int height, RGBA);

// A width x height image whose pixel at column x, row y is `pixel(x, y)` (a JPEG drops alpha).
using PixelAt = std::function<RGBA(int x, int y)>;
std::vector<std::uint8_t> drawnPNG(int width, int height, const PixelAt& pixel);
std::vector<std::uint8_t> drawnJPEG(int width, int height, const PixelAt& pixel);

// Images of more than one colour whose average is known, so a reduction that samples,
// skips or adds a row or column shows: halves, quarters, a bright first row, a curved
// ramp (its middle pixel is far from its average), an image big enough to be reduced
// while it decodes, and a JPEG.
struct KnownAverageImage {
    const char* story;
    std::vector<std::uint8_t> bytes;
    RGBA average;
    int tolerance; // in levels, each way
};
std::vector<KnownAverageImage> imagesWithKnownAverage();

} // namespace testing_support
