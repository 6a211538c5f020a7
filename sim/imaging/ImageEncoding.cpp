#include "ImageEncoding.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <jpeglib.h>
#include <png.h>

namespace imaging {

std::vector<std::uint8_t> encodePNG(const std::uint8_t* pixels, std::size_t width, std::size_t height, int channels,
    bool interlaced)
{
    PNGOptions options;
    options.interlaced = interlaced;
    return encodePNGRows(width, height, channels, options, [&](std::uint8_t* row, std::size_t y) {
        std::memcpy(row, pixels + y * width * channels, width * channels);
    });
}

std::vector<std::uint8_t> encodePNGRows(std::size_t width, std::size_t height, int channels, const PNGOptions& options,
    const std::function<void(std::uint8_t* row, std::size_t y)>& makeRow)
{
    std::vector<std::uint8_t> out;
    std::vector<std::uint8_t> row(width * channels * (options.sixteenBit ? 2 : 1));
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return {};
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, [](png_structp p, png_bytep data, png_size_t length) {
        auto* bytes = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(p));
        bytes->insert(bytes->end(), data, data + length); }, nullptr);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), options.sixteenBit ? 16 : 8,
        channels == 4 ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, options.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
        PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (options.unfiltered)
        png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    else if (options.paeth)
        png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_PAETH);
    if (options.compression >= 0)
        png_set_compression_level(png, options.compression);
    png_write_info(png, info);
    // libpng picks each interlaced pass's pixels out of whole rows.
    int passes = png_set_interlace_handling(png);
    for (int pass = 0; pass < passes; ++pass) {
        for (std::size_t y = 0; y < height; ++y) {
            makeRow(row.data(), y);
            png_write_row(png, row.data());
        }
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

std::vector<std::uint8_t> encodeJPEG(const std::uint8_t* rgb, std::size_t width, std::size_t height, int quality)
{
    JPEGOptions options;
    options.quality = quality;
    return encodeJPEG(rgb, width, height, options);
}

std::vector<std::uint8_t> encodeJPEG(const std::uint8_t* pixels, std::size_t width, std::size_t height, const JPEGOptions& options)
{
    jpeg_compress_struct info {};
    jpeg_error_mgr errors {};
    // libjpeg's default error handler ends the process; the pixels handed in here are
    // always well formed, so only a bug of ours could reach it.
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    int components = options.grey ? 1 : 3;
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = components;
    info.in_color_space = options.grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, options.quality, TRUE);
    if (options.progressive)
        jpeg_simple_progression(&info);
    info.arith_code = options.arithmetic ? TRUE : FALSE;
    if (options.fullColour && !options.grey) {
        for (int i = 0; i < 3; ++i)
            info.comp_info[i].h_samp_factor = info.comp_info[i].v_samp_factor = 1;
    }
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(pixels + static_cast<std::size_t>(info.next_scanline) * width * components);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    std::vector<std::uint8_t> encoded(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return encoded;
}

bool writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    // An empty vector's data() may be null, which fwrite must not be given.
    bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

} // namespace imaging
