#include "UITextField.h"

void UITextField::setText(NSString* text)
{
    m_text = text ? text : NSString::create("").get();
}

void UITextField::setText(const std::string& text)
{
    m_text = NSString::create(text);
}

void UITextField::editByUser(const std::string& text)
{
    if (!isEnabled())
        return;
    objc::RefPtr<UITextField> protectedThis(this);
    m_editing = true;
    sendActionsForControlEvents(UIControlEventEditingDidBegin);
    setText(text);
    sendActionsForControlEvents(UIControlEventEditingChanged);
    m_editing = false;
    sendActionsForControlEvents(UIControlEventEditingDidEnd);
}

void UITextField::registerRuntimeClass()
{
    Class cls = objc::defineClass<UITextField>("UITextField", UIControl::staticClass());
    objc::addMethod(cls, "text", +[](UITextField* self, SEL) -> id { return self->text(); });
    objc::addMethod(cls, "setText:", +[](UITextField* self, SEL, id text) { self->setText(objc_cast<NSString>(text)); });
}
