#include "UIImageDecoder.h"

#include <algorithm>
#include <atomic>
#include <cstring>

namespace {

std::atomic<std::uint64_t> decodes { 0 };

} // namespace

std::uint64_t UIImageDecoder::decodesStarted()
{
    return decodes.load();
}

std::optional<UIImageDecoder::Image> UIImageDecoder::decode(const std::uint8_t* bytes, std::size_t length, std::size_t coverWidth, std::size_t coverHeight)
{
    ++decodes;
    if (length > kMaximumEncodedBytes)
        return std::nullopt;
    coverWidth = std::max<std::size_t>(coverWidth, 1);
    coverHeight = std::max<std::size_t>(coverHeight, 1);
    switch (formatOf(bytes, length).value_or(Format(-1))) {
    case Format::PNG:
        return decodePNG(bytes, length, coverWidth, coverHeight);
    case Format::JPEG:
        return decodeJPEG(bytes, length, coverWidth, coverHeight);
    }
    return std::nullopt;
}

std::optional<UIImageDecoder::Image> UIImageDecoder::decode(const std::uint8_t* bytes, std::size_t length)
{
    return decode(bytes, length, kMaximumDimension, kMaximumDimension);
}

std::size_t UIImageDecoder::reductionFactor(std::size_t width, std::size_t height, std::size_t coverWidth, std::size_t coverHeight,
    std::size_t maximumPixels)
{
    // ceil(side / f) >= cover holds for every f below side / (cover - 1), and for any f
    // when one pixel is asked for; beyond the longer side no factor reduces further.
    auto largestCovering = [&](std::size_t side, std::size_t cover) {
        cover = std::clamp<std::size_t>(cover, 1, side);
        return cover == 1 ? std::max(width, height) : (side + cover - 2) / (cover - 1) - 1;
    };
    std::size_t factor = std::max<std::size_t>(std::min(largestCovering(width, coverWidth), largestCovering(height, coverHeight)), 1);
    auto pixels = [&](std::size_t f) { return ((width + f - 1) / f) * ((height + f - 1) / f); };
    while (pixels(factor) > maximumPixels)
        ++factor;
    return factor;
}
