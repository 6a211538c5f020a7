#include "CGContext.h"

#include "CGBlendModeSupport.h"

#include <algorithm>
#include <cmath>

namespace {

// The image pixels a destination pixel's footprint covers along one axis, each with the
// length of its overlap (in image pixels).
struct Tap {
    std::size_t index;
    double weight;
};

std::vector<Tap> areaTaps(double begin, double end, std::size_t limit)
{
    std::vector<Tap> taps;
    begin = std::max(begin, 0.0);
    end = std::min(end, static_cast<double>(limit));
    for (auto index = static_cast<std::size_t>(std::floor(begin)); static_cast<double>(index) < end && index < limit; ++index) {
        double overlap = std::min(end, index + 1.0) - std::max(begin, static_cast<double>(index));
        if (overlap > 0)
            taps.push_back({ index, overlap });
    }
    return taps;
}

std::vector<Tap> nearestTap(double begin, double end, std::size_t limit)
{
    double centre = (begin + end) / 2;
    auto index = static_cast<std::size_t>(std::clamp(std::floor(centre), 0.0, static_cast<double>(limit - 1)));
    return { { index, 1 } };
}

std::uint8_t toByte(double value)
{
    return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

} // namespace

CGContext::CGContext(std::size_t widthInPixels, std::size_t heightInPixels, CGFloat scale)
    : m_width(widthInPixels)
    , m_height(heightInPixels)
    , m_scale(scale)
    , m_pixels(widthInPixels * heightInPixels * 4, 0)
{
}

void CGContext::drawImage(const CGImage& image, CGRect rect, CGBlendMode mode, CGFloat alpha)
{
    CGRequireModelledBlendMode(mode, "CGContextDrawImage");
    if (!image.width || !image.height || rect.size.width <= 0 || rect.size.height <= 0)
        return;
    alpha *= m_alpha;
    // The rectangle in pixels.
    double left = rect.origin.x * m_scale, top = rect.origin.y * m_scale;
    double width = rect.size.width * m_scale, height = rect.size.height * m_scale;
    double toImageX = image.width / width, toImageY = image.height / height;
    bool nearest = m_interpolationQuality == kCGInterpolationNone;

    auto firstColumn = static_cast<std::size_t>(std::clamp(std::floor(left), 0.0, static_cast<double>(m_width)));
    auto lastColumn = static_cast<std::size_t>(std::clamp(std::ceil(left + width), 0.0, static_cast<double>(m_width)));
    auto firstRow = static_cast<std::size_t>(std::clamp(std::floor(top), 0.0, static_cast<double>(m_height)));
    auto lastRow = static_cast<std::size_t>(std::clamp(std::ceil(top + height), 0.0, static_cast<double>(m_height)));

    for (std::size_t y = firstRow; y < lastRow; ++y) {
        // How much of this pixel row the rectangle covers, and what it shows there.
        double rowBegin = std::max<double>(y, top), rowEnd = std::min<double>(y + 1.0, top + height);
        if (rowEnd <= rowBegin)
            continue;
        double rowCoverage = rowEnd - rowBegin;
        double v0 = (rowBegin - top) * toImageY, v1 = (rowEnd - top) * toImageY;
        auto rows = nearest ? nearestTap(v0, v1, image.height) : areaTaps(v0, v1, image.height);
        for (std::size_t x = firstColumn; x < lastColumn; ++x) {
            double columnBegin = std::max<double>(x, left), columnEnd = std::min<double>(x + 1.0, left + width);
            if (columnEnd <= columnBegin)
                continue;
            double coverage = rowCoverage * (columnEnd - columnBegin);
            double u0 = (columnBegin - left) * toImageX, u1 = (columnEnd - left) * toImageX;
            auto columns = nearest ? nearestTap(u0, u1, image.width) : areaTaps(u0, u1, image.width);

            double sum[4] = { 0, 0, 0, 0 };
            double total = 0;
            for (auto& r : rows) {
                for (auto& c : columns) {
                    double weight = r.weight * c.weight;
                    const std::uint8_t* p = image.pixel(c.index, r.index);
                    for (int k = 0; k < 4; ++k)
                        sum[k] += weight * p[k];
                    total += weight;
                }
            }
            if (total <= 0)
                continue;
            std::uint8_t* destination = m_pixels.data() + y * bytesPerRow() + x * 4;
            double source[4];
            for (int k = 0; k < 4; ++k)
                source[k] = sum[k] / total * alpha;
            // Premultiplied compositing; a partly covered pixel takes its share.
            for (int k = 0; k < 4; ++k) {
                double below = destination[k];
                double result;
                switch (mode) {
                case kCGBlendModeCopy:
                    result = source[k] * coverage + below * (1 - coverage);
                    break;
                case kCGBlendModeClear:
                    result = below * (1 - coverage);
                    break;
                default:
                    result = source[k] * coverage + below * (1 - coverage * source[3] / 255.0);
                    break;
                }
                destination[k] = toByte(result);
            }
        }
    }
}

CGImageRef CGContext::makeImage() const
{
    auto image = std::make_shared<CGImage>();
    image->width = m_width;
    image->height = m_height;
    image->pixels = m_pixels;
    return image;
}

void CGContextSetInterpolationQuality(CGContextRef context, CGInterpolationQuality quality)
{
    if (context)
        context->setInterpolationQuality(quality);
}

CGInterpolationQuality CGContextGetInterpolationQuality(CGContextRef context)
{
    return context ? context->interpolationQuality() : kCGInterpolationDefault;
}

void CGContextSetBlendMode(CGContextRef context, CGBlendMode mode)
{
    CGRequireModelledBlendMode(mode, "CGContextSetBlendMode");
    if (context)
        context->setBlendMode(mode);
}

void CGContextSetAlpha(CGContextRef context, CGFloat alpha)
{
    if (context)
        context->setAlpha(alpha);
}

void CGContextDrawImage(CGContextRef context, CGRect rect, const CGImageRef& image)
{
    if (context && image)
        context->drawImage(*image, rect, context->blendMode(), 1);
}

void* CGBitmapContextGetData(CGContextRef context)
{
    return context ? context->data() : nullptr;
}

std::size_t CGBitmapContextGetWidth(CGContextRef context)
{
    return context ? context->width() : 0;
}

std::size_t CGBitmapContextGetHeight(CGContextRef context)
{
    return context ? context->height() : 0;
}

std::size_t CGBitmapContextGetBytesPerRow(CGContextRef context)
{
    return context ? context->bytesPerRow() : 0;
}

std::size_t CGBitmapContextGetBitsPerComponent(CGContextRef context)
{
    return context ? 8 : 0;
}

CGImageRef CGBitmapContextCreateImage(CGContextRef context)
{
    return context ? context->makeImage() : nullptr;
}
