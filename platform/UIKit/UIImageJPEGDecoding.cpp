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

// Follows libjpeg through a multi-scan file while jpeg_start_decompress absorbs it: each
// call comes before one row of blocks of the current scan. Every scan walks the blocks of
// its components again, cheaply or not (a refinement scan looks at every coefficient of
// every block it covers, even where the file says nothing), so what is bounded is the
// number of scans and the blocks they walk, counted in walks over the whole image.
struct ScanLimits {
    jpeg_progress_mgr manager {};
    bool absorbing = false;
    std::uint64_t blocksWalked = 0;
    std::uint64_t blocksAllowed = 0;
};

void limitScans(j_common_ptr common)
{
    auto* info = reinterpret_cast<j_decompress_ptr>(common);
    auto* limits = reinterpret_cast<ScanLimits*>(info->progress);
    if (!limits->absorbing)
        return;
    if (info->input_scan_number > UIImageDecoder::kMaximumJPEGScans)
        failJPEG(common);
    for (int i = 0; i < info->comps_in_scan; ++i) {
        const jpeg_component_info* component = info->cur_comp_info[i];
        limits->blocksWalked += static_cast<std::uint64_t>(component->width_in_blocks) * component->v_samp_factor;
    }
    if (limits->blocksWalked > limits->blocksAllowed)
        failJPEG(common);
}

// The walks allowed over the image's blocks, and a row of blocks for each scan allowed: the
// call that reads a scan's header counts a row of the scan before it.
std::uint64_t blocksAllowed(const jpeg_decompress_struct& info)
{
    std::uint64_t blocks = 0, row = 0;
    for (int i = 0; i < info.num_components; ++i) {
        const jpeg_component_info& component = info.comp_info[i];
        blocks += static_cast<std::uint64_t>(component.width_in_blocks) * component.height_in_blocks;
        row += static_cast<std::uint64_t>(component.width_in_blocks) * component.v_samp_factor;
    }
    return blocks * UIImageDecoder::kMaximumJPEGImageWalks + row * UIImageDecoder::kMaximumJPEGScans;
}

// Below this, a reduced decode saves little, and the padding in its edge blocks and the
// rounding of block means start to show in the colour.
constexpr std::size_t kSmallestReducedSide = 64;

// The largest of libjpeg's reductions (1/1 ... 1/8) that still covers the request, or the
// smallest that brings the bitmap within its limit when that is larger.
unsigned scaleDenominator(std::size_t width, std::size_t height, std::size_t coverWidth, std::size_t coverHeight)
{
    auto side = [](std::size_t length, unsigned d) { return (length + d - 1) / d; };
    coverWidth = std::min(std::max(coverWidth, kSmallestReducedSide), width);
    coverHeight = std::min(std::max(coverHeight, kSmallestReducedSide), height);
    unsigned covering = 8;
    while (covering > 1 && (side(width, covering) < coverWidth || side(height, covering) < coverHeight))
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
    ScanLimits limits;
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
    limits.manager.progress_monitor = limitScans;
    info.progress = &limits.manager;
    jpeg_mem_src(&info, bytes, static_cast<unsigned long>(length));
    jpeg_read_header(&info, TRUE);
    std::size_t width = info.image_width;
    std::size_t height = info.image_height;
    if (!width || !height || width * height > kMaximumImagePixels) {
        jpeg_destroy_decompress(&info);
        return std::nullopt;
    }
    bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    // CMYK becomes RGB by multiplying channels, which does not commute with averaging:
    // reduced only as far as the bitmap limit needs.
    info.scale_num = 1;
    info.scale_denom = cmyk ? scaleDenominator(width, height, width, height) : scaleDenominator(width, height, coverWidth, coverHeight);
    info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    // A multi-scan file is read whole here, before the first row comes out.
    limits.blocksAllowed = blocksAllowed(info);
    limits.absorbing = true;
    jpeg_start_decompress(&info);
    limits.absorbing = false;
    std::size_t outputWidth = info.output_width;
    std::size_t outputHeight = info.output_height;
    std::size_t factor = reductionFactor(outputWidth, outputHeight, coverWidth, coverHeight, kMaximumBitmapPixels);
    reducer.emplace(outputWidth, outputHeight, factor, 3, UIImageBlockReducer::Feed::Rows);
    reducer->setScaledFrom(info.scale_denom, width, height);
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
