#include "GoldenPicture.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace sim {

namespace {

bool channelsDiffer(render::Rgba a, render::Rgba b, int tolerance)
{
    return std::abs(a.red - b.red) > tolerance || std::abs(a.green - b.green) > tolerance || std::abs(a.blue - b.blue) > tolerance
        || std::abs(a.alpha - b.alpha) > tolerance;
}

// The golden picture faded towards white, each differing pixel magenta; as large as the
// larger of the two.
render::Canvas differencePicture(const render::Canvas& actual, const render::Canvas& golden, int tolerance)
{
    int width = std::max(actual.width(), golden.width());
    int height = std::max(actual.height(), golden.height());
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        for (int x = 0; x < width; ++x) {
            bool inBoth = x < actual.width() && y < actual.height() && x < golden.width() && y < golden.height();
            render::Rgba was = golden.pixel(x, y);
            if (!inBoth || channelsDiffer(actual.pixel(x, y), was, tolerance)) {
                row[x] = 0xFFFF00FFu;
                continue;
            }
            // A quarter of the picture over white, opaque.
            auto faded = [&](std::uint8_t channel) { return static_cast<std::uint32_t>(191 + channel * was.alpha / 255 / 4); };
            row[x] = 0xFF000000u | faded(was.red) << 16 | faded(was.green) << 8 | faded(was.blue);
        }
    }
    cairo_surface_mark_dirty(surface);
    return render::Canvas(surface, CGRectMake(0, 0, width, height), 1);
}

} // namespace

std::string diffPathFor(const std::string& goldenPath)
{
    std::string base = goldenPath;
    if (base.size() >= 4 && base.compare(base.size() - 4, 4, ".png") == 0)
        base.resize(base.size() - 4);
    return base + ".diff.png";
}

long countDifferingPixels(const render::Canvas& actual, const render::Canvas& golden, int tolerance)
{
    long differing = 0;
    int width = std::max(actual.width(), golden.width());
    int height = std::max(actual.height(), golden.height());
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bool inBoth = x < actual.width() && y < actual.height() && x < golden.width() && y < golden.height();
            differing += !inBoth || channelsDiffer(actual.pixel(x, y), golden.pixel(x, y), tolerance);
        }
    }
    return differing;
}

GoldenComparison compareWithGolden(const render::Canvas& actual, const std::string& goldenPath, int tolerance, bool update)
{
    GoldenComparison result;
    std::error_code ignored;
    auto write = [&] {
        std::string error;
        if (!actual.writePNG(goldenPath, &error)) {
            result.outcome = GoldenComparison::Outcome::Failed;
            result.message = "cannot write the golden picture " + goldenPath + ": " + error;
            return result;
        }
        // An old difference picture would now describe nothing.
        std::filesystem::remove(diffPathFor(goldenPath), ignored);
        result.outcome = GoldenComparison::Outcome::Written;
        return result;
    };
    if (!std::filesystem::exists(goldenPath, ignored)) {
        if (update)
            return write();
        result.outcome = GoldenComparison::Outcome::Missing;
        return result;
    }
    render::Canvas golden = render::Canvas::readPNG(goldenPath);
    if (!golden.isValid()) {
        if (update)
            return write();
        result.outcome = GoldenComparison::Outcome::Failed;
        result.message = "the golden picture " + goldenPath + " is not a PNG that decodes";
        return result;
    }
    result.differing = countDifferingPixels(actual, golden, tolerance);
    if (result.differing == 0) {
        std::filesystem::remove(diffPathFor(goldenPath), ignored);
        return result;
    }
    if (update)
        return write();
    if (actual.width() != golden.width() || actual.height() != golden.height())
        result.message = "the picture is " + std::to_string(actual.width()) + " x " + std::to_string(actual.height()) + " pixels, the golden one "
            + std::to_string(golden.width()) + " x " + std::to_string(golden.height());
    result.diffPath = diffPathFor(goldenPath);
    std::string error;
    if (!differencePicture(actual, golden, tolerance).writePNG(result.diffPath, &error)) {
        result.outcome = GoldenComparison::Outcome::Failed;
        result.message = "cannot write the difference picture " + result.diffPath + ": " + error;
        return result;
    }
    result.outcome = GoldenComparison::Outcome::Differs;
    return result;
}

} // namespace sim
