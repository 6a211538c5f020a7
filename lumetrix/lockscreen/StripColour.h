#pragma once
// The lock-screen strip's colour, shared by the strip's construction and the colour rules.

class CSHomeAffordanceView;
class UIProgressView;

namespace lumetrix {

// A strip built after colours were sent to its home bar takes the last one, under the
// rules that hold now, as if it had just been sent.
void tintWithLastStripColour(CSHomeAffordanceView*, UIProgressView* strip);

} // namespace lumetrix
