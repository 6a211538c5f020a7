// The part of the screen a frame draws again: what changed with everything inside it,
// whole materials and pills under it, on whole JPEG blocks.
#include "sim/lumetrix-sim/serve/ScreenDamage.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

namespace sim {
namespace {

using nlohmann::json;

// A lock screen with a row (a material holding a label and a glyph) and the home bar's
// pill, as `dump screen` gives them. `row` and `label` are extra fields for those views.
json lockScreen(const std::string& row = "", const std::string& label = "", const std::string& glyph = "")
{
    return json::parse(R"({"class":"UIWindow","id":"UIWindow#1","frame":[0,0,375,812],"subviews":[
        {"class":"MTMaterialView","id":"MTMaterialView#2","recipe":1,"frame":[10,600,355,100])"
        + row + R"(,"subviews":[
            {"class":"UILabel","id":"UILabel#3","frame":[60,610,200,20],"marqueeRunning":true)"
        + label + R"(},
            {"class":"UIImageView","id":"UIImageView#4","frame":[20,650,30,30])"
        + glyph + R"(}]},
        {"class":"UIView","id":"UIView#5","frame":[0,100,375,80]},
        {"class":"MTLumaDodgePillView","id":"MTLumaDodgePillView#6","frame":[120,798,134,5]}]})");
}

bool covers(const ScreenArea& area, double x, double y, double width, double height)
{
    return area.x <= x && area.y <= y && area.x + area.width >= x + width && area.y + area.height >= y + height;
}

TEST(Serve_ScreenDamage, NothingChangedIsNothingToDraw)
{
    EXPECT_TRUE(screenDamage(lockScreen(), lockScreen(), false).isEmpty());
}

TEST(Serve_ScreenDamage, AFadingRowIsDrawnAgainWithEverythingInItAndNothingElse)
{
    ScreenArea damage = screenDamage(lockScreen(R"(,"presentationAlpha":0.4)"), lockScreen(R"(,"presentationAlpha":0.6)"), false);
    EXPECT_TRUE(covers(damage, 10, 600, 355, 100)) << "the row and its label and glyph";
    EXPECT_GT(damage.y, 180) << "the view above stays as it was";
    EXPECT_LT(damage.y + damage.height, 798) << "so does the pill";
}

// The material blurs what lies under its whole frame, so a change inside it (a glyph, a
// scrolling title) draws all of it again, or its piece would blur a cut-off backdrop.
TEST(Serve_ScreenDamage, AChangeInsideAMaterialDrawsTheWholeMaterial)
{
    ScreenArea glyph = screenDamage(lockScreen("", "", R"(,"image":{"symbol":"play.fill"})"), lockScreen("", "", R"(,"image":{"symbol":"pause.fill"})"), false);
    EXPECT_TRUE(covers(glyph, 10, 600, 355, 100));
    ScreenArea title = screenDamage(lockScreen(), lockScreen(), true);
    EXPECT_TRUE(covers(title, 10, 600, 355, 100)) << "a scrolling title, though its fields read the same";
    json still = lockScreen();
    still["subviews"][0]["subviews"][0]["marqueeRunning"] = false;
    EXPECT_TRUE(screenDamage(still, still, true).isEmpty()) << "a title that does not scroll stays";
}

TEST(Serve_ScreenDamage, AChangeUnderThePillTakesInTheWholePill)
{
    json before = lockScreen(), after = lockScreen();
    before["subviews"][1]["frame"] = { 0, 790, 130, 22 };
    after["subviews"][1]["frame"] = { 0, 791, 130, 21 };
    ScreenArea damage = screenDamage(before, after, false);
    EXPECT_TRUE(covers(damage, 120, 798, 134, 5)) << "the pill reads the brightness under all of it";
}

TEST(Serve_ScreenDamage, ViewsThatComeOrGoAreDrawnWhereTheyWere)
{
    json before = lockScreen(), after = lockScreen();
    after["subviews"].erase(1);
    EXPECT_TRUE(covers(screenDamage(before, after, false), 0, 100, 375, 80)) << "gone";
    EXPECT_TRUE(covers(screenDamage(after, before, false), 0, 100, 375, 80)) << "come";
}

TEST(Serve_ScreenDamage, PiecesLieOnWholeJPEGBlocksInsideTheFrame)
{
    PixelArea pixels = blockAlignedPixels({ 10, 600, 355, 100 }, 2, 750, 1624);
    EXPECT_EQ(pixels.x % 16, 0);
    EXPECT_EQ(pixels.y % 16, 0);
    EXPECT_LE(pixels.x, 20);
    EXPECT_LE(pixels.y, 1200);
    EXPECT_GE(pixels.x + pixels.width, 730);
    EXPECT_GE(pixels.y + pixels.height, 1400);
    EXPECT_EQ((pixels.width % 16 == 0) || (pixels.x + pixels.width == 750), true);
    PixelArea edge = blockAlignedPixels({ 300, 790, 100, 40 }, 2, 750, 1624);
    EXPECT_EQ(edge.x + edge.width, 750) << "cut at the frame's edge";
    EXPECT_EQ(edge.y + edge.height, 1624);
}

} // namespace
} // namespace sim
