#include "TestArtwork.h"

#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
#include <png.h>

#include <algorithm>

std::vector<std::uint8_t> TestArtwork::pixels(std::size_t width, std::size_t height)
{
    std::vector<std::uint8_t> rgb(width * height * 3);
    std::uint64_t noise = 0x2545F4914F6CDD1Dull;
    for (std::size_t y = 0; y < height; ++y) {
        for (std::size_t x = 0; x < width; ++x) {
            noise ^= noise << 13;
            noise ^= noise >> 7;
            noise ^= noise << 17;
            // Noise of +-8 levels: visible grain, as in a scanned cover, without
            // making the PNG as large as raw pixels.
            int grain = static_cast<int>(noise % 17) - 8;
            int red = static_cast<int>(40 + 180 * x / width);
            int green = static_cast<int>(200 - 150 * y / height);
            int blue = static_cast<int>(60 + 120 * (x + y) / (width + height));
            std::uint8_t* p = rgb.data() + (y * width + x) * 3;
            p[0] = static_cast<std::uint8_t>(std::clamp(red + grain, 0, 255));
            p[1] = static_cast<std::uint8_t>(std::clamp(green + grain, 0, 255));
            p[2] = static_cast<std::uint8_t>(std::clamp(blue - grain, 0, 255));
        }
    }
    return rgb;
}

std::vector<std::uint8_t> TestArtwork::encodePNG(std::size_t width, std::size_t height)
{
    auto rgb = pixels(width, height);
    png_image image {};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    // The first call only measures; the second writes.
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, rgb.data(), 0, nullptr))
        return {};
    std::vector<std::uint8_t> encoded(size);
    if (!png_image_write_to_memory(&image, encoded.data(), &size, 0, rgb.data(), 0, nullptr))
        return {};
    encoded.resize(size);
    return encoded;
}

std::vector<std::uint8_t> TestArtwork::encodeJPEG(std::size_t width, std::size_t height, int quality)
{
    auto rgb = pixels(width, height);
    jpeg_compress_struct info {};
    jpeg_error_mgr errors {};
    // The default error handler exits the process, which is fine for a benchmark's setup.
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = rgb.data() + static_cast<std::size_t>(info.next_scanline) * width * 3;
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<std::uint8_t> encoded(buffer, buffer + size);
    std::free(buffer);
    return encoded;
}
