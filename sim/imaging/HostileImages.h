#pragma once
// Images made to hurt a decoder, for the tests, benchmarks and fuzz reproducers that show
// the platform refusing them cheaply. Each is small to make and small to store, however
// much work or memory it asks of whoever decodes it.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace imaging {

// A progressive grey JPEG, side x side, whose last scan is repeated `repeats` more times:
// each copy makes a decoder walk every block of the image again, for a few bytes of file.
std::vector<std::uint8_t> scanBombJPEG(std::size_t side, int repeats);

// The same PNG or JPEG with its header declaring width x height instead (the PNG header's
// checksum made right again); the data that follows is as short as before.
std::vector<std::uint8_t> declaringSize(std::vector<std::uint8_t> image, std::uint32_t width, std::uint32_t height);

// A width x height PNG of one opaque colour, `interlaced` with Adam7 or not: tiny files
// for many pixels.
std::vector<std::uint8_t> flatPNG(std::size_t width, std::size_t height, bool interlaced);

// A width x height PNG of RGB noise stored without compression: about 3 bytes a pixel,
// for files as big as they come.
std::vector<std::uint8_t> storedNoisePNG(std::size_t width, std::size_t height);

} // namespace imaging
