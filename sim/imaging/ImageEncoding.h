#pragma once
// Encoding pixels as PNG or JPEG, for whatever makes images of its own: the artwork
// generators, and tests and benchmarks that need artwork made on the spot.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace imaging {

// `channels` bytes a pixel (3: RGB, 4: straight-alpha RGBA), rows top to bottom. Empty
// when libpng refuses.
std::vector<std::uint8_t> encodePNG(const std::uint8_t* pixels, std::size_t width, std::size_t height, int channels,
    bool interlaced = false);

// Opaque RGB, 3 bytes a pixel, rows top to bottom; quality 1...100.
std::vector<std::uint8_t> encodeJPEG(const std::uint8_t* rgb, std::size_t width, std::size_t height, int quality);

struct JPEGOptions {
    int quality = 90;
    // libjpeg's standard progressive script (about ten scans) instead of one baseline scan.
    bool progressive = false;
    // One byte a pixel, stored as a single grey component.
    bool grey = false;
};
// RGB (3 bytes a pixel) or grey (1 byte), rows top to bottom.
std::vector<std::uint8_t> encodeJPEG(const std::uint8_t* pixels, std::size_t width, std::size_t height, const JPEGOptions&);

// Writes `bytes` to `path`, replacing what was there; false when it cannot.
bool writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

} // namespace imaging
