// Blur materials: a real blur of what lies behind, under the material's tint, kept to the
// material's own rounded shape.

#include "RenderTestSupport.h"

#include "sim/render/BoxBlur.h"
#include "sim/render/MaterialPainter.h"

#include "MaterialKit/MTMaterialView.h"
#include "UIKit/UIBlurEffect.h"
#include "UIKit/UIVisualEffectView.h"

using namespace render_test;

namespace {

class Render_Material : public RenderTest { };

// Black on the left half, white on the right: a sharp edge down the middle at x = 50.
objc::RefPtr<UIView> makeEdge()
{
    auto root = makeView(CGRectMake(0, 0, 100, 60), rgb(0, 0, 0));
    root->addSubview(makeView(CGRectMake(50, 0, 50, 60), rgb(1, 1, 1)).get());
    return root;
}

int luminance(Rgba p)
{
    return (p.red + p.green + p.blue) / 3;
}

TEST_F(Render_Material, AMaterialBlursWhatLiesBehindItAndTintsIt)
{
    struct Case {
        const char* story;
        std::function<objc::RefPtr<UIView>()> make;
    };
    const Case cases[] = {
        { "MTMaterialView recipe 2", [] {
        auto material = MTMaterialView::materialViewWithRecipe(2, 1, 1.0);
        return objc::RefPtr<UIView>(material.get());
    } },
        { "UIVisualEffectView, regular blur", [] {
        auto effect = UIVisualEffectView::alloc();
        effect->initWithEffect(UIBlurEffect::effectWithStyle(UIBlurEffectStyleRegular).get());
        return objc::RefPtr<UIView>(effect.get());
    } },
    };
    for (auto& c : cases) {
        auto root = makeEdge();
        Canvas sharp = draw(root.get(), CGRectMake(0, 0, 100, 60), 2);
        auto material = c.make();
        material->setFrame(CGRectMake(20, 10, 60, 40));
        root->addSubview(material.get());
        Canvas blurred = draw(root.get(), CGRectMake(0, 0, 100, 60), 2);

        // Just either side of the edge, the blur mixes black and white into greys that
        // come closer together than the sharp picture's.
        int leftSharp = luminance(sharp.pixelAtPoint({ 47, 30 }));
        int rightSharp = luminance(sharp.pixelAtPoint({ 53, 30 }));
        int left = luminance(blurred.pixelAtPoint({ 47, 30 }));
        int right = luminance(blurred.pixelAtPoint({ 53, 30 }));
        EXPECT_EQ(leftSharp, 0) << c.story;
        EXPECT_EQ(rightSharp, 255) << c.story;
        EXPECT_GT(left, 40) << c.story;
        EXPECT_LT(right, 230) << c.story;
        EXPECT_LT(right - left, 140) << c.story;
        // The light tint lifts the dark side even far from the edge.
        EXPECT_GT(luminance(blurred.pixelAtPoint({ 22, 30 })), 40) << c.story;
        // Outside the material nothing changes.
        EXPECT_EQ(luminance(blurred.pixelAtPoint({ 10, 30 })), 0) << c.story;
        EXPECT_EQ(luminance(blurred.pixelAtPoint({ 90, 30 })), 255) << c.story;
        EXPECT_EQ(luminance(blurred.pixelAtPoint({ 47, 5 })), 0) << c.story;
    }
}

TEST_F(Render_Material, TheDarkAppearanceTintsDarker)
{
    auto look = [](UIUserInterfaceStyle style) { return sim::render::materialLookForRecipe(2, 1.0, style).tint; };
    EXPECT_LT(look(UIUserInterfaceStyle::Dark).red, look(UIUserInterfaceStyle::Light).red);
    auto lookFor = [](UIBlurEffectStyle blur, UIUserInterfaceStyle style) { return sim::render::materialLookForBlurStyle(blur, style).tint; };
    EXPECT_LT(lookFor(UIBlurEffectStyleRegular, UIUserInterfaceStyle::Dark).red, lookFor(UIBlurEffectStyleRegular, UIUserInterfaceStyle::Light).red);
    EXPECT_LT(lookFor(UIBlurEffectStyleDark, UIUserInterfaceStyle::Light).red, 0.5) << "the dark style is dark in either appearance";
}

TEST_F(Render_Material, WeightingScalesTheMaterialAndIsPinnedToOne)
{
    auto light = UIUserInterfaceStyle::Light;
    EXPECT_EQ(sim::render::materialLookForRecipe(2, 5.0, light).tint.alpha, sim::render::materialLookForRecipe(2, 1.0, light).tint.alpha);
    EXPECT_EQ(sim::render::materialLookForRecipe(2, 0.0, light).blurRadius, 0);
    EXPECT_EQ(sim::render::materialLookForRecipe(2, -1.0, light).tint.alpha, 0);
    EXPECT_LT(sim::render::materialLookForRecipe(2, 0.5, light).blurRadius, sim::render::materialLookForRecipe(2, 1.0, light).blurRadius);
}

TEST_F(Render_Material, AMaterialInARoundedMaskingRowKeepsToTheRowsCorners)
{
    auto root = makeEdge();
    auto row = makeView(CGRectMake(20, 10, 60, 40));
    row->layer()->setCornerRadius(15);
    row->layer()->setMasksToBounds(true);
    auto material = MTMaterialView::materialViewWithRecipe(2, 1, 5.0);
    material->setFrame(row->bounds());
    row->addSubview(material.get());
    root->addSubview(row.get());
    Canvas canvas = draw(root.get(), CGRectMake(0, 0, 100, 60), 2);
    EXPECT_EQ(luminance(canvas.pixelAtPoint({ 21, 11 })), 0) << "the row's rounded corner shows the black behind";
    EXPECT_GT(luminance(canvas.pixelAtPoint({ 30, 30 })), 40) << "inside: tinted material";
}

TEST_F(Render_Material, AMaterialOverAColouredRowKeepsTheRowsColourToItsEdges)
{
    // A green row on black, filled by its material: what the material blurs is the row's
    // own background, not the black around it.
    auto root = makeView(CGRectMake(0, 0, 100, 60), rgb(0, 0, 0));
    auto row = makeView(CGRectMake(20, 20, 60, 20), rgb(0, 0.6, 0));
    auto material = MTMaterialView::materialViewWithRecipe(2, 1, 1.0);
    material->setFrame(row->bounds());
    row->addSubview(material.get());
    root->addSubview(row.get());
    Canvas canvas = draw(root.get(), CGRectMake(0, 0, 100, 60), 2);
    Rgba centre = canvas.pixelAtPoint({ 50, 30 });
    Rgba edge = canvas.pixelAtPoint({ 20.5, 20.5 });
    EXPECT_GT(centre.green, centre.red + 40) << centre;
    EXPECT_TRUE(near(edge, centre, 2)) << "edge " << edge << " vs centre " << centre;
}

// A surface filled by `fill(x, y)` -> grey level.
cairo_surface_t* makeSurface(int width, int height, const std::function<std::uint8_t(int, int)>& fill)
{
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_surface_flush(surface);
    auto* data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + y * stride);
        for (int x = 0; x < width; ++x) {
            std::uint32_t v = fill(x, y);
            row[x] = 0xff000000u | (v << 16) | (v << 8) | v;
        }
    }
    cairo_surface_mark_dirty(surface);
    return surface;
}

