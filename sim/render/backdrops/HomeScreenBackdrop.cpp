#include "HomeScreenBackdrop.h"

#include "Wallpaper.h"

#include "sim/render/RenderColor.h"

namespace sim::render {

namespace {

constexpr int kColumns = 4;
constexpr int kRows = 5;
constexpr CGFloat kIcon = 60;
constexpr CGFloat kIconRadius = 13.5;

// Icon colours, cycled: bright and varied, like a real home screen.
constexpr UIColorComponents kIconColours[] = {
    { 0.20, 0.78, 0.35, 1 },
    { 0.00, 0.48, 1.00, 1 },
    { 1.00, 0.58, 0.00, 1 },
    { 1.00, 0.23, 0.19, 1 },
    { 0.35, 0.34, 0.84, 1 },
    { 1.00, 0.80, 0.00, 1 },
    { 0.56, 0.56, 0.58, 1 },
    { 0.19, 0.69, 0.78, 1 },
};

void drawIcon(cairo_t* cr, CGFloat x, CGFloat y, int index)
{
    setSourceColor(cr, kIconColours[index % std::size(kIconColours)]);
    addRoundedRect(cr, CGRectMake(x, y, kIcon, kIcon), kIconRadius);
    cairo_fill(cr);
}

} // namespace

void drawHomeScreenBackdrop(cairo_t* cr, CGRect bounds, UIEdgeInsets safeArea, bool dark)
{
    drawWallpaper(cr, bounds, dark);
    CGFloat gap = (bounds.size.width - kColumns * kIcon) / (kColumns + 1);
    CGFloat top = bounds.origin.y + safeArea.top + 16;
    int index = 0;
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column)
            drawIcon(cr, bounds.origin.x + gap + column * (kIcon + gap), top + row * (kIcon + 28), index++);
    }
    // The dock: a frosted shelf with four icons above the home indicator.
    CGFloat dockHeight = kIcon + 32;
    CGRect dock = CGRectMake(bounds.origin.x + 10, CGRectGetMaxY(bounds) - safeArea.bottom - dockHeight - 4, bounds.size.width - 20, dockHeight);
    cairo_set_source_rgba(cr, 1, 1, 1, dark ? 0.18 : 0.3);
    addRoundedRect(cr, dock, 30);
    cairo_fill(cr);
    CGFloat dockGap = (dock.size.width - kColumns * kIcon) / (kColumns + 1);
    for (int column = 0; column < kColumns; ++column)
        drawIcon(cr, dock.origin.x + dockGap + column * (kIcon + dockGap), dock.origin.y + 16, index++);
}

} // namespace sim::render
