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
#include <cstring>
#include <jerror.h>
#include <jpeglib.h>

#include <algorithm>
#include <optional>
#include <vector>

namespace {

struct JPEGErrors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void failJPEG(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<JPEGErrors*>(info->err)->jump, 1);
}

// libjpeg reads on through damaged data, filling in grey, and only warns: a cut-off file
// (padded with an end marker, or ending in one), a bad Huffman or arithmetic code, bytes
// where none belong give no image. Its messages for damaged data all begin "Corrupt JPEG
// data" (the codes of some exist only in builds with arithmetic coding). Other warnings
// (an odd progression, an unknown colour transform) leave the pixels as the file meant.
void noteJPEGMessage(j_common_ptr info, int level)
{
    if (level >= 0)
        return;
    const jpeg_error_mgr& errors = *info->err;
    int code = errors.msg_code;
    static constexpr char kCorrupt[] = "Corrupt JPEG data";
    bool corrupt = code == JWRN_JPEG_EOF
        || (code > 0 && code <= errors.last_jpeg_message && errors.jpeg_message_table[code]
            && !std::strncmp(errors.jpeg_message_table[code], kCorrupt, sizeof kCorrupt - 1));
    if (corrupt)
        failJPEG(info);
}

void ignoreJPEGOutput(j_common_ptr)
{
}

// Hands the file to libjpeg a piece at a time and counts what it reads, so a file whose
// entropy-coded data would take too long to decode is refused once it has read that much.
// Skipped segments (EXIF, ICC profiles, comments) are passed over without being counted or
// copied.
struct CountedSource {
    jpeg_source_mgr manager {};
    const std::uint8_t* bytes = nullptr;
    std::size_t length = 0;
    std::size_t offset = 0;
    std::uint64_t read = 0;
    std::uint64_t allowed = 0;
};

constexpr std::size_t kSourcePiece = 64 * 1024;
const JOCTET kEndOfImage[2] = { 0xFF, JPEG_EOI };

void startSource(j_decompress_ptr)
{
}

boolean fillSource(j_decompress_ptr info)
{
    auto* source = reinterpret_cast<CountedSource*>(info->src);
    if (source->offset >= source->length) {
        // As libjpeg's own sources do: a warning (which refuses the file), then an end marker.
        WARNMS(info, JWRN_JPEG_EOF);
        source->manager.next_input_byte = kEndOfImage;
        source->manager.bytes_in_buffer = sizeof kEndOfImage;
        return TRUE;
    }
    std::size_t piece = std::min(kSourcePiece, source->length - source->offset);
    source->read += piece;
    if (source->read > source->allowed)
        failJPEG(reinterpret_cast<j_common_ptr>(info));
    source->manager.next_input_byte = source->bytes + source->offset;
    source->manager.bytes_in_buffer = piece;
    source->offset += piece;
    return TRUE;
}

void skipSource(j_decompress_ptr info, long count)
{
    auto* source = reinterpret_cast<CountedSource*>(info->src);
    if (count <= 0)
        return;
    std::size_t skip = static_cast<std::size_t>(count);
    std::size_t buffered = source->manager.bytes_in_buffer;
    if (skip <= buffered) {
        source->manager.next_input_byte += skip;
        source->manager.bytes_in_buffer -= skip;
        source->read -= skip;
        return;
    }
    source->read -= buffered;
    source->manager.bytes_in_buffer = 0;
    source->offset += std::min(skip - buffered, source->length - source->offset);
}

void endSource(j_decompress_ptr)
{
}

void useCountedSource(jpeg_decompress_struct& info, CountedSource& source, const std::uint8_t* bytes, std::size_t length)
{
    source.bytes = bytes;
    source.length = length;
    source.allowed = UIImageDecoder::kMaximumJPEGReadBytes;
    source.manager.init_source = startSource;
    source.manager.fill_input_buffer = fillSource;
    source.manager.skip_input_data = skipSource;
    source.manager.resync_to_restart = jpeg_resync_to_restart;
    source.manager.term_source = endSource;
    info.src = &source.manager;
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
    CountedSource source;
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
    useCountedSource(info, source, bytes, length);
    jpeg_read_header(&info, TRUE);
    std::size_t width = info.image_width;
    std::size_t height = info.image_height;
    // Arithmetic decoding takes several times Huffman's time for each byte, and for each
    // block even where the bytes are few: both are held lower.
    bool arithmetic = info.arith_code;
    if (!width || !height || width * height > (arithmetic ? kMaximumArithmeticJPEGPixels : kMaximumImagePixels)) {
        jpeg_destroy_decompress(&info);
        return std::nullopt;
    }
    if (jpeg_has_multiple_scans(&info))
        source.allowed = kMaximumMultiScanJPEGReadBytes;
    if (arithmetic)
        source.allowed = kMaximumArithmeticJPEGReadBytes;
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
    while (info.output_scanline < info.output_height) {
        JDIMENSION read = jpeg_read_scanlines(&info, pointers, kRowsPerRead);
        for (JDIMENSION i = 0; i < read; ++i) {
            if (cmyk)
                convertCMYKToRGB(pointers[i], outputWidth);
            reducer->addRow(pointers[i]);
        }
    }
    // Reads on to the end marker, so damage after the last row refuses the file too.
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return Image { width, height, reducer->finish() };
}
