#pragma once
// Text set with pango in the stand-in for the system font. San Francisco is not a
// Debian font, so DejaVu Sans takes its place; sizes are in points (user units), and
// hinting is off so a line measures the same at every scale and on every machine.

#include "CoreGraphics/CGGeometry.h"
#include "UIKit/UILabel.h"

#include <pango/pangocairo.h>

#include <string>

namespace sim::render {

enum class FontWeight {
    Regular,
    Semibold,
    Bold
};

struct FontSpec {
    CGFloat pointSize = 17;
    FontWeight weight = FontWeight::Regular;
};

// What a label or text field's font draws as (the system font's 17 points without one).
FontSpec fontSpecFor(const UIFont*);

class TextLayout {
public:
    // Laid out for drawing into `context` with the matrix it has now.
    TextLayout(cairo_t* context, const std::string& text, FontSpec);
    ~TextLayout();
    TextLayout(const TextLayout&) = delete;
    TextLayout& operator=(const TextLayout&) = delete;

    // The size of the set text (its logical extents), in points.
    CGSize size() const;
    // Wraps at `width` points, keeping at most `lines` lines (0: any number), or cuts
    // one line to the width with an ellipsis at `ellipsize`.
    void setWidth(CGFloat width);
    void setMaximumLines(long lines);
    void setEllipsize(PangoEllipsizeMode);
    void setAlignment(PangoAlignment);
    // One line cut to `width` points, with an ellipsis where it is cut.
    void setSingleLine(CGFloat width);
    // Centre and right as UIKit names them; the rest stay at the leading edge.
    void setAlignment(NSTextAlignment);

    // Draws with the context's source, the layout's top-left at `origin`.
    void draw(cairo_t* context, CGPoint origin) const;

    PangoLayout* layout() const { return m_layout; }

private:
    PangoLayout* m_layout;
};

// One line of text centred in `rect` (both ways) in the context's source colour.
void drawCenteredText(cairo_t*, const std::string& text, FontSpec, CGRect rect);

} // namespace sim::render
