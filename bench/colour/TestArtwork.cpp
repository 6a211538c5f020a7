#include "TestArtwork.h"

#include "sim/imaging/ImageEncoding.h"

#include <algorithm>

std::vector<std::uint8_t> TestArtwork::pixels(std::size_t width, std::size_t height)
{
    std::vector<std::uint8_t> rgb(width * height * 3);
    std::uint64_t noise = 0x2545F4914F6CDD1Dull;
    for (std::size_t y = 0; y < height; ++y) {
        for (std::size_t x = 0; x < width; ++x) {
            noise ^= noise << 13;
            noise ^= noise >> 7;
            noise ^= noise << 17;
            // Noise of +-8 levels: visible grain, as in a scanned cover, without
            // making the PNG as large as raw pixels.
            int grain = static_cast<int>(noise % 17) - 8;
            int red = static_cast<int>(40 + 180 * x / width);
            int green = static_cast<int>(200 - 150 * y / height);
            int blue = static_cast<int>(60 + 120 * (x + y) / (width + height));
            std::uint8_t* p = rgb.data() + (y * width + x) * 3;
            p[0] = static_cast<std::uint8_t>(std::clamp(red + grain, 0, 255));
            p[1] = static_cast<std::uint8_t>(std::clamp(green + grain, 0, 255));
            p[2] = static_cast<std::uint8_t>(std::clamp(blue - grain, 0, 255));
        }
    }
    return rgb;
}

std::vector<std::uint8_t> TestArtwork::encodePNG(std::size_t width, std::size_t height)
{
    return imaging::encodePNG(pixels(width, height).data(), width, height, 3);
}

std::vector<std::uint8_t> TestArtwork::encodeJPEG(std::size_t width, std::size_t height, int quality)
{
    return imaging::encodeJPEG(pixels(width, height).data(), width, height, quality);
}
