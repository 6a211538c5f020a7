#pragma once
// The gesture-navigated iPhones the simulator can be: screen size in points, the
// safe-area insets of portrait orientation and the home indicator's geometry. One is
// current; views read it when they are laid out, so choose it before building views.

#include "UIGeometry.h"

#include <string>
#include <string_view>
#include <vector>

struct UIDeviceProfile {
    // The display name, e.g. "iPhone X"; also the name `device NAME` accepts.
    std::string name;
    // Every model sharing this geometry, e.g. { "iPhone X", "iPhone XS", "iPhone 11 Pro" }.
    std::vector<std::string> models;
    CGSize screenSize;
    UIEdgeInsets safeAreaInsets;
    CGFloat scale = 3;

    CGRect screenBounds() const { return { CGPointZero, screenSize }; }
    // The home indicator pill: 5 pt high, its bottom 8 pt above the screen's bottom edge,
    // round(0.3574 x screen width) wide, centred.
    CGRect homeIndicatorFrame() const;
    static constexpr CGFloat homeIndicatorCornerRadius = 4;

    // Every profile, the default first.
    static const std::vector<UIDeviceProfile>& all();
    // Looks a profile up by its name or any of its models, ignoring case, spaces, '-' and
    // '_' ("iphone-14-pro" finds "iPhone 14 Pro"). Null when nothing matches.
    static const UIDeviceProfile* named(std::string_view);
    // The iPhone X / XS / 11 Pro class: 375 x 812, insets 44 / 34, scale 3.
    static const UIDeviceProfile& defaultProfile();

    static const UIDeviceProfile& current();
    static void setCurrent(const UIDeviceProfile&);
};
