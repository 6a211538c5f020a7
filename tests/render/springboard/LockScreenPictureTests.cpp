// Pictures of the lock screen with the tweak loaded: what the strip, the row, its glyphs
// and its title look like on screen, probed pixel by pixel.

#include "ScreenTestSupport.h"

#include "UIKit/UIImageView.h"
#include "UIKit/UILabel.h"
#include "UIKit/UIProgressView.h"

using namespace screen_test;
using testing_support::inSpringBoard;
using testing_support::TemporaryDevice;

namespace {

TEST(Render_LockScreen, TheStripsFillHasItsTintAndFollowsTheProgress)
{
    struct Case {
        double position; // of a 200-second track
    };
    const Case cases[] = { { 50 }, { 150 } };
    for (auto& c : cases) {
        TemporaryDevice device;
        inSpringBoard(device, [&](sim::SpringBoardSession& session) {
            boot(session);
            // The strip appears 3 s after boot and refreshes every second.
            session.runFor(4.5);
            auto* strip = objc_cast<UIProgressView>(lockScreenStrip(session));
            ASSERT_NE(strip, nullptr);
            Canvas picture = sim::render::snapshotScreen(&session.springBoard());
            ASSERT_EQ(picture.width(), 1125);
            ASSERT_EQ(picture.height(), 2436);

            CGRect frame = strip->frameInScreen();
            PixelBox box = pixelsOf(picture, frame);
            int middle = (box.minY + box.maxY) / 2;
            int white = 0;
            for (int x = box.minX; x <= box.maxX; ++x)
                white += near(picture.pixel(x, middle), { 255, 255, 255, 255 }, 6);
            double shown = double(white) / (box.maxX - box.minX + 1);
            EXPECT_NEAR(shown, strip->progress(), 0.02) << "at " << c.position << " s";
            EXPECT_NEAR(strip->progress(), (c.position + 4.5) / 200, 0.01);
            // Past the fill, the strip shows its material, not the tint.
            Rgba unfilled = picture.pixel(box.maxX - 6, middle);
            if (strip->progress() < 0.9) {
                EXPECT_FALSE(near(unfilled, { 255, 255, 255, 255 }, 6)) << unfilled;
            }
        }, playing(c.position));
    }
}

TEST(Render_LockScreen, AHiddenRowLeavesTheWallpaperUntouched)
{
    TemporaryDevice device;
    inSpringBoard(device, [&](sim::SpringBoardSession& session) {
        boot(session);
        session.runFor(1);
        UIView* row = playerView(lockScreenHost(session), "subView");
        ASSERT_NE(row, nullptr);
        ASSERT_TRUE(row->isHidden());
        Canvas picture = sim::render::snapshotScreen(&session.springBoard());
        Canvas wallpaper = lockScreenBackdropAlone();
        PixelBox box = pixelsOf(picture, row->frameInScreen());
        int differing = 0;
        for (int y = box.minY; y <= box.maxY; ++y)
            for (int x = box.minX; x <= box.maxX; ++x)
                differing += !near(picture.pixel(x, y), wallpaper.pixel(x, y), 0);
        EXPECT_EQ(differing, 0);
    }, playing());
}

TEST(Render_LockScreen, AHalfFadedRowBlendsWithTheWallpaper)
{
    TemporaryDevice device;
    inSpringBoard(device, [&](sim::SpringBoardSession& session) {
        boot(session);
        session.runFor(1);
        // A tap raises the row: it fades in over 0.4 s.
        tapLockScreen(session, 50);
        session.runFor(0.2);
        UIView* row = playerView(lockScreenHost(session), "subView");
        ASSERT_NE(row, nullptr);
        ASSERT_FALSE(row->isHidden());
        ASSERT_NEAR(row->presentationAlpha(), 0.5, 1e-6);
        Canvas halfway = sim::render::snapshotScreen(&session.springBoard());
        session.runFor(1);
        ASSERT_EQ(row->presentationAlpha(), 1);
        Canvas shown = sim::render::snapshotScreen(&session.springBoard());
        Canvas wallpaper = lockScreenBackdropAlone();

        // Between the glyphs and above them, where only the row's material lies on the wallpaper.
        CGRect frame = row->frameInScreen();
        int checked = 0;
        for (double x : { 8.0, 35.0, 65.0, 92.0 }) {
            CGPoint point = CGPointMake(frame.origin.x + x, frame.origin.y + 2);
            Rgba full = shown.pixelAtPoint(point), bare = wallpaper.pixelAtPoint(point), half = halfway.pixelAtPoint(point);
            Rgba mixed { std::uint8_t((full.red + bare.red + 1) / 2), std::uint8_t((full.green + bare.green + 1) / 2), std::uint8_t((full.blue + bare.blue + 1) / 2), 255 };
            EXPECT_TRUE(near(half, mixed, 3)) << "at x " << x << ": " << half << ", expected about " << mixed << " between " << full << " and " << bare;
            EXPECT_FALSE(near(full, bare, 8)) << "the shown row must differ from the wallpaper for the probe to mean anything";
            ++checked;
        }
        EXPECT_EQ(checked, 4);
    }, playing());
}

// The pixels that change when `view` is hidden: where it draws.
std::vector<std::pair<int, int>> inkOf(sim::SpringBoardSession& session, UIView* view)
{
    Canvas with = sim::render::snapshotScreen(&session.springBoard());
    view->setHidden(true);
    Canvas without = sim::render::snapshotScreen(&session.springBoard());
    view->setHidden(false);
    std::vector<std::pair<int, int>> ink;
    for (int y = 0; y < with.height(); ++y)
        for (int x = 0; x < with.width(); ++x)
            if (!near(with.pixel(x, y), without.pixel(x, y), 24))
                ink.emplace_back(x, y);
    return ink;
}

// Whether a glyph points left: a pointing triangle is tall at its base and thin at its
// tip, so a left-pointing glyph has less ink in its left-most columns.
bool pointsLeft(const std::vector<std::pair<int, int>>& ink)
{
    int minX = INT_MAX, maxX = INT_MIN;
    for (auto [x, y] : ink) {
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
    }
    int left = 0, right = 0;
    for (auto [x, y] : ink) {
        left += x <= minX + 2;
        right += x >= maxX - 2;
    }
    return left < right;
}

TEST(Render_LockScreen, ThePreviousGlyphPointsLeftAndTheNextRight)
{
    TemporaryDevice device;
    device.writeSettings("<key>alwaysshow</key><true/>\n");
    inSpringBoard(device, [&](sim::SpringBoardSession& session) {
        boot(session);
        session.runFor(1);
        UIView* previous = playerView(lockScreenHost(session), "previousicon");
        ASSERT_NE(previous, nullptr);
        auto previousInk = inkOf(session, previous);
        ASSERT_GT(previousInk.size(), 100u);
        EXPECT_TRUE(pointsLeft(previousInk));

        // The next glyph: the row's other forward glyph, right of the centre.
        UIView* row = playerView(lockScreenHost(session), "subView");
        UIView* next = nullptr;
        for (auto& subview : row->subviews()) {
            if (objc_cast<UIImageView>(subview.get()) && subview.get() != previous && subview.get() != playerView(lockScreenHost(session), "pauseicon"))
                next = subview.get();
        }
        ASSERT_NE(next, nullptr);
        auto nextInk = inkOf(session, next);
        ASSERT_GT(nextInk.size(), 100u);
        EXPECT_FALSE(pointsLeft(nextInk));
    }, playing());
}

TEST(Render_LockScreen, TheTitleAppearsInsideTheLabelsFrame)
{
    TemporaryDevice device;
    device.writeSettings("<key>alwaysshow</key><true/>\n");
    inSpringBoard(device, [&](sim::SpringBoardSession& session) {
        boot(session);
        session.runFor(1);
        auto* label = objc_cast<UILabel>(playerView(lockScreenHost(session), "label"));
        ASSERT_NE(label, nullptr);
        ASSERT_TRUE(label->text());
        auto ink = inkOf(session, label);
        ASSERT_GT(ink.size(), 200u) << "the title was drawn";
        Canvas any = sim::render::snapshotScreen(&session.springBoard());
        PixelBox box = pixelsOf(any, label->frameInScreen());
        for (auto [x, y] : ink) {
            ASSERT_GE(x, box.minX);
            ASSERT_LE(x, box.maxX);
            ASSERT_GE(y, box.minY);
            ASSERT_LE(y, box.maxY);
        }
    }, playing(0, 200, "A title long enough to need the marquee", "Someone"));
}

} // namespace
