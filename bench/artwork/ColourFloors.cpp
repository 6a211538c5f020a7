#include "ColourFloors.h"

#include "bench/colour/JPEGErrors.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <jpeglib.h>
#include <png.h>
#include <spng.h>

#include <vector>

namespace colour_floors {

namespace {

struct PNGSource {
    const std::uint8_t* bytes;
    std::size_t length;
    std::size_t offset;
};

void readPNG(png_structp png, png_bytep out, png_size_t count)
{
    auto* source = static_cast<PNGSource*>(png_get_io_ptr(png));
    if (source->length - source->offset < count)
        png_error(png, "truncated");
    std::memcpy(out, source->bytes + source->offset, count);
    source->offset += count;
}

} // namespace

bool jpegEighthScaleSum(const std::uint8_t* bytes, std::size_t length, std::uint64_t& sink)
{
    std::vector<std::uint8_t> row;
    jpeg_decompress_struct info {};
    JPEGErrors errors {};
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = failJPEG;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes, static_cast<unsigned long>(length));
    jpeg_read_header(&info, TRUE);
    info.scale_num = 1;
    info.scale_denom = 8;
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    row.resize(static_cast<std::size_t>(info.output_width) * 3);
    std::uint64_t sums[3] = { 0, 0, 0 };
    while (info.output_scanline < info.output_height) {
        JSAMPROW line = row.data();
        jpeg_read_scanlines(&info, &line, 1);
        std::uint32_t rowSums[3] = { 0, 0, 0 };
        for (std::size_t i = 0; i < row.size(); i += 3) {
            rowSums[0] += row[i];
            rowSums[1] += row[i + 1];
            rowSums[2] += row[i + 2];
        }
        for (int c = 0; c < 3; ++c)
            sums[c] += rowSums[c];
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    sink += sums[0] + sums[1] + sums[2];
    return true;
}

bool libpngRows(const std::uint8_t* bytes, std::size_t length, std::uint64_t& sink)
{
    PNGSource source { bytes, length, 0 };
    std::vector<std::uint8_t> row;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_read_fn(png, &source, readPNG);
    png_read_info(png, info);
    int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    row.resize(png_get_rowbytes(png, info));
    png_uint_32 height = png_get_image_height(png, info);
    for (int pass = 0; pass < passes; ++pass) {
        for (png_uint_32 y = 0; y < height; ++y)
            png_read_row(png, row.data(), nullptr);
    }
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    sink += row[0];
    return true;
}

bool libspngRows(const std::uint8_t* bytes, std::size_t length, std::uint64_t& sink)
{
    spng_ctx* context = spng_ctx_new(0);
    if (!context)
        return false;
    std::vector<std::uint8_t> row;
    spng_ihdr header {};
    bool ok = !spng_set_png_buffer(context, bytes, length) && !spng_get_ihdr(context, &header)
        && !spng_decode_image(context, nullptr, 0, SPNG_FMT_PNG, SPNG_DECODE_PROGRESSIVE);
    if (ok) {
        std::size_t imageBytes = 0;
        spng_decoded_image_size(context, SPNG_FMT_PNG, &imageBytes);
        row.resize(imageBytes / header.height);
        int status = 0;
        do
            status = spng_decode_row(context, row.data(), row.size());
        while (!status);
        ok = status == SPNG_EOI;
    }
    spng_ctx_free(context);
    if (ok)
        sink += row[0];
    return ok;
}

} // namespace colour_floors
