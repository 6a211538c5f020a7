#pragma once
// Golden pictures for `expect-snapshot`: a picture taken now against one stored earlier.
// Channels are compared straight (not premultiplied), each within a tolerance; what
// differs is shown on FILE.diff.png beside the golden one: the golden picture faded,
// with every differing pixel in solid magenta.

#include "sim/render/Canvas.h"
#include "sim/render/GoldenComparison.h"

#include <string>

namespace sim {

// Pixels whose channels differ by more than `tolerance` (0 to 255); pixels that only one
// of two pictures of different sizes has count as differing too.
long countDifferingPixels(const render::Canvas& actual, const render::Canvas& golden, int tolerance);

// Compares `actual` with the PNG at `goldenPath`. With `update` a missing or different
// golden picture is written instead of failing.
GoldenComparison compareWithGolden(const render::Canvas& actual, const std::string& goldenPath, int tolerance, bool update);

} // namespace sim
