#pragma once
// Images made to hurt a decoder, for the tests, benchmarks and fuzz reproducers that show
// the platform refusing them cheaply. Each is small to make and small to store, however
// much work or memory it asks of whoever decodes it.

#include "ImageEncoding.h"

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

// A 1 x 1 PNG whose compressed stream runs on after the image's one row with `megabytes`
// MiB of zeros (about a kilobyte of file each), and ends with a right checksum: whoever
// inflates the whole stream before calling it an image works through all of them.
std::vector<std::uint8_t> trailingDeflateBombPNG(std::size_t megabytes);

// The JPEG with `megabytes` MiB of EXIF (APP1) segments after its start marker.
std::vector<std::uint8_t> withMetadataSegments(const std::vector<std::uint8_t>& jpeg, std::size_t megabytes);

// The first half of a JPEG with an end-of-image marker after it: a cut-off file that ends
// as a whole one does.
std::vector<std::uint8_t> halfWithEndMarker(const std::vector<std::uint8_t>& jpeg);

// A width x height JPEG of RGB noise (grey noise when `options.grey`): as many bytes of
// entropy-coded data as the options can make of that many pixels.
std::vector<std::uint8_t> noiseJPEG(std::size_t width, std::size_t height, const JPEGOptions& options);

} // namespace imaging
