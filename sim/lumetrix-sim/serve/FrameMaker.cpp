#include "FrameMaker.h"

#include "VisibleMotion.h"

#include "sim/imaging/ImageEncoding.h"
#include "sim/lumetrix-sim/observe/SpringBoardObserver.h"
#include "sim/render/Pictures.h"

#include "MediaRemote/Base64.h"
#include "UIKit/UIColor.h"

#include <cmath>

using nlohmann::json;

namespace sim {

FrameMaker::FrameMaker(double pixelsPerPoint)
    : m_pixelsPerPoint(pixelsPerPoint)
{
}

std::string FrameMaker::signature(const json& screen, double now, bool dark)
{
    std::string signature = screen.dump(-1, ' ', false, json::error_handler_t::replace);
    signature += dark ? "|dark" : "|light";
    // The lock screen's clock shows minutes.
    signature += "|" + std::to_string(static_cast<long long>(std::floor(now / 60)));
    // A scrolling title moves with the clock itself.
    if (aVisibleTitleScrolls(screen))
        signature += "|" + std::to_string(now);
    return signature;
}

std::vector<std::uint8_t> FrameMaker::encodeFrame(const std::uint8_t* pixels, int width, int height, int stride)
{
    // JPEG, not PNG: a frame lives until the next one, and libjpeg-turbo encodes a screen
    // in a few milliseconds where even zlib's fastest PNG takes tens (the click-to-frame
    // figure in bench/serve). Snapshots a scenario asks for stay PNG.
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
    for (int y = 0; y < height; ++y) {
        // Opaque pixels: cairo's premultiplied B, G, R, A are the colour as it is.
        const std::uint8_t* in = pixels + static_cast<std::ptrdiff_t>(y) * stride;
        std::uint8_t* out = rgb.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width) * 3;
        for (int x = 0; x < width; ++x, in += 4, out += 3) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
        }
    }
    return imaging::encodeJPEG(rgb.data(), static_cast<std::size_t>(width), static_cast<std::size_t>(height), kJPEGQuality);
}

std::optional<json> FrameMaker::frameIfChanged(SpringBoard* springBoard, void* tweakHandle, double now, double runSeconds)
{
    SpringBoardObserver observer(springBoard, tweakHandle, m_ids);
    json screen = observer.screen();
    bool dark = UIKitCurrentUserInterfaceStyle() == UIUserInterfaceStyle::Dark;
    std::string current = signature(screen, now, dark);
    m_moving = aFadeIsUnderWay(screen) || aVisibleTitleScrolls(screen);
    if (current == m_lastSignature)
        return std::nullopt;
    m_lastSignature = std::move(current);

    std::vector<std::uint8_t> jpeg;
    int width = 0, height = 0;
    render::pictures().drawScreen(springBoard, m_pixelsPerPoint, [&](const std::uint8_t* pixels, int pictureWidth, int pictureHeight, int stride) {
        jpeg = encodeFrame(pixels, pictureWidth, pictureHeight, stride);
        width = pictureWidth;
        height = pictureHeight;
    });
    return json {
        { "image", platform::encodeBase64(jpeg) },
        { "type", "image/jpeg" },
        { "width", width },
        { "height", height },
        { "scale", m_pixelsPerPoint },
        { "screen", std::move(screen) },
        { "players", observer.players(runSeconds) },
    };
}

} // namespace sim
