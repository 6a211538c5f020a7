#pragma once
// What the lock screen shows under its views: the wallpaper, the date and the clock at
// the instant drawn, and a faint outline where the home indicator sits (the tweak hides
// the system pill and puts its strip there; the outline shows the place either way).

#include "CoreGraphics/CGGeometry.h"
#include "UIKit/UIGeometry.h"

#include <cairo.h>

#include <string>

namespace sim::render {

struct LockScreenContent {
    // Absolute time (seconds since 2001-01-01 GMT); the clock shows it in UTC, so a
    // picture of the same instant is the same on every machine.
    double time = 0;
    bool dark = false;
    UIEdgeInsets safeArea;
    CGRect homeIndicator;
};

void drawLockScreenBackdrop(cairo_t*, CGRect bounds, const LockScreenContent&);

// "9:41" (12-hour, no leading zero) and "Thursday, January 1", for an absolute time.
std::string clockText(double absoluteTime);
std::string dateText(double absoluteTime);

} // namespace sim::render
