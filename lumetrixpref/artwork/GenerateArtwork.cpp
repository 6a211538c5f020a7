// Draws the pane's pictures: logo.png (a violet tile with a play glyph over a
// three-quarters-full home bar), header.png (a violet dusk with soft glows, light
// ribbons and a glowing home bar whose strip is part played) and the Settings app's icon
// for the pane's row, the logo's tile at 29 points (icon.png, icon@2x.png, icon@3x.png).
// Everything is computed from shapes, so the output is the same on every run.
//
// usage: lumetrixpref-artwork-generator OUTPUT_FOLDER

#include "sim/imaging/ImageEncoding.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Colour {
    double r = 0, g = 0, b = 0, a = 1;
};

Colour mix(Colour x, Colour y, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    return { x.r + (y.r - x.r) * t, x.g + (y.g - x.g) * t, x.b + (y.b - x.b) * t, x.a + (y.a - x.a) * t };
}

class Canvas {
public:
    Canvas(int width, int height)
        : m_width(width)
        , m_height(height)
        , m_pixels(static_cast<std::size_t>(width) * height)
    {
    }

    int width() const { return m_width; }
    int height() const { return m_height; }

    // Source-over blending of `colour` with its alpha scaled by `coverage`.
    void blend(int x, int y, Colour colour, double coverage)
    {
        double alpha = std::clamp(colour.a * coverage, 0.0, 1.0);
        if (alpha <= 0 || x < 0 || y < 0 || x >= m_width || y >= m_height)
            return;
        Colour& pixel = m_pixels[static_cast<std::size_t>(y) * m_width + x];
        double outAlpha = alpha + pixel.a * (1 - alpha);
        auto channel = [&](double source, double destination) {
            return outAlpha > 0 ? (source * alpha + destination * pixel.a * (1 - alpha)) / outAlpha : 0;
        };
        pixel = { channel(colour.r, pixel.r), channel(colour.g, pixel.g), channel(colour.b, pixel.b), outAlpha };
    }

    template<typename Shader>
    void fill(Shader shader)
    {
        for (int y = 0; y < m_height; ++y) {
            for (int x = 0; x < m_width; ++x)
                m_pixels[static_cast<std::size_t>(y) * m_width + x] = shader(x + 0.5, y + 0.5);
        }
    }

    // A rounded rectangle, anti-aliased from its signed distance; `paint` gives the
    // colour at each point.
    template<typename Paint>
    void roundedRect(double left, double top, double width, double height, double radius, Paint paint)
    {
        double cx = left + width / 2, cy = top + height / 2;
        for (int y = std::max(0, int(top) - 1); y < std::min(m_height, int(top + height) + 2); ++y) {
            for (int x = std::max(0, int(left) - 1); x < std::min(m_width, int(left + width) + 2); ++x) {
                double px = std::abs(x + 0.5 - cx) - (width / 2 - radius);
                double py = std::abs(y + 0.5 - cy) - (height / 2 - radius);
                double outside = std::hypot(std::max(px, 0.0), std::max(py, 0.0)) + std::min(std::max(px, py), 0.0) - radius;
                double coverage = std::clamp(0.5 - outside, 0.0, 1.0);
                if (coverage > 0)
                    blend(x, y, paint(x + 0.5, y + 0.5), coverage);
            }
        }
    }

    // A soft round glow: full strength at the centre, fading to nothing at `radius`.
    void glow(double cx, double cy, double radius, Colour colour)
    {
        for (int y = std::max(0, int(cy - radius)); y < std::min(m_height, int(cy + radius) + 1); ++y) {
            for (int x = std::max(0, int(cx - radius)); x < std::min(m_width, int(cx + radius) + 1); ++x) {
                double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy) / radius;
                if (d < 1)
                    blend(x, y, colour, std::pow(1 - d, 2.2));
            }
        }
    }

    // A triangle, anti-aliased by supersampling each pixel 4 x 4.
    void triangle(double x0, double y0, double x1, double y1, double x2, double y2, Colour colour)
    {
        auto edge = [](double ax, double ay, double bx, double by, double px, double py) {
            return (bx - ax) * (py - ay) - (by - ay) * (px - ax);
        };
        int minX = std::max(0, int(std::min({ x0, x1, x2 })) - 1), maxX = std::min(m_width - 1, int(std::max({ x0, x1, x2 })) + 1);
        int minY = std::max(0, int(std::min({ y0, y1, y2 })) - 1), maxY = std::min(m_height - 1, int(std::max({ y0, y1, y2 })) + 1);
        double area = edge(x0, y0, x1, y1, x2, y2);
        for (int y = minY; y <= maxY; ++y) {
            for (int x = minX; x <= maxX; ++x) {
                int inside = 0;
                for (int sy = 0; sy < 4; ++sy) {
                    for (int sx = 0; sx < 4; ++sx) {
                        double px = x + (sx + 0.5) / 4, py = y + (sy + 0.5) / 4;
                        double w0 = edge(x1, y1, x2, y2, px, py) * area, w1 = edge(x2, y2, x0, y0, px, py) * area, w2 = edge(x0, y0, x1, y1, px, py) * area;
                        inside += w0 >= 0 && w1 >= 0 && w2 >= 0;
                    }
                }
                blend(x, y, colour, inside / 16.0);
            }
        }
    }

    bool writePNG(const std::string& path) const
    {
        std::vector<std::uint8_t> bytes(m_pixels.size() * 4);
        auto byte = [](double value) { return static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0, 1.0) * 255)); };
        for (std::size_t i = 0; i < m_pixels.size(); ++i) {
            bytes[i * 4 + 0] = byte(m_pixels[i].r);
            bytes[i * 4 + 1] = byte(m_pixels[i].g);
            bytes[i * 4 + 2] = byte(m_pixels[i].b);
            bytes[i * 4 + 3] = byte(m_pixels[i].a);
        }
        auto encoded = imaging::encodePNG(bytes.data(), m_width, m_height, 4);
        return !encoded.empty() && imaging::writeFile(path, encoded);
    }

