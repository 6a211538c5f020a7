#include "TestImages.h"

#include "sim/imaging/ImageEncoding.h"

namespace testing_support {

std::vector<std::uint8_t> drawnPNG(int width, int height, const PixelAt& pixel)
{
    std::vector<std::uint8_t> pixels;
    pixels.reserve(static_cast<std::size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            RGBA colour = pixel(x, y);
            pixels.insert(pixels.end(), { colour.r, colour.g, colour.b, colour.a });
        }
    }
    return imaging::encodePNG(pixels.data(), width, height, 4);
}

std::vector<std::uint8_t> drawnJPEG(int width, int height, const PixelAt& pixel)
{
    std::vector<std::uint8_t> pixels;
    pixels.reserve(static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            RGBA colour = pixel(x, y);
            pixels.insert(pixels.end(), { colour.r, colour.g, colour.b });
        }
    }
    return imaging::encodeJPEG(pixels.data(), width, height, 100);
}

std::vector<std::uint8_t> solidPNG(int width, int height, RGBA colour)
{
    return drawnPNG(width, height, [colour](int, int) { return colour; });
}

std::vector<std::uint8_t> solidJPEG(int width, int height, RGBA colour)
{
    return drawnJPEG(width, height, [colour](int, int) { return colour; });
}

std::vector<KnownAverageImage> imagesWithKnownAverage()
{
    RGBA black { 0, 0, 0, 255 };
    RGBA white { 255, 255, 255, 255 };
    RGBA red { 255, 0, 0, 255 };
    RGBA blue { 0, 0, 255, 255 };
    auto ramp = [](int x) { return static_cast<std::uint8_t>(x * x / 255); };
    std::vector<KnownAverageImage> images;
    images.push_back({ "left half black, right half white", drawnPNG(8, 8, [&](int x, int) { return x < 4 ? black : white; }), { 128, 128, 128, 255 }, 1 });
    images.push_back({ "top half black, bottom half white", drawnPNG(6, 6, [&](int, int y) { return y < 3 ? black : white; }), { 128, 128, 128, 255 }, 1 });
    images.push_back({ "a white first row over three black", drawnPNG(5, 4, [&](int, int y) { return y == 0 ? white : black; }), { 64, 64, 64, 255 }, 1 });
    images.push_back({ "a red quarter, the rest blue", drawnPNG(4, 4, [&](int x, int y) { return x < 2 && y < 2 ? red : blue; }), { 64, 0, 191, 255 }, 1 });
    // The mean of floor(x * x / 255) over x = 0 ... 255 is 84.7; the middle pixel is 64.
    images.push_back({ "a curved grey ramp", drawnPNG(256, 3, [&](int x, int) { return RGBA { ramp(x), ramp(x), ramp(x), 255 }; }), { 85, 85, 85, 255 }, 1 });
    images.push_back({ "600 x 600, left half black", drawnPNG(600, 600, [&](int x, int) { return x < 300 ? black : white; }), { 128, 128, 128, 255 }, 1 });
    images.push_back({ "a JPEG, left half black", drawnJPEG(64, 64, [&](int x, int) { return x < 32 ? black : white; }), { 128, 128, 128, 255 }, 2 });
    return images;
}

} // namespace testing_support
