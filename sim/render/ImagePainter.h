#pragma once
// An image view's image: a system symbol drawn as a vector glyph in the view's tint, or a
// bitmap, placed by the view's content mode. Like UIKit's, the image may overflow the
// view (a centred 13-point glyph in a 5-point view) unless the view clips.

#include "PaintContext.h"

#include "CoreGraphics/CGImage.h"
#include "UIKit/UIView.h"

class UIImageView;

namespace sim::render {

// Where an image of `imageSize` points goes in `bounds` under `mode`. Modes other than
// the fits, fill and centre stretch, as Redraw does.
CGRect imageRectForContentMode(UIViewContentMode, CGSize imageSize, CGRect bounds);

// A cairo surface with the bitmap's pixels (the caller destroys it).
cairo_surface_t* surfaceForBitmap(const CGImage&);

void paintImageView(const PaintContext&, const UIImageView*);

} // namespace sim::render
