#pragma once
// The AverageColor category on UIImage: the whole image reduced to one opaque colour.

class UIColor;
class UIImage;

namespace lumetrix {

// [image averageColor]: a new colour, or nil for an image with no pixels.
UIColor* averageColor(UIImage*);

// The brightness that decides the title text on the coloured look.
double perceivedBrightness(UIColor*);

} // namespace lumetrix
