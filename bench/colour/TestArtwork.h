#pragma once
// Album artwork made up for the colour benchmarks: a colour gradient with fine noise laid
// over it, so that neither PNG nor JPEG squeezes it down to nothing and decoding does the
// work a real photograph would cause. The same pixels every run.

#include <cstddef>
#include <cstdint>
#include <vector>

class TestArtwork {
public:
    // Opaque RGB, 3 bytes a pixel, rows top to bottom.
    static std::vector<std::uint8_t> pixels(std::size_t width, std::size_t height);

    // The pixels encoded in memory; empty when the encoder refuses.
    static std::vector<std::uint8_t> encodePNG(std::size_t width, std::size_t height);
    static std::vector<std::uint8_t> encodeJPEG(std::size_t width, std::size_t height, int quality);
};
