// Artwork made to hurt: the platform refuses it cheaply or decodes it within bounded
// memory, and what it does decode still has the colour it had at full size.

#include "CoreGraphics/CGContext.h"
#include "Foundation/NSData.h"
#include "UIKit/UIGraphics.h"
#include "UIKit/UIImage.h"
#include "UIKit/UIImageBlockReducer.h"
#include "UIKit/UIImageDecoder.h"
#include "UIKitTestSupport.h"
#include "sim/imaging/HostileImages.h"
#include "sim/imaging/ImageEncoding.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

using namespace uikit_test;
using Bytes = std::vector<std::uint8_t>;

namespace {

struct Colour {
    int r, g, b, a;
};

// The artwork colour's draw: one pixel, medium interpolation, copy blend mode.
Colour onePixelOf(const UIImage& image)
{
    UIGraphicsBeginImageContext(CGSizeMake(1, 1));
    CGContextSetInterpolationQuality(UIGraphicsGetCurrentContext(), kCGInterpolationMedium);
    image.drawInRect(CGRectMake(0, 0, 1, 1), kCGBlendModeCopy, 1);
    auto* bytes = static_cast<const std::uint8_t*>(CGBitmapContextGetData(UIGraphicsGetCurrentContext()));
    Colour colour { bytes[0], bytes[1], bytes[2], bytes[3] };
    UIGraphicsEndImageContext();
    return colour;
}

// The same draw from the image's whole bitmap: what the colour was before images were
// decoded for where they are drawn.
Colour onePixelOfWholeBitmap(const UIImage& image)
{
    auto whole = UIImage::imageWithCGImage(image.CGImage());
    return onePixelOf(*whole);
}

void expectWithin(Colour actual, Colour expected, int tolerance)
{
    EXPECT_NEAR(actual.r, expected.r, tolerance);
    EXPECT_NEAR(actual.g, expected.g, tolerance);
    EXPECT_NEAR(actual.b, expected.b, tolerance);
    EXPECT_NEAR(actual.a, expected.a, tolerance);
}

// Noise over gradients, so every 8 x 8 block differs and rounding has its chance.
Bytes grainyPixels(std::size_t width, std::size_t height, int channels)
{
    Bytes pixels(width * height * channels);
    std::uint64_t noise = 0x2545F4914F6CDD1Dull;
    for (std::size_t y = 0; y < height; ++y) {
        for (std::size_t x = 0; x < width; ++x) {
            noise ^= noise << 13;
            noise ^= noise >> 7;
            noise ^= noise << 17;
            int grain = static_cast<int>(noise % 33) - 16;
            std::uint8_t* p = pixels.data() + (y * width + x) * channels;
            p[0] = static_cast<std::uint8_t>(std::clamp(static_cast<int>(30 + 200 * x / width) + grain, 0, 255));
            p[1] = static_cast<std::uint8_t>(std::clamp(static_cast<int>(220 - 170 * y / height) + grain, 0, 255));
            p[2] = static_cast<std::uint8_t>(std::clamp(static_cast<int>(90 + 100 * (x + y) / (width + height)) - grain, 0, 255));
            if (channels == 4)
                p[3] = static_cast<std::uint8_t>((x * 7 + y * 3) % 256);
        }
    }
    return pixels;
}

// Runs `body` in a child process whose address space may grow by at most `megabytes`
// beyond what it has: a decoder that holds more than that fails to allocate and the child
// dies. Address space, not resident memory, is what the kernel can limit exactly.
bool succeedsWithinAddressSpace(std::size_t megabytes, const std::function<bool()>& body)
{
    std::fflush(nullptr);
    pid_t child = fork();
    if (child == 0) {
        std::size_t size = 0;
        std::ifstream status("/proc/self/statm");
        status >> size;
        rlimit limit {};
        limit.rlim_cur = limit.rlim_max = size * static_cast<std::size_t>(sysconf(_SC_PAGESIZE)) + megabytes * 1024 * 1024;
        setrlimit(RLIMIT_AS, &limit);
        _exit(body() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSpaceIsLimitable = false; // the sanitizer reserves terabytes of shadow
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSpaceIsLimitable = false;
#else
constexpr bool kAddressSpaceIsLimitable = true;
#endif
#else
constexpr bool kAddressSpaceIsLimitable = true;
#endif

} // namespace

using UIKit_ImageHostile = UIKitTest;

TEST_F(UIKit_ImageHostile, AProgressiveJPEGWithEndlessScansIsRefusedWhileAnOrdinaryOneDecodes)
{
    // libjpeg's grey script has six scans, each walking every block once.
    for (std::size_t side : { 8, 256 }) {
        SCOPED_TRACE(side);
        auto ordinary = imageFrom(imaging::scanBombJPEG(side, 0));
        ASSERT_TRUE(ordinary) << "libjpeg's own progressive script";
        expectWithin(onePixelOf(*ordinary), { 128, 128, 128, 255 }, 1);
        EXPECT_TRUE(imageFrom(imaging::scanBombJPEG(side, 4))) << "a few repeated scans are only warned about";
        EXPECT_FALSE(imageFrom(imaging::scanBombJPEG(side, 200)));
    }
    // Each repeat walks all 65,536 blocks of a 2048-pixel square again.
    EXPECT_FALSE(imageFrom(imaging::scanBombJPEG(2048, 3000)));
}

TEST_F(UIKit_ImageHostile, ProgressiveJPEGsWhoseCoefficientsOutgrowTheBudgetAreRefused)
{
    // 4:2:0 colour keeps 3 bytes of coefficients a pixel: 3000 x 3000 fits, 4000 x 3000 not.
    imaging::JPEGOptions progressive;
    progressive.progressive = true;
    Bytes flat(4000 * 3000 * 3, 0x60);
    EXPECT_TRUE(imageFrom(imaging::encodeJPEG(flat.data(), 3000, 3000, progressive)));
    EXPECT_FALSE(imageFrom(imaging::encodeJPEG(flat.data(), 4000, 3000, progressive)));
    // A baseline file needs no such buffers, at any size within the pixel limit.
    EXPECT_TRUE(imageFrom(imaging::encodeJPEG(flat.data(), 4000, 3000, 80)));
}

TEST_F(UIKit_ImageHostile, BytesBeyondTheSizeLimitAreRefusedHoweverTheyCameIn)
{
    // A valid PNG padded after its end chunk, which decoders ignore.
    Bytes padded = imaging::flatPNG(4, 4, false);
    padded.resize(UIImageDecoder::kMaximumEncodedBytes, 0);
    EXPECT_TRUE(imageFrom(padded)) << "exactly at the limit";
    padded.push_back(0);
    EXPECT_FALSE(imageFrom(padded));
    EXPECT_FALSE(UIImageDecoder::decode(padded.data(), padded.size()));
}

TEST_F(UIKit_ImageHostile, AnInterlacedPNGIsNeverHeldAtFullSize)
{
    if (!kAddressSpaceIsLimitable)
        GTEST_SKIP() << "address space cannot be limited under the address sanitizer";
    // 24 megapixels: 96 MB as a whole RGBA bitmap, 16 MB of block sums at most reduced.
    Bytes interlaced = imaging::flatPNG(6000, 4000, true);
    ASSERT_FALSE(interlaced.empty());
    EXPECT_TRUE(succeedsWithinAddressSpace(48, [&] {
        auto image = imageFrom(interlaced);
        if (!image)
            return false;
        Colour colour = onePixelOf(*image);
        const CGImageRef& bitmap = image->CGImage();
        return colour.r == 200 && colour.g == 120 && colour.b == 40 && bitmap
            && bitmap->width * bitmap->height <= UIImageDecoder::kMaximumInterlacedBitmapPixels;
    }));
}

TEST_F(UIKit_ImageHostile, HugeDeclaredSizesAreRefusedAndCutOffHugeImagesGiveNothing)
{
    Bytes png = imaging::flatPNG(16, 16, false);
    Bytes jpeg = imaging::encodeJPEG(Bytes(16 * 16 * 3, 9).data(), 16, 16, 90);
    EXPECT_FALSE(imageFrom(imaging::declaringSize(png, 60000, 60000)));
    EXPECT_FALSE(imageFrom(imaging::declaringSize(jpeg, 60000, 60000)));
    // Within the pixel limit, but the data ends long before the pixels do. A JPEG whose
    // data stops at its end marker is only warned about by libjpeg, which fills in the
    // rest, as it always was: cheap at 1/8 (the benchmark keeps it in view).
    EXPECT_FALSE(imageFrom(imaging::declaringSize(png, 8000, 5000)));
    Bytes cut(jpeg.begin(), jpeg.end() - 2);
    EXPECT_FALSE(imageFrom(imaging::declaringSize(cut, 6000, 6000)));
}

TEST_F(UIKit_ImageHostile, OnePixelDrawsKeepTheColourOfTheWholeBitmap)
{
    // JPEG drawn into one pixel is decoded at 1/8: block means instead of pixels. PNG is
    // summed while it is read. Either way the colour stays within a step of what the whole
    // bitmap averages to.
    // Sides that are not whole blocks leave padding in the last blocks, which must not count.
    for (std::size_t side : { 37, 600, 1009, 1200 }) {
        SCOPED_TRACE("JPEG " + std::to_string(side));
        Bytes pixels = grainyPixels(side, side, 3);
        auto jpeg = imageFrom(imaging::encodeJPEG(pixels.data(), side, side, 90));
        ASSERT_TRUE(jpeg);
        expectWithin(onePixelOf(*jpeg), onePixelOfWholeBitmap(*jpeg), 1);
    }
    for (bool interlaced : { false, true }) {
        SCOPED_TRACE(interlaced ? "interlaced PNG" : "PNG");
        for (int channels : { 3, 4 }) {
            Bytes pixels = grainyPixels(333, 251, channels);
            auto png = imageFrom(imaging::encodePNG(pixels.data(), 333, 251, channels, interlaced));
            ASSERT_TRUE(png);
            expectWithin(onePixelOf(*png), onePixelOfWholeBitmap(*png), 1);
        }
    }
}

TEST_F(UIKit_ImageHostile, ABitmapOnlyCoversWhereTheImageIsDrawn)
{
    Bytes jpeg = imaging::encodeJPEG(grainyPixels(800, 640, 3).data(), 800, 640, 90);
    auto bitmapSize = [&](std::size_t width, std::size_t height) {
        auto decoded = UIImageDecoder::decode(jpeg.data(), jpeg.size(), width, height);
        EXPECT_TRUE(decoded);
        EXPECT_EQ(decoded ? decoded->width : 0, 800u) << "the image keeps its size";
        return decoded ? std::make_pair(decoded->bitmap->width, decoded->bitmap->height) : std::make_pair(0ul, 0ul);
    };
    using Size = std::pair<std::size_t, std::size_t>;
    EXPECT_EQ(bitmapSize(400, 320), (Size { 400, 320 })) << "libjpeg at 1/2";
    EXPECT_EQ(bitmapSize(401, 320), (Size { 800, 640 })) << "1/2 would not cover it";
    EXPECT_EQ(bitmapSize(60, 40), (Size { 100, 80 })) << "libjpeg at 1/8";
    EXPECT_EQ(bitmapSize(30, 20), (Size { 34, 27 })) << "1/8, then blocks of 3 x 3";
    EXPECT_EQ(bitmapSize(1, 1), (Size { 1, 1 })) << "one block: the average";

    auto image = imageFrom(jpeg);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->CGImage()->width, 800u) << "asking for the bitmap decodes it whole";
}

TEST_F(UIKit_ImageHostile, PixelsOfAReducedDecodeWeighWhatTheyStandFor)
{
    // A 10 x 10 image decoded at 1/8 is 2 x 2: the first pixel stands for 8 x 8 of it, the
    // last column and row only for 2 pixels across.
    UIImageBlockReducer reducer(2, 2, 2, 3, UIImageBlockReducer::Feed::Rows);
    reducer.setScaledFrom(8, 10, 10);
    const std::uint8_t top[] = { 100, 0, 250, 0, 0, 0 };
    const std::uint8_t bottom[] = { 0, 0, 0, 0, 100, 0 };
    reducer.addRow(top);
    reducer.addRow(bottom);
    CGImageRef average = reducer.finish();
    ASSERT_EQ(average->width, 1u);
    EXPECT_EQ(average->pixel(0, 0)[0], 64) << "64 of the 100 pixels";
    EXPECT_EQ(average->pixel(0, 0)[1], 4) << "the corner's 4";
    EXPECT_EQ(average->pixel(0, 0)[2], 160);
    EXPECT_EQ(average->pixel(0, 0)[3], 255);
}

TEST_F(UIKit_ImageHostile, AnImageDecodesWhenDrawnAndOnlyWhenItNeedsMorePixels)
{
    Bytes jpeg = imaging::encodeJPEG(grainyPixels(800, 640, 3).data(), 800, 640, 90);
    auto decodes = UIImageDecoder::decodesStarted();
    auto image = imageFrom(jpeg);
    ASSERT_TRUE(image);
    EXPECT_EQ(UIImageDecoder::decodesStarted() - decodes, 1u) << "made: decoded to one pixel";

    auto drawInto = [&](CGFloat width, CGFloat height, CGFloat scale) {
        UIGraphicsBeginImageContextWithOptions(CGSizeMake(width, height), false, scale);
        CGContextSetInterpolationQuality(UIGraphicsGetCurrentContext(), kCGInterpolationMedium);
        image->drawInRect(CGRectMake(0, 0, width, height));
        UIGraphicsEndImageContext();
        return UIImageDecoder::decodesStarted() - decodes;
    };
    EXPECT_EQ(drawInto(1, 1, 1), 1u) << "one pixel is what it has";
    EXPECT_EQ(drawInto(60, 40, 2), 2u) << "120 x 80 pixels need a bitmap of their own";
    EXPECT_EQ(drawInto(60, 40, 1), 2u) << "fewer pixels: the bitmap it has covers them";
    EXPECT_EQ(image->CGImage()->width, 800u);
    EXPECT_EQ(UIImageDecoder::decodesStarted() - decodes, 3u);
    EXPECT_EQ(drawInto(20, 20, 3), 3u);
}
