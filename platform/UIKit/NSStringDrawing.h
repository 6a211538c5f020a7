#pragma once
// Text measured as it is drawn (UIKit's NSString drawing additions, sizeWithAttributes:).
// The system font is set with pango: DejaVu Sans stands in for San Francisco, unhinted, so
// a line measures the same at every scale. The simulator's renderer sets its text through
// the same font setup (SystemFontLayout.h), so what UIKit measures here is what the
// pictures show: whether a title is wider than its label, where a bar button ends, how many
// lines a footer takes.

#include "CoreGraphics/CGGeometry.h"

class NSString;
class UIFont;

// The system font's weights (UIFontWeight values).
using UIFontWeight = CGFloat;
inline constexpr UIFontWeight UIFontWeightRegular = 0;
inline constexpr UIFontWeight UIFontWeightSemibold = 0.3;
inline constexpr UIFontWeight UIFontWeightBold = 0.4;

// The size of `text` set on one line in the system font of `pointSize` and `weight`:
// the line's logical extents (advance width, line height). Zero for nil or empty text.
CGSize NSStringSizeWithSystemFont(const NSString* text, CGFloat pointSize, UIFontWeight = UIFontWeightRegular);
// The same in a label's font (the system font of 17 points for nil).
CGSize NSStringSizeWithFont(const NSString* text, const UIFont*);
