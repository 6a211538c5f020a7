#include "Foundation/NSData.h"
#include "Foundation/NSString.h"
#include "UIKit/UIGraphics.h"
#include "UIKit/UIImage.h"
#include "UIKit/UIImageDecoder.h"
#include "UIKit/UIImageSymbolConfiguration.h"
#include "UIKitTestSupport.h"
#include "sim/imaging/ImageEncoding.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <unistd.h>
#include <zlib.h>

#include <cstdint>
#include <vector>

using namespace uikit_test;
using Bytes = std::vector<std::uint8_t>;

namespace {

struct Pixel {
    std::uint8_t r, g, b, a;
};

// A PNG of `width` x `height` straight-alpha RGBA pixels.
Bytes encodePNG(std::size_t width, std::size_t height, const std::vector<Pixel>& pixels, bool interlaced = false)
{
    return imaging::encodePNG(reinterpret_cast<const std::uint8_t*>(pixels.data()), width, height, 4, interlaced);
}

// A JPEG of one colour at the best quality.
Bytes encodeJPEG(std::size_t width, std::size_t height, Pixel colour)
{
    std::vector<std::uint8_t> rgb(width * height * 3);
    for (std::size_t i = 0; i < rgb.size(); i += 3) {
        rgb[i] = colour.r;
        rgb[i + 1] = colour.g;
        rgb[i + 2] = colour.b;
    }
    return imaging::encodeJPEG(rgb.data(), width, height, 100);
}

// What the artwork colour code does: the image drawn into a 1 x 1 context with medium
// interpolation and the copy blend mode, then the pixel's bytes.
Pixel averageOf(UIImage* image)
{
    UIGraphicsBeginImageContext(CGSizeMake(1, 1));
    CGContextSetInterpolationQuality(UIGraphicsGetCurrentContext(), kCGInterpolationMedium);
    image->drawInRect(CGRectMake(0, 0, 1, 1), kCGBlendModeCopy, 1);
    auto* bytes = static_cast<const std::uint8_t*>(CGBitmapContextGetData(UIGraphicsGetCurrentContext()));
    Pixel pixel { bytes[0], bytes[1], bytes[2], bytes[3] };
    UIGraphicsEndImageContext();
    return pixel;
}

void expectPixel(Pixel actual, Pixel expected, int tolerance = 0)
{
    EXPECT_NEAR(actual.r, expected.r, tolerance);
    EXPECT_NEAR(actual.g, expected.g, tolerance);
    EXPECT_NEAR(actual.b, expected.b, tolerance);
    EXPECT_NEAR(actual.a, expected.a, tolerance);
}

} // namespace

using UIKit_Image = UIKitTest;

TEST_F(UIKit_Image, DecodesPNGAndJPEGKeepingTheirSize)
{
    std::vector<Pixel> pixels(6, Pixel { 10, 200, 30, 255 });
    for (bool interlaced : { false, true }) {
        auto png = imageFrom(encodePNG(3, 2, pixels, interlaced));
        ASSERT_TRUE(png);
        EXPECT_EQ(png->size().width, 3);
        EXPECT_EQ(png->size().height, 2);
        ASSERT_TRUE(png->CGImage());
        expectPixel(*reinterpret_cast<const Pixel*>(png->CGImage()->pixel(2, 1)), { 10, 200, 30, 255 });
    }
    auto jpeg = imageFrom(encodeJPEG(16, 8, { 200, 40, 40, 255 }));
    ASSERT_TRUE(jpeg);
    EXPECT_EQ(jpeg->size().width, 16);
    EXPECT_EQ(jpeg->size().height, 8);
    expectPixel(averageOf(jpeg.get()), { 200, 40, 40, 255 }, 3);
}

TEST_F(UIKit_Image, PNGAlphaIsPremultipliedInTheBitmap)
{
    auto png = imageFrom(encodePNG(1, 1, { { 200, 100, 50, 128 } }));
    ASSERT_TRUE(png);
    expectPixel(*reinterpret_cast<const Pixel*>(png->CGImage()->pixel(0, 0)), { 100, 50, 25, 128 });
}

