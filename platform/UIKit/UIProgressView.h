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
    UIProgressView* initWithProgressViewStyle(UIProgressViewStyle style)
    {
        return static_cast<UIProgressView*>(objc_send<"initWithProgressViewStyle:", id>(this, style));
    }

    UIProgressViewStyle progressViewStyle() const { return m_style; }
    void setProgressViewStyle(UIProgressViewStyle style) { m_style = style; }

    // The model value: whatever was set, pinned to 0...1 (NaN shows as empty).
    float progress() const { return m_progress; }
    // Animates with an enclosing animations block, like alpha; otherwise at once.
    void setProgress(float progress) { objc_send<"setProgress:">(this, progress); }
    // -setProgress:animated:, through the runtime. Animated, the fill moves from what is
    // shown to the new value over kProgressAnimationDuration (UIKit does not document its
    // own duration; this is the system's usual quarter second).
    void setProgress(float progress, bool animated) { objc_send<"setProgress:animated:">(this, progress, animated); }
    static constexpr double kProgressAnimationDuration = 0.25;
    // What is on screen now: the progress animation's value at the run loop's time.
    float presentationProgress() const;

    UIColor* progressTintColor() const { return m_progressTintColor.get(); }
    void setProgressTintColor(UIColor* color) { objc_send<"setProgressTintColor:">(this, color); }
    UIColor* trackTintColor() const { return m_trackTintColor.get(); }
    void setTrackTintColor(UIColor* color) { objc_send<"setTrackTintColor:">(this, color); }

    static void registerRuntimeClass();

private:
    static UIProgressView* initWithProgressViewStyleImp(UIProgressView*, SEL, UIProgressViewStyle);
    static void setProgressImp(UIProgressView*, SEL, float);
    static void setProgressAnimatedImp(UIProgressView*, SEL, float, bool);
    void changeProgress(float, double animationDuration);

    UIProgressViewStyle m_style = UIProgressViewStyleDefault;
    float m_progress = 0;
    UIViewPropertyAnimation m_progressAnimation;
    objc::RefPtr<UIColor> m_progressTintColor;
    objc::RefPtr<UIColor> m_trackTintColor;
};
