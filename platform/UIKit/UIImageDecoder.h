#pragma once
// Decodes PNG and JPEG bytes into premultiplied RGBA bitmaps, with libpng and
// libjpeg-turbo.
//
// Artwork comes from other apps and is not trusted. Nothing here crashes or runs out of
// memory on truncated, corrupt or enormous input: the declared size is checked before
// any pixel memory is taken, and big images are decoded smaller (libjpeg's scaling for
// JPEG, an area average of whole pixel blocks for PNG), since what is drawn from artwork
// here is small and mostly averaged. The image keeps its declared size; only its bitmap
// is smaller.

#include "CoreGraphics/CGImage.h"

#include <cstddef>
#include <cstdint>
#include <optional>

class UIImageDecoder {
public:
    // Images declaring more pixels than this are refused (40 megapixels).
    static constexpr std::size_t kMaximumImagePixels = 40'000'000;
    // Neither side may exceed this (JPEG's own limit).
    static constexpr std::uint32_t kMaximumDimension = 65'500;
    // Bitmaps are reduced until they hold at most this many pixels (4 megapixels).
    static constexpr std::size_t kMaximumBitmapPixels = 4'000'000;

    struct Image {
        std::size_t width = 0;
        std::size_t height = 0;
        CGImageRef bitmap;
    };

    // Nothing for bytes that are not a whole, valid PNG or JPEG within the limits.
    static std::optional<Image> decode(const std::uint8_t* bytes, std::size_t length);

private:
    static std::optional<Image> decodePNG(const std::uint8_t* bytes, std::size_t length);
    static std::optional<Image> decodeJPEG(const std::uint8_t* bytes, std::size_t length);
};
