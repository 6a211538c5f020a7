#pragma once
// UIBlurEffect: which blur a visual-effect view draws. The style is kept for the
// renderer; style 4 is the regular blur.

#include "Foundation/NSObject.h"

enum UIBlurEffectStyle : long {
    UIBlurEffectStyleExtraLight = 0,
    UIBlurEffectStyleLight = 1,
    UIBlurEffectStyleDark = 2,
    UIBlurEffectStyleRegular = 4,
    UIBlurEffectStyleProminent = 5,
};

class UIBlurEffect : public NSObject {
    OBJC_INTERFACE(UIBlurEffect)
public:
    UIBlurEffect() = default;

    // +effectWithStyle:
    static objc::RefPtr<UIBlurEffect> effectWithStyle(UIBlurEffectStyle);

    UIBlurEffectStyle style() const { return m_style; }

    nlohmann::json jsonValue() const override { return { { "blurStyle", static_cast<long>(m_style) } }; }

    static void registerRuntimeClass();

private:
    UIBlurEffectStyle m_style = UIBlurEffectStyleRegular;
};
