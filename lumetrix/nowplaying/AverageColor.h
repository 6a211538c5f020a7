#pragma once
// The AverageColor category on UIImage: the whole image reduced to one opaque colour.

class NSDictionary;
class UIColor;
class UIImage;

namespace lumetrix {

// [image averageColor]: a new colour, or nil for an image with no pixels.
UIColor* averageColor(UIImage*);

// The average colour of a now-playing record's artwork: nil without a record or artwork,
// and for artwork that does not decode (any app can set it) or has no pixels. The same
// artwork bytes are decoded once, however often and by whom they are asked about.
UIColor* artworkColour(NSDictionary* nowPlayingInfo);

// The brightness that decides the title text on the coloured look.
double perceivedBrightness(UIColor*);

} // namespace lumetrix
