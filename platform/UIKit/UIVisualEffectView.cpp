#include "UIVisualEffectView.h"

UIVisualEffectView* UIVisualEffectView::initWithEffect(UIBlurEffect* effect)
{
    return static_cast<UIVisualEffectView*>(objc_msgSend<id>(this, "initWithEffect:"_sel, static_cast<id>(effect)));
}

UIVisualEffectView* UIVisualEffectView::initWithFrameImp(UIVisualEffectView* self, SEL cmd, CGRect frame)
{
    objc_msgSendSuper<id>(UIView::staticClass(), self, cmd, frame);
    if (!self->m_contentView) {
        self->m_contentView = UIView::alloc();
        self->m_contentView->initWithFrame(self->bounds());
        self->m_contentView->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
        self->addSubview(self->m_contentView.get());
    }
    return self;
}

UIVisualEffectView* UIVisualEffectView::initWithEffectImp(UIVisualEffectView* self, SEL, id effect)
{
    self->initWithFrame(CGRectZero);
    self->m_effect = objc_cast<UIBlurEffect>(effect);
    return self;
}

void UIVisualEffectView::registerRuntimeClass()
{
    Class cls = objc::defineClass<UIVisualEffectView>("UIVisualEffectView", UIView::staticClass());
    objc::addMethod(cls, "initWithFrame:", &initWithFrameImp);
    objc::addMethod(cls, "initWithEffect:", &initWithEffectImp);
}
