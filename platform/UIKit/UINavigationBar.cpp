#include "UINavigationBar.h"

namespace {

nlohmann::json jsonOrNull(const NSObject* object)
{
    return object ? object->jsonValue() : nlohmann::json();
}

bool isEmptyImage(const UIImage* image)
{
    return image && !image->isSymbolImage() && image->size().width <= 0 && image->size().height <= 0;
}

bool isClear(const UIColor* color)
{
    return color && color->components().alpha == 0;
}

} // namespace

void UINavigationBar::pushNavigationItem(UINavigationItem* item)
{
    if (item)
        m_items.push_back(item);
}

void UINavigationBar::popNavigationItem()
{
    if (!m_items.empty())
        m_items.pop_back();
}

nlohmann::json UINavigationBar::describe(const UINavigationItem* shownItem) const
{
    const UINavigationBarAppearance* itemLook = shownItem ? shownItem->standardAppearance() : nullptr;
    UIColor* background = itemLook && itemLook->backgroundColor() ? itemLook->backgroundColor() : m_barTintColor.get();
    NSDictionary* titleAttributes = itemLook && itemLook->titleTextAttributes() ? itemLook->titleTextAttributes() : m_titleTextAttributes.get();
    bool shadowHidden = isEmptyImage(m_shadowImage.get()) || (itemLook && isClear(itemLook->shadowColor()));
    bool opaque = !m_translucent || (itemLook && itemLook->isOpaque());
    return {
        { "barTintColor", jsonOrNull(m_barTintColor.get()) },
        { "shadowImage", jsonOrNull(m_shadowImage.get()) },
        { "translucent", m_translucent },
        { "tintColor", jsonOrNull(tintColor()) },
        { "titleTextAttributes", jsonOrNull(m_titleTextAttributes.get()) },
        { "shown", {
            { "backgroundColor", jsonOrNull(background) },
            { "titleTextAttributes", jsonOrNull(titleAttributes) },
            { "shadowHidden", shadowHidden },
            { "opaque", opaque },
        } },
    };
}

void UINavigationBar::registerRuntimeClass()
{
    Class cls = objc::defineClass<UINavigationBar>("UINavigationBar", UIView::staticClass());
    objc::addMethod(cls, "setBarTintColor:", +[](UINavigationBar* self, SEL, id color) { self->setBarTintColor(objc_cast<UIColor>(color)); });
    objc::addMethod(cls, "setShadowImage:", +[](UINavigationBar* self, SEL, id image) { self->setShadowImage(objc_cast<UIImage>(image)); });
    objc::addMethod(cls, "setTintColor:", +[](UINavigationBar* self, SEL, id color) { self->setTintColor(objc_cast<UIColor>(color)); });
    objc::addMethod(cls, "setTranslucent:", +[](UINavigationBar* self, SEL, bool translucent) { self->setTranslucent(translucent); });
    objc::addMethod(cls, "setTitleTextAttributes:", +[](UINavigationBar* self, SEL, id attributes) {
        self->setTitleTextAttributes(objc_cast<NSDictionary>(attributes));
    });
}
