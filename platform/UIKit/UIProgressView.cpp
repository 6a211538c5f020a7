#include "UIProgressView.h"

#include <cmath>

UIProgressView* UIProgressView::initWithProgressViewStyle(UIProgressViewStyle style)
{
    return static_cast<UIProgressView*>(objc_msgSend<id>(this, "initWithProgressViewStyle:"_sel, style));
}

UIProgressView* UIProgressView::initWithProgressViewStyleImp(UIProgressView* self, SEL, UIProgressViewStyle style)
{
    self->m_style = style == UIProgressViewStyleBar ? UIProgressViewStyleBar : UIProgressViewStyleDefault;
    self->initWithFrame(CGRectMake(0, 0, 0, self->m_style == UIProgressViewStyleBar ? 2.5 : 2));
    return self;
}

void UIProgressView::setProgress(float progress)
{
    m_progress = std::isnan(progress) ? 0.0f : std::fmin(1.0f, std::fmax(0.0f, progress));
}

void UIProgressView::setProgress(float progress, bool)
{
    setProgress(progress);
}

void UIProgressView::registerRuntimeClass()
{
    Class cls = objc::defineClass<UIProgressView>("UIProgressView", UIView::staticClass());
    objc::addMethod(cls, "initWithProgressViewStyle:", &initWithProgressViewStyleImp);
}
