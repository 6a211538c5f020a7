// Artwork within the byte and pixel limits that would still cost a decoder far more than
// an artwork is worth, and damaged artwork that libjpeg would fill in with grey: each is
// refused, while ordinary files of the same kind still give their colour.

#include "CoreGraphics/CGContext.h"
#include "UIKit/UIGraphics.h"
#include "UIKit/UIImage.h"
#include "UIKit/UIImageDecoder.h"
#include "UIKitTestSupport.h"
#include "sim/imaging/HostileImages.h"
#include "sim/imaging/ImageEncoding.h"

#include <cstdint>
#include <vector>

using namespace uikit_test;
using Bytes = std::vector<std::uint8_t>;

namespace {

// The artwork colour's draw: one pixel, medium interpolation, copy blend mode.
std::uint32_t colourOf(const UIImage& image)
{
    UIGraphicsBeginImageContext(CGSizeMake(1, 1));
    CGContextSetInterpolationQuality(UIGraphicsGetCurrentContext(), kCGInterpolationMedium);
    image.drawInRect(CGRectMake(0, 0, 1, 1), kCGBlendModeCopy, 1);
    auto* bytes = static_cast<const std::uint8_t*>(CGBitmapContextGetData(UIGraphicsGetCurrentContext()));
    std::uint32_t rgb = std::uint32_t(bytes[0]) << 16 | std::uint32_t(bytes[1]) << 8 | bytes[2];
    UIGraphicsEndImageContext();
    return rgb;
}

Bytes solidRGB(std::size_t width, std::size_t height)
{
    Bytes pixels(width * height * 3);
    for (std::size_t i = 0; i < pixels.size(); i += 3) {
        pixels[i] = 0xC7;
        pixels[i + 1] = 0x32;
        pixels[i + 2] = 0x14;
    }
    return pixels;
}

} // namespace

using UIKit_ImageBudget = UIKitTest;

