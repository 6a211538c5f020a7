#include "UIProgressView.h"

#include <cmath>

UIProgressView* UIProgressView::initWithProgressViewStyleImp(UIProgressView* self, SEL, UIProgressViewStyle style)
{
    self->m_style = style == UIProgressViewStyleBar ? UIProgressViewStyleBar : UIProgressViewStyleDefault;
    self->initWithFrame(CGRectMake(0, 0, 0, self->m_style == UIProgressViewStyleBar ? 2.5 : 2));
    return self;
}

void UIProgressView::setProgressImp(UIProgressView* self, SEL, float progress)
{
    self->changeProgress(progress, 0);
}

void UIProgressView::setProgressAnimatedImp(UIProgressView* self, SEL, float progress, bool animated)
{
    self->changeProgress(progress, animated ? kProgressAnimationDuration : 0);
}

void UIProgressView::changeProgress(float progress, double animationDuration)
{
    float pinned = std::isnan(progress) ? 0.0f : std::fmin(1.0f, std::fmax(0.0f, progress));
    animatePropertyChange(m_progressAnimation, presentationProgress(), pinned, animationDuration);
    m_progress = pinned;
}

float UIProgressView::presentationProgress() const
{
    return static_cast<float>(m_progressAnimation.valueAt(animationClock(), m_progress));
}

void UIProgressView::registerRuntimeClass()
{
    Class cls = objc::defineClass<UIProgressView>("UIProgressView", UIView::staticClass());
    objc::addMethod(cls, "initWithProgressViewStyle:", &initWithProgressViewStyleImp);
    objc::addMethod(cls, "setProgress:", &setProgressImp);
    objc::addMethod(cls, "setProgress:animated:", &setProgressAnimatedImp);
    objc::addMethod(cls, "setProgressTintColor:", +[](UIProgressView* self, SEL, UIColor* color) { self->m_progressTintColor = color; });
    objc::addMethod(cls, "setTrackTintColor:", +[](UIProgressView* self, SEL, UIColor* color) { self->m_trackTintColor = color; });
}
