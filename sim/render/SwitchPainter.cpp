#include "SwitchPainter.h"

#include "RenderColor.h"

#include "UIKit/UISwitch.h"

#include <numbers>

namespace sim::render {

namespace {

// systemGreen, UIKit's on-colour for switches.
constexpr UIColorComponents kSystemGreen { 52.0 / 255, 199.0 / 255, 89.0 / 255, 1 };
constexpr CGSize kSwitchSize { 51, 31 };
constexpr CGFloat kKnobInset = 2;

} // namespace

void paintSwitch(const PaintContext& paint, const UISwitch* view)
{
    cairo_t* cr = paint.context;
    CGRect bounds = view->bounds();
    // A switch keeps its own size, whatever its frame, centred in it.
    CGRect track = CGRectMake(CGRectGetMidX(bounds) - kSwitchSize.width / 2, CGRectGetMidY(bounds) - kSwitchSize.height / 2, kSwitchSize.width, kSwitchSize.height);
    cairo_save(cr);
    addRoundedRect(cr, track, track.size.height / 2);
    if (view->isOn())
        setSourceColor(cr, view->onTintColor() ? resolvedComponents(view->onTintColor()) : kSystemGreen);
    else
        setSourceColor(cr, UIColor::secondarySystemFillColor().get());
    cairo_fill(cr);

    CGFloat radius = track.size.height / 2 - kKnobInset;
    CGFloat knobX = view->isOn() ? CGRectGetMaxX(track) - kKnobInset - radius : CGRectGetMinX(track) + kKnobInset + radius;
    cairo_new_sub_path(cr);
    cairo_arc(cr, knobX, CGRectGetMidY(track), radius, 0, 2 * std::numbers::pi);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.12);
    cairo_set_line_width(cr, 0.5);
    cairo_stroke_preserve(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_fill(cr);
    cairo_restore(cr);
}

} // namespace sim::render
