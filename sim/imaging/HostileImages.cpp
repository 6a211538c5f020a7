#include "HostileImages.h"

#include "ImageEncoding.h"

#include <zlib.h>

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

std::vector<std::uint8_t> flatPNG(std::size_t width, std::size_t height, bool interlaced)
{
    PNGOptions options;
    options.interlaced = interlaced;
    options.unfiltered = true;
    return encodePNGRows(width, height, 3, options, [width](std::uint8_t* row, std::size_t) {
        for (std::size_t i = 0; i < width * 3; i += 3) {
            row[i] = 200;
            row[i + 1] = 120;
            row[i + 2] = 40;
        }
    });
}

std::vector<std::uint8_t> storedNoisePNG(std::size_t width, std::size_t height)
{
    PNGOptions options;
    options.compression = 0;
    options.unfiltered = true;
    std::uint64_t noise = 0x9E3779B97F4A7C15ull;
    return encodePNGRows(width, height, 3, options, [&](std::uint8_t* row, std::size_t) {
        for (std::size_t i = 0; i < width * 3; ++i) {
            noise ^= noise << 13;
            noise ^= noise >> 7;
            noise ^= noise << 17;
            row[i] = static_cast<std::uint8_t>(noise);
        }
    });
}

} // namespace imaging
