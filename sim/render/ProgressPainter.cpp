#include "ProgressPainter.h"

#include "RenderColor.h"

#include "UIKit/UIProgressView.h"

#include <algorithm>
#include <cmath>

namespace sim::render {

void paintProgressBar(const PaintContext& paint, const UIProgressView* view)
{
    cairo_t* cr = paint.context;
    CGRect bounds = view->bounds();
    if (CGRectIsEmpty(bounds))
        return;
    bool rounded = view->progressViewStyle() == UIProgressViewStyleDefault;
    CGFloat radius = rounded ? bounds.size.height / 2 : 0;

    cairo_save(cr);
    UIColor* track = view->trackTintColor();
    setSourceColor(cr, track ? resolvedComponents(track) : kDefaultProgressTrack);
    addRoundedRect(cr, bounds, radius);
    cairo_fill(cr);

    float progress = view->presentationProgress();
    if (std::isfinite(progress) && progress > 0) {
        CGRect fill = bounds;
        fill.size.width = bounds.size.width * std::clamp(progress, 0.0f, 1.0f);
        UIColor* tint = view->progressTintColor();
        setSourceColor(cr, tint ? resolvedComponents(tint) : effectiveTint(view));
        addRoundedRect(cr, fill, radius);
        cairo_fill(cr);
    }
    cairo_restore(cr);
}

} // namespace sim::render
