#pragma once
// UIProgressView: a bar filled to `progress`, which the view keeps pinned to 0...1.

#include "UIView.h"

using UIProgressViewStyle = long;
inline constexpr UIProgressViewStyle UIProgressViewStyleDefault = 0;
inline constexpr UIProgressViewStyle UIProgressViewStyleBar = 1;

class UIProgressView : public UIView {
    OBJC_INTERFACE(UIProgressView)
public:
    UIProgressView() = default;

    // -initWithProgressViewStyle: (through the runtime): a view of the style's standard
    // height (2 points, 2.5 for the bar) and no width, to be sized by constraints.
    UIProgressView* initWithProgressViewStyle(UIProgressViewStyle);

    UIProgressViewStyle progressViewStyle() const { return m_style; }
    void setProgressViewStyle(UIProgressViewStyle style) { m_style = style; }

    // As shown: whatever was set, pinned to 0...1 (NaN shows as empty).
    float progress() const { return m_progress; }
    void setProgress(float);
    // The fill is not animated here; the flag is accepted for the platform's signature.
    void setProgress(float, bool animated);

    UIColor* progressTintColor() const { return m_progressTintColor.get(); }
    void setProgressTintColor(UIColor* color) { m_progressTintColor = color; }
    UIColor* trackTintColor() const { return m_trackTintColor.get(); }
    void setTrackTintColor(UIColor* color) { m_trackTintColor = color; }

    static void registerRuntimeClass();

private:
    static UIProgressView* initWithProgressViewStyleImp(UIProgressView*, SEL, UIProgressViewStyle);

    UIProgressViewStyle m_style = UIProgressViewStyleDefault;
    float m_progress = 0;
    objc::RefPtr<UIColor> m_progressTintColor;
    objc::RefPtr<UIColor> m_trackTintColor;
};
