// What views draw inside themselves: a progress bar's fill, a label's text, symbol
// glyphs, bitmaps under each content mode, and the home indicator pill.

#include "RenderTestSupport.h"

#include <set>

#include "sim/render/ImagePainter.h"
#include "sim/render/LabelPainter.h"
#include "sim/render/SymbolGlyphs.h"
#include "sim/render/TextLayout.h"

#include "Foundation/NSString.h"
#include "SpringBoard/CSHomeAffordanceView.h"
#include "SpringBoard/MTLumaDodgePillView.h"
#include "UIKit/UIFont.h"
#include "UIKit/UIImage.h"
#include "UIKit/UIImageSymbolConfiguration.h"
#include "UIKit/NSStringDrawing.h"
#include "UIKit/UIImageView.h"
#include "UIKit/UILabel.h"
#include "UIKit/UIProgressView.h"
#include "UIKit/UISwitch.h"
#include "UIKit/UISymbolCatalogue.h"

using namespace render_test;

namespace {

class Render_Content : public RenderTest { };

objc::RefPtr<UIProgressView> makeStrip(float progress, UIProgressViewStyle style = UIProgressViewStyleBar)
{
    auto strip = UIProgressView::alloc();
    strip->initWithProgressViewStyle(style);
    strip->setFrame(CGRectMake(10, 10, 100, 5));
    strip->setTrackTintColor(rgb(0, 0, 0).get());
    strip->setProgressTintColor(rgb(1, 1, 1).get());
    strip->setProgress(progress);
    return strip;
}

TEST_F(Render_Content, TheFillHasTheProgressTintAndItsLengthFollowsTheProgress)
{
    const float progresses[] = { 0, 0.25f, 0.5f, 0.8f, 1 };
    for (float progress : progresses) {
        auto strip = makeStrip(progress);
        Canvas canvas = draw(strip.get(), CGRectMake(0, 0, 120, 20), 3);
        int filled = 0, track = 0;
        for (int x = 30; x < 330; ++x) {
            Rgba p = canvas.pixel(x, 37);
            filled += near(p, kWhite, 8);
            track += near(p, kBlack, 8);
        }
        EXPECT_NEAR(filled, 300 * progress, 2) << "progress " << progress;
        EXPECT_NEAR(track, 300 * (1 - progress), 2) << "progress " << progress;
        EXPECT_TRUE(near(canvas.pixel(29, 37), kBlue)) << "nothing left of the strip";
        EXPECT_TRUE(near(canvas.pixel(330, 37), kBlue)) << "nothing right of the strip";
    }
}

TEST_F(Render_Content, TheFillShowsTheProgressAnimationAsItRuns)
{
    auto strip = makeStrip(0);
    strip->setProgress(1, true);
    runLoop().runFor(UIProgressView::kProgressAnimationDuration / 2);
    Canvas canvas = draw(strip.get(), CGRectMake(0, 0, 120, 20), 3);
    int filled = 0;
    for (int x = 30; x < 330; ++x)
        filled += near(canvas.pixel(x, 37), kWhite, 8);
    EXPECT_NEAR(filled, 150, 3) << "halfway through, half the strip is filled";
}

TEST_F(Render_Content, TheBarGoesOverABackdropSentBehindIt)
{
    auto strip = makeStrip(0.5f);
    strip->setTrackTintColor(UIColor::clearColor().get());
    auto backdrop = makeView(CGRectMake(0, 0, 100, 5), rgb(0, 1, 0));
    strip->addSubview(backdrop.get());
    strip->sendSubviewToBack(backdrop.get());
    Canvas canvas = draw(strip.get(), CGRectMake(0, 0, 120, 20), 1);
    EXPECT_TRUE(near(canvas.pixel(20, 12), kWhite)) << "fill over the backdrop: " << canvas.pixel(20, 12);
    EXPECT_TRUE(near(canvas.pixel(90, 12), { 0, 255, 0, 255 })) << "the clear track shows the backdrop";
}

TEST_F(Render_Content, WithoutTintsTheFillTakesTheInheritedTint)
{
    auto root = makeView(CGRectMake(0, 0, 120, 20));
    root->setTintColor(rgb(1, 0, 0).get());
    auto strip = UIProgressView::alloc();
    strip->initWithProgressViewStyle(UIProgressViewStyleBar);
    strip->setFrame(CGRectMake(10, 10, 100, 4));
    strip->setProgress(1);
    root->addSubview(strip.get());
    Canvas canvas = draw(root.get(), CGRectMake(0, 0, 120, 20), 1);
    EXPECT_TRUE(near(canvas.pixel(60, 12), { 255, 0, 0, 255 })) << canvas.pixel(60, 12);
}

objc::RefPtr<UILabel> makeLabel(const std::string& text, CGRect frame, NSTextAlignment alignment = NSTextAlignmentLeft, CGFloat size = 12)
{
    auto label = UILabel::alloc();
    label->initWithFrame(frame);
    label->setText(text);
    label->setFont(UIFont::systemFontOfSize(size).get());
    label->setTextColor(UIColor::whiteColor().get());
    label->setTextAlignment(alignment);
    return label;
}

TEST_F(Render_Content, TextAppearsInsideTheLabelsFrameWhereItsAlignmentPutsIt)
{
    struct Case {
        NSTextAlignment alignment;
        double expectedCentre; // of the ink, in points across a 200-point label at x 20
    };
    const Case cases[] = { { NSTextAlignmentLeft, 20 + 18 }, { NSTextAlignmentCenter, 120 }, { NSTextAlignmentRight, 220 - 18 } };
    for (auto& c : cases) {
        auto root = makeView(CGRectMake(0, 0, 240, 60));
        CGRect frame = CGRectMake(20, 20, 200, 20);
        root->addSubview(makeLabel("Hello", frame, c.alignment).get());
        Canvas canvas = draw(root.get(), CGRectMake(0, 0, 240, 60), 2);
        InkBox ink = inkBox(canvas, kBlue, 60);
        ASSERT_FALSE(ink.isEmpty()) << "alignment " << c.alignment;
        EXPECT_GE(ink.minX, 40);
        EXPECT_LE(ink.maxX, 440);
        EXPECT_GE(ink.minY, 40);
        EXPECT_LE(ink.maxY, 80);
        EXPECT_NEAR((ink.minX + ink.maxX) / 4.0, c.expectedCentre, 8) << "alignment " << c.alignment;
        // Vertically centred in the label.
        EXPECT_NEAR((ink.minY + ink.maxY) / 4.0, 30, 3);
    }
}

TEST_F(Render_Content, TextTakesTheLabelsColourAndFontSize)
{
    auto small = makeLabel("HHHH", CGRectMake(0, 0, 200, 60), NSTextAlignmentLeft, 10);
    auto large = makeLabel("HHHH", CGRectMake(0, 0, 200, 60), NSTextAlignmentLeft, 20);
    large->setTextColor(rgb(1, 0, 0).get());
    InkBox smallInk = inkBox(draw(small.get(), CGRectMake(0, 0, 200, 60), 2), kBlue, 60);
    Canvas largeCanvas = draw(large.get(), CGRectMake(0, 0, 200, 60), 2);
    InkBox largeInk = inkBox(largeCanvas, kBlue, 60);
    EXPECT_NEAR(double(largeInk.height()) / smallInk.height(), 2.0, 0.25);
    EXPECT_NEAR(double(largeInk.width()) / smallInk.width(), 2.0, 0.25);
    // The middle of an H's stem is solid text colour.
    bool foundRed = false;
    for (int x = largeInk.minX; x <= largeInk.maxX && !foundRed; ++x)
        foundRed = near(largeCanvas.pixel(x, (largeInk.minY + largeInk.maxY) / 2), { 255, 0, 0, 255 }, 4);
    EXPECT_TRUE(foundRed);
}

TEST_F(Render_Content, TextWiderThanAMarqueeLabelScrollsAsTimePassesAndStaysInside)
{
    auto root = makeView(CGRectMake(0, 0, 120, 30));
    CGRect frame = CGRectMake(20, 10, 80, 13);
    auto label = makeLabel("A title far too long for a row - Some Artist", frame, NSTextAlignmentLeft, 9);
    label->setMarqueeEnabled(true);
    label->setMarqueeRunning(true);
    root->addSubview(label.get());

    Canvas resting = draw(root.get(), CGRectMake(0, 0, 120, 30), 3);
    runLoop().runFor(sim::render::MarqueeTiming::restSeconds / 2);
    Canvas stillResting = draw(root.get(), CGRectMake(0, 0, 120, 30), 3);
    runLoop().runFor(2.0);
    Canvas scrolled = draw(root.get(), CGRectMake(0, 0, 120, 30), 3);

    InkBox restingInk = inkBox(resting, kBlue, 60);
    InkBox scrolledInk = inkBox(scrolled, kBlue, 60);
    for (const InkBox& ink : { restingInk, scrolledInk }) {
        ASSERT_FALSE(ink.isEmpty());
        EXPECT_GE(ink.minX, 60);
        EXPECT_LE(ink.maxX, 300);
    }
    int changed = 0, changedWhileResting = 0;
    for (int y = 30; y < 69; ++y) {
        for (int x = 60; x < 300; ++x) {
            changed += !near(resting.pixel(x, y), scrolled.pixel(x, y), 40);
            changedWhileResting += !near(resting.pixel(x, y), stillResting.pixel(x, y), 0);
        }
    }
    EXPECT_GT(changed, 200) << "the text moved";
    EXPECT_EQ(changedWhileResting, 0) << "the marquee rests at the start first";

    // The same label with its marquee off keeps still, cut at its edge.
    label->setMarqueeRunning(false);
    Canvas before = draw(root.get(), CGRectMake(0, 0, 120, 30), 3);
    runLoop().runFor(2.0);
    Canvas after = draw(root.get(), CGRectMake(0, 0, 120, 30), 3);
    EXPECT_TRUE(inkBox(before, kBlue, 60).count == inkBox(after, kBlue, 60).count);
}

TEST_F(Render_Content, UIKitMeasuresTextAsTheRendererSetsItAtEveryScale)
{
    for (const char* text : { "Song - Band", "iiiiiiiiiiiiiiiiiiii", "WWWWWWWWWWWWWWW", "A title far too long for a row - Some Artist" }) {
        for (CGFloat pointSize : { 9.0, 17.0 }) {
            CGFloat measured = NSStringSizeWithSystemFont(NSString::create(text).get(), pointSize).width;
            for (double scale : { 1.0, 3.0, 9.0 }) {
                cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 4, 4);
                cairo_t* cr = cairo_create(surface);
                cairo_scale(cr, scale, scale);
                double set = sim::render::TextLayout(cr, text, { pointSize, sim::render::FontWeight::Regular }).size().width;
                cairo_destroy(cr);
                cairo_surface_destroy(surface);
                EXPECT_DOUBLE_EQ(set, measured) << text << " at " << pointSize << " pt, scale " << scale;
            }
        }
    }
}

