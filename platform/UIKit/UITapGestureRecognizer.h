#pragma once
// UITapGestureRecognizer: recognizes a tap of a given number of touches down and up.

#include "UIGestureRecognizer.h"

class UITapGestureRecognizer : public UIGestureRecognizer {
    OBJC_INTERFACE(UITapGestureRecognizer)
public:
    UITapGestureRecognizer() = default;

    unsigned long numberOfTapsRequired() const { return m_numberOfTapsRequired; }
    void setNumberOfTapsRequired(unsigned long taps) { m_numberOfTapsRequired = taps; }

    bool recognizes(const UIGesture& gesture) const override
    {
        return gesture.kind == UIGesture::Kind::Tap && gesture.tapCount == m_numberOfTapsRequired;
    }

    static void registerRuntimeClass();

private:
    unsigned long m_numberOfTapsRequired = 1;
};
