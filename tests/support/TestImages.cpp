#include "TestImages.h"

#include "sim/imaging/ImageEncoding.h"

namespace testing_support {

std::vector<std::uint8_t> solidPNG(int width, int height, RGBA colour)
{
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height * 4);
    for (std::size_t i = 0; i < pixels.size(); i += 4) {
        pixels[i] = colour.r;
        pixels[i + 1] = colour.g;
        pixels[i + 2] = colour.b;
        pixels[i + 3] = colour.a;
    }
    return imaging::encodePNG(pixels.data(), width, height, 4);
}

std::vector<std::uint8_t> solidJPEG(int width, int height, RGBA colour)
{
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height * 3);
    for (std::size_t i = 0; i < pixels.size(); i += 3) {
        pixels[i] = colour.r;
        pixels[i + 1] = colour.g;
        pixels[i + 2] = colour.b;
    }
    return imaging::encodeJPEG(pixels.data(), width, height, 100);
}

} // namespace testing_support
