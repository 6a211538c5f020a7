#pragma once
// UIVisualEffectView: a view that draws an effect (a blur) over what lies behind it.
// Subviews go in its content view, which always fills it.

#include "UIBlurEffect.h"
#include "UIView.h"

class UIVisualEffectView : public UIView {
    OBJC_INTERFACE(UIVisualEffectView)
public:
    UIVisualEffectView() = default;

    // -initWithEffect: (through the runtime): the zero rectangle, with that effect.
    UIVisualEffectView* initWithEffect(UIBlurEffect*);

    UIBlurEffect* effect() const { return m_effect.get(); }
    void setEffect(UIBlurEffect* effect) { m_effect = effect; }
    UIView* contentView() const { return m_contentView.get(); }

    static void registerRuntimeClass();

private:
    static UIVisualEffectView* initWithFrameImp(UIVisualEffectView*, SEL, CGRect);
    static UIVisualEffectView* initWithEffectImp(UIVisualEffectView*, SEL, id effect);

    objc::RefPtr<UIBlurEffect> m_effect;
    objc::RefPtr<UIView> m_contentView;
};