TEST_F(UIKit_Image, BytesThatDoNotDecodeGiveNil)
{
    Bytes png = encodePNG(4, 4, std::vector<Pixel>(16, Pixel { 1, 2, 3, 255 }));
    Bytes jpeg = encodeJPEG(32, 32, { 1, 2, 3, 255 });
    Bytes corruptPNG = png;
    corruptPNG[40] ^= 0xFF; // inside a chunk: its checksum no longer matches
    struct Case {
        const char* story;
        Bytes bytes;
    } cases[] = {
        { "empty", {} },
        { "garbage", Bytes(64, 0x5A) },
        { "PNG signature alone", Bytes(png.begin(), png.begin() + 8) },
        { "PNG cut in its data", Bytes(png.begin(), png.begin() + static_cast<long>(png.size() / 2)) },
        { "PNG without its end", Bytes(png.begin(), png.end() - 12) },
        { "PNG with a corrupt chunk", corruptPNG },
        { "JPEG header alone", Bytes(jpeg.begin(), jpeg.begin() + 4) },
        { "JPEG cut in its data", Bytes(jpeg.begin(), jpeg.begin() + static_cast<long>(jpeg.size() * 2 / 3)) },
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.story);
        EXPECT_FALSE(imageFrom(c.bytes));
    }
    EXPECT_FALSE(UIImage::imageWithData(nullptr));
}

TEST_F(UIKit_Image, OversizedHeadersAreRefusedBeforeAnyPixelMemory)
{
    // A valid PNG header declaring 60000 x 60000 (14 GB of pixels) and nothing more.
    Bytes png = encodePNG(1, 1, { { 0, 0, 0, 255 } });
    auto setBigEndian = [](Bytes& bytes, std::size_t offset, std::uint32_t value) {
        for (int i = 0; i < 4; ++i)
            bytes[offset + i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
    };
    setBigEndian(png, 16, 60000);
    setBigEndian(png, 20, 60000);
    std::uint32_t crc = static_cast<std::uint32_t>(crc32(0, png.data() + 12, 17));
    setBigEndian(png, 29, crc);
    EXPECT_FALSE(imageFrom(png));

    // A JPEG whose frame header declares 60000 x 60000.
    Bytes jpeg = encodeJPEG(8, 8, { 0, 0, 0, 255 });
    for (std::size_t i = 0; i + 8 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            jpeg[i + 5] = 60000 >> 8;
            jpeg[i + 6] = 60000 & 0xFF;
            jpeg[i + 7] = 60000 >> 8;
            jpeg[i + 8] = 60000 & 0xFF;
            break;
        }
    }
    EXPECT_FALSE(imageFrom(jpeg));
}

TEST_F(UIKit_Image, LargeImagesDecodeToASmallerBitmap)
{
    auto jpeg = imageFrom(encodeJPEG(2400, 2000, { 0, 0, 255, 255 }));
    ASSERT_TRUE(jpeg);
    EXPECT_EQ(jpeg->size().width, 2400) << "the image keeps its size";
    EXPECT_EQ(jpeg->CGImage()->width, 1200u) << "libjpeg decoded it at half scale";
    EXPECT_LE(jpeg->CGImage()->width * jpeg->CGImage()->height, UIImageDecoder::kMaximumBitmapPixels);

    std::vector<Pixel> stripes(2100 * 2000);
    for (std::size_t i = 0; i < stripes.size(); ++i)
        stripes[i] = (i % 2100) < 1050 ? Pixel { 255, 0, 0, 255 } : Pixel { 0, 0, 255, 255 };
    auto png = imageFrom(encodePNG(2100, 2000, stripes));
    ASSERT_TRUE(png);
    EXPECT_LE(png->CGImage()->width * png->CGImage()->height, UIImageDecoder::kMaximumBitmapPixels);
    expectPixel(averageOf(png.get()), { 128, 0, 128, 255 }, 1);
}

