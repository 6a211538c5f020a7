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
    objc::defineClass<UILayoutGuide>("UILayoutGuide", NSObject::staticClass());
}
