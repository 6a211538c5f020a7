#pragma once
// The invisible 100 x 40 point view that takes a player's taps and swipes, its top edge
// `TouchConstant` points from the bottom of its superview's safe area.

#include "objc/RefPtr.h"
#include "objc/objc.h"

class UIView;

namespace lumetrix {

// Makes the target, stores it in the host's `previoustapview`, adds it to `superview` and
// places it. Recognizers are the caller's: each player adds them in its own order.
objc::RefPtr<UIView> buildTouchTarget(id host, UIView* superview);

// The recognizers, targeting `host`.
void addTapRecognizer(UIView* target, id host);
void addSwipeRecognizers(UIView* target, id host);

} // namespace lumetrix
