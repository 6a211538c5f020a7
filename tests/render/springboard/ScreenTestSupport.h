#pragma once
// For pictures of SpringBoard's screen with the tweak loaded: the players' views, the
// lock screen's backdrop on its own, a touch on a player, and differences between
// pictures.

#include "support/InSpringBoard.h"

#include "sim/render/Canvas.h"
#include "sim/render/ScreenSnapshot.h"
#include "sim/render/backdrops/LockScreenBackdrop.h"

#include "Foundation/RunLoop.h"
#include "MediaRemote/NowPlayingApplication.h"
#include "SpringBoard/CSHomeAffordanceView.h"
#include "SpringBoard/CSHomeAffordanceViewController.h"
#include "SpringBoard/SpringBoard.h"
#include "UIKit/UIDeviceProfile.h"
#include "UIKit/UITouchDelivery.h"
#include "UIKit/UIView.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>

namespace sim::render {
inline std::ostream& operator<<(std::ostream& out, const Rgba& p)
{
    return out << "rgba(" << int(p.red) << ", " << int(p.green) << ", " << int(p.blue) << ", " << int(p.alpha) << ")";
}
} // namespace sim::render

namespace screen_test {

using sim::render::Canvas;
using sim::render::Rgba;

// What an added property of a player host holds (nil without the tweak).
inline UIView* playerView(NSObject* host, const char* name)
{
    SEL getter = sel_registerName(name);
    if (!host || !class_respondsToSelector(host->isa(), getter))
        return nullptr;
    return objc_cast<UIView>(objc_msgSend<id>(host, getter));
}

// Boots SpringBoard, then the application starts playing what it has queued: a change
// SpringBoard hears of as it runs, so the players show the track.
inline void boot(sim::SpringBoardSession& session)
{
    session.springBoard().boot();
    session.runFor(0);
    if (session.nowPlaying().hasRecord())
        session.nowPlaying().play(session.now());
    session.runFor(0);
}

inline NSObject* lockScreenHost(sim::SpringBoardSession& session)
{
    return session.springBoard().homeAffordanceController();
}

inline UIView* lockScreenStrip(sim::SpringBoardSession& session)
{
    return playerView(session.springBoard().homeAffordanceController()->homeAffordanceView(), "progressView");
}

// A now-playing application with `title` by `artist` queued at `position` seconds; it
// plays once SpringBoard is up (boot).
inline platform::NowPlayingApplication playing(double position = 0, double duration = 200, std::string title = "Evening Light",
    std::string artist = "The Lumens")
{
    platform::NowPlayingApplication application;
    double start = sim::SpringBoardProcess::kDefaultStartTime;
    application.appendTrack({ title, artist, std::nullopt, duration, std::nullopt }, start);
    application.seek(position, start);
    return application;
}

// The lock screen's backdrop alone (wallpaper, clock, date), as the snapshot draws it now.
inline Canvas lockScreenBackdropAlone()
{
    const UIDeviceProfile& device = UIDeviceProfile::current();
    Canvas canvas(device.screenBounds(), device.scale);
    cairo_t* cr = cairo_create(canvas.surface());
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_paint(cr);
    cairo_matrix_t matrix = canvas.pointToPixelMatrix();
    cairo_set_matrix(cr, &matrix);
    sim::render::LockScreenContent content { platform::RunLoop::main()->now(), false, device.safeAreaInsets, device.homeIndicatorFrame() };
    sim::render::drawLockScreenBackdrop(cr, device.screenBounds(), content);
    cairo_destroy(cr);
    cairo_surface_flush(canvas.surface());
    return canvas;
}

// A tap on the lock screen's touch target, `x` points from its left, at its middle.
inline void tapLockScreen(sim::SpringBoardSession& session, double x)
{
    UIView::layoutPendingViews();
    UIView* target = playerView(lockScreenHost(session), "previoustapview");
    ASSERT_NE(target, nullptr);
    CGRect bounds = target->bounds();
    UITouchDelivery::tapScreen(target->convertPointToScreen(CGPointMake(bounds.origin.x + x, bounds.origin.y + bounds.size.height / 2)));
}

inline bool near(Rgba a, Rgba b, int tolerance)
{
    return std::abs(a.red - b.red) <= tolerance && std::abs(a.green - b.green) <= tolerance && std::abs(a.blue - b.blue) <= tolerance;
}

// The pixel rectangle of a screen rectangle in a full-screen canvas.
struct PixelBox {
    int minX, minY, maxX, maxY;
};
inline PixelBox pixelsOf(const Canvas& canvas, CGRect screenRect)
{
    double s = canvas.pixelsPerPoint();
    return { int(std::floor(CGRectGetMinX(screenRect) * s)), int(std::floor(CGRectGetMinY(screenRect) * s)),
        int(std::ceil(CGRectGetMaxX(screenRect) * s)) - 1, int(std::ceil(CGRectGetMaxY(screenRect) * s)) - 1 };
}

} // namespace screen_test