TEST_F(UIKit_Image, OnePixelContextHoldsTheAreaAverage)
{
    // Three quarters red, one quarter blue.
    std::vector<Pixel> pixels { { 255, 0, 0, 255 }, { 255, 0, 0, 255 }, { 255, 0, 0, 255 }, { 0, 0, 255, 255 } };
    auto image = imageFrom(encodePNG(2, 2, pixels));
    ASSERT_TRUE(image);
    expectPixel(averageOf(image.get()), { 191, 0, 64, 255 });

    // Transparent parts pull the premultiplied average towards black.
    auto half = imageFrom(encodePNG(2, 1, { { 255, 255, 255, 255 }, { 0, 0, 0, 0 } }));
    expectPixel(averageOf(half.get()), { 128, 128, 128, 128 });

    // Without interpolation, the nearest pixel: the bottom-right one here.
    UIGraphicsBeginImageContext(CGSizeMake(1, 1));
    CGContextSetInterpolationQuality(UIGraphicsGetCurrentContext(), kCGInterpolationNone);
    image->drawInRect(CGRectMake(0, 0, 1, 1), kCGBlendModeCopy, 1);
    auto* bytes = static_cast<const std::uint8_t*>(CGBitmapContextGetData(UIGraphicsGetCurrentContext()));
    EXPECT_EQ(bytes[2], 255);
    UIGraphicsEndImageContext();
    EXPECT_EQ(UIGraphicsGetCurrentContext(), nullptr);
}

TEST_F(UIKit_Image, NormalBlendCompositesOverWhatIsThere)
{
    auto red = imageFrom(encodePNG(1, 1, { { 255, 0, 0, 255 } }));
    auto halfBlue = imageFrom(encodePNG(1, 1, { { 0, 0, 255, 128 } }));
    UIGraphicsBeginImageContext(CGSizeMake(1, 1));
    red->drawInRect(CGRectMake(0, 0, 1, 1));
    halfBlue->drawInRect(CGRectMake(0, 0, 1, 1));
    auto* bytes = static_cast<const std::uint8_t*>(CGBitmapContextGetData(UIGraphicsGetCurrentContext()));
    expectPixel({ bytes[0], bytes[1], bytes[2], bytes[3] }, { 127, 0, 128, 255 }, 1);
    halfBlue->drawInRect(CGRectMake(0, 0, 1, 1), kCGBlendModeCopy, 1);
    expectPixel({ bytes[0], bytes[1], bytes[2], bytes[3] }, { 0, 0, 128, 128 });
    UIGraphicsEndImageContext();
}

TEST_F(UIKit_Image, FilesResolveUnderTheDeviceRootAndSymbolsKeepTheirConfiguration)
{
    auto root = std::filesystem::temp_directory_path() / ("uikit-image-" + std::to_string(::getpid()));
    std::filesystem::create_directories(root / "Library");
    Bytes png = encodePNG(2, 3, std::vector<Pixel>(6, Pixel { 0, 0, 0, 255 }));
    std::ofstream(root / "Library/logo.png", std::ios::binary).write(reinterpret_cast<const char*>(png.data()), png.size());
    platform::setDeviceRoot(root.string());

    auto logo = UIImage::imageWithContentsOfFile(NSString::create("/Library/logo.png").get());
    ASSERT_TRUE(logo);
    EXPECT_EQ(logo->size().height, 3);
    EXPECT_EQ(logo->jsonValue(), (nlohmann::json { { "file", "/Library/logo.png" } }));
    EXPECT_FALSE(UIImage::imageWithContentsOfFile(NSString::create("/Library/missing.png").get()));
    platform::setDeviceRoot("/");
    std::filesystem::remove_all(root);

    auto symbol = UIImage::systemImageNamed(NSString::create("forward.fill").get(),
        UIImageSymbolConfiguration::configurationWithPointSize(13).get());
    EXPECT_EQ(symbol->jsonValue(), (nlohmann::json { { "symbol", "forward.fill" }, { "pointSize", 13.0 } }));
    EXPECT_FALSE(symbol->CGImage());
}
