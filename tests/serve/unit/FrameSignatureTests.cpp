// Frames are made only when the picture would change: the window tree, the appearance,
// the clock's minute, and the time itself while a title scrolls.
#include "sim/lumetrix-sim/serve/FrameMaker.h"

#include "UIKit/UIImageDecoder.h"

#include <gtest/gtest.h>

namespace sim {
namespace {

constexpr double kNoon = 788961600.0;

TEST(Serve_FrameSignature, AStillScreenMakesNoNewFrame)
{
    std::string tree = R"({"class":"UIWindow","subviews":[{"class":"UILabel","marqueeRunning":false}]})";
    EXPECT_EQ(FrameMaker::signature(tree, kNoon + 1, false), FrameMaker::signature(tree, kNoon + 59, false));
    EXPECT_NE(FrameMaker::signature(tree, kNoon + 59, false), FrameMaker::signature(tree, kNoon + 60, false)) << "the clock shows the next minute";
    EXPECT_NE(FrameMaker::signature(tree, kNoon, false), FrameMaker::signature(tree, kNoon, true)) << "appearance";
    std::string faded = R"({"class":"UIWindow","subviews":[{"class":"UILabel","marqueeRunning":false,"presentationAlpha":0.5}]})";
    EXPECT_NE(FrameMaker::signature(tree, kNoon, false), FrameMaker::signature(faded, kNoon, false));
}

TEST(Serve_FrameSignature, AScrollingTitleMovesWithTheClock)
{
    std::string tree = R"({"class":"UIWindow","subviews":[{"class":"UILabel","marqueeRunning":true}]})";
    EXPECT_NE(FrameMaker::signature(tree, kNoon + 1, false), FrameMaker::signature(tree, kNoon + 1.05, false));
}

TEST(Serve_FrameSignature, FramesAreJPEGsOfTheCairoPixelsInTheirColours)
{
    // 16 x 16 pixels of one colour, B G R A in memory as cairo keeps them, rows padded.
    const int width = 16, height = 16, stride = 80;
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(stride) * height, 0xEE);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* pixel = &pixels[static_cast<std::size_t>(y * stride + x * 4)];
            pixel[0] = 0x20; // blue
            pixel[1] = 0x40; // green
            pixel[2] = 0xC0; // red
            pixel[3] = 0xFF;
        }
    }
    auto jpeg = FrameMaker::encodeFrame(pixels.data(), width, height, stride);
    ASSERT_GT(jpeg.size(), 4u);
    EXPECT_EQ(jpeg[0], 0xFF);
    EXPECT_EQ(jpeg[1], 0xD8);
    auto decoded = UIImageDecoder::decode(jpeg.data(), jpeg.size());
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->width, 16u);
    const std::uint8_t* middle = decoded->bitmap->pixel(8, 8);
    EXPECT_NEAR(middle[0], 0xC0, 4) << "red";
    EXPECT_NEAR(middle[1], 0x40, 4) << "green";
    EXPECT_NEAR(middle[2], 0x20, 4) << "blue";
}

} // namespace
} // namespace sim
