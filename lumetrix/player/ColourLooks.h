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

// The colour a colour notification carries under "bgcolor1", or null.
UIColor* notifiedColour(id notification);

// The in-app colour step of an updateMedia reply: derives the artwork's colour and sets
// the strip, the title and the row. Does nothing without a record, artwork, or
// `dynamicenabled`, or when the artwork does not decode.
void applyArtworkColour(id host, NSDictionary* info);

} // namespace lumetrix
