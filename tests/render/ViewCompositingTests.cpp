// How views combine on screen: what is skipped, how alpha blends, where rounding and
// masking cut, where transforms put things, and how many pixels a point becomes.

#include "RenderTestSupport.h"

#include "UIKit/UIImage.h"
#include "UIKit/UIImageView.h"
#include "UIKit/UIImageSymbolConfiguration.h"

#include <numbers>

using namespace render_test;

namespace {

class Render_Compositing : public RenderTest { };

TEST_F(Render_Compositing, HiddenViewsAndTheirSubtreesLeaveTheBackdropUntouched)
{
    struct Case {
        const char* story;
        bool parentHidden;
        bool childHidden;
        double parentAlpha;
    };
    const Case cases[] = {
        { "hidden child", false, true, 1 },
        { "hidden parent hides a visible child", true, false, 1 },
        { "fully transparent parent", false, false, 0 },
    };
    for (auto& c : cases) {
        auto root = makeView(CGRectMake(0, 0, 40, 40));
        auto parent = makeView(CGRectMake(0, 0, 40, 40));
        auto child = makeView(CGRectMake(10, 10, 20, 20), rgb(1, 0, 0));
        parent->addSubview(child.get());
        root->addSubview(parent.get());
        parent->setHidden(c.parentHidden);
        child->setHidden(c.childHidden);
        parent->setAlpha(c.parentAlpha);
        Canvas canvas = draw(root.get(), CGRectMake(0, 0, 40, 40));
        EXPECT_TRUE(inkBox(canvas, kBlue, 0).isEmpty()) << c.story;
    }
}

TEST_F(Render_Compositing, AlphaBlendsTheViewOverWhatIsBehind)
{
    const double alphas[] = { 1.0, 0.75, 0.5, 0.25 };
    for (double alpha : alphas) {
        auto view = makeView(CGRectMake(0, 0, 10, 10), rgb(1, 0, 0));
        view->setAlpha(alpha);
        Canvas canvas = draw(view.get(), CGRectMake(0, 0, 10, 10));
        Rgba expected { static_cast<std::uint8_t>(std::lround(255 * alpha)), 0, static_cast<std::uint8_t>(std::lround(255 * (1 - alpha))), 255 };
        EXPECT_TRUE(near(canvas.pixel(5, 5), expected)) << "alpha " << alpha << ": " << canvas.pixel(5, 5);
    }
}

TEST_F(Render_Compositing, AFadingViewIsDrawnAtItsPresentationAlphaNotItsModelAlpha)
{
    auto view = makeView(CGRectMake(0, 0, 10, 10), rgb(1, 0, 0));
    UIView::animateWithDuration(1.0, [&] { view->setAlpha(0); });
    ASSERT_EQ(view->alpha(), 0);
    runLoop().runFor(0.5);
    Canvas halfway = draw(view.get(), CGRectMake(0, 0, 10, 10));
    EXPECT_TRUE(near(halfway.pixel(5, 5), { 128, 0, 127, 255 })) << halfway.pixel(5, 5);
    runLoop().runFor(0.6);
    Canvas done = draw(view.get(), CGRectMake(0, 0, 10, 10));
    EXPECT_TRUE(near(done.pixel(5, 5), kBlue)) << done.pixel(5, 5);
}

TEST_F(Render_Compositing, AHalfTransparentParentFadesItsOverlappingChildrenAsOneGroup)
{
    // Two opaque red children overlap; at 50% the overlap must not come out redder than
    // the rest, as it would if each child were faded on its own.
    auto parent = makeView(CGRectMake(0, 0, 30, 10));
    parent->addSubview(makeView(CGRectMake(0, 0, 20, 10), rgb(1, 0, 0)).get());
    parent->addSubview(makeView(CGRectMake(10, 0, 20, 10), rgb(1, 0, 0)).get());
    parent->setAlpha(0.5);
    Canvas canvas = draw(parent.get(), CGRectMake(0, 0, 30, 10));
    EXPECT_TRUE(near(canvas.pixel(5, 5), canvas.pixel(15, 5), 1)) << canvas.pixel(5, 5) << " vs overlap " << canvas.pixel(15, 5);
    EXPECT_TRUE(near(canvas.pixel(15, 5), { 128, 0, 127, 255 })) << canvas.pixel(15, 5);
}

TEST_F(Render_Compositing, CornerRadiusRoundsTheBackgroundAndMaskingClipsSubviews)
{
    struct Case {
        const char* story;
        bool masks;
        bool cornerShowsBackdrop;
        bool protrusionVisible;
    };
    const Case cases[] = {
        { "rounded, not masking: child outside still shows", false, true, true },
        { "rounded and masking: child cut at the bounds", true, true, false },
    };
    for (auto& c : cases) {
        auto root = makeView(CGRectMake(0, 0, 60, 60));
        auto card = makeView(CGRectMake(10, 10, 40, 40), rgb(1, 0, 0));
        card->layer()->setCornerRadius(10);
        card->layer()->setMasksToBounds(c.masks);
        // A green child hanging out of the card's bottom edge.
        card->addSubview(makeView(CGRectMake(15, 30, 10, 20), rgb(0, 1, 0)).get());
        root->addSubview(card.get());
        Canvas canvas = draw(root.get(), CGRectMake(0, 0, 60, 60), 2);
        EXPECT_TRUE(near(canvas.pixelAtPoint({ 10.5, 10.5 }), kBlue) == c.cornerShowsBackdrop) << c.story;
        EXPECT_TRUE(near(canvas.pixelAtPoint({ 30, 30 }), kRed)) << c.story;
        EXPECT_EQ(near(canvas.pixelAtPoint({ 30, 55 }), { 0, 255, 0, 255 }), c.protrusionVisible) << c.story;
        EXPECT_TRUE(near(canvas.pixelAtPoint({ 30, 45 }), { 0, 255, 0, 255 })) << c.story << ": inside the card";
    }
}

TEST_F(Render_Compositing, MaskingWithARadiusCutsSubviewsAtTheRoundedCorners)
{
    auto card = makeView(CGRectMake(0, 0, 40, 40));
    card->layer()->setCornerRadius(20);
    card->setClipsToBounds(true);
    card->addSubview(makeView(CGRectMake(0, 0, 40, 40), rgb(1, 0, 0)).get());
    Canvas canvas = draw(card.get(), CGRectMake(0, 0, 40, 40), 2);
    EXPECT_TRUE(near(canvas.pixelAtPoint({ 2, 2 }), kBlue)) << "the corner of a circle";
    EXPECT_TRUE(near(canvas.pixelAtPoint({ 20, 1 }), kRed)) << "the top of the circle";
}

TEST_F(Render_Compositing, TransformsMoveAndTurnAViewAboutItsCentre)
{
    // A 20 x 4 bar, turned a quarter turn about its centre, stands upright.
    auto root = makeView(CGRectMake(0, 0, 40, 40));
    auto bar = makeView(CGRectMake(10, 18, 20, 4), rgb(1, 0, 0));
    bar->setTransform(CGAffineTransformMakeRotation(std::numbers::pi / 2));
    root->addSubview(bar.get());
    Canvas turned = draw(root.get(), CGRectMake(0, 0, 40, 40));
    InkBox box = inkBox(turned, kBlue);
    EXPECT_NEAR(box.width(), 4, 1);
    EXPECT_NEAR(box.height(), 20, 1);
    EXPECT_NEAR((box.minX + box.maxX) / 2.0, 19.5, 1);

    bar->setTransform(CGAffineTransformMakeTranslation(5, -10));
    Canvas moved = draw(root.get(), CGRectMake(0, 0, 40, 40));
    box = inkBox(moved, kBlue);
    EXPECT_EQ(box.minX, 15);
    EXPECT_EQ(box.minY, 8);
}

TEST_F(Render_Compositing, AForwardGlyphTurnedByHalfATurnPointsLeft)
{
    // A pointing triangle is tall at its base and narrow at its tip: the glyph points
    // towards its thinner end.
    auto configuration = UIImageSymbolConfiguration::configurationWithPointSize(13);
    auto glyph = UIImageView::alloc();
    glyph->initWithFrame(CGRectMake(17.5, 17.5, 5, 5));
    glyph->setImage(UIImage::systemImageNamed("forward.fill", configuration.get()));
    glyph->setContentMode(UIViewContentModeCenter);
    glyph->setTintColor(UIColor::whiteColor().get());
    auto root = makeView(CGRectMake(0, 0, 40, 40));
    root->addSubview(glyph.get());

    auto pointsLeft = [&] {
        Canvas canvas = draw(root.get(), CGRectMake(0, 0, 40, 40), 3);
        InkBox box = inkBox(canvas, kBlue, 60);
        EXPECT_GT(box.count, 50);
        int left = inkInColumn(canvas, box.minX + 2, box.minY, box.maxY, kBlue, 60);
        int right = inkInColumn(canvas, box.maxX - 2, box.minY, box.maxY, kBlue, 60);
        return left < right;
    };
    EXPECT_FALSE(pointsLeft()) << "untransformed, forward points right";
    glyph->setTransform(CGAffineTransformMakeRotation(std::numbers::pi));
    EXPECT_TRUE(pointsLeft());
}

TEST_F(Render_Compositing, DeviceScaleGivesThreePixelsAPoint)
{
    auto line = makeView(CGRectMake(10, 0, 1, 10), rgb(1, 0, 0));
    auto root = makeView(CGRectMake(0, 0, 20, 10));
    root->addSubview(line.get());
    Canvas canvas = draw(root.get(), CGRectMake(0, 0, 20, 10), 3);
    EXPECT_EQ(canvas.width(), 60);
    InkBox box = inkBox(canvas, kBlue, 0);
    EXPECT_EQ(box.minX, 30);
    EXPECT_EQ(box.width(), 3);
}

TEST_F(Render_Compositing, ARegionShowsOnlyItsPartOfTheScreenEnlarged)
{
    auto root = makeView(CGRectMake(0, 0, 100, 100));
    root->addSubview(makeView(CGRectMake(50, 50, 10, 10), rgb(1, 0, 0)).get());
    Canvas canvas = draw(root.get(), CGRectMake(45, 45, 20, 20), 6);
    EXPECT_EQ(canvas.width(), 120);
    InkBox box = inkBox(canvas, kBlue, 0);
    EXPECT_EQ(box.minX, 30);
    EXPECT_EQ(box.width(), 60);
    EXPECT_TRUE(near(canvas.pixelAtPoint({ 55, 55 }), kRed));
}

} // namespace
