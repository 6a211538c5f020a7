// A part of the screen drawn alone (the live phone's pieces) has the very pixels the
// whole screen has there, while the row fades in and its title scrolls.

#include "ScreenTestSupport.h"

#include <cmath>

using namespace screen_test;
using testing_support::inSpringBoard;
using testing_support::TemporaryDevice;

namespace {

// Pixels of `part` that differ from the same pixels of `whole`, which starts `dx`, `dy`
// pixels further up and left.
int differingPixels(const Canvas& whole, const Canvas& part, int dx, int dy)
{
    int differing = 0;
    for (int y = 0; y < part.height(); ++y) {
        for (int x = 0; x < part.width(); ++x) {
            Rgba a = whole.pixel(x + dx, y + dy), b = part.pixel(x, y);
            differing += a.red != b.red || a.green != b.green || a.blue != b.blue || a.alpha != b.alpha;
        }
    }
    return differing;
}

TEST(Render_ScreenRegion, ARegionHoldingTheWholeRowIsThatPartOfTheWholeScreen)
{
    TemporaryDevice device;
    inSpringBoard(device, [&](sim::SpringBoardSession& session) {
        boot(session);
        session.runFor(1);
        tapLockScreen(session, 50);
        for (double step : { 0.15, 0.15, 0.4 }) {
            session.runFor(step);
            UIView* row = playerView(lockScreenHost(session), "subView");
            ASSERT_NE(row, nullptr);
            ASSERT_FALSE(row->isHidden());
            // The row's frame widened to whole 16-pixel blocks at 2 pixels a point.
            CGRect shown = row->frameInScreen();
            CGRect frame = CGRectMake(shown.origin.x - 2, shown.origin.y - 2, shown.size.width + 4, shown.size.height + 4);
            CGFloat left = std::floor(frame.origin.x / 8) * 8, top = std::floor(frame.origin.y / 8) * 8;
            CGRect region = CGRectMake(left, top, std::ceil((CGRectGetMaxX(frame) - left) / 8) * 8, std::ceil((CGRectGetMaxY(frame) - top) / 8) * 8);
            Canvas whole = sim::render::snapshotRegion(&session.springBoard(), sim::render::screenRegion(), 2);
            Canvas part = sim::render::snapshotRegion(&session.springBoard(), region, 2);
            ASSERT_EQ(part.width(), static_cast<int>(region.size.width * 2));
            EXPECT_EQ(differingPixels(whole, part, static_cast<int>(left * 2), static_cast<int>(top * 2)), 0)
                << "at alpha " << row->presentationAlpha();
        }
    }, playing(0, 200, "A title long enough to scroll across the row, and then some more", "The Lumens"));
}

} // namespace
