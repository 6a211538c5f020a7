#pragma once
// The live phone's frames: the renderer's picture of the screen, made only when what is
// on screen has changed since the last one. What counts as a change is what the
// renderer draws from: the window tree as `dump screen` shows it (presentation values
// included), the appearance, the lock screen's clock (whole minutes), and the time
// itself while a title the user can see scrolls.
//
// A frame after the first is a piece when it can be: only the part of the screen that
// changed (ScreenDamage.h), drawn and encoded alone, for the page to paint over the
// frame it has. A fade or a scrolling title then costs a row's pixels, not a screen's.

#include "sim/lumetrix-sim/observe/NodeIds.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class SpringBoard;

namespace sim {

class FrameMaker {
public:
    // `pixelsPerPoint`: the frame's resolution.
    explicit FrameMaker(double pixelsPerPoint);

    // {"image" (base64), "type", "width", "height", "scale"} when the screen differs from
    // the last frame; nothing otherwise. With "piece": {"x", "y", "width", "height"}
    // (pixels of the whole frame, whose size "width" and "height" still give) the image
    // is that part of the screen alone. `now` is absolute time.
    std::optional<nlohmann::json> frameIfChanged(SpringBoard*, void* tweakHandle, double now);
    // {"screen", "players"}: the dumps the last frame was made from (`runSeconds` the time
    // as dumps give it), asked for once the frame has gone, so they do not hold it up.
    nlohmann::json dumpsOfLastFrame(SpringBoard*, void* tweakHandle, double runSeconds);

    // Whether the screen last looked at is moving by itself (a fade under way, a title
    // scrolling in view): more frames follow without anything else happening.
    bool isMoving() const { return m_moving; }

    // The signature of what is on screen: equal signatures draw equal pictures.
    static std::string signature(const nlohmann::json& screen, double now, bool dark);

    // Opaque 32-bit cairo pixels (B, G, R, A in memory) as a JPEG.
    static std::vector<std::uint8_t> encodeFrame(const std::uint8_t* pixels, int width, int height, int stride);
    static constexpr int kJPEGQuality = 90;
    // A piece larger than this share of the screen goes as a whole frame.
    static constexpr double kLargestPiece = 0.5;

private:
    double m_pixelsPerPoint;
    // The page's own names for views, so looking does not renumber what `dump` lines show.
    NodeIds m_ids;
    std::string m_lastSignature;
    nlohmann::json m_lastScreen;
    bool m_lastDark = false;
    long long m_lastMinute = 0;
    bool m_moving = false;
};

} // namespace sim
