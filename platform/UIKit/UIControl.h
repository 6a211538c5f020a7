#pragma once
// UIControl: a view that sends actions to targets when the user works it. Targets are
// not retained, as in UIKit: a control's owner usually is its target.

#include "UIView.h"

#include <vector>

using UIControlEvents = unsigned long;
inline constexpr UIControlEvents UIControlEventTouchUpInside = 1 << 6;
inline constexpr UIControlEvents UIControlEventValueChanged = 1 << 12;
inline constexpr UIControlEvents UIControlEventPrimaryActionTriggered = 1 << 13;
inline constexpr UIControlEvents UIControlEventEditingDidBegin = 1 << 16;
inline constexpr UIControlEvents UIControlEventEditingChanged = 1 << 17;
inline constexpr UIControlEvents UIControlEventEditingDidEnd = 1 << 18;
inline constexpr UIControlEvents UIControlEventEditingDidEndOnExit = 1 << 19;

// Sends `action` to `target` as UIApplication's sendAction:to:from:forEvent: does: a
// selector that takes an argument ("respring:") gets the sender, one that takes none
// ("resetPrefs") gets nothing. A nil target or action sends nothing.
void UIKitSendAction(SEL action, id target, id sender);

class UIControl : public UIView {
    OBJC_INTERFACE(UIControl)
public:
    UIControl() = default;

    void addTargetAction(NSObject* target, SEL action, UIControlEvents);
    // A null target or action matches any.
    void removeTargetAction(NSObject* target, SEL action, UIControlEvents);
    // Every action registered for any of `events`, in the order they were added. Targets
    // that have gone are skipped.
    void sendActionsForControlEvents(UIControlEvents events);
    std::vector<SEL> actionsForTarget(NSObject* target, UIControlEvents) const;

    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled) { m_enabled = enabled; }

    static void registerRuntimeClass();

private:
    struct TargetAction {
        objc::WeakPtr<NSObject> target;
        SEL action;
        UIControlEvents events;
    };
    std::vector<TargetAction> m_targetActions;
    bool m_enabled = true;
};
