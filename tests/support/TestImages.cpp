#include "TestImages.h"

#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
#include <png.h>

namespace testing_support {

std::vector<std::uint8_t> solidPNG(int width, int height, RGBA colour)
{
    png_image image {};
    image.version = PNG_IMAGE_VERSION;
    image.width = width;
    image.height = height;
    image.format = PNG_FORMAT_RGBA;
    std::vector<std::uint8_t> pixels(static_cast<size_t>(width) * height * 4);
    for (size_t i = 0; i < pixels.size(); i += 4) {
        pixels[i] = colour.r;
        pixels[i + 1] = colour.g;
        pixels[i + 2] = colour.b;
        pixels[i + 3] = colour.a;
    }
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr);
    std::vector<std::uint8_t> encoded(size);
    png_image_write_to_memory(&image, encoded.data(), &size, 0, pixels.data(), 0, nullptr);
    encoded.resize(size);
    return encoded;
}

std::vector<std::uint8_t> solidJPEG(int width, int height, RGBA colour)
{
    jpeg_compress_struct compressor {};
    jpeg_error_mgr errors {};
    compressor.err = jpeg_std_error(&errors);
    jpeg_create_compress(&compressor);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&compressor, &buffer, &size);
    compressor.image_width = width;
    compressor.image_height = height;
    compressor.input_components = 3;
    compressor.in_color_space = JCS_RGB;
    jpeg_set_defaults(&compressor);
    jpeg_set_quality(&compressor, 100, TRUE);
    jpeg_start_compress(&compressor, TRUE);
    std::vector<unsigned char> row(static_cast<size_t>(width) * 3);
    for (int x = 0; x < width; ++x) {
        row[x * 3] = colour.r;
        row[x * 3 + 1] = colour.g;
        row[x * 3 + 2] = colour.b;
    }
    while (compressor.next_scanline < compressor.image_height) {
        JSAMPROW rows[] = { row.data() };
        jpeg_write_scanlines(&compressor, rows, 1);
    }
    jpeg_finish_compress(&compressor);
    std::vector<std::uint8_t> encoded(buffer, buffer + size);
    jpeg_destroy_compress(&compressor);
    std::free(buffer);
    return encoded;
}

} // namespace testing_support
