// PNG through libpng, row by row into the block reducer: a non-interlaced image is never
// held beyond one row, an interlaced one never beyond one pass row and its block sums.

#include "UIImageBlockReducer.h"
#include "UIImageDecoder.h"

#include <png.h>

#include <cstring>
#include <optional>
#include <vector>

namespace {

struct PNGSource {
    const std::uint8_t* bytes;
    std::size_t length;
    std::size_t offset;
};

void readPNGBytes(png_structp png, png_bytep out, png_size_t count)
{
    auto* source = static_cast<PNGSource*>(png_get_io_ptr(png));
    if (source->length - source->offset < count)
        png_error(png, "truncated PNG data");
    std::memcpy(out, source->bytes + source->offset, count);
    source->offset += count;
}

void failPNG(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void ignorePNGWarning(png_structp, png_const_charp)
{
}

} // namespace

std::optional<UIImageDecoder::Image> UIImageDecoder::decodePNG(const std::uint8_t* bytes, std::size_t length, std::size_t coverWidth, std::size_t coverHeight)
{
    // Everything the error path touches exists before setjmp, and nothing with a
    // destructor is made between setjmp and a possible longjmp.
    PNGSource source { bytes, length, 0 };
    std::vector<std::uint8_t> row;
    std::optional<UIImageBlockReducer> reducer;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, failPNG, ignorePNGWarning);
    if (!png)
        return std::nullopt;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return std::nullopt;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return std::nullopt;
    }
    png_set_read_fn(png, &source, readPNGBytes);
    png_set_user_limits(png, kMaximumDimension, kMaximumDimension);
    // Text and other side chunks may not make libpng hold more than this.
    png_set_chunk_malloc_max(png, 8 * 1024 * 1024);
    png_read_info(png, info);

    png_uint_32 width = 0, height = 0;
    int bitDepth = 0, colorType = 0, interlace = 0;
    png_get_IHDR(png, info, &width, &height, &bitDepth, &colorType, &interlace, nullptr, nullptr);
    if (!width || !height || static_cast<std::uint64_t>(width) * height > kMaximumImagePixels) {
        png_destroy_read_struct(&png, &info, nullptr);
        return std::nullopt;
    }

    // Whatever it holds, read it as 8-bit RGB, or RGBA when it has transparency.
    png_set_expand(png);
    if (bitDepth == 16)
        png_set_strip_16(png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    // Interlacing is left to the reducer: each pass's pixels go straight into their blocks.
    png_read_update_info(png, info);
    int channels = png_get_channels(png, info);
    if ((channels != 3 && channels != 4) || png_get_rowbytes(png, info) != static_cast<png_size_t>(width) * channels)
        png_error(png, "unexpected row layout");

    bool interlaced = interlace == PNG_INTERLACE_ADAM7;
    std::size_t factor = reductionFactor(width, height, coverWidth, coverHeight,
        interlaced ? kMaximumInterlacedBitmapPixels : kMaximumBitmapPixels);
    reducer.emplace(width, height, factor, channels,
        interlaced ? UIImageBlockReducer::Feed::InterlacedPasses : UIImageBlockReducer::Feed::Rows);
    row.resize(static_cast<std::size_t>(width) * channels);
    if (interlaced) {
        for (int pass = 0; pass < 7; ++pass) {
            png_uint_32 columns = PNG_PASS_COLS(width, pass);
            png_uint_32 rows = PNG_PASS_ROWS(height, pass);
            if (!columns || !rows)
                continue; // libpng skips empty passes too
            for (png_uint_32 j = 0; j < rows; ++j) {
                png_read_row(png, row.data(), nullptr);
                reducer->addPassRow(PNG_ROW_FROM_PASS_ROW(j, pass), PNG_PASS_START_COL(pass),
                    std::size_t(1) << PNG_PASS_COL_SHIFT(pass), columns, row.data());
            }
        }
    } else {
        for (png_uint_32 y = 0; y < height; ++y) {
            png_read_row(png, row.data(), nullptr);
            reducer->addRow(row.data());
        }
    }
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return Image { width, height, reducer->finish() };
}
