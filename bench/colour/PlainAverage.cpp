#include "PlainAverage.h"

#include "JPEGErrors.h"

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>
#include <png.h>

std::optional<PlainAverage::Colour> PlainAverage::ofPNG(const std::uint8_t* bytes, std::size_t length)
{
    // libpng's simplified reader: the shortest correct road from PNG bytes to RGBA8.
    png_image image {};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes, length))
        return std::nullopt;
    image.format = PNG_FORMAT_RGBA;
    std::vector<std::uint8_t> rgba(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) {
        png_image_free(&image);
        return std::nullopt;
    }
    return ofPixels(rgba, static_cast<std::size_t>(image.width) * image.height);
}

std::optional<PlainAverage::Colour> PlainAverage::ofJPEG(const std::uint8_t* bytes, std::size_t length)
{
    // Made before setjmp, so a longjmp back skips no destructor.
    std::vector<std::uint8_t> rgba;
    jpeg_decompress_struct info {};
    JPEGErrors errors {};
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = failJPEG;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return std::nullopt;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes, static_cast<unsigned long>(length));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_RGBA;
    jpeg_start_decompress(&info);
    std::size_t width = info.output_width;
    rgba.resize(width * info.output_height * 4);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = rgba.data() + static_cast<std::size_t>(info.output_scanline) * width * 4;
        jpeg_read_scanlines(&info, &row, 1);
    }
    std::size_t pixelCount = width * info.output_height;
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return ofPixels(rgba, pixelCount);
}

PlainAverage::Colour PlainAverage::ofPixels(const std::vector<std::uint8_t>& rgba, std::size_t pixelCount)
{
    if (!pixelCount)
        return {};
    std::uint64_t sums[3] = { 0, 0, 0 };
    const std::uint8_t* p = rgba.data();
    for (std::size_t i = 0; i < pixelCount; ++i, p += 4) {
        sums[0] += p[0];
        sums[1] += p[1];
        sums[2] += p[2];
    }
    auto count = static_cast<double>(pixelCount);
    return { sums[0] / count, sums[1] / count, sums[2] / count };
}