TEST_F(UIKit_ImageBudget, APNGStreamThatRunsOnAfterItsRowsIsNoImage)
{
    // A right checksum at the end: only inflating it all would find nothing wrong.
    auto bomb = imaging::trailingDeflateBombPNG(64);
    ASSERT_LT(bomb.size(), 200'000u);
    EXPECT_FALSE(imageFrom(bomb));
    auto whole = imaging::trailingDeflateBombPNG(0);
    auto image = imageFrom(whole);
    ASSERT_TRUE(image) << "the same PNG whose stream ends with its row";
    EXPECT_EQ(colourOf(*image), 0xC73214u);
}

TEST_F(UIKit_ImageBudget, SixteenBitPNGsAreBoundedByWhatTheyInflateTo)
{
    imaging::PNGOptions deep;
    deep.sixteenBit = true;
    auto rows = [](std::size_t rowBytes) {
        return [rowBytes](std::uint8_t* row, std::size_t) {
            for (std::size_t i = 0; i < rowBytes; i += 2) {
                row[i] = 0x80;
                row[i + 1] = 0xFF;
            }
        };
    };
    auto small = imageFrom(imaging::encodePNGRows(64, 48, 3, deep, rows(64 * 6)));
    ASSERT_TRUE(small);
    EXPECT_EQ(colourOf(*small), 0x808080u) << "16 bits a sample are read as their top 8";

    // 25 megapixels of 16-bit RGBA inflate to 200 MB and a filter byte a row, within the
    // pixel limit but not the inflate limit.
    EXPECT_GT(UIImageDecoder::pngInflatedBytes(5000, 5000, 16, 4, false), UIImageDecoder::kMaximumPNGInflatedBytes);
    EXPECT_LT(UIImageDecoder::pngInflatedBytes(8000, 5000, 8, 4, true), UIImageDecoder::kMaximumPNGInflatedBytes)
        << "40 megapixels of 8-bit RGBA, interlaced, stay within it";
    deep.compression = 1;
    EXPECT_FALSE(imageFrom(imaging::encodePNGRows(5000, 5000, 4, deep, rows(5000 * 8))));
}

TEST_F(UIKit_ImageBudget, CutJPEGsThatEndInAnEndMarkerGiveNoColour)
{
    Bytes pixels = solidRGB(256, 256);
    Bytes jpeg = imaging::encodeJPEG(pixels.data(), 256, 256, 90);
    auto whole = imageFrom(jpeg);
    ASSERT_TRUE(whole);
    EXPECT_EQ(colourOf(*whole), 0xC73214u);
    EXPECT_FALSE(imageFrom(imaging::halfWithEndMarker(jpeg))) << "half its data, then an end marker";
    // A few hundred bytes whose header claims 6000 x 6000.
    Bytes tiny = imaging::encodeJPEG(Bytes(16 * 16 * 3, 0x80).data(), 16, 16, 90);
    EXPECT_FALSE(imageFrom(imaging::declaringSize(tiny, 6000, 6000)));
    // Bytes in the entropy-coded data where none belong.
    Bytes extraneous = jpeg;
    extraneous.insert(extraneous.end() - 2, { 0x12, 0x34, 0x56 });
    EXPECT_FALSE(imageFrom(extraneous));
}

TEST_F(UIKit_ImageBudget, ArithmeticCodedJPEGsHaveTheirOwnLimits)
{
    imaging::JPEGOptions arithmetic;
    arithmetic.arithmetic = true;
    Bytes pixels = solidRGB(4000, 3100);
    auto small = imageFrom(imaging::encodeJPEG(pixels.data(), 400, 300, arithmetic));
    ASSERT_TRUE(small) << "arithmetic coding is decoded";
    EXPECT_EQ(colourOf(*small), 0xC73214u);
    // 12.4 megapixels: a few kilobytes of one colour, but every block is decoded.
    EXPECT_FALSE(imageFrom(imaging::encodeJPEG(pixels.data(), 4000, 3100, arithmetic)));
    arithmetic.arithmetic = false;
    EXPECT_TRUE(imageFrom(imaging::encodeJPEG(pixels.data(), 4000, 3100, arithmetic))) << "the same with Huffman's codes";
    // Within the pixel limit, but with more data than the arithmetic decoder may read.
    arithmetic.arithmetic = true;
    arithmetic.quality = 100;
    arithmetic.fullColour = true;
    Bytes dense = imaging::noiseJPEG(1600, 1200, arithmetic);
    ASSERT_GT(dense.size(), UIImageDecoder::kMaximumArithmeticJPEGReadBytes);
    EXPECT_FALSE(imageFrom(dense));
}

TEST_F(UIKit_ImageBudget, JPEGDataIsBoundedButSkippedMetadataIsNot)
{
    imaging::JPEGOptions dense;
    dense.quality = 100;
    dense.fullColour = true;
    Bytes noise = imaging::noiseJPEG(3600, 3000, dense);
    ASSERT_GT(noise.size(), UIImageDecoder::kMaximumJPEGReadBytes);
    EXPECT_FALSE(imageFrom(noise));
    // A progressive file's data costs more a byte: within the coefficient budget, but not
    // within the read limit of its kind.
    dense.progressive = true;
    Bytes progressive = imaging::noiseJPEG(2300, 2300, dense);
    ASSERT_GT(progressive.size(), UIImageDecoder::kMaximumMultiScanJPEGReadBytes);
    EXPECT_FALSE(imageFrom(progressive));
    // Megabytes of EXIF are passed over, not read: beyond the read limit, still an image.
    Bytes pixels = solidRGB(64, 64);
    Bytes tagged = imaging::withMetadataSegments(imaging::encodeJPEG(pixels.data(), 64, 64, 90), 30);
    ASSERT_GT(tagged.size(), UIImageDecoder::kMaximumJPEGReadBytes);
    auto image = imageFrom(tagged);
    ASSERT_TRUE(image);
    EXPECT_EQ(colourOf(*image), 0xC73214u);
}
