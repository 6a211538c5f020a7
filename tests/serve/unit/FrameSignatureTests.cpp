// Frames are made only when the picture would change: the window tree, the appearance,
// the clock's minute, and the time itself while a title the user can see scrolls.
#include "sim/lumetrix-sim/serve/FrameMaker.h"
#include "sim/lumetrix-sim/serve/VisibleMotion.h"

#include "UIKit/UIImageDecoder.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

namespace sim {
namespace {

constexpr double kNoon = 788961600.0;

using nlohmann::json;

std::string signatureAt(const std::string& tree, double now, bool dark = false)
{
    return FrameMaker::signature(json::parse(tree), now, dark);
}

TEST(Serve_FrameSignature, AStillScreenMakesNoNewFrame)
{
    std::string tree = R"({"class":"UIWindow","subviews":[{"class":"UILabel","marqueeRunning":false}]})";
    EXPECT_EQ(signatureAt(tree, kNoon + 1, false), signatureAt(tree, kNoon + 59, false));
    EXPECT_NE(signatureAt(tree, kNoon + 59, false), signatureAt(tree, kNoon + 60, false)) << "the clock shows the next minute";
    EXPECT_NE(signatureAt(tree, kNoon, false), signatureAt(tree, kNoon, true)) << "appearance";
    std::string faded = R"({"class":"UIWindow","subviews":[{"class":"UILabel","marqueeRunning":false,"presentationAlpha":0.5}]})";
    EXPECT_NE(signatureAt(tree, kNoon, false), signatureAt(faded, kNoon, false));
}

TEST(Serve_FrameSignature, AScrollingTitleMovesWithTheClock)
{
    std::string tree = R"({"class":"UIWindow","frame":[0,0,375,812],"subviews":[{"class":"UILabel","frame":[20,700,200,20],"marqueeRunning":true}]})";
    EXPECT_NE(signatureAt(tree, kNoon + 1, false), signatureAt(tree, kNoon + 1.05, false));
}

// A label scrolls on where nobody sees it: in a hidden or faded-out row, clipped away,
// or under an opaque view. The phone is still, and so are its frames.
TEST(Serve_FrameSignature, AScrollingTitleNobodySeesMakesNoFrames)
{
    auto screen = [](const std::string& row, const std::string& label, const std::string& above) {
        return R"({"class":"UIScreen","frame":[0,0,375,812],"subviews":[{"class":"UIView","frame":[0,650,375,100])" + row
            + R"(,"subviews":[{"class":"UILabel","frame":[20,700,200,20],"marqueeRunning":true)" + label + "}]}" + above + "]}";
    };
    auto still = [&](const std::string& tree) { return signatureAt(tree, kNoon + 1) == signatureAt(tree, kNoon + 1.05); };
    EXPECT_FALSE(still(screen("", "", ""))) << "seen, it moves";
    EXPECT_TRUE(still(screen(R"(,"hidden":true)", "", ""))) << "in a hidden row";
    EXPECT_TRUE(still(screen(R"(,"presentationAlpha":0)", "", ""))) << "in a row faded out";
    EXPECT_TRUE(still(screen("", R"(,"hidden":true)", ""))) << "hidden itself";
    EXPECT_TRUE(still(screen(R"(,"clipsToBounds":true,"frame":[0,650,375,10])", "", ""))) << "clipped away by its row";
    std::string cover = R"(,{"class":"UIView","frame":[0,600,375,212],"backgroundColor":{"rgba":[0,0,0,1]}})";
    EXPECT_TRUE(still(screen("", "", cover))) << "under an opaque view";
    std::string glass = R"(,{"class":"UIView","frame":[0,600,375,212],"backgroundColor":{"rgba":[0,0,0,0.5]}})";
    EXPECT_FALSE(still(screen("", "", glass))) << "under a translucent view it shows";
    std::string rounded = R"(,{"class":"UIView","frame":[0,600,375,212],"cornerRadius":12,"backgroundColor":{"rgba":[0,0,0,1]}})";
    EXPECT_FALSE(still(screen("", "", rounded))) << "a rounded view's corners show what is behind";
    std::string partly = R"(,{"class":"UIView","frame":[0,600,100,212],"backgroundColor":{"rgba":[0,0,0,1]}})";
    EXPECT_FALSE(still(screen("", "", partly))) << "covered in part, the rest moves";
}

// A fade keeps the phone ticking at full rate even in a tick whose picture matched the
// last one (its first instant): the frames after it differ.
TEST(Serve_FrameSignature, AFadeUnderWayIsMotion)
{
    auto row = [](const std::string& alphas) {
        return json::parse(R"({"class":"UIScreen","frame":[0,0,375,812],"subviews":[{"class":"UIView","frame":[0,650,375,100],)" + alphas + "}]}");
    };
    EXPECT_TRUE(aFadeIsUnderWay(row(R"("alpha":1,"presentationAlpha":0)")));
    EXPECT_FALSE(aFadeIsUnderWay(row(R"("alpha":1,"presentationAlpha":1)")));
    EXPECT_FALSE(aFadeIsUnderWay(row(R"("alpha":0,"presentationAlpha":1,"hidden":true)"))) << "a hidden view fades unseen";
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
