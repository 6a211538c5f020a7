// lumetrix-artwork: makes the demo's album artwork, so the project ships no images it did
// not make itself. Two small covers with clearly different average colours, one light
// (a PNG) and one dark (a JPEG), each a diagonal gradient with a disc, so averaging has
// real work to do.
//
//   lumetrix-artwork DIR    writes DIR/daybreak.png and DIR/nightdrive.jpg

#include "LumetrixVersion.h"

#include "sim/imaging/ImageEncoding.h"

#include <cmath>
#include <cstdio>
#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr int kSize = 64;

struct Colour {
    double red, green, blue;
};

// RGB bytes, row by row: a gradient from `from` (top left) to `to` (bottom right), with a
// disc of `disc` in the middle.
std::vector<std::uint8_t> cover(Colour from, Colour to, Colour disc)
{
    std::vector<std::uint8_t> pixels(kSize * kSize * 3);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            double along = (x + y) / double(2 * (kSize - 1));
            Colour colour { from.red + (to.red - from.red) * along, from.green + (to.green - from.green) * along,
                from.blue + (to.blue - from.blue) * along };
            double dx = x - kSize / 2.0 + 0.5;
            double dy = y - kSize / 2.0 + 0.5;
            if (std::sqrt(dx * dx + dy * dy) < kSize / 5.0)
                colour = disc;
            std::uint8_t* pixel = &pixels[(y * kSize + x) * 3];
            pixel[0] = static_cast<std::uint8_t>(std::lround(colour.red));
            pixel[1] = static_cast<std::uint8_t>(std::lround(colour.green));
            pixel[2] = static_cast<std::uint8_t>(std::lround(colour.blue));
        }
    }
    return pixels;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::string(argv[1]) == "--version") {
        std::printf("lumetrix-artwork %s\n", LUMETRIX_VERSION);
        return 0;
    }
    if (argc != 2 || std::string(argv[1]) == "--help") {
        std::fprintf(argc == 2 ? stdout : stderr, "usage: lumetrix-artwork DIR\n\nWrites DIR/daybreak.png (light) and DIR/nightdrive.jpg (dark).\n");
        return argc == 2 ? 0 : 2;
    }
    std::string folder = argv[1];
    // Light: pale gold into peach, a cream disc. Dark: deep navy into violet, a teal disc.
    auto light = cover({ 250, 226, 150 }, { 246, 180, 140 }, { 255, 246, 220 });
    auto dark = cover({ 14, 20, 60 }, { 50, 24, 80 }, { 20, 90, 100 });
    bool ok = imaging::writeFile(folder + "/daybreak.png", imaging::encodePNG(light.data(), kSize, kSize, 3))
        && imaging::writeFile(folder + "/nightdrive.jpg", imaging::encodeJPEG(dark.data(), kSize, kSize, 90));
    if (!ok) {
        std::fprintf(stderr, "lumetrix-artwork: cannot write into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
