// PNG through libpng's push reader, row by row into the block reducer: a non-interlaced
// image is never held beyond one row, an interlaced one never beyond one pass row and its
// block sums.
//
// The push reader is used rather than the sequential one because of what follows the last
// row. A sequential read finishes the compressed stream when the last row is in, inflating
// whatever the stream still holds, and a stream of a few megabytes can go on to gigabytes
// of zeros after a 1 x 1 image. The push reader stops inflating at the first byte past the
// rows and warns; such a stream is not an image, so it is refused there, having cost no
// more than the image itself.

#include "UIImageBlockReducer.h"
#include "UIImageDecoder.h"

#include <png.h>

#include <cstring>
#include <optional>

namespace {

struct PNGProgress {
    std::size_t coverWidth = 1;
    std::size_t coverHeight = 1;
    std::optional<UIImageBlockReducer> reducer;
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    bool interlaced = false;
    std::uint64_t rowsExpected = 0;
    std::uint64_t rowsTaken = 0;
    bool ended = false;
};

[[noreturn]] void failPNG(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void notePNGWarning(png_structp png, png_const_charp message)
{
    // libpng has no codes for its warnings; these two are compressed data the rows did not
    // take. Other warnings (a damaged side chunk, say) leave the pixels whole.
    static const char* const kDataBeyondTheRows[] = { "Extra compressed data", "Too many IDATs" };
    for (const char* prefix : kDataBeyondTheRows) {
        if (!std::strncmp(message, prefix, std::strlen(prefix)))
            failPNG(png, message);
    }
}

void startRows(png_structp png, png_infop info)
{
    auto* progress = static_cast<PNGProgress*>(png_get_progressive_ptr(png));
    if (progress->reducer)
        png_error(png, "a second image header");
    png_uint_32 width = 0, height = 0;
    int bitDepth = 0, colorType = 0, interlace = 0;
    png_get_IHDR(png, info, &width, &height, &bitDepth, &colorType, &interlace, nullptr, nullptr);
    if (!width || !height || static_cast<std::uint64_t>(width) * height > UIImageDecoder::kMaximumImagePixels)
        png_error(png, "too many pixels");
    if (UIImageDecoder::pngInflatedBytes(width, height, bitDepth, png_get_channels(png, info), interlace == PNG_INTERLACE_ADAM7)
        > UIImageDecoder::kMaximumPNGInflatedBytes)
        png_error(png, "too much data to inflate");

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

    progress->width = width;
    progress->height = height;
    progress->interlaced = interlace == PNG_INTERLACE_ADAM7;
    progress->rowsExpected = height;
    if (progress->interlaced) {
        progress->rowsExpected = 0;
        for (int pass = 0; pass < 7; ++pass) {
            if (PNG_PASS_COLS(width, pass))
                progress->rowsExpected += PNG_PASS_ROWS(height, pass);
        }
    }
    std::size_t factor = UIImageDecoder::reductionFactor(width, height, progress->coverWidth, progress->coverHeight,
        progress->interlaced ? UIImageDecoder::kMaximumInterlacedBitmapPixels : UIImageDecoder::kMaximumBitmapPixels);
    progress->reducer.emplace(width, height, factor, channels,
        progress->interlaced ? UIImageBlockReducer::Feed::InterlacedPasses : UIImageBlockReducer::Feed::Rows);
}

void takeRow(png_structp png, png_bytep row, png_uint_32 rowNumber, int pass)
{
    auto* progress = static_cast<PNGProgress*>(png_get_progressive_ptr(png));
    if (!row || !progress->reducer)
        return;
    ++progress->rowsTaken;
    if (progress->interlaced) {
        // Without libpng's interlace handling a row is one pass's row, its pixels packed.
        progress->reducer->addPassRow(PNG_ROW_FROM_PASS_ROW(rowNumber, pass), PNG_PASS_START_COL(pass),
            std::size_t(1) << PNG_PASS_COL_SHIFT(pass), PNG_PASS_COLS(progress->width, pass), row);
    } else {
        progress->reducer->addRow(row);
    }
}

void finishImage(png_structp png, png_infop)
{
    auto* progress = static_cast<PNGProgress*>(png_get_progressive_ptr(png));
    progress->ended = true;
    // Whatever follows the end chunk is not read.
    png_process_data_pause(png, 0);
}

} // namespace

std::uint64_t UIImageDecoder::pngInflatedBytes(std::uint32_t width, std::uint32_t height, int bitDepth, int channels, bool interlaced)
{
    // A filter byte and the packed samples of each row; Adam7's seven passes have up to
    // seven rows' filter bytes for each row of the image and at most a byte more of packing.
    std::uint64_t rowBits = static_cast<std::uint64_t>(width) * static_cast<unsigned>(bitDepth) * static_cast<unsigned>(channels);
    std::uint64_t rowBytes = (rowBits + 7) / 8 + 1;
    return static_cast<std::uint64_t>(height) * (interlaced ? rowBytes + 14 : rowBytes);
}

std::optional<UIImageDecoder::Image> UIImageDecoder::decodePNG(const std::uint8_t* bytes, std::size_t length, std::size_t coverWidth, std::size_t coverHeight)
{
    // Everything the error path touches exists before setjmp, and nothing with a
    // destructor is made between setjmp and a possible longjmp.
    PNGProgress progress;
    progress.coverWidth = coverWidth;
    progress.coverHeight = coverHeight;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, failPNG, notePNGWarning);
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
    png_set_user_limits(png, kMaximumDimension, kMaximumDimension);
    // Text and other side chunks may not make libpng hold more than this.
    png_set_chunk_malloc_max(png, 8 * 1024 * 1024);
    png_set_progressive_read_fn(png, &progress, startRows, takeRow, finishImage);
    png_process_data(png, info, const_cast<png_bytep>(bytes), length);
    png_destroy_read_struct(&png, &info, nullptr);
    // Bytes that stop before the end chunk are a cut-off file.
    if (!progress.ended || !progress.reducer || progress.rowsTaken != progress.rowsExpected)
        return std::nullopt;
    return Image { progress.width, progress.height, progress.reducer->finish() };
}
