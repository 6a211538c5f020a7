#pragma once
// The obvious way to get the average colour of encoded artwork, as the yardstick for the
// platform's: decode the whole image at full size into RGBA8 with libpng or libjpeg, then
// add up every pixel. No reduced decoding, no area sampling, no image objects.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

class PlainAverage {
public:
    // Each component from 0 to 255; alpha is not divided out (the artwork is opaque).
    struct Colour {
        double red = 0;
        double green = 0;
        double blue = 0;
    };

    // Nothing when the bytes do not decode.
    static std::optional<Colour> ofPNG(const std::uint8_t* bytes, std::size_t length);
    static std::optional<Colour> ofJPEG(const std::uint8_t* bytes, std::size_t length);

    // The mean of each component over `pixelCount` RGBA pixels.
    static Colour ofPixels(const std::vector<std::uint8_t>& rgba, std::size_t pixelCount);
};
