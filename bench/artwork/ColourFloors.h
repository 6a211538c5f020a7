#pragma once
// What the hardware needs to get artwork's colour, as the yardsticks for the platform's:
// the least work each library does for it. JPEG: libjpeg-turbo decoding at 1/8 (one value
// per 8 x 8 block) and an integer sum of what comes out. PNG: libpng reading every row,
// nothing more; and libspng doing the same, to see which of the two is faster.

#include <cstddef>
#include <cstdint>

namespace colour_floors {

// Each false when the bytes do not decode; `sink` takes something of the result, so the
// work cannot be optimised away.
bool jpegEighthScaleSum(const std::uint8_t* bytes, std::size_t length, std::uint64_t& sink);
bool libpngRows(const std::uint8_t* bytes, std::size_t length, std::uint64_t& sink);
bool libspngRows(const std::uint8_t* bytes, std::size_t length, std::uint64_t& sink);

} // namespace colour_floors
