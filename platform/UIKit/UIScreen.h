#pragma once
// UIScreen: the device's display, as the current device profile describes it.

#include "Foundation/NSObject.h"
#include "UIGeometry.h"

class UIScreen : public NSObject {
    OBJC_INTERFACE(UIScreen)
public:
    UIScreen() = default;

    // +mainScreen, sent to the class (nil before UIKit's classes are registered).
    static UIScreen* mainScreen() { return static_cast<UIScreen*>(objc_sendToClass<"UIScreen", "mainScreen", id>()); }

    // Read from the current profile on every call, so a profile chosen later applies.
    CGRect bounds() const;
    CGFloat scale() const;
    UIEdgeInsets safeAreaInsets() const;

    static void registerRuntimeClass();
};
