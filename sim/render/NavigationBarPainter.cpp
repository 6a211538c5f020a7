#include "NavigationBarPainter.h"

#include "RenderColor.h"
#include "SymbolGlyphs.h"
#include "TextLayout.h"
#include "backdrops/LockScreenBackdrop.h"

#include "UIKit/NSAttributedString.h"
#include "UIKit/UINavigationBar.h"

#include <algorithm>

namespace sim::render {

namespace {

// A bar nobody coloured shows the system's bar material, drawn as a solid colour: near
// white in the light appearance, near black in the dark one (where its default title,
// labelColor, is white), each with its hairline.
constexpr UIColorComponents kLightBarColor { 249.0 / 255, 249.0 / 255, 249.0 / 255, 1 };
constexpr UIColorComponents kDarkBarColor { 22.0 / 255, 22.0 / 255, 24.0 / 255, 1 };
constexpr UIColorComponents kLightHairline { 0, 0, 0, 0.3 };
constexpr UIColorComponents kDarkHairline { 1, 1, 1, 0.15 };

bool darkAppearance()
{
    return UIKitCurrentUserInterfaceStyle() == UIUserInterfaceStyle::Dark;
}
constexpr CGFloat kTitleSize = 17;
constexpr CGFloat kStatusClockSize = 15;

UIColorComponents titleColor(const UINavigationBar* bar, const UINavigationItem* item)
{
    NSDictionary* attributes = bar->shownTitleTextAttributes(item);
    auto* color = attributes ? objc_cast<UIColor>(attributes->objectForKey(NSForegroundColorAttributeName)) : nullptr;
    return color ? resolvedComponents(color) : defaultTextComponents();
}

// The bar's background: its own rectangle and the status bar's above it, up to the top
// of the screen, as UIKit extends a bar's background behind the status bar.
void paintBackground(cairo_t* cr, const UINavigationBar* bar, const UINavigationItem* item, CGFloat statusHeight)
{
    CGRect bounds = bar->bounds();
    UIColor* background = bar->shownBackgroundColor(item);
    UIColorComponents fill = background ? resolvedComponents(background) : (darkAppearance() ? kDarkBarColor : kLightBarColor);
    if (!bar->isShownOpaque(item))
        fill.alpha *= kTranslucentBarAlpha;
    setSourceColor(cr, fill);
    cairo_rectangle(cr, bounds.origin.x, bounds.origin.y - statusHeight, bounds.size.width, bounds.size.height + statusHeight);
    cairo_fill(cr);
    if (!bar->isShownShadowHidden(item)) {
        setSourceColor(cr, darkAppearance() ? kDarkHairline : kLightHairline);
        cairo_rectangle(cr, bounds.origin.x, CGRectGetMaxY(bounds), bounds.size.width, 1.0 / 3);
        cairo_fill(cr);
    }
}

void paintStatusClock(cairo_t* cr, const UINavigationBar* bar, CGFloat statusHeight, double now)
{
    if (statusHeight < 12)
        return;
    CGRect bounds = bar->bounds();
    setSourceColor(cr, defaultTextComponents());
    drawCenteredText(cr, clockText(now), { kStatusClockSize, FontWeight::Semibold },
        CGRectMake(bounds.origin.x + 16, bounds.origin.y - statusHeight + 4, bounds.size.width * 0.3, statusHeight - 4));
}

// A chevron pointing back, as tall as the title's capitals, its point at the leading side.
void paintBackButton(cairo_t* cr, const UINavigationBar* bar, const UINavigationItem* back)
{
    CGRect frame = bar->backButtonFrame();
    if (CGRectIsEmpty(frame) || !back)
        return;
    setSourceColor(cr, effectiveTint(bar));
    CGFloat midY = CGRectGetMidY(frame);
    CGFloat chevronHeight = 21;
    CGFloat left = frame.origin.x + 1.5;
    CGFloat right = frame.origin.x + UINavigationBar::kBackChevronWidth - 1.5;
    cairo_save(cr);
    cairo_set_line_width(cr, 3);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_move_to(cr, right, midY - chevronHeight / 2);
    cairo_line_to(cr, left, midY);
    cairo_line_to(cr, right, midY + chevronHeight / 2);
    cairo_stroke(cr);
    cairo_restore(cr);

    std::string title = back->title() ? back->title()->string() : "Back";
    CGFloat textX = frame.origin.x + UINavigationBar::kBackChevronWidth + 6;
    CGFloat width = std::max<CGFloat>(0, CGRectGetMaxX(frame) - textX);
    TextLayout layout(cr, title, { kTitleSize, FontWeight::Regular });
    layout.setSingleLine(width);
    layout.draw(cr, { textX, midY - layout.size().height / 2 });
}

void paintRightButton(cairo_t* cr, const UINavigationBar* bar, const UINavigationItem* top)
{
    CGRect frame = bar->rightButtonFrame();
    UIBarButtonItem* item = top ? top->rightBarButtonItem() : nullptr;
    if (CGRectIsEmpty(frame) || !item)
        return;
    UIColorComponents tint = item->tintColor() ? resolvedComponents(item->tintColor()) : effectiveTint(bar);
    // A disabled button is dimmed, as UIKit draws it.
    if (!item->isEnabled())
        tint.alpha *= 0.35;
    setSourceColor(cr, tint);
    if (UIImage* image = item->image()) {
        CGSize size = image->size();
        CGRect box = CGRectMake(CGRectGetMidX(frame) - size.width / 2, CGRectGetMidY(frame) - size.height / 2, size.width, size.height);
        if (image->isSymbolImage())
            drawSymbol(cr, image->symbolName(), box);
        return;
    }
    if (item->title())
        drawCenteredText(cr, item->title()->string(), { kTitleSize, item->style() == UIBarButtonItemStyleDone ? FontWeight::Semibold : FontWeight::Regular }, frame);
}

} // namespace

void paintNavigationBar(const PaintContext& paint, const UINavigationBar* bar)
{
    cairo_t* cr = paint.context;
    UINavigationItem* top = bar->shownTopItem();
    // The status bar lies above a bar that starts below the top of the screen.
    CGFloat statusHeight = std::max<CGFloat>(0, bar->frameInScreen().origin.y);
    cairo_save(cr);
    paintBackground(cr, bar, top, statusHeight);
    paintStatusClock(cr, bar, statusHeight, paint.now);
    paintBackButton(cr, bar, bar->shownBackItem());
    paintRightButton(cr, bar, top);
    if (top && !top->titleView() && top->title() && !CGRectIsEmpty(bar->titleFrame())) {
        setSourceColor(cr, titleColor(bar, top));
        drawCenteredText(cr, top->title()->string(), { kTitleSize, FontWeight::Semibold }, bar->titleFrame());
    }
    cairo_restore(cr);
}

} // namespace sim::render
