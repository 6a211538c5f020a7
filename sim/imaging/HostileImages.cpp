#include "HostileImages.h"

#include "ImageEncoding.h"

#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <cstring>

namespace imaging {

namespace {

void setBigEndian16(std::uint8_t* at, std::uint32_t value)
{
    at[0] = static_cast<std::uint8_t>(value >> 8);
    at[1] = static_cast<std::uint8_t>(value);
}

void setBigEndian32(std::uint8_t* at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
}

// Where each marker segment of a JPEG starts, with a scan's segment running on over its
// entropy-coded data up to the next marker.
struct Segment {
    std::size_t begin;
    std::size_t end;
    std::uint8_t marker;
};

std::vector<Segment> segmentsOf(const std::vector<std::uint8_t>& jpeg)
{
    std::vector<Segment> segments;
    std::size_t at = 2;
    while (at + 2 <= jpeg.size() && jpeg[at] == 0xFF) {
        std::uint8_t marker = jpeg[at + 1];
        if (marker == 0xD9) {
            segments.push_back({ at, at + 2, marker });
            break;
        }
        if (at + 4 > jpeg.size())
            break;
        std::size_t end = at + 2 + (std::size_t(jpeg[at + 2]) << 8 | jpeg[at + 3]);
        if (marker == 0xDA) {
            // Entropy-coded data: 0xFF is followed by 0x00 (a stuffed byte) or a restart marker.
            while (end + 1 < jpeg.size() && !(jpeg[end] == 0xFF && jpeg[end + 1] != 0x00 && (jpeg[end + 1] < 0xD0 || jpeg[end + 1] > 0xD7)))
                ++end;
        }
        segments.push_back({ at, end, marker });
        at = end;
    }
    return segments;
}

} // namespace

std::vector<std::uint8_t> scanBombJPEG(std::size_t side, int repeats)
{
    std::vector<std::uint8_t> grey(side * side, 0x80);
    JPEGOptions options;
    options.progressive = true;
    options.grey = true;
    std::vector<std::uint8_t> jpeg = encodeJPEG(grey.data(), side, side, options);
    const Segment* lastScan = nullptr;
    auto segments = segmentsOf(jpeg);
    for (const auto& segment : segments) {
        if (segment.marker == 0xDA)
            lastScan = &segment;
    }
    if (!lastScan || segments.back().marker != 0xD9)
        return {};
    std::vector<std::uint8_t> scan(jpeg.begin() + static_cast<long>(lastScan->begin), jpeg.begin() + static_cast<long>(lastScan->end));
    std::vector<std::uint8_t> bomb(jpeg.begin(), jpeg.begin() + static_cast<long>(segments.back().begin));
    bomb.reserve(bomb.size() + scan.size() * static_cast<std::size_t>(repeats) + 2);
    for (int i = 0; i < repeats; ++i)
        bomb.insert(bomb.end(), scan.begin(), scan.end());
    bomb.push_back(0xFF);
    bomb.push_back(0xD9);
    return bomb;
}

std::vector<std::uint8_t> declaringSize(std::vector<std::uint8_t> image, std::uint32_t width, std::uint32_t height)
{
    static const std::uint8_t pngSignature[8] = { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n' };
    if (image.size() >= 33 && !std::memcmp(image.data(), pngSignature, 8)) {
        // IHDR comes first: length, type, width, height, ..., then the checksum of type and data.
        setBigEndian32(image.data() + 16, width);
        setBigEndian32(image.data() + 20, height);
        setBigEndian32(image.data() + 29, static_cast<std::uint32_t>(crc32(0, image.data() + 12, 17)));
        return image;
    }
    for (const auto& segment : segmentsOf(image)) {
        // Start of frame, baseline (C0), extended (C1) or progressive (C2): precision, then height and width.
        if (segment.marker >= 0xC0 && segment.marker <= 0xC2) {
            setBigEndian16(image.data() + segment.begin + 5, height);
            setBigEndian16(image.data() + segment.begin + 7, width);
            break;
        }
    }
    return image;
}

namespace {

// Rows of RGB made by `fill` (row, y), written as they come: no image is held whole.
template<typename Fill>
std::vector<std::uint8_t> streamPNG(std::size_t width, std::size_t height, bool interlaced, int compression, Fill fill)
{
    std::vector<std::uint8_t> out;
    std::vector<std::uint8_t> row(width * 3);
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
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
        interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, compression);
    png_write_info(png, info);
    int passes = png_set_interlace_handling(png);
    for (int pass = 0; pass < passes; ++pass) {
        for (std::size_t y = 0; y < height; ++y) {
            fill(row, y);
            png_write_row(png, row.data());
        }
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

} // namespace

std::vector<std::uint8_t> flatPNG(std::size_t width, std::size_t height, bool interlaced)
{
    return streamPNG(width, height, interlaced, 6, [](std::vector<std::uint8_t>& row, std::size_t) {
        for (std::size_t i = 0; i < row.size(); i += 3) {
            row[i] = 200;
            row[i + 1] = 120;
            row[i + 2] = 40;
        }
    });
}

std::vector<std::uint8_t> storedNoisePNG(std::size_t width, std::size_t height)
{
    std::uint64_t noise = 0x9E3779B97F4A7C15ull;
    return streamPNG(width, height, false, 0, [&](std::vector<std::uint8_t>& row, std::size_t) {
        for (auto& byte : row) {
            noise ^= noise << 13;
            noise ^= noise >> 7;
            noise ^= noise << 17;
            byte = static_cast<std::uint8_t>(noise);
        }
    });
}

} // namespace imaging
