#include "ScreenSnapshot.h"

#include "ViewRenderer.h"
#include "backdrops/AppPageBackdrop.h"
#include "backdrops/HomeScreenBackdrop.h"
#include "backdrops/LockScreenBackdrop.h"

#include "Foundation/RunLoop.h"
#include "SpringBoard/CSCoverSheetView.h"
#include "SpringBoard/SBDeviceApplicationSceneViewController.h"
#include "SpringBoard/SBMainSwitcherWindow.h"
#include "SpringBoard/SpringBoard.h"
#include "UIKit/UIDeviceProfile.h"
#include "UIKit/UIWindow.h"

#include <algorithm>
#include <cmath>

namespace sim::render {

namespace {

double currentTime()
{
    auto* loop = platform::RunLoop::main();
    return loop ? loop->now() : platform::RunLoop::kDefaultStartTime;
}

bool isDark()
{
    return UIKitCurrentUserInterfaceStyle() == UIUserInterfaceStyle::Dark;
}

void drawSpringBoard(ViewRenderer& renderer, SpringBoard& springBoard, double now)
{
    const UIDeviceProfile& device = UIDeviceProfile::current();
    bool dark = isDark();
    if (UIView* coverSheet = springBoard.coverSheetView()) {
        LockScreenContent lockScreen { now, dark, device.safeAreaInsets, device.homeIndicatorFrame() };
        renderer.setBackdrop(coverSheet, [lockScreen](cairo_t* cr, CGRect bounds) { drawLockScreenBackdrop(cr, bounds, lockScreen); });
    }
    if (UIView* switcher = springBoard.switcherWindow()) {
        UIEdgeInsets safeArea = device.safeAreaInsets;
        renderer.setBackdrop(switcher, [safeArea, dark](cairo_t* cr, CGRect bounds) { drawHomeScreenBackdrop(cr, bounds, safeArea, dark); });
    }
    for (auto* app : springBoard.openApps()) {
        if (!app->isViewLoaded() || !app->sceneContentView())
            continue;
        AppPageContent page { appTitle(app->bundleIdentifier()), now, dark, device.safeAreaInsets };
        renderer.setBackdrop(app->sceneContentView(), [page](cairo_t* cr, CGRect bounds) { drawAppPageBackdrop(cr, bounds, page); });
    }
    for (UIWindow* window : springBoard.windowsOnScreen())
        renderer.drawTree(window);
}

Canvas render(SpringBoard* springBoard, CGRect region, CGFloat pixelsPerPoint)
{
    Canvas canvas(region, pixelsPerPoint);
    cairo_t* cr = cairo_create(canvas.surface());
    // The panel itself: black where nothing is drawn.
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    if (springBoard && springBoard->isBooted()) {
        UIView::layoutPendingViews();
        double now = currentTime();
        ViewRenderer renderer(canvas, now);
        drawSpringBoard(renderer, *springBoard, now);
    }
    cairo_surface_flush(canvas.surface());
    return canvas;
}

} // namespace

CGRect screenRegion()
{
    return UIDeviceProfile::current().screenBounds();
}

CGFloat deviceScale()
{
    return UIDeviceProfile::current().scale;
}

Canvas snapshotScreen(SpringBoard* springBoard)
{
    return render(springBoard, screenRegion(), deviceScale());
}

Canvas snapshotRegion(SpringBoard* springBoard, CGRect region, CGFloat pixelsPerPoint)
{
    return render(springBoard, region, pixelsPerPoint);
}

Canvas snapshotView(UIView* root, const UIColorComponents* background)
{
    if (root)
        root->layoutIfNeeded();
    CGRect region = root ? root->frame() : CGRectZero;
    if (CGRectIsEmpty(region))
        region = screenRegion();
    Canvas canvas(region, deviceScale());
    cairo_t* cr = cairo_create(canvas.surface());
    UIColorComponents fill = background ? *background : UIColorComponents { 1, 1, 1, 1 };
    cairo_set_source_rgba(cr, fill.red, fill.green, fill.blue, fill.alpha);
    cairo_paint(cr);
    cairo_destroy(cr);
    if (root) {
        ViewRenderer renderer(canvas, currentTime());
        renderer.drawTree(root);
    }
    cairo_surface_flush(canvas.surface());
    return canvas;
}

CGRect regionAroundViews(const std::vector<UIView*>& views, CGFloat margin, CGSize minimumSize)
{
    bool any = false;
    CGFloat minX = 0, minY = 0, maxX = 0, maxY = 0;
    for (UIView* view : views) {
        if (!view)
            continue;
        CGRect frame = view->frameInScreen();
        if (!any) {
            minX = CGRectGetMinX(frame), minY = CGRectGetMinY(frame), maxX = CGRectGetMaxX(frame), maxY = CGRectGetMaxY(frame);
            any = true;
            continue;
        }
        minX = std::min(minX, CGRectGetMinX(frame));
        minY = std::min(minY, CGRectGetMinY(frame));
        maxX = std::max(maxX, CGRectGetMaxX(frame));
        maxY = std::max(maxY, CGRectGetMaxY(frame));
    }
    if (!any)
        return CGRectZero;
    CGRect screen = screenRegion();
    CGFloat width = std::min(std::max(maxX - minX + 2 * margin, minimumSize.width), screen.size.width);
    CGFloat height = std::min(std::max(maxY - minY + 2 * margin, minimumSize.height), screen.size.height);
    CGFloat x = (minX + maxX) / 2 - width / 2;
    CGFloat y = (minY + maxY) / 2 - height / 2;
    x = std::clamp(x, CGRectGetMinX(screen), CGRectGetMaxX(screen) - width);
    y = std::clamp(y, CGRectGetMinY(screen), CGRectGetMaxY(screen) - height);
    return CGRectMake(std::round(x), std::round(y), std::round(width), std::round(height));
}

} // namespace sim::render
