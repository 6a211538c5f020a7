#pragma once
// Decodes PNG and JPEG bytes into premultiplied RGBA bitmaps, with libpng and
// libjpeg-turbo, at the size the caller will draw them.
//
// Artwork comes from other apps and is not trusted. Nothing here crashes, runs out of
// memory or works for long on truncated, corrupt, enormous or hostile input: the bytes and
// the declared size are checked before any pixel memory is taken, libjpeg's whole-image
// buffers (progressive files) have a budget, and so does the number of scans a progressive
// file may make the decoder run.
//
// A bitmap only needs to cover what it is drawn into, so images are decoded smaller: JPEG
// by the decoder's own scaling (1/2, 1/4, 1/8: an 8 x 8 block's mean is its first
// coefficient), then both formats by averaging whole blocks of pixels while rows arrive.
// Drawn into one pixel, an image is its average. The image keeps its declared size; only
// its bitmap is smaller.

#include "CoreGraphics/CGImage.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>

class UIImageDecoder {
public:
    // Encoded images larger than this are not decoded at all (64 MiB).
    static constexpr std::size_t kMaximumEncodedBytes = 64 * 1024 * 1024;
    // Images declaring more pixels than this are refused (40 megapixels).
    static constexpr std::size_t kMaximumImagePixels = 40'000'000;
    // Neither side may exceed this (JPEG's own limit).
    static constexpr std::uint32_t kMaximumDimension = 65'500;
    // Bitmaps are reduced until they hold at most this many pixels (4 megapixels).
    static constexpr std::size_t kMaximumBitmapPixels = 4'000'000;
    // An interlaced PNG is reduced while its passes arrive, with 32 bytes of sums per
    // bitmap pixel, so its bitmap holds at most this many (half a megapixel).
    static constexpr std::size_t kMaximumInterlacedBitmapPixels = 500'000;
    // What libjpeg may take for the coefficients of a whole image, which progressive and
    // other multi-scan files need: about 11 megapixels of the usual 4:2:0 colour.
    static constexpr long kMaximumJPEGBufferBytes = 32L * 1024 * 1024;
    // Progressive files use about ten scans, which together walk the image's blocks five
    // or six times over; more is work without a picture.
    static constexpr int kMaximumJPEGScans = 100;
    static constexpr int kMaximumJPEGImageWalks = 12;
    // What libjpeg may read of a file, skipped metadata aside: decoding costs about the same
    // for each byte of entropy-coded data, whatever the scale of the output.
    static constexpr std::uint64_t kMaximumJPEGReadBytes = 24 * 1024 * 1024;
    // A multi-scan file's data is decoded into every coefficient, more slowly a byte.
    static constexpr std::uint64_t kMaximumMultiScanJPEGReadBytes = 12 * 1024 * 1024;
    // Arithmetic-coded files, rare outside tests, cost several times as much a byte and a
    // block, so they have limits of their own.
    static constexpr std::uint64_t kMaximumArithmeticJPEGReadBytes = 2 * 1024 * 1024;
    static constexpr std::size_t kMaximumArithmeticJPEGPixels = 12'000'000;
    // What a PNG's compressed stream may inflate to (its rows as stored, with their filter
    // bytes): every byte is inflated and unfiltered, so this bounds the work where the pixel
    // count does not. 40 megapixels of 8-bit RGBA fit, interlaced or not; 16-bit samples
    // take twice the bytes (40 megapixels of 16-bit RGBA would be 320 MB).
    static constexpr std::uint64_t kMaximumPNGInflatedBytes = 162'000'000;

    enum class Format {
        PNG,
        JPEG
    };

    struct Image {
        std::size_t width = 0;
        std::size_t height = 0;
        CGImageRef bitmap;
    };

    // How many leading bytes formatOf needs at most.
    static constexpr std::size_t kSignatureBytes = 8;
    // The format the bytes claim by their signature, if PNG or JPEG. Defined here so that
    // what only looks at a file's first bytes need not load the platform for it.
    static std::optional<Format> formatOf(const std::uint8_t* bytes, std::size_t length)
    {
        static constexpr std::uint8_t pngSignature[kSignatureBytes] = { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n' };
        if (!bytes)
            return std::nullopt;
        if (length >= sizeof pngSignature && !std::memcmp(bytes, pngSignature, sizeof pngSignature))
            return Format::PNG;
        if (length >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF)
            return Format::JPEG;
        return std::nullopt;
    }

    // Nothing for bytes that are not a whole, valid PNG or JPEG within the limits. The
    // bitmap is as small as the decoder can make it while still having at least
    // coverWidth x coverHeight pixels (or the image's own, when it has fewer), and never
    // more than the bitmap limit.
    static std::optional<Image> decode(const std::uint8_t* bytes, std::size_t length, std::size_t coverWidth, std::size_t coverHeight);
    // At the image's own size, within the bitmap limit.
    static std::optional<Image> decode(const std::uint8_t* bytes, std::size_t length);

    // How many decodes this process has started, refused ones included: what diagnostics
    // and tests read to see how often artwork is decoded.
    static std::uint64_t decodesStarted();

    // The largest whole factor by which width x height can be reduced and still cover
    // coverWidth x coverHeight, raised until at most maximumPixels remain.
    static std::size_t reductionFactor(std::size_t width, std::size_t height, std::size_t coverWidth, std::size_t coverHeight,
        std::size_t maximumPixels);

    // The bytes a PNG's compressed stream inflates to when it holds exactly its rows.
    static std::uint64_t pngInflatedBytes(std::uint32_t width, std::uint32_t height, int bitDepth, int channels, bool interlaced);

private:
    static std::optional<Image> decodePNG(const std::uint8_t* bytes, std::size_t length, std::size_t coverWidth, std::size_t coverHeight);
    static std::optional<Image> decodeJPEG(const std::uint8_t* bytes, std::size_t length, std::size_t coverWidth, std::size_t coverHeight);
};
