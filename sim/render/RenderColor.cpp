#include "RenderColor.h"

#include "UIKit/UIView.h"

#include <algorithm>
#include <numbers>

namespace sim::render {

UIColorComponents resolvedComponents(const UIColor* color)
{
    return color ? color->components() : UIColorComponents {};
}

UIColorComponents defaultTextComponents()
{
    return resolvedComponents(UIColor::labelColor().get());
}

bool isInvisible(const UIColor* color)
{
    return !color || resolvedComponents(color).alpha <= 0;
}

void setSourceColor(cairo_t* context, const UIColorComponents& c)
{
    cairo_set_source_rgba(context, c.red, c.green, c.blue, c.alpha);
}

void setSourceColor(cairo_t* context, const UIColor* color)
{
    setSourceColor(context, resolvedComponents(color));
}

UIColorComponents effectiveTint(const UIView* view)
{
    for (const UIView* current = view; current; current = current->superview()) {
        if (UIColor* tint = current->tintColor())
            return tint->components();
    }
    return kSystemBlue;
}

void addRoundedRect(cairo_t* context, CGRect rect, CGFloat radius)
{
    CGFloat x = CGRectGetMinX(rect);
    CGFloat y = CGRectGetMinY(rect);
    CGFloat width = CGRectGetWidth(rect);
    CGFloat height = CGRectGetHeight(rect);
    radius = std::clamp<CGFloat>(radius, 0, std::min(width, height) / 2);
    if (radius <= 0) {
        cairo_rectangle(context, x, y, width, height);
        return;
    }
    constexpr double quarter = std::numbers::pi / 2;
    cairo_new_sub_path(context);
    cairo_arc(context, x + width - radius, y + radius, radius, -quarter, 0);
    cairo_arc(context, x + width - radius, y + height - radius, radius, 0, quarter);
    cairo_arc(context, x + radius, y + height - radius, radius, quarter, 2 * quarter);
    cairo_arc(context, x + radius, y + radius, radius, 2 * quarter, 3 * quarter);
    cairo_close_path(context);
}

} // namespace sim::render
