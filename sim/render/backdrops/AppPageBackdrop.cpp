#include "AppPageBackdrop.h"

#include "LockScreenBackdrop.h"

#include "sim/render/RenderColor.h"
#include "sim/render/TextLayout.h"

#include <cctype>

namespace sim::render {

std::string appTitle(const std::string& bundleIdentifier)
{
    std::string title = bundleIdentifier.substr(bundleIdentifier.find_last_of('.') + 1);
    if (title.empty())
        title = bundleIdentifier;
    if (!title.empty())
        title[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(title[0])));
    return title;
}

void drawAppPageBackdrop(cairo_t* cr, CGRect bounds, const AppPageContent& content)
{
    CGFloat x = bounds.origin.x, y = bounds.origin.y, width = bounds.size.width;
    UIColorComponents page = content.dark ? UIColorComponents { 0, 0, 0, 1 } : UIColorComponents { 1, 1, 1, 1 };
    UIColorComponents ink = content.dark ? UIColorComponents { 1, 1, 1, 1 } : UIColorComponents { 0, 0, 0, 1 };
    UIColorComponents faint = content.dark ? UIColorComponents { 0.17, 0.17, 0.18, 1 } : UIColorComponents { 0.93, 0.93, 0.94, 1 };
    UIColorComponents secondary = content.dark ? UIColorComponents { 0.35, 0.35, 0.37, 1 } : UIColorComponents { 0.78, 0.78, 0.80, 1 };

    setSourceColor(cr, page);
    cairo_rectangle(cr, x, y, width, bounds.size.height);
    cairo_fill(cr);

    // The status bar's clock, left of the sensor housing.
    setSourceColor(cr, ink);
    CGFloat statusHeight = std::max<CGFloat>(content.safeArea.top, 20);
    drawCenteredText(cr, clockText(content.time), { 15, FontWeight::Semibold }, CGRectMake(x + 16, y + 4, width * 0.3, statusHeight - 4));

    // The large title.
    {
        TextLayout title(cr, content.title, { 34, FontWeight::Bold });
        title.draw(cr, { x + 16, y + statusHeight + 44 });
    }

    // A search field and list rows: grey bars standing for text.
    CGFloat top = y + statusHeight + 100;
    setSourceColor(cr, faint);
    addRoundedRect(cr, CGRectMake(x + 16, top, width - 32, 36), 10);
    cairo_fill(cr);
    top += 56;
    for (int row = 0; row < 7; ++row) {
        CGFloat rowTop = top + row * 64;
        setSourceColor(cr, secondary);
        addRoundedRect(cr, CGRectMake(x + 16, rowTop + 12, width * (0.45 + 0.07 * (row % 3)), 12), 6);
        cairo_fill(cr);
        setSourceColor(cr, faint);
        addRoundedRect(cr, CGRectMake(x + 16, rowTop + 32, width * (0.70 - 0.08 * (row % 2)), 10), 5);
        cairo_fill(cr);
        cairo_rectangle(cr, x + 16, rowTop + 63.5, width - 16, 0.5);
        cairo_fill(cr);
    }
}

} // namespace sim::render
