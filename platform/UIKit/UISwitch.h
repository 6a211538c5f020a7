#pragma once
// UISwitch: an on/off control. Setting it in code sends nothing; a user's flip (setOn
// followed by the value-changed actions) is what toggleByUser() does.

#include "UIControl.h"

class UISwitch : public UIControl {
    OBJC_INTERFACE(UISwitch)
public:
    UISwitch() = default;

    bool isOn() const { return m_on; }
    void setOn(bool on) { m_on = on; }
    void setOn(bool on, bool /* animated: the flip is not animated here */) { m_on = on; }
    // The colour of the track when on; nil follows the tint colour.
    UIColor* onTintColor() const { return m_onTintColor.get(); }
    void setOnTintColor(UIColor* color) { m_onTintColor = color; }

    // What a user's tap does: flips the switch, then sends the value-changed actions.
    // Nothing happens to a disabled switch.
    void toggleByUser();

    static void registerRuntimeClass();

private:
    static UISwitch* initWithFrameImp(UISwitch*, SEL, CGRect);

    bool m_on = false;
    objc::RefPtr<UIColor> m_onTintColor;
};
