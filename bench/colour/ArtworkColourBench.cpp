// The time to turn a large piece of album artwork into its average colour, the way the
// tweak does on every track change: UIImage imageWithData:, then a draw into a 1x1 image
// context (interpolation quality 4, blend mode copy) that lets the platform's scaling
// reduce the whole image to one pixel. The tweak library itself cannot be linked here, so
// the same platform calls are repeated below. Beside it, a plain full-size decode with
// libpng or libjpeg and a loop over every pixel, as the yardstick.

#include "PlainAverage.h"
#include "TestArtwork.h"

#include "CoreGraphics/CGContext.h"
#include "Foundation/NSData.h"
#include "Platform/Platform.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIGraphics.h"
#include "UIKit/UIImage.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kArtworkSide = 3000;
constexpr int kJPEGQuality = 90;
// The platform decodes big artwork smaller and samples by area; the baseline reads every
// pixel. Both are averages of the same picture, so they may differ only by rounding and
// by what JPEG's reduced decoding smooths away.
constexpr double kAgreementTolerance = 2.0;

enum class Format {
    JPEG,
    PNG
};

struct Artwork {
    std::vector<std::uint8_t> jpeg;
    std::vector<std::uint8_t> png;

    const std::vector<std::uint8_t>& bytes(Format format) const { return format == Format::JPEG ? jpeg : png; }
};

// Encoded once per process, outside any timed region (a 9-megapixel PNG takes seconds).
const Artwork& artwork()
{
    static const Artwork made = [] {
        Artwork artwork { TestArtwork::encodeJPEG(kArtworkSide, kArtworkSide, kJPEGQuality), TestArtwork::encodePNG(kArtworkSide, kArtworkSide) };
        std::fprintf(stderr, "artwork %zux%zu: JPEG %zu bytes, PNG %zu bytes\n", kArtworkSide, kArtworkSide, artwork.jpeg.size(), artwork.png.size());
        return artwork;
    }();
    return made;
}

std::optional<PlainAverage::Colour> plainAverage(Format format)
{
    const auto& bytes = artwork().bytes(format);
    return format == Format::JPEG ? PlainAverage::ofJPEG(bytes.data(), bytes.size()) : PlainAverage::ofPNG(bytes.data(), bytes.size());
}

// The tweak's steps after decoding: one pixel, filled by the platform's reduction.
objc::RefPtr<UIColor> averageColorByDrawing(const UIImage& image)
{
    UIGraphicsBeginImageContext(CGSizeMake(1.0, 1.0));
    CGContextRef context = UIGraphicsGetCurrentContext();
    CGContextSetInterpolationQuality(context, kCGInterpolationMedium);
    image.drawInRect(CGRectMake(0, 0, 1, 1), kCGBlendModeCopy, 1.0);
    const auto* pixel = static_cast<const unsigned char*>(CGBitmapContextGetData(context));
    auto color = UIColor::colorWithRed(pixel[0] / 255.0, pixel[1] / 255.0, pixel[2] / 255.0, 1.0);
    UIGraphicsEndImageContext();
    return color;
}

// Checks the platform's answer against the full-size average and shows it in the label.
void reportColour(benchmark::State& state, const UIColor* color, Format format)
{
    CGFloat red = 0, green = 0, blue = 0, alpha = 0;
    if (!color || !color->getRed(&red, &green, &blue, &alpha)) {
        state.SkipWithError("no average colour");
        return;
    }
    auto reference = plainAverage(format);
    if (!reference || std::abs(red * 255 - reference->red) > kAgreementTolerance
        || std::abs(green * 255 - reference->green) > kAgreementTolerance
        || std::abs(blue * 255 - reference->blue) > kAgreementTolerance) {
        state.SkipWithError("the platform's average disagrees with the full-size average");
        return;
    }
    char label[64];
    std::snprintf(label, sizeof label, "rgb %.1f %.1f %.1f", red * 255, green * 255, blue * 255);
    state.SetLabel(label);
}

void Platform_DecodeAndAverage(benchmark::State& state, Format format)
{
    platform::registerClasses();
    // The artwork reaches the tweak as NSData in the now-playing dictionary.
    const auto& bytes = artwork().bytes(format);
    auto data = NSData::dataWithBytes(bytes.data(), bytes.size());
    objc::RefPtr<UIColor> color;
    for (auto _ : state) {
        auto image = UIImage::imageWithData(data.get());
        if (!image) {
            state.SkipWithError("the artwork did not decode");
            break;
        }
        color = averageColorByDrawing(*image);
        benchmark::DoNotOptimize(color.get());
    }
    reportColour(state, color.get(), format);
}
BENCHMARK_CAPTURE(Platform_DecodeAndAverage, JPEG, Format::JPEG)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Platform_DecodeAndAverage, PNG, Format::PNG)->Unit(benchmark::kMillisecond);

// The reduction alone, on an image decoded beforehand: how the platform's figure splits
// between decoding and drawing.
void Platform_AverageOnly(benchmark::State& state, Format format)
{
    platform::registerClasses();
    const auto& bytes = artwork().bytes(format);
    auto image = UIImage::imageWithData(NSData::dataWithBytes(bytes.data(), bytes.size()).get());
    if (!image) {
        state.SkipWithError("the artwork did not decode");
        return;
    }
    objc::RefPtr<UIColor> color;
    for (auto _ : state) {
        color = averageColorByDrawing(*image);
        benchmark::DoNotOptimize(color.get());
    }
    reportColour(state, color.get(), format);
}
BENCHMARK_CAPTURE(Platform_AverageOnly, JPEG, Format::JPEG)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Platform_AverageOnly, PNG, Format::PNG)->Unit(benchmark::kMillisecond);

void Baseline_FullDecodeAndLoop(benchmark::State& state, Format format)
{
    std::optional<PlainAverage::Colour> colour;
    for (auto _ : state) {
        colour = plainAverage(format);
        if (!colour) {
            state.SkipWithError("the artwork did not decode");
            break;
        }
        benchmark::DoNotOptimize(colour->red);
    }
    if (colour) {
        char label[64];
        std::snprintf(label, sizeof label, "rgb %.1f %.1f %.1f", colour->red, colour->green, colour->blue);
        state.SetLabel(label);
    }
}
BENCHMARK_CAPTURE(Baseline_FullDecodeAndLoop, JPEG, Format::JPEG)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Baseline_FullDecodeAndLoop, PNG, Format::PNG)->Unit(benchmark::kMillisecond);

} // namespace