TEST_F(Render_Content, AMarqueeLabelScrollsExactlyWhenUIKitSaysItsTextIsWider)
{
    // Fifteen wide letters are wider than 80 points at 9 points; twenty narrow ones are not.
    struct Case {
        std::string text;
        bool scrolls;
    };
    for (const Case& c : { Case { std::string(15, 'W'), true }, Case { std::string(20, 'i'), false } }) {
        const std::string& text = c.text;
        auto root = makeView(CGRectMake(0, 0, 120, 30));
        auto label = makeLabel(text, CGRectMake(20, 10, 80, 13), NSTextAlignmentLeft, 9);
        label->setMarqueeEnabled(true);
        label->setMarqueeRunning(true);
        label->_startMarqueeIfNecessary();
        root->addSubview(label.get());
        Canvas resting = draw(root.get(), CGRectMake(0, 0, 120, 30), 3);
        runLoop().runFor(sim::render::MarqueeTiming::restSeconds + 1);
        Canvas later = draw(root.get(), CGRectMake(0, 0, 120, 30), 3);
        int changed = 0;
        for (int y = 30; y < 69; ++y) {
            for (int x = 60; x < 300; ++x)
                changed += !near(resting.pixel(x, y), later.pixel(x, y), 40);
        }
        EXPECT_EQ(label->isMarqueeScrolling(), c.scrolls) << text;
        EXPECT_EQ(changed > 0, c.scrolls) << text;
    }
}

