#include "UIImageDecoder.h"

#include <cstdio>
#include <csetjmp>
#include <cstring>
#include <jpeglib.h>
#include <jerror.h>
#include <png.h>

#include <algorithm>
#include <vector>

namespace {

std::uint8_t premultiply(std::uint8_t component, std::uint8_t alpha)
{
    return static_cast<std::uint8_t>((component * alpha + 127) / 255);
}

// The smallest whole factor that brings width x height down to the bitmap limit.
std::size_t reductionFactor(std::size_t width, std::size_t height)
{
    std::size_t factor = 1;
    while (((width + factor - 1) / factor) * ((height + factor - 1) / factor) > UIImageDecoder::kMaximumBitmapPixels)
        ++factor;
    return factor;
}

// Averages blocks of factor x factor pixels, fed one row at a time, so a big image never
// has to be held at full size.
class BlockAverager {
public:
    BlockAverager(std::size_t width, std::size_t height, std::size_t factor)
        : m_width(width)
        , m_height(height)
        , m_factor(factor)
        , m_outputWidth((width + factor - 1) / factor)
        , m_sums(m_outputWidth * 4)
        , m_counts(m_outputWidth)
    {
        m_output.width = m_outputWidth;
        m_output.height = (height + factor - 1) / factor;
        m_output.pixels.reserve(m_output.width * m_output.height * 4);
    }

    // A row of premultiplied RGBA pixels.
    void addRow(const std::uint8_t* row)
    {
        for (std::size_t x = 0; x < m_width; ++x) {
            std::size_t cell = x / m_factor;
            for (int c = 0; c < 4; ++c)
                m_sums[cell * 4 + c] += row[x * 4 + c];
            ++m_counts[cell];
        }
        ++m_row;
        if (++m_rowsInBlock == m_factor || m_row == m_height)
            flush();
    }

    CGImage finish()
    {
        if (m_rowsInBlock)
            flush();
        return std::move(m_output);
    }

private:
    void flush()
    {
        for (std::size_t cell = 0; cell < m_outputWidth; ++cell) {
            for (int c = 0; c < 4; ++c) {
                std::uint64_t count = std::max<std::uint64_t>(m_counts[cell], 1);
                m_output.pixels.push_back(static_cast<std::uint8_t>((m_sums[cell * 4 + c] + count / 2) / count));
            }
        }
        std::fill(m_sums.begin(), m_sums.end(), 0);
        std::fill(m_counts.begin(), m_counts.end(), 0);
        m_rowsInBlock = 0;
    }

    std::size_t m_width;
    std::size_t m_height;
    std::size_t m_factor;
    std::size_t m_outputWidth;
    std::size_t m_row = 0;
    std::size_t m_rowsInBlock = 0;
    std::vector<std::uint64_t> m_sums;
    std::vector<std::uint64_t> m_counts;
    CGImage m_output;
};

// MARK: PNG

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

// MARK: JPEG

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

} // namespace

