#include "UINavigationItem.h"

void UINavigationItem::setTitleView(UIView* view)
{
    m_titleView = view;
}

void UINavigationItem::setRightBarButtonItem(UIBarButtonItem* item)
{
    m_rightBarButtonItem = item;
}

void UINavigationItem::sendSetRightBarButtonItem(UIBarButtonItem* item)
{
    objc_msgSend(this, "setRightBarButtonItem:"_sel, static_cast<id>(item));
}

void UINavigationItem::sendSetTitleView(UIView* view)
{
    objc_msgSend(this, "setTitleView:"_sel, static_cast<id>(view));
}

UIView* UINavigationItem::sendTitleView()
{
    return static_cast<UIView*>(objc_msgSend<id>(this, "titleView"_sel));
}

void UINavigationItem::registerRuntimeClass()
{
    Class cls = objc::defineClass<UINavigationItem>("UINavigationItem", NSObject::staticClass());
    objc::addMethod(cls, "titleView", +[](UINavigationItem* self, SEL) -> id { return self->titleView(); });
    objc::addMethod(cls, "setTitleView:", +[](UINavigationItem* self, SEL, id view) { self->setTitleView(objc_cast<UIView>(view)); });
    objc::addMethod(cls, "rightBarButtonItem", +[](UINavigationItem* self, SEL) -> id { return self->rightBarButtonItem(); });
    objc::addMethod(cls, "setRightBarButtonItem:", +[](UINavigationItem* self, SEL, id item) {
        self->setRightBarButtonItem(objc_cast<UIBarButtonItem>(item));
    });
}
