// lumetrix-artwork: makes the demo's album artwork, so the project ships no images it did
// not make itself. Two small covers with clearly different average colours, one light
// (a PNG) and one dark (a JPEG), each a diagonal gradient with a disc, so averaging has
// real work to do.
//
//   lumetrix-artwork DIR    writes DIR/daybreak.png and DIR/nightdrive.jpg

#include <cmath>
#include <cstdio>
#include <cstdint>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <png.h>

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

bool writePNG(const std::string& path, const std::vector<std::uint8_t>& pixels)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, kSize, kSize, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < kSize; ++y)
        png_write_row(png, pixels.data() + y * kSize * 3);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

bool writeJPEG(const std::string& path, const std::vector<std::uint8_t>& pixels)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    jpeg_compress_struct compressor {};
    jpeg_error_mgr errors {};
    compressor.err = jpeg_std_error(&errors);
    jpeg_create_compress(&compressor);
    jpeg_stdio_dest(&compressor, file);
    compressor.image_width = kSize;
    compressor.image_height = kSize;
    compressor.input_components = 3;
    compressor.in_color_space = JCS_RGB;
    jpeg_set_defaults(&compressor);
    jpeg_set_quality(&compressor, 90, TRUE);
    jpeg_start_compress(&compressor, TRUE);
    while (compressor.next_scanline < compressor.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(pixels.data() + compressor.next_scanline * kSize * 3);
        jpeg_write_scanlines(&compressor, &row, 1);
    }
    jpeg_finish_compress(&compressor);
    jpeg_destroy_compress(&compressor);
    return std::fclose(file) == 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2 || std::string(argv[1]) == "--help") {
        std::fprintf(argc == 2 ? stdout : stderr, "usage: lumetrix-artwork DIR\n\nWrites DIR/daybreak.png (light) and DIR/nightdrive.jpg (dark).\n");
        return argc == 2 ? 0 : 2;
    }
    std::string folder = argv[1];
    // Light: pale gold into peach, a cream disc. Dark: deep navy into violet, a teal disc.
    bool ok = writePNG(folder + "/daybreak.png", cover({ 250, 226, 150 }, { 246, 180, 140 }, { 255, 246, 220 }))
        && writeJPEG(folder + "/nightdrive.jpg", cover({ 14, 20, 60 }, { 50, 24, 80 }, { 20, 90, 100 }));
    if (!ok) {
        std::fprintf(stderr, "lumetrix-artwork: cannot write into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
