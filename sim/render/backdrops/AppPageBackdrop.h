#pragma once
// What an app shows under SpringBoard's views: a plain page in the appearance's colours
// with the status bar's time, a large title named after the app and a few list rows, so a
// picture reads at once as "inside an app".

#include "CoreGraphics/CGGeometry.h"
#include "UIKit/UIGeometry.h"

#include <cairo.h>

#include <string>

namespace sim::render {

struct AppPageContent {
    std::string title;
    double time = 0; // absolute time, for the status bar's clock
    bool dark = false;
    UIEdgeInsets safeArea;
};

void drawAppPageBackdrop(cairo_t*, CGRect bounds, const AppPageContent&);

// The page title for a bundle identifier: its last part, capitalised
// ("com.example.notes" -> "Notes").
std::string appTitle(const std::string& bundleIdentifier);

} // namespace sim::render
