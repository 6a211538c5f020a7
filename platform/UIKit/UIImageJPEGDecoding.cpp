// JPEG through libjpeg-turbo, at the smallest of its scales (1/1, 1/2, 1/4, 1/8) that still
// covers what is asked for, row by row into the block reducer.
//
// A progressive file is absorbed whole before its first row comes out, into buffers of
// every coefficient of the image, and each scan walks those buffers again. Both are
// bounded: the buffers by libjpeg's own memory limit (it has no backing store, so a file
// needing more is refused when they are set up), the scans through its progress monitor.

#include "UIImageBlockReducer.h"
#include "UIImageDecoder.h"

#include <csetjmp>
#include <cstdio>
#include <jerror.h>
#include <jpeglib.h>

#include <algorithm>
#include <optional>
#include <vector>

namespace {

struct JPEGErrors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    bool truncated;
};

void failJPEG(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<JPEGErrors*>(info->err)->jump, 1);
}

void noteJPEGMessage(j_common_ptr info, int level)
{
    // libjpeg pads a short file with an end marker and warns; a cut-off file is no image.
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF)
        reinterpret_cast<JPEGErrors*>(info->err)->truncated = true;
}

void ignoreJPEGOutput(j_common_ptr)
{
}

// Called by libjpeg as it goes through the file, at least once per row of blocks.
void limitScans(j_common_ptr common)
{
    auto* info = reinterpret_cast<j_decompress_ptr>(common);
    if (info->input_scan_number > UIImageDecoder::kMaximumJPEGScans)
        failJPEG(common);
}

// The largest of libjpeg's reductions (1/1 ... 1/8) that still covers the request, or the
// smallest that brings the bitmap within its limit when that is larger.
unsigned scaleDenominator(std::size_t width, std::size_t height, std::size_t coverWidth, std::size_t coverHeight)
{
    auto side = [](std::size_t length, unsigned d) { return (length + d - 1) / d; };
    unsigned covering = 8;
    while (covering > 1 && (side(width, covering) < std::min(coverWidth, width) || side(height, covering) < std::min(coverHeight, height)))
        covering /= 2;
    unsigned within = 1;
    while (within < 8 && side(width, within) * side(height, within) > UIImageDecoder::kMaximumBitmapPixels)
        within *= 2;
    return std::max(covering, within);
}

// Adobe writes CMYK inverted, which is what nearly every CMYK JPEG is.
void convertCMYKToRGB(std::uint8_t* row, std::size_t pixels)
{
    for (std::size_t i = 0; i < pixels; ++i) {
        const std::uint8_t* cmyk = row + i * 4;
        unsigned k = cmyk[3];
        std::uint8_t* rgb = row + i * 3;
        std::uint8_t red = static_cast<std::uint8_t>((cmyk[0] * k + 127) / 255);
        std::uint8_t green = static_cast<std::uint8_t>((cmyk[1] * k + 127) / 255);
        std::uint8_t blue = static_cast<std::uint8_t>((cmyk[2] * k + 127) / 255);
        rgb[0] = red;
        rgb[1] = green;
        rgb[2] = blue;
    }
}

} // namespace

std::optional<UIImageDecoder::Image> UIImageDecoder::decodeJPEG(const std::uint8_t* bytes, std::size_t length, std::size_t coverWidth, std::size_t coverHeight)
{
    // Everything the error path touches exists before setjmp.
    jpeg_decompress_struct info {};
    JPEGErrors errors {};
    jpeg_progress_mgr progress {};
    std::vector<std::uint8_t> rows;
    std::optional<UIImageBlockReducer> reducer;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = failJPEG;
    errors.manager.emit_message = noteJPEGMessage;
    errors.manager.output_message = ignoreJPEGOutput;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return std::nullopt;
    }
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = kMaximumJPEGBufferBytes;
    progress.progress_monitor = limitScans;
    info.progress = &progress;
    jpeg_mem_src(&info, bytes, static_cast<unsigned long>(length));
    jpeg_read_header(&info, TRUE);
    std::size_t width = info.image_width;
    std::size_t height = info.image_height;
    if (!width || !height || width * height > kMaximumImagePixels) {
        jpeg_destroy_decompress(&info);
        return std::nullopt;
    }
    info.scale_num = 1;
    info.scale_denom = scaleDenominator(width, height, coverWidth, coverHeight);
    bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(&info);
    std::size_t outputWidth = info.output_width;
    std::size_t outputHeight = info.output_height;
    std::size_t factor = reductionFactor(outputWidth, outputHeight, coverWidth, coverHeight, kMaximumBitmapPixels);
    reducer.emplace(outputWidth, outputHeight, factor, 3, UIImageBlockReducer::Feed::Rows);
    // A few rows at a time: libjpeg hands out up to a row of blocks per call.
    constexpr std::size_t kRowsPerRead = 16;
    std::size_t bytesPerRow = outputWidth * static_cast<std::size_t>(info.output_components);
    rows.resize(bytesPerRow * kRowsPerRead);
    JSAMPROW pointers[kRowsPerRead];
    for (std::size_t i = 0; i < kRowsPerRead; ++i)
        pointers[i] = rows.data() + i * bytesPerRow;
    while (info.output_scanline < info.output_height && !errors.truncated) {
        JDIMENSION read = jpeg_read_scanlines(&info, pointers, kRowsPerRead);
        for (JDIMENSION i = 0; i < read; ++i) {
            if (cmyk)
                convertCMYKToRGB(pointers[i], outputWidth);
            reducer->addRow(pointers[i]);
        }
    }
    if (!errors.truncated)
        jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    if (errors.truncated)
        return std::nullopt;
    return Image { width, height, reducer->finish() };
}
