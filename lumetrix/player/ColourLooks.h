#pragma once
// The two looks the artwork colour gives a player: coloured (row and, with `songtitlebg`,
// the title's backdrop in the colour) and neutral (clear, the title in the label colour).

#include "objc/objc.h"

class NSDictionary;
class UIColor;
class UIProgressView;

namespace lumetrix {

// The colour rules apply the colour while something plays, or always when the strip is
// not to go back to white.
bool colourIsLive();

void applyColouredLook(id host, UIColor*);
void applyNeutralLook(id host);

// While nothing plays and the strip is to go back to white (and colours are derived at
// all), the neutral look needs no colour: a pause or a stop gives it whether or not the
// track has artwork. `strip` turns white with it; null leaves the strip alone. Says
// whether it applied.
bool applyNeutralLookWhenIdle(id host, UIProgressView* strip);

// The colour a colour notification carries under "bgcolor1", or null.
UIColor* notifiedColour(id notification);

// The in-app colour step of an updateMedia reply: derives the artwork's colour and sets
// the strip, the title and the row. Does nothing without `dynamicenabled`; while playing
// (or not restoring to white), nothing without a record or artwork, or when the artwork
// does not decode.
void applyArtworkColour(id host, NSDictionary* info);

} // namespace lumetrix
