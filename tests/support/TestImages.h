#pragma once
// Small encoded images made on the spot, for artwork.

#include <cstdint>
#include <vector>

namespace testing_support {

struct RGBA {
    std::uint8_t r, g, b, a;
};

// A width x height image of one colour.
std::vector<std::uint8_t> solidPNG(int width, int height, RGBA);
std::vector<std::uint8_t> solidJPEG(int width, int height, RGBA);

} // namespace testing_support