std::uint8_t grey(cairo_surface_t* surface, int x, int y)
{
    return cairo_image_surface_get_data(surface)[y * cairo_image_surface_get_stride(surface) + x * 4];
}

TEST(Render_BoxBlur, SpreadsAnEdgeKeepsFlatAreasAndRepeatsTheBorder)
{
    cairo_surface_t* edge = makeSurface(60, 10, [](int x, int) { return x < 30 ? 0 : 255; });
    sim::render::boxBlur(edge, 4);
    EXPECT_EQ(grey(edge, 0, 5), 0) << "the far left stays black: the border repeats, no light leaks in";
    EXPECT_EQ(grey(edge, 59, 5), 255) << "the far right stays white";
    EXPECT_NEAR(grey(edge, 29, 5), 128, 20) << "the edge turns grey";
    EXPECT_LT(grey(edge, 25, 5), grey(edge, 29, 5));
    EXPECT_LT(grey(edge, 29, 5), grey(edge, 34, 5));
    EXPECT_EQ(grey(edge, 29, 0), grey(edge, 29, 9)) << "vertically uniform stays so";
    cairo_surface_destroy(edge);

    cairo_surface_t* untouched = makeSurface(10, 10, [](int x, int y) { return (x * 7 + y * 13) % 256; });
    sim::render::boxBlur(untouched, 0);
    EXPECT_EQ(grey(untouched, 3, 4), (3 * 7 + 4 * 13) % 256) << "radius 0 leaves pixels alone";
    cairo_surface_destroy(untouched);
}

TEST(Render_BoxBlur, ABrightDotSpreadsSymmetricallyAndKeepsItsLight)
{
    cairo_surface_t* dot = makeSurface(41, 41, [](int x, int y) { return x == 20 && y == 20 ? 255 : 0; });
    sim::render::boxBlur(dot, 1);
    int total = 0;
    for (int y = 0; y < 41; ++y)
        for (int x = 0; x < 41; ++x)
            total += grey(dot, x, y);
    EXPECT_NEAR(total, 255, 40) << "blurring moves light, it does not make or lose much";
    EXPECT_EQ(grey(dot, 18, 20), grey(dot, 22, 20));
    EXPECT_EQ(grey(dot, 20, 18), grey(dot, 18, 20));
    EXPECT_GT(grey(dot, 20, 20), grey(dot, 19, 20));
    cairo_surface_destroy(dot);
}

} // namespace
