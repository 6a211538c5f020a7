#pragma once
// A label's text: its font, colour and alignment, centred vertically in the label as
// UILabel draws a line, cut to the label's bounds. A label whose marquee is enabled and
// running and whose text is wider than the label scrolls it: it rests at the start for a
// moment, runs left at a steady pace until the next copy of the text (one gap behind)
// has taken its place, and starts over, as SpringBoard's marquee labels do. The pace and
// the gap are this renderer's choice; Apple documents neither.

#include "PaintContext.h"

#include "CoreGraphics/CGGeometry.h"

class UILabel;

namespace sim::render {

struct MarqueeTiming {
    static constexpr double restSeconds = 1.5;
    static constexpr double pointsPerSecond = 30;
    // Between the end of the text and its next copy: a share of the label's width, at
    // least a few points.
    static CGFloat gap(CGFloat labelWidth) { return std::max<CGFloat>(12, labelWidth * 0.25); }
};

// How far the text has run left `elapsed` seconds after the marquee started.
CGFloat marqueeOffset(double elapsed, CGFloat textWidth, CGFloat gap);

void paintLabel(const PaintContext&, const UILabel*);

} // namespace sim::render
