#pragma once
// What comparing a picture with a golden one gave (GoldenPicture.h does the comparing,
// inside the renderer library; this half names no cairo type, so the simulator can read it
// without loading the renderer).

#include <string>

namespace sim {

struct GoldenComparison {
    enum class Outcome {
        Matches,
        Differs, // `differing` pixels, the difference picture at `diffPath`
        Missing, // no golden picture (and none written)
        Written, // missing or different, and written anew
        Failed, // the golden picture or the difference picture could not be read or written
    };
    Outcome outcome = Outcome::Matches;
    long differing = 0;
    std::string diffPath;
    std::string message; // for Failed and for a size that differs
};

// FILE.png -> FILE.diff.png
std::string diffPathFor(const std::string& goldenPath);

} // namespace sim
