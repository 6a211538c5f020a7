#include "Canvas.h"

#include <png.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <utility>
#include <vector>

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

namespace {

// Cairo keeps a pixel as one native 32-bit premultiplied ARGB word.
Rgba straightPixel(std::uint32_t value)
{
    std::uint8_t alpha = value >> 24;
    if (!alpha)
        return {};
    // Most of a screen is opaque: nothing to divide.
    if (alpha == 0xff)
        return { static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value), alpha };
    auto straight = [alpha](std::uint32_t premultiplied) {
        return static_cast<std::uint8_t>(std::min<std::uint32_t>(255, (premultiplied * 255 + alpha / 2) / alpha));
    };
    return { straight((value >> 16) & 0xff), straight((value >> 8) & 0xff), straight(value & 0xff), alpha };
}

} // namespace

Rgba Canvas::pixel(int x, int y) const
{
    if (!isValid() || x < 0 || y < 0 || x >= m_width || y >= m_height)
        return {};
    cairo_surface_flush(m_surface);
    const unsigned char* row = cairo_image_surface_get_data(m_surface) + y * cairo_image_surface_get_stride(m_surface);
    return straightPixel(reinterpret_cast<const std::uint32_t*>(row)[x]);
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
    auto failed = [&](const std::string& why) {
        if (error)
            *error = why;
        return false;
    };
    if (!isValid())
        return failed("nothing was drawn");
    std::error_code ignored;
    std::filesystem::path target(path);
    if (target.has_parent_path())
        std::filesystem::create_directories(target.parent_path(), ignored);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return failed("cannot open the file for writing");
    return writePNG(file, error);
}

bool Canvas::writePNG(std::FILE* file, std::string* error) const
{
    auto failed = [&](const std::string& why) {
        if (error)
            *error = why;
        return false;
    };
    if (!isValid()) {
        std::fclose(file);
        return failed("nothing was drawn");
    }

    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_write_struct(&png, nullptr);
        std::fclose(file);
        return failed("out of memory");
    }
    std::vector<png_byte> row(static_cast<std::size_t>(m_width) * 4);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return failed("the PNG encoder failed");
    }
    png_init_io(png, file);
    // The quickest compression, and one filter, the one that suits a screen best (rows
    // repeat above one another): measured on the demo's screens, a third faster than
    // level 3 with two filters to try per row, and files about as large.
    png_set_compression_level(png, 1);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
    png_set_IHDR(png, info, m_width, m_height, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
        PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    cairo_surface_flush(m_surface);
    const unsigned char* data = cairo_image_surface_get_data(m_surface);
    int stride = cairo_image_surface_get_stride(m_surface);
    for (int y = 0; y < m_height; ++y) {
        auto* pixels = reinterpret_cast<const std::uint32_t*>(data + y * stride);
        for (int x = 0; x < m_width; ++x) {
            Rgba p = straightPixel(pixels[x]);
            png_byte* out = &row[static_cast<std::size_t>(x) * 4];
            out[0] = p.red;
            out[1] = p.green;
            out[2] = p.blue;
            out[3] = p.alpha;
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    if (std::fclose(file) != 0)
        return failed("the file could not be written");
    return true;
}

} // namespace sim::render
