#include "UILayoutGuide.h"

#include "UIView.h"

CGRect UILayoutGuide::layoutFrame() const
{
    if (!m_owningView)
        return CGRectZero;
    return UIEdgeInsetsInsetRect(m_owningView->bounds(), m_owningView->safeAreaInsets());
}

std::string UILayoutGuide::descriptionString() const
{
    return "UILayoutGuide(safeArea of " + (m_owningView ? m_owningView->descriptionString() : std::string("nil")) + ")";
}

void UILayoutGuide::registerRuntimeClass()
{
    Class cls = objc::defineClass<UILayoutGuide>("UILayoutGuide", NSObject::staticClass());
    objc::addMethod(cls, "leadingAnchor", +[](UILayoutGuide* self, SEL) { return static_cast<id>(self->m_anchors.leading(self)); });
    objc::addMethod(cls, "trailingAnchor", +[](UILayoutGuide* self, SEL) { return static_cast<id>(self->m_anchors.trailing(self)); });
    objc::addMethod(cls, "leftAnchor", +[](UILayoutGuide* self, SEL) { return static_cast<id>(self->m_anchors.left(self)); });
    objc::addMethod(cls, "rightAnchor", +[](UILayoutGuide* self, SEL) { return static_cast<id>(self->m_anchors.right(self)); });
    objc::addMethod(cls, "centerXAnchor", +[](UILayoutGuide* self, SEL) { return static_cast<id>(self->m_anchors.centerX(self)); });
    objc::addMethod(cls, "topAnchor", +[](UILayoutGuide* self, SEL) { return static_cast<id>(self->m_anchors.top(self)); });
    objc::addMethod(cls, "bottomAnchor", +[](UILayoutGuide* self, SEL) { return static_cast<id>(self->m_anchors.bottom(self)); });
    objc::addMethod(cls, "centerYAnchor", +[](UILayoutGuide* self, SEL) { return static_cast<id>(self->m_anchors.centerY(self)); });
    objc::addMethod(cls, "widthAnchor", +[](UILayoutGuide* self, SEL) { return static_cast<id>(self->m_anchors.width(self)); });
    objc::addMethod(cls, "heightAnchor", +[](UILayoutGuide* self, SEL) { return static_cast<id>(self->m_anchors.height(self)); });
}
