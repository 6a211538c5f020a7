#include "HostileImages.h"

#include "ImageEncoding.h"

#include <zlib.h>

#include <algorithm>
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

void appendBigEndian32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (24 - 8 * i)));
}

void appendPNGChunk(std::vector<std::uint8_t>& out, const char* type, const std::uint8_t* data, std::size_t length)
{
    appendBigEndian32(out, static_cast<std::uint32_t>(length));
    std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data, data + length);
    appendBigEndian32(out, static_cast<std::uint32_t>(crc32(0, out.data() + start, static_cast<uInt>(out.size() - start))));
}

// Raw deflate of `input`, flushed to a byte boundary (or finished) so pieces can be joined.
std::vector<std::uint8_t> deflatePiece(z_stream& stream, const std::vector<std::uint8_t>& input, int flush)
{
    std::vector<std::uint8_t> out(input.size() + 4096);
    stream.next_in = const_cast<Bytef*>(input.data());
    stream.avail_in = static_cast<uInt>(input.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, flush);
    out.erase(out.end() - static_cast<long>(stream.avail_out), out.end());
    return out;
}

std::uint64_t xorshift(std::uint64_t& state)
{
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return state;
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

std::vector<std::uint8_t> trailingDeflateBombPNG(std::size_t megabytes)
{
    constexpr std::size_t kMegabyte = 1 << 20;
    const std::vector<std::uint8_t> row = { 0, 0xC7, 0x32, 0x14 }; // filter byte, one RGB pixel
    const std::vector<std::uint8_t> zeros(kMegabyte, 0);
    z_stream stream {};
    deflateInit2(&stream, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY);
    std::vector<std::uint8_t> compressed = { 0x78, 0xDA };
    auto first = deflatePiece(stream, row, Z_SYNC_FLUSH);
    compressed.insert(compressed.end(), first.begin(), first.end());
    // Once the window holds only zeros, every further megabyte compresses to the same
    // bytes, so the piece is made once and repeated.
    std::vector<std::uint8_t> piece;
    std::size_t made = 0;
    for (; made < std::min<std::size_t>(megabytes, 3); ++made) {
        piece = deflatePiece(stream, zeros, Z_SYNC_FLUSH);
        compressed.insert(compressed.end(), piece.begin(), piece.end());
    }
    for (; made < megabytes; ++made)
        compressed.insert(compressed.end(), piece.begin(), piece.end());
    auto last = deflatePiece(stream, {}, Z_FINISH);
    compressed.insert(compressed.end(), last.begin(), last.end());
    deflateEnd(&stream);
    uLong checksum = adler32(1, row.data(), static_cast<uInt>(row.size()));
    uLong zerosChecksum = adler32(1, zeros.data(), static_cast<uInt>(zeros.size()));
    for (std::size_t i = 0; i < megabytes; ++i)
        checksum = adler32_combine(checksum, zerosChecksum, static_cast<z_off_t>(zeros.size()));
    appendBigEndian32(compressed, static_cast<std::uint32_t>(checksum));

    std::vector<std::uint8_t> png = { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n' };
    std::uint8_t header[13] = { 0, 0, 0, 1, 0, 0, 0, 1, 8, 2, 0, 0, 0 }; // 1 x 1, 8-bit RGB
    appendPNGChunk(png, "IHDR", header, sizeof header);
    constexpr std::size_t kChunk = 1 << 20;
    for (std::size_t at = 0; at < compressed.size(); at += kChunk)
        appendPNGChunk(png, "IDAT", compressed.data() + at, std::min(kChunk, compressed.size() - at));
    appendPNGChunk(png, "IEND", nullptr, 0);
    return png;
}

std::vector<std::uint8_t> withMetadataSegments(const std::vector<std::uint8_t>& jpeg, std::size_t megabytes)
{
    if (jpeg.size() < 2)
        return jpeg;
    std::vector<std::uint8_t> out(jpeg.begin(), jpeg.begin() + 2);
    constexpr std::size_t kSegmentData = 65533;
    std::vector<std::uint8_t> segment = { 0xFF, 0xE1, 0xFF, 0xFF, 'E', 'x', 'i', 'f', 0, 0 };
    segment.resize(2 + 2 + kSegmentData, 0x4D);
    std::size_t segments = (megabytes << 20) / segment.size();
    out.reserve(jpeg.size() + segments * segment.size());
    for (std::size_t i = 0; i < segments; ++i)
        out.insert(out.end(), segment.begin(), segment.end());
    out.insert(out.end(), jpeg.begin() + 2, jpeg.end());
    return out;
}

std::vector<std::uint8_t> halfWithEndMarker(const std::vector<std::uint8_t>& jpeg)
{
    std::vector<std::uint8_t> half(jpeg.begin(), jpeg.begin() + static_cast<long>(jpeg.size() / 2));
    half.push_back(0xFF);
    half.push_back(0xD9);
    return half;
}

std::vector<std::uint8_t> noiseJPEG(std::size_t width, std::size_t height, const JPEGOptions& options)
{
    std::vector<std::uint8_t> pixels(width * height * (options.grey ? 1 : 3));
    std::uint64_t state = 0x9E3779B97F4A7C15ull;
    for (std::size_t i = 0; i < pixels.size(); i += 8) {
        std::uint64_t bits = xorshift(state);
        std::memcpy(pixels.data() + i, &bits, std::min<std::size_t>(8, pixels.size() - i));
    }
    return encodeJPEG(pixels.data(), width, height, options);
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