TEST_F(Render_Content, TheMarqueeRunsLeftAtItsPaceAndComesBackToTheStart)
{
    using sim::render::MarqueeTiming;
    const double rest = MarqueeTiming::restSeconds;
    const double pace = MarqueeTiming::pointsPerSecond;
    struct Case {
        double elapsed;
        double offset;
    };
    // Text 100 points wide with a 20-point gap: a cycle is the rest plus 120 / pace.
    const double cycle = rest + 120 / pace;
    const Case cases[] = { { 0, 0 }, { rest, 0 }, { rest + 1, pace }, { rest + 2, 2 * pace }, { cycle + 0.1, 0 }, { cycle + rest + 1, pace }, { -3, 0 } };
    for (auto& c : cases)
        EXPECT_NEAR(sim::render::marqueeOffset(c.elapsed, 100, 20), c.offset, 1e-9) << "at " << c.elapsed << " s";
}

objc::RefPtr<UIImageView> makeGlyph(const std::string& symbol, CGFloat pointSize, CGRect frame)
{
    auto configuration = UIImageSymbolConfiguration::configurationWithPointSize(pointSize);
    auto glyph = UIImageView::alloc();
    glyph->initWithFrame(frame);
    glyph->setImage(UIImage::systemImageNamed(symbol, configuration.get()));
    glyph->setContentMode(UIViewContentModeCenter);
    glyph->setTintColor(rgb(1, 1, 0).get());
    return glyph;
}

