#include "UIBarButtonItem.h"

#include "UIControl.h"

UIBarButtonItem* UIBarButtonItem::initWithImage(UIImage* image, UIBarButtonItemStyle style, NSObject* target, SEL action)
{
    return static_cast<UIBarButtonItem*>(objc_msgSend<id>(this, "initWithImage:style:target:action:"_sel,
        static_cast<id>(image), static_cast<long>(style), static_cast<id>(target), action));
}

UIBarButtonItem* UIBarButtonItem::initWithImageImp(UIBarButtonItem* self, SEL, id image, long style, id target, SEL action)
{
    self->m_image = objc_cast<UIImage>(image);
    self->m_style = static_cast<UIBarButtonItemStyle>(style);
    self->m_target = static_cast<NSObject*>(target);
    self->m_action = action;
    return self;
}

UIBarButtonItem* UIBarButtonItem::initWithTitle(NSString* title, UIBarButtonItemStyle style, NSObject* target, SEL action)
{
    return static_cast<UIBarButtonItem*>(objc_msgSend<id>(this, "initWithTitle:style:target:action:"_sel,
        static_cast<id>(title), static_cast<long>(style), static_cast<id>(target), action));
}

UIBarButtonItem* UIBarButtonItem::initWithTitleImp(UIBarButtonItem* self, SEL, id title, long style, id target, SEL action)
{
    self->m_title = objc_cast<NSString>(title);
    self->m_style = static_cast<UIBarButtonItemStyle>(style);
    self->m_target = static_cast<NSObject*>(target);
    self->m_action = action;
    return self;
}

void UIBarButtonItem::press()
{
    if (!m_enabled)
        return;
    objc::RefPtr<UIBarButtonItem> protectedThis(this);
    if (auto target = m_target.strong())
        UIKitSendAction(m_action, target.get(), this);
}

nlohmann::json UIBarButtonItem::jsonValue() const
{
    return {
        { "image", m_image ? m_image->jsonValue() : nlohmann::json() },
        { "title", m_title ? m_title->jsonValue() : nlohmann::json() },
        { "style", static_cast<long>(m_style) },
        { "action", m_action ? nlohmann::json(sel_getName(m_action)) : nlohmann::json() },
        { "tintColor", m_tintColor ? m_tintColor->jsonValue() : nlohmann::json() },
    };
}

void UIBarButtonItem::registerRuntimeClass()
{
    Class cls = objc::defineClass<UIBarButtonItem>("UIBarButtonItem", NSObject::staticClass());
    objc::addMethod(cls, "initWithImage:style:target:action:", &initWithImageImp);
    objc::addMethod(cls, "initWithTitle:style:target:action:", &initWithTitleImp);
    objc::addMethod(cls, "setTintColor:", +[](UIBarButtonItem* self, SEL, id color) { self->setTintColor(objc_cast<UIColor>(color)); });
}
