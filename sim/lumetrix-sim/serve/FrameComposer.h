#pragma once
// A whole frame from the last whole one and the pieces painted over it since, for
// whoever asks for a whole frame (GET /frame, an event stream that takes no pieces, a
// page that fell behind). Pieces lie on whole 16-pixel blocks, so the JPEG made here
// has the blocks the phone would have sent in a whole frame.

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sim {

struct FramePiece {
    int x = 0, y = 0, width = 0, height = 0;
    std::shared_ptr<const std::string> jpeg;
};

// The whole frame's JPEG with `pieces` painted over it in order, as a new JPEG; nothing
// when one of them does not decode (or lies outside the frame).
std::optional<std::string> composeFrame(const std::string& wholeJPEG, const std::vector<FramePiece>& pieces, int quality);

} // namespace sim
