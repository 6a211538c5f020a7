#pragma once
// A picture of (part of) the screen: 32-bit premultiplied pixels in a cairo image surface,
// with the mapping from screen points to its pixels. The renderer draws into it; tests
// probe its pixels; the simulator writes it as PNG.

#include "CoreGraphics/CGGeometry.h"

#include <cairo.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace sim::render {

// A pixel with straight (not premultiplied) components, 0...255.
struct Rgba {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t alpha = 0;
};

class Canvas {
public:
    // A transparent canvas showing `region` (screen points) at `pixelsPerPoint`.
    Canvas(CGRect region, CGFloat pixelsPerPoint);
    // Adopts a surface (a decoded PNG, a composed sheet) that shows `region`.
    Canvas(cairo_surface_t* adopted, CGRect region, CGFloat pixelsPerPoint);
    ~Canvas();
    Canvas(Canvas&&) noexcept;
    Canvas& operator=(Canvas&&) noexcept;
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    // Reads a PNG file; an empty canvas (isValid() false) if it does not decode.
    static Canvas readPNG(const std::string& path);

    bool isValid() const { return m_surface && cairo_surface_status(m_surface) == CAIRO_STATUS_SUCCESS; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    CGRect region() const { return m_region; }
    CGFloat pixelsPerPoint() const { return m_pixelsPerPoint; }
    cairo_surface_t* surface() const { return m_surface; }

    // The pixel at (x, y), un-premultiplied; transparent outside the canvas.
    Rgba pixel(int x, int y) const;
    // The pixel under a screen point.
    Rgba pixelAtPoint(CGPoint screenPoint) const;
    // The device matrix: screen points to this canvas's pixels.
    cairo_matrix_t pointToPixelMatrix() const;

    // Writes a PNG, making the folder if needed. False with `error` set on failure.
    bool writePNG(const std::string& path, std::string* error = nullptr) const;
    // The same into a file opened for writing, which is closed.
    bool writePNG(std::FILE* file, std::string* error = nullptr) const;

private:
    cairo_surface_t* m_surface = nullptr;
    int m_width = 0;
    int m_height = 0;
    CGRect m_region;
    CGFloat m_pixelsPerPoint = 1;
};

} // namespace sim::render