std::optional<UIImageDecoder::Image> UIImageDecoder::decode(const std::uint8_t* bytes, std::size_t length)
{
    static const std::uint8_t pngSignature[8] = { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n' };
    if (!bytes)
        return std::nullopt;
    if (length >= 8 && !std::memcmp(bytes, pngSignature, 8))
        return decodePNG(bytes, length);
    if (length >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF)
        return decodeJPEG(bytes, length);
    return std::nullopt;
}

std::optional<UIImageDecoder::Image> UIImageDecoder::decodePNG(const std::uint8_t* bytes, std::size_t length)
{
    // Everything the error path touches exists before setjmp, and nothing with a
    // destructor is made between setjmp and a possible longjmp.
    PNGSource source { bytes, length, 0 };
    std::vector<std::uint8_t> row;
    std::vector<std::uint8_t> whole;
    std::optional<BlockAverager> averager;
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

    // Whatever it holds, read it as 8-bit RGBA.
    png_set_expand(png);
    if (bitDepth == 16)
        png_set_strip_16(png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    if (!(colorType & PNG_COLOR_MASK_ALPHA) && !png_get_valid(png, info, PNG_INFO_tRNS))
        png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != static_cast<png_size_t>(width) * 4)
        png_error(png, "unexpected row layout");

    averager.emplace(width, height, reductionFactor(width, height));
    auto premultiplyRow = [](std::uint8_t* pixels, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            std::uint8_t* p = pixels + i * 4;
            p[0] = premultiply(p[0], p[3]);
            p[1] = premultiply(p[1], p[3]);
            p[2] = premultiply(p[2], p[3]);
        }
    };
    if (passes > 1) {
        // Interlaced rows are only complete after the last pass.
        whole.resize(static_cast<std::size_t>(width) * height * 4);
        for (int pass = 0; pass < passes; ++pass) {
            for (png_uint_32 y = 0; y < height; ++y)
                png_read_row(png, whole.data() + static_cast<std::size_t>(y) * width * 4, nullptr);
        }
        for (png_uint_32 y = 0; y < height; ++y) {
            std::uint8_t* line = whole.data() + static_cast<std::size_t>(y) * width * 4;
            premultiplyRow(line, width);
            averager->addRow(line);
        }
    } else {
        row.resize(static_cast<std::size_t>(width) * 4);
        for (png_uint_32 y = 0; y < height; ++y) {
            png_read_row(png, row.data(), nullptr);
            premultiplyRow(row.data(), width);
            averager->addRow(row.data());
        }
    }
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return Image { width, height, std::make_shared<const CGImage>(averager->finish()) };
}

std::optional<UIImageDecoder::Image> UIImageDecoder::decodeJPEG(const std::uint8_t* bytes, std::size_t length)
{
    jpeg_decompress_struct info {};
    JPEGErrors errors {};
    std::vector<std::uint8_t> pixels;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = failJPEG;
    errors.manager.emit_message = noteJPEGMessage;
    errors.manager.output_message = ignoreJPEGOutput;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return std::nullopt;
    }
    jpeg_create_decompress(&info);
    // Progressive files keep whole-image coefficient buffers; this bounds them.
    info.mem->max_memory_to_use = 256L * 1024 * 1024;
    jpeg_mem_src(&info, bytes, static_cast<unsigned long>(length));
    jpeg_read_header(&info, TRUE);
    std::size_t width = info.image_width;
    std::size_t height = info.image_height;
    if (!width || !height || width * height > kMaximumImagePixels) {
        jpeg_destroy_decompress(&info);
        return std::nullopt;
    }
    // libjpeg scales by 1/2, 1/4 or 1/8 while decoding, for little more than the cost of
    // the smaller image.
    unsigned denominator = 1;
    while (denominator < 8 && ((width + denominator - 1) / denominator) * ((height + denominator - 1) / denominator) > kMaximumBitmapPixels)
        denominator *= 2;
    info.scale_num = 1;
    info.scale_denom = denominator;
    bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_RGBA;
    jpeg_start_decompress(&info);
    std::size_t outputWidth = info.output_width;
    std::size_t outputHeight = info.output_height;
    pixels.resize(outputWidth * outputHeight * 4);
    while (info.output_scanline < info.output_height && !errors.truncated) {
        JSAMPROW line = pixels.data() + static_cast<std::size_t>(info.output_scanline) * outputWidth * 4;
        jpeg_read_scanlines(&info, &line, 1);
    }
    if (errors.truncated) {
        jpeg_destroy_decompress(&info);
        return std::nullopt;
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    if (errors.truncated)
        return std::nullopt;
    if (cmyk) {
        // Adobe writes CMYK inverted, which is what nearly every CMYK JPEG is.
        for (std::size_t i = 0; i < outputWidth * outputHeight; ++i) {
            std::uint8_t* p = pixels.data() + i * 4;
            unsigned k = p[3];
            p[0] = static_cast<std::uint8_t>((p[0] * k + 127) / 255);
            p[1] = static_cast<std::uint8_t>((p[1] * k + 127) / 255);
            p[2] = static_cast<std::uint8_t>((p[2] * k + 127) / 255);
            p[3] = 0xFF;
        }
    }
    auto bitmap = std::make_shared<CGImage>();
    bitmap->width = outputWidth;
    bitmap->height = outputHeight;
    bitmap->pixels = std::move(pixels);
    return Image { width, height, std::move(bitmap) };
}
