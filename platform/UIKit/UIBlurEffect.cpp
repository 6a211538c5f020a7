#include "UIBlurEffect.h"

objc::RefPtr<UIBlurEffect> UIBlurEffect::effectWithStyle(UIBlurEffectStyle style)
{
    auto effect = UIBlurEffect::alloc();
    effect->m_style = style;
    return effect;
}

void UIBlurEffect::registerRuntimeClass()
{
    Class cls = objc::defineClass<UIBlurEffect>("UIBlurEffect", NSObject::staticClass());
    objc::addMethod(cls, "style", +[](UIBlurEffect* self, SEL) { return static_cast<long>(self->style()); });
}
