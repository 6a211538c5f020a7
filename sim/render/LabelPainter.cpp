#include "LabelPainter.h"

#include "RenderColor.h"
#include "TextLayout.h"

#include "Foundation/NSString.h"
#include "UIKit/UILabel.h"

#include <cmath>

namespace sim::render {

namespace {

PangoEllipsizeMode ellipsizeFor(NSLineBreakMode mode)
{
    switch (mode) {
    case NSLineBreakByTruncatingHead:
        return PANGO_ELLIPSIZE_START;
    case NSLineBreakByTruncatingMiddle:
        return PANGO_ELLIPSIZE_MIDDLE;
    case NSLineBreakByTruncatingTail:
        return PANGO_ELLIPSIZE_END;
    default:
        return PANGO_ELLIPSIZE_NONE;
    }
}

// Where a line of `width` starts in a label of `labelWidth` (left to right text).
CGFloat alignedX(NSTextAlignment alignment, CGFloat width, CGFloat labelWidth)
{
    switch (alignment) {
    case NSTextAlignmentCenter:
        return (labelWidth - width) / 2;
    case NSTextAlignmentRight:
        return labelWidth - width;
    default:
        return 0;
    }
}

} // namespace

CGFloat marqueeOffset(double elapsed, CGFloat textWidth, CGFloat gap)
{
    double travel = textWidth + gap;
    if (elapsed <= 0 || travel <= 0)
        return 0;
    double cycle = MarqueeTiming::restSeconds + travel / MarqueeTiming::pointsPerSecond;
    double into = std::fmod(elapsed, cycle);
    if (into <= MarqueeTiming::restSeconds)
        return 0;
    return static_cast<CGFloat>((into - MarqueeTiming::restSeconds) * MarqueeTiming::pointsPerSecond);
}

void paintLabel(const PaintContext& paint, const UILabel* label)
{
    NSString* text = label->text();
    if (!text || text->length() == 0 || isInvisible(label->textColor()))
        return;
    cairo_t* cr = paint.context;
    CGRect bounds = label->bounds();

    cairo_save(cr);
    // A label draws inside its bounds only.
    addRoundedRect(cr, bounds, 0);
    cairo_clip(cr);
    setSourceColor(cr, label->textColor());

    TextLayout layout(cr, text->string(), fontSpecFor(label->font()));
    CGSize natural = layout.size();
    // Whether the text fits is decided by UIKit's measure, so the picture scrolls or cuts
    // exactly where the label's own marquee would.
    bool fits = label->textWidth() <= bounds.size.width;
    bool oneLine = label->numberOfLines() == 1;
    bool marquee = oneLine && label->marqueeEnabled() && label->marqueeRunning() && !fits;

    if (marquee) {
        CGFloat gap = MarqueeTiming::gap(bounds.size.width);
        CGFloat offset = marqueeOffset(paint.now - label->marqueeStartTime(), natural.width, gap);
        CGFloat y = bounds.origin.y + (bounds.size.height - natural.height) / 2;
        layout.draw(cr, { bounds.origin.x - offset, y });
        layout.draw(cr, { bounds.origin.x - offset + natural.width + gap, y });
        cairo_restore(cr);
        return;
    }

    if (oneLine) {
        // Truncating modes end the line with an ellipsis; the others keep to one line and
        // are cut at the label's edge.
        PangoEllipsizeMode ellipsize = ellipsizeFor(label->lineBreakMode());
        if (!fits && ellipsize != PANGO_ELLIPSIZE_NONE) {
            layout.setWidth(bounds.size.width);
            layout.setEllipsize(ellipsize);
            layout.setMaximumLines(1);
        }
    } else {
        layout.setWidth(bounds.size.width);
        layout.setMaximumLines(label->numberOfLines());
        layout.setEllipsize(PANGO_ELLIPSIZE_END);
        layout.setAlignment(label->textAlignment());
    }
    CGSize size = layout.size();
    CGFloat x = oneLine && size.width <= bounds.size.width ? alignedX(label->textAlignment(), size.width, bounds.size.width) : 0;
    layout.draw(cr, { bounds.origin.x + x, bounds.origin.y + (bounds.size.height - size.height) / 2 });
    cairo_restore(cr);
}

} // namespace sim::render
