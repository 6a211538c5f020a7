#include "Canvas.h"

#include <cmath>
#include <filesystem>
#include <utility>

namespace sim::render {

Canvas::Canvas(CGRect region, CGFloat pixelsPerPoint)
    : m_width(std::max(1, static_cast<int>(std::lround(region.size.width * pixelsPerPoint))))
    , m_height(std::max(1, static_cast<int>(std::lround(region.size.height * pixelsPerPoint))))
    , m_region(region)
    , m_pixelsPerPoint(pixelsPerPoint)
{
    m_surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, m_width, m_height);
}

Canvas::Canvas(cairo_surface_t* adopted, CGRect region, CGFloat pixelsPerPoint)
    : m_surface(adopted)
    , m_width(adopted ? cairo_image_surface_get_width(adopted) : 0)
    , m_height(adopted ? cairo_image_surface_get_height(adopted) : 0)
    , m_region(region)
    , m_pixelsPerPoint(pixelsPerPoint)
{
}

Canvas::~Canvas()
{
    if (m_surface)
        cairo_surface_destroy(m_surface);
}

Canvas::Canvas(Canvas&& other) noexcept
    : m_surface(std::exchange(other.m_surface, nullptr))
    , m_width(other.m_width)
    , m_height(other.m_height)
    , m_region(other.m_region)
    , m_pixelsPerPoint(other.m_pixelsPerPoint)
{
}

Canvas& Canvas::operator=(Canvas&& other) noexcept
{
    if (this != &other) {
        if (m_surface)
            cairo_surface_destroy(m_surface);
        m_surface = std::exchange(other.m_surface, nullptr);
        m_width = other.m_width;
        m_height = other.m_height;
        m_region = other.m_region;
        m_pixelsPerPoint = other.m_pixelsPerPoint;
    }
    return *this;
}

Canvas Canvas::readPNG(const std::string& path)
{
    cairo_surface_t* surface = cairo_image_surface_create_from_png(path.c_str());
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return Canvas(nullptr, CGRectZero, 1);
    }
    CGRect region = CGRectMake(0, 0, cairo_image_surface_get_width(surface), cairo_image_surface_get_height(surface));
    return Canvas(surface, region, 1);
}

Rgba Canvas::pixel(int x, int y) const
{
    if (!isValid() || x < 0 || y < 0 || x >= m_width || y >= m_height)
        return {};
    cairo_surface_flush(m_surface);
    const unsigned char* row = cairo_image_surface_get_data(m_surface) + y * cairo_image_surface_get_stride(m_surface);
    std::uint32_t value = reinterpret_cast<const std::uint32_t*>(row)[x];
    std::uint8_t alpha = value >> 24;
    if (!alpha)
        return {};
    auto straight = [alpha](std::uint32_t premultiplied) {
        return static_cast<std::uint8_t>(std::min<std::uint32_t>(255, (premultiplied * 255 + alpha / 2) / alpha));
    };
    return { straight((value >> 16) & 0xff), straight((value >> 8) & 0xff), straight(value & 0xff), alpha };
}

Rgba Canvas::pixelAtPoint(CGPoint screenPoint) const
{
    double x = (screenPoint.x - m_region.origin.x) * m_pixelsPerPoint;
    double y = (screenPoint.y - m_region.origin.y) * m_pixelsPerPoint;
    return pixel(static_cast<int>(std::floor(x)), static_cast<int>(std::floor(y)));
}

cairo_matrix_t Canvas::pointToPixelMatrix() const
{
    cairo_matrix_t matrix;
    cairo_matrix_init_scale(&matrix, m_pixelsPerPoint, m_pixelsPerPoint);
    cairo_matrix_translate(&matrix, -m_region.origin.x, -m_region.origin.y);
    return matrix;
}

bool Canvas::writePNG(const std::string& path, std::string* error) const
{
    if (!isValid()) {
        if (error)
            *error = "nothing was drawn";
        return false;
    }
    std::error_code ignored;
    std::filesystem::path target(path);
    if (target.has_parent_path())
        std::filesystem::create_directories(target.parent_path(), ignored);
    cairo_status_t status = cairo_surface_write_to_png(m_surface, path.c_str());
    if (status != CAIRO_STATUS_SUCCESS) {
        if (error)
            *error = cairo_status_to_string(status);
        return false;
    }
    return true;
}

} // namespace sim::render
