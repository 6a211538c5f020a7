#include "FrameMaker.h"

#include "ScreenDamage.h"
#include "VisibleMotion.h"

#include "sim/imaging/ImageEncoding.h"
#include "sim/lumetrix-sim/observe/SpringBoardObserver.h"
#include "sim/render/Pictures.h"

#include "MediaRemote/Base64.h"
#include "UIKit/UIColor.h"

#include <algorithm>
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

std::optional<json> FrameMaker::frameIfChanged(SpringBoard* springBoard, void* tweakHandle, double now)
{
    SpringBoardObserver observer(springBoard, tweakHandle, m_ids);
    json screen = observer.screen();
    bool dark = UIKitCurrentUserInterfaceStyle() == UIUserInterfaceStyle::Dark;
    std::string current = signature(screen, now, dark);
    bool titlesScroll = aVisibleTitleScrolls(screen);
    m_moving = aFadeIsUnderWay(screen) || titlesScroll;
    if (current == m_lastSignature)
        return std::nullopt;

    const render::Pictures& pictures = render::pictures();
    CGRect whole = pictures.screenRegion();
    int frameWidth = std::max(1, static_cast<int>(std::lround(whole.size.width * m_pixelsPerPoint)));
    int frameHeight = std::max(1, static_cast<int>(std::lround(whole.size.height * m_pixelsPerPoint)));
    // The appearance and the clock's minute change what lies under every view: a whole
    // frame, as for the first.
    auto minute = static_cast<long long>(std::floor(now / 60));
    std::optional<PixelArea> piece;
    if (!m_lastSignature.empty() && dark == m_lastDark && minute == m_lastMinute) {
        PixelArea area = blockAlignedPixels(screenDamage(m_lastScreen, screen, titlesScroll), m_pixelsPerPoint, frameWidth, frameHeight);
        if (area.width > 0 && area.height > 0 && static_cast<double>(area.width) * area.height <= kLargestPiece * frameWidth * frameHeight)
            piece = area;
    }
    m_lastSignature = std::move(current);
    m_lastScreen = screen;
    m_lastDark = dark;
    m_lastMinute = minute;

    std::vector<std::uint8_t> jpeg;
    auto encode = [&](const std::uint8_t* pixels, int width, int height, int stride) { jpeg = encodeFrame(pixels, width, height, stride); };
    json frame = {
        { "type", "image/jpeg" },
        { "width", frameWidth },
        { "height", frameHeight },
        { "scale", m_pixelsPerPoint },
    };
    if (piece) {
        CGRect region = CGRectMake(whole.origin.x + piece->x / m_pixelsPerPoint, whole.origin.y + piece->y / m_pixelsPerPoint,
            piece->width / m_pixelsPerPoint, piece->height / m_pixelsPerPoint);
        pictures.drawScreen(springBoard, m_pixelsPerPoint, encode, &region);
        frame["piece"] = { { "x", piece->x }, { "y", piece->y }, { "width", piece->width }, { "height", piece->height } };
    } else {
        pictures.drawScreen(springBoard, m_pixelsPerPoint, encode);
    }
    frame["image"] = platform::encodeBase64(jpeg);
    return frame;
}

json FrameMaker::dumpsOfLastFrame(SpringBoard* springBoard, void* tweakHandle, double runSeconds)
{
    SpringBoardObserver observer(springBoard, tweakHandle, m_ids);
    return { { "screen", m_lastScreen }, { "players", observer.players(runSeconds) } };
}

} // namespace sim