TEST_F(Render_Content, SymbolsAreCleanGlyphsOfTheirPointSizeInTheirTint)
{
    const char* symbols[] = { "forward.fill", "play.fill", "pause.fill", "arrow.2.circlepath", "backward.fill" };
    for (const char* symbol : symbols) {
        EXPECT_TRUE(sim::render::isKnownSymbol(symbol)) << symbol;
        InkBox sizes[2];
        const CGFloat pointSizes[2] = { 13, 26 };
        for (int i = 0; i < 2; ++i) {
            auto root = makeView(CGRectMake(0, 0, 60, 60));
            // A 5-point view: the glyph overflows it, centred, as content mode centre does.
            root->addSubview(makeGlyph(symbol, pointSizes[i], CGRectMake(27.5, 27.5, 5, 5)).get());
            Canvas canvas = draw(root.get(), CGRectMake(0, 0, 60, 60), 3);
            sizes[i] = inkBox(canvas, kBlue, 60);
            ASSERT_FALSE(sizes[i].isEmpty()) << symbol;
            // Within the point-size square around the centre (90 px), give or take the
            // anti-aliased edge.
            EXPECT_NEAR((sizes[i].minX + sizes[i].maxX) / 2.0, 90, 3) << symbol;
            EXPECT_NEAR((sizes[i].minY + sizes[i].maxY) / 2.0, 90, 3) << symbol;
            EXPECT_LE(sizes[i].width(), pointSizes[i] * 3 + 4) << symbol;
            EXPECT_GE(sizes[i].height(), pointSizes[i] * 3 * 0.5) << symbol;
            // The glyph's solid middle parts are exactly the tint.
            bool solidTint = false;
            for (int x = sizes[i].minX; x <= sizes[i].maxX && !solidTint; ++x) {
                for (int y = sizes[i].minY; y <= sizes[i].maxY && !solidTint; ++y)
                    solidTint = near(canvas.pixel(x, y), { 255, 255, 0, 255 }, 1);
            }
            EXPECT_TRUE(solidTint) << symbol;
        }
        EXPECT_NEAR(double(sizes[1].height()) / sizes[0].height(), 2.0, 0.2) << symbol;
    }
}

TEST_F(Render_Content, PlayAndPauseAreTellApart)
{
    auto centreColumnInk = [&](const char* symbol) {
        auto root = makeView(CGRectMake(0, 0, 60, 60));
        root->addSubview(makeGlyph(symbol, 26, CGRectMake(27.5, 27.5, 5, 5)).get());
        Canvas canvas = draw(root.get(), CGRectMake(0, 0, 60, 60), 3);
        return inkInColumn(canvas, 90, 0, 179, kBlue, 60);
    };
    EXPECT_EQ(centreColumnInk("pause.fill"), 0) << "a gap between the bars";
    EXPECT_GT(centreColumnInk("play.fill"), 30) << "a solid triangle";
}

