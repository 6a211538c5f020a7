#include "UISwitch.h"

// UIKit gives a switch its own size whatever frame it is made with.
static constexpr CGSize kSwitchSize { 51, 31 };

UISwitch* UISwitch::initWithFrameImp(UISwitch* self, SEL cmd, CGRect frame)
{
    objc_msgSendSuper<id>(UIControl::staticClass(), self, cmd, CGRect { frame.origin, kSwitchSize });
    return self;
}

void UISwitch::toggleByUser()
{
    if (!isEnabled())
        return;
    m_on = !m_on;
    sendActionsForControlEvents(UIControlEventValueChanged);
}

void UISwitch::registerRuntimeClass()
{
    Class cls = objc::defineClass<UISwitch>("UISwitch", UIControl::staticClass());
    objc::addMethod(cls, "initWithFrame:", &initWithFrameImp);
    objc::addMethod(cls, "isOn", +[](UISwitch* self, SEL) { return self->isOn(); });
    objc::addMethod(cls, "setOn:animated:", +[](UISwitch* self, SEL, bool on, bool animated) { self->setOn(on, animated); });
}