private:
    int m_width;
    int m_height;
    std::vector<Colour> m_pixels;
};

const Colour kNight { 0.13, 0.10, 0.30, 1 };
const Colour kViolet { 0.45, 0.42, 0.75, 1 };
const Colour kLilac { 0.80, 0.60, 0.88, 1 };
const Colour kWhite { 1, 1, 1, 1 };

// A progress strip: a pale track with the played part in white, and a faint halo.
void drawStrip(Canvas& canvas, double centreX, double centreY, double width, double height, double played)
{
    canvas.glow(centreX - width * (0.5 - played), centreY, height * 6, { 1, 0.95, 1, 0.35 });
    double left = centreX - width / 2, top = centreY - height / 2;
    canvas.roundedRect(left, top, width, height, height / 2, [](double, double) { return Colour { 1, 1, 1, 0.32 }; });
    canvas.roundedRect(left, top, width * played, height, height / 2, [](double, double) { return kWhite; });
}

Canvas drawHeader()
{
    Canvas canvas(750, 400);
    double w = canvas.width(), h = canvas.height();
    // Dusk: night in the top-left corner through the violet to lilac at the bottom right.
    canvas.fill([&](double x, double y) {
        double t = (x / w * 0.55 + y / h * 0.45);
        return t < 0.55 ? mix(kNight, kViolet, t / 0.55) : mix(kViolet, kLilac, (t - 0.55) / 0.45);
    });
    canvas.glow(w * 0.18, h * 0.22, 260, { 0.55, 0.45, 0.95, 0.45 });
    canvas.glow(w * 0.86, h * 0.78, 300, { 0.98, 0.70, 0.90, 0.40 });
    canvas.glow(w * 0.50, h * 0.50, 220, { 1, 1, 1, 0.10 });
    // Ribbons of light: two thin sine waves across the picture.
    for (int wave = 0; wave < 2; ++wave) {
        double phase = wave * 1.7, amplitude = 26 + wave * 14, baseline = h * (0.38 + wave * 0.2);
        for (int x = 0; x < canvas.width(); ++x) {
            double y = baseline + amplitude * std::sin(x / w * 2 * M_PI * (1.2 + wave * 0.4) + phase);
            for (int dy = -6; dy <= 6; ++dy)
                canvas.blend(x, int(y) + dy, { 1, 1, 1, 0.16 }, std::pow(1 - std::abs(dy) / 7.0, 2));
        }
    }
    // Stars: a fixed scatter of small points.
    std::uint32_t seed = 20261208;
    auto next = [&] {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) / double(1 << 24);
    };
    for (int star = 0; star < 70; ++star) {
        double x = next() * w, y = next() * h * 0.75, size = 1.5 + next() * 3;
        canvas.glow(x, y, size * 2, { 1, 1, 1, 0.25 + next() * 0.5 });
    }
    // The home bar at the foot of the picture, with the strip two thirds played.
    drawStrip(canvas, w / 2, h - 26, std::round(0.3574 * w), 10, 0.66);
    return canvas;
}

// The logo's tile, drawn `size` pixels square (the logo is 120).
Canvas drawTile(int size)
{
    Canvas canvas(size, size);
    double s = size / 120.0;
    canvas.roundedRect(0, 0, 120 * s, 120 * s, 27 * s, [s](double, double y) { return mix(kViolet, kNight, y / (160 * s)); });
    canvas.glow(40 * s, 30 * s, 70 * s, { 0.85, 0.70, 1, 0.35 });
    // Play glyph.
    canvas.triangle(48 * s, 30 * s, 48 * s, 66 * s, 80 * s, 48 * s, kWhite);
    drawStrip(canvas, 60 * s, 88 * s, 72 * s, 9 * s, 0.75);
    return canvas;
}

Canvas drawLogo()
{
    return drawTile(120);
}

// The Settings app shows a pane's icon at 29 points; the scale variants sit beside it.
bool writeIcons(const std::string& folder)
{
    return drawTile(29).writePNG(folder + "/icon.png") && drawTile(58).writePNG(folder + "/icon@2x.png")
        && drawTile(87).writePNG(folder + "/icon@3x.png");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    std::string folder = argv[1];
    bool ok = drawLogo().writePNG(folder + "/logo.png") && drawHeader().writePNG(folder + "/header.png") && writeIcons(folder);
    if (!ok) {
        std::fprintf(stderr, "%s: cannot write the pictures into %s\n", argv[0], folder.c_str());
        return 1;
    }
    return 0;
}
