// Frames are made only when the picture would change: the window tree, the appearance,
// the clock's minute, and the time itself while a title scrolls.
#include "sim/lumetrix-sim/serve/FrameMaker.h"

#include <gtest/gtest.h>

namespace sim {
namespace {

constexpr double kNoon = 788961600.0;

TEST(FrameSignatureTests, AStillScreenMakesNoNewFrame)
{
    std::string tree = R"({"class":"UIWindow","subviews":[{"class":"UILabel","marqueeRunning":false}]})";
    EXPECT_EQ(FrameMaker::signature(tree, kNoon + 1, false), FrameMaker::signature(tree, kNoon + 59, false));
    EXPECT_NE(FrameMaker::signature(tree, kNoon + 59, false), FrameMaker::signature(tree, kNoon + 60, false)) << "the clock shows the next minute";
    EXPECT_NE(FrameMaker::signature(tree, kNoon, false), FrameMaker::signature(tree, kNoon, true)) << "appearance";
    std::string faded = R"({"class":"UIWindow","subviews":[{"class":"UILabel","marqueeRunning":false,"presentationAlpha":0.5}]})";
    EXPECT_NE(FrameMaker::signature(tree, kNoon, false), FrameMaker::signature(faded, kNoon, false));
}

TEST(FrameSignatureTests, AScrollingTitleMovesWithTheClock)
{
    std::string tree = R"({"class":"UIWindow","subviews":[{"class":"UILabel","marqueeRunning":true}]})";
    EXPECT_NE(FrameMaker::signature(tree, kNoon + 1, false), FrameMaker::signature(tree, kNoon + 1.05, false));
}

TEST(FrameSignatureTests, FramesAreOpaquePNGsOfTheCairoPixels)
{
    // Two pixels, B G R A in memory as cairo keeps them, with a padded stride.
    const std::uint8_t pixels[] = { 0x10, 0x20, 0x30, 0xFF, 0x01, 0x02, 0x03, 0xFF, 0xEE, 0xEE, 0xEE, 0xEE };
    auto png = FrameMaker::encodeFrame(pixels, 2, 1, 12);
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(png[1], 'P');
    EXPECT_EQ(png[25], 2) << "colour type RGB (no alpha: the screen is opaque)";
}

} // namespace
} // namespace sim