TEST_F(Render_Content, AnUnknownSymbolDrawsAPlaceholderRatherThanNothing)
{
    // UIKit gives no image for a name outside its catalogue, so only a direct call can ask
    // the renderer for one; it still shows that something was asked for.
    Canvas canvas(CGRectMake(0, 0, 60, 60), 3);
    cairo_t* cr = cairo_create(canvas.surface());
    cairo_set_source_rgb(cr, 0, 0, 1);
    cairo_paint(cr);
    cairo_scale(cr, 3, 3);
    cairo_set_source_rgb(cr, 1, 1, 0);
    EXPECT_FALSE(sim::render::drawSymbol(cr, "no.such.symbol", CGRectMake(17, 17, 26, 26)));
    cairo_destroy(cr);
    cairo_surface_flush(canvas.surface());
    EXPECT_FALSE(sim::render::isKnownSymbol("no.such.symbol"));
    EXPECT_GT(inkBox(canvas, kBlue, 60).count, 100);
}

TEST_F(Render_Content, TheSymbolCatalogueIsExactlyWhatTheRendererDraws)
{
    std::set<std::string> catalogued;
    for (const auto& entry : UISymbolCatalogue())
        catalogued.insert(entry.name);
    auto drawn = sim::render::knownSymbolNames();
    EXPECT_EQ(catalogued, std::set<std::string>(drawn.begin(), drawn.end()));
}

TEST_F(Render_Content, AMisspeltSymbolLeavesTheImageViewEmpty)
{
    // One letter short of "forward.fill": no image, so nothing at all is drawn.
    auto glyph = makeGlyph("forward.fil", 26, CGRectMake(27.5, 27.5, 5, 5));
    EXPECT_FALSE(glyph->image());
    auto root = makeView(CGRectMake(0, 0, 60, 60));
    root->addSubview(glyph.get());
    EXPECT_TRUE(inkBox(draw(root.get(), CGRectMake(0, 0, 60, 60), 3), kBlue, 60).isEmpty());
}

// A 20 x 10 bitmap: left half red, right half green.
objc::RefPtr<UIImage> makeBitmap()
{
    auto bitmap = std::make_shared<CGImage>();
    bitmap->width = 20;
    bitmap->height = 10;
    bitmap->pixels.resize(20 * 10 * 4);
    for (std::size_t y = 0; y < 10; ++y) {
        for (std::size_t x = 0; x < 20; ++x) {
            std::uint8_t* p = bitmap->pixels.data() + (y * 20 + x) * 4;
            p[0] = x < 10 ? 255 : 0;
            p[1] = x < 10 ? 0 : 255;
            p[2] = 0;
            p[3] = 255;
        }
    }
    return UIImage::imageWithCGImage(bitmap);
}

TEST_F(Render_Content, BitmapsArePlacedByTheContentMode)
{
    struct Case {
        UIViewContentMode mode;
        CGRect expected; // where the image lands, in points, for a 40 x 40 view at the origin
    };
    const Case cases[] = {
        { UIViewContentModeScaleToFill, CGRectMake(0, 0, 40, 40) },
        { UIViewContentModeScaleAspectFit, CGRectMake(0, 10, 40, 20) },
        { UIViewContentModeScaleAspectFill, CGRectMake(-20, 0, 80, 40) },
        { UIViewContentModeCenter, CGRectMake(10, 15, 20, 10) },
    };
    for (auto& c : cases) {
        CGRect rect = sim::render::imageRectForContentMode(c.mode, CGSizeMake(20, 10), CGRectMake(0, 0, 40, 40));
        EXPECT_TRUE(CGRectEqualToRect(rect, c.expected)) << "mode " << c.mode;

        auto view = UIImageView::alloc();
        view->initWithFrame(CGRectMake(20, 20, 40, 40));
        view->setImage(makeBitmap().get());
        view->setContentMode(c.mode);
        view->setClipsToBounds(true);
        auto root = makeView(CGRectMake(0, 0, 80, 80));
        root->addSubview(view.get());
        Canvas canvas = draw(root.get(), CGRectMake(0, 0, 80, 80), 1);
        InkBox ink = inkBox(canvas, kBlue, 40);
        CGRect visible = c.expected;
        if (c.mode == UIViewContentModeScaleAspectFill)
            visible = CGRectMake(0, 0, 40, 40); // cut by the view's clipping
        EXPECT_EQ(ink.minX, 20 + visible.origin.x) << "mode " << c.mode;
        EXPECT_EQ(ink.minY, 20 + visible.origin.y) << "mode " << c.mode;
        EXPECT_EQ(ink.width(), visible.size.width) << "mode " << c.mode;
        EXPECT_EQ(ink.height(), visible.size.height) << "mode " << c.mode;
        // Left part red, right part green.
        EXPECT_GT(canvas.pixel(ink.minX + 1, ink.minY + ink.height() / 2).red, 200) << "mode " << c.mode;
        EXPECT_GT(canvas.pixel(ink.maxX - 1, ink.minY + ink.height() / 2).green, 200) << "mode " << c.mode;
    }
}

