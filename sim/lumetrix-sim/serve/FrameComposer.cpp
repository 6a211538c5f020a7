#include "FrameComposer.h"

#include "sim/imaging/ImageEncoding.h"

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdio> // jpeglib.h uses FILE without declaring it
#include <jpeglib.h>

namespace sim {

namespace {

struct RGBImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
};

struct ErrorJump {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

// libjpeg's own error handler ends the process; this one gives up on the image.
[[noreturn]] void giveUp(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorJump*>(info->err)->jump, 1);
}

void quiet(j_common_ptr, int) { }

// (Nothing with a destructor lives in here: a longjmp leaves it.)
bool decodeInto(const std::string& jpeg, RGBImage& image)
{
    jpeg_decompress_struct info;
    ErrorJump errors;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = giveUp;
    errors.manager.emit_message = quiet;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(jpeg.data()), static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    image.width = static_cast<int>(info.output_width);
    image.height = static_cast<int>(info.output_height);
    image.pixels.resize(static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height) * 3);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.pixels.data() + static_cast<std::size_t>(info.output_scanline) * static_cast<std::size_t>(image.width) * 3;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace

std::optional<std::string> composeFrame(const std::string& wholeJPEG, const std::vector<FramePiece>& pieces, int quality)
{
    RGBImage whole;
    if (!decodeInto(wholeJPEG, whole))
        return std::nullopt;
    RGBImage piece;
    for (const FramePiece& each : pieces) {
        if (!each.jpeg || !decodeInto(*each.jpeg, piece))
            return std::nullopt;
        if (each.x < 0 || each.y < 0 || piece.width != each.width || piece.height != each.height || each.x + piece.width > whole.width
            || each.y + piece.height > whole.height)
            return std::nullopt;
        std::size_t rowBytes = static_cast<std::size_t>(piece.width) * 3;
        for (int y = 0; y < piece.height; ++y) {
            const std::uint8_t* from = piece.pixels.data() + static_cast<std::size_t>(y) * rowBytes;
            std::uint8_t* to = whole.pixels.data() + (static_cast<std::size_t>(each.y + y) * static_cast<std::size_t>(whole.width) + static_cast<std::size_t>(each.x)) * 3;
            std::copy(from, from + rowBytes, to);
        }
    }
    auto encoded = imaging::encodeJPEG(whole.pixels.data(), static_cast<std::size_t>(whole.width), static_cast<std::size_t>(whole.height), quality);
    return std::string(encoded.begin(), encoded.end());
}

} // namespace sim
