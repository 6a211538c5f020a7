#include "Thumbnail.h"

#include "MediaRemote/Base64.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstring>

namespace sim::render {

namespace {

// Thumbnails are small; anything claiming to be larger is not one.
constexpr int kLargestSide = 8192;

Canvas emptyCanvas()
{
    return Canvas(nullptr, CGRectZero, 1);
}

} // namespace

Canvas makeThumbnail(const Canvas& picture, int width)
{
    if (!picture.isValid() || width <= 0)
        return emptyCanvas();
    int height = std::max(1, static_cast<int>(std::lround(double(picture.height()) * width / picture.width())));
    Canvas thumbnail(CGRectMake(0, 0, width, height), 1);
    cairo_t* cr = cairo_create(thumbnail.surface());
    double scale = double(width) / picture.width();
    cairo_scale(cr, scale, scale);
    cairo_set_source_surface(cr, picture.surface(), 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(thumbnail.surface());
    return thumbnail;
}

nlohmann::json thumbnailToJSON(const Canvas& thumbnail)
{
    if (!thumbnail.isValid())
        return nullptr;
    cairo_surface_flush(thumbnail.surface());
    const unsigned char* data = cairo_image_surface_get_data(thumbnail.surface());
    int stride = cairo_image_surface_get_stride(thumbnail.surface());
    std::size_t rowBytes = static_cast<std::size_t>(thumbnail.width()) * 4;
    std::vector<std::uint8_t> pixels(rowBytes * static_cast<std::size_t>(thumbnail.height()));
    for (int y = 0; y < thumbnail.height(); ++y)
        std::memcpy(pixels.data() + rowBytes * static_cast<std::size_t>(y), data + static_cast<std::ptrdiff_t>(y) * stride, rowBytes);
    return { { "width", thumbnail.width() }, { "height", thumbnail.height() }, { "pixels", platform::encodeBase64(pixels) } };
}

Canvas thumbnailFromJSON(const nlohmann::json& json)
{
    if (!json.is_object() || !json.value("width", nlohmann::json()).is_number_integer()
        || !json.value("height", nlohmann::json()).is_number_integer() || !json.value("pixels", nlohmann::json()).is_string())
        return emptyCanvas();
    int width = json["width"].get<int>();
    int height = json["height"].get<int>();
    if (width <= 0 || height <= 0 || width > kLargestSide || height > kLargestSide)
        return emptyCanvas();
    auto pixels = platform::decodeBase64(json["pixels"].get<std::string>());
    std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
    if (!pixels || pixels->size() != rowBytes * static_cast<std::size_t>(height))
        return emptyCanvas();
    Canvas thumbnail(CGRectMake(0, 0, width, height), 1);
    cairo_surface_flush(thumbnail.surface());
    unsigned char* data = cairo_image_surface_get_data(thumbnail.surface());
    int stride = cairo_image_surface_get_stride(thumbnail.surface());
    for (int y = 0; y < height; ++y)
        std::memcpy(data + static_cast<std::ptrdiff_t>(y) * stride, pixels->data() + rowBytes * static_cast<std::size_t>(y), rowBytes);
    cairo_surface_mark_dirty(thumbnail.surface());
    return thumbnail;
}

} // namespace sim::render
