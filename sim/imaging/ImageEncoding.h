#pragma once
// Encoding pixels as PNG or JPEG, for whatever makes images of its own: the artwork
// generators, and tests and benchmarks that need artwork made on the spot.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace imaging {

// `channels` bytes a pixel (3: RGB, 4: straight-alpha RGBA), rows top to bottom. Empty
// when libpng refuses.
std::vector<std::uint8_t> encodePNG(const std::uint8_t* pixels, std::size_t width, std::size_t height, int channels,
    bool interlaced = false);

struct PNGOptions {
    bool interlaced = false;
    // zlib's level, 0 (stored) ... 9; -1 for libpng's default.
    int compression = -1;
    // Every row unfiltered, instead of libpng choosing a filter for each.
    bool unfiltered = false;
    // Every row with Paeth's filter, the costliest to undo.
    bool paeth = false;
    // 16 bits a sample: rows then hold 2 bytes a channel, most significant first.
    bool sixteenBit = false;
};
// Rows made one at a time by makeRow(row, y), `channels` bytes a pixel as above, so that
// no image need be held whole; interlaced images ask for each row once per pass.
std::vector<std::uint8_t> encodePNGRows(std::size_t width, std::size_t height, int channels, const PNGOptions&,
    const std::function<void(std::uint8_t* row, std::size_t y)>& makeRow);

// Opaque RGB, 3 bytes a pixel, rows top to bottom; quality 1...100.
std::vector<std::uint8_t> encodeJPEG(const std::uint8_t* rgb, std::size_t width, std::size_t height, int quality);

struct JPEGOptions {
    int quality = 90;
    // libjpeg's standard progressive script (about ten scans) instead of one baseline scan.
    bool progressive = false;
    // One byte a pixel, stored as a single grey component.
    bool grey = false;
    // Arithmetic coding instead of Huffman's.
    bool arithmetic = false;
    // Colour at full resolution (4:4:4) instead of halved both ways (4:2:0).
    bool fullColour = false;
};
// RGB (3 bytes a pixel) or grey (1 byte), rows top to bottom.
std::vector<std::uint8_t> encodeJPEG(const std::uint8_t* pixels, std::size_t width, std::size_t height, const JPEGOptions&);

// Writes `bytes` to `path`, replacing what was there; false when it cannot.
bool writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

} // namespace imaging