TEST_F(Render_Content, ASwitchShowsItsStateByColourAndKnob)
{
    auto toggle = UISwitch::alloc();
    toggle->initWithFrame(CGRectMake(0, 0, 51, 31));
    auto picture = [&] { return draw(toggle.get(), CGRectMake(0, 0, 51, 31), 2, { 255, 255, 255, 255 }); };
    toggle->setOn(true);
    Canvas on = picture();
    EXPECT_GT(on.pixelAtPoint({ 12, 15.5 }).green, on.pixelAtPoint({ 12, 15.5 }).red + 80) << "green track left of the knob";
    EXPECT_TRUE(near(on.pixelAtPoint({ 35.5, 15.5 }), { 255, 255, 255, 255 })) << "white knob on the right";
    toggle->setOn(false);
    Canvas off = picture();
    EXPECT_LT(off.pixelAtPoint({ 38, 15.5 }).red, 250) << "grey track right of the knob";
    EXPECT_TRUE(near(off.pixelAtPoint({ 15.5, 15.5 }), { 255, 255, 255, 255 })) << "knob on the left";
    toggle->setOnTintColor(rgb(1, 0, 0).get());
    toggle->setOn(true);
    EXPECT_TRUE(near(picture().pixelAtPoint({ 12, 15.5 }), { 255, 0, 0, 255 })) << "the on-tint";
}

TEST_F(Render_Content, TheHomeIndicatorPillDodgesTheBrightnessBehindIt)
{
    struct Case {
        const char* story;
        Rgba backdrop;
        bool expectLightPill;
    };
    const Case cases[] = { { "over a dark page", { 10, 10, 20, 255 }, true }, { "over a light page", { 240, 240, 245, 255 }, false } };
    for (auto& c : cases) {
        auto pill = MTLumaDodgePillView::alloc();
        pill->initWithFrame(CGRectMake(10, 10, 60, 5));
        Canvas canvas = draw(pill.get(), CGRectMake(0, 0, 80, 25), 1, c.backdrop);
        Rgba middle = canvas.pixel(40, 12);
        EXPECT_EQ(middle.red > 128, c.expectLightPill) << c.story << ": " << middle;
    }

    // The home bar's override colour wins, and a clear one leaves nothing.
    auto bar = CSHomeAffordanceView::alloc();
    bar->initWithFrame(CGRectMake(0, 0, 80, 25));
    bar->createStaticHomeAffordance();
    bar->layoutIfNeeded();
    bar->pillView()->setFrame(CGRectMake(10, 10, 60, 5));
    objc_msgSend(bar.get(), "setOverrideColor:"_sel, static_cast<id>(rgb(1, 0, 0).get()));
    EXPECT_TRUE(near(draw(bar.get(), CGRectMake(0, 0, 80, 25)).pixel(40, 12), { 255, 0, 0, 255 }));
    objc_msgSend(bar.get(), "setOverrideColor:"_sel, static_cast<id>(UIColor::clearColor().get()));
    EXPECT_TRUE(inkBox(draw(bar.get(), CGRectMake(0, 0, 80, 25)), kBlue, 0).isEmpty());
}

} // namespace
