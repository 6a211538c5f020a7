#pragma once
// UINavigationBar: the bar at the top of a navigation controller. Its own properties are
// its look for every page; a page's navigation item may bring a look of its own
// (UINavigationBarAppearance), which wins while that page is on top, as in iOS 13 and
// later.

#include "Foundation/NSDictionary.h"
#include "UIImage.h"
#include "UINavigationItem.h"
#include "UIView.h"

class UINavigationBar : public UIView {
    OBJC_INTERFACE(UINavigationBar)
public:
    UINavigationBar() = default;

    static constexpr CGFloat kHeight = 44;

    // Nil: the system's bar colour.
    UIColor* barTintColor() const { return m_barTintColor.get(); }
    void setBarTintColor(UIColor* color) { m_barTintColor = color; }
    // Nil: the system's hairline. An empty image removes the hairline.
    UIImage* shadowImage() const { return m_shadowImage.get(); }
    void setShadowImage(UIImage* image) { m_shadowImage = image; }
    bool isTranslucent() const { return m_translucent; }
    void setTranslucent(bool translucent) { m_translucent = translucent; }
    NSDictionary* titleTextAttributes() const { return m_titleTextAttributes.get(); }
    void setTitleTextAttributes(NSDictionary* attributes) { m_titleTextAttributes = attributes; }
    // The tint colour (of the bar's buttons) is UIView's.

    // The items of the pages below it, bottom first; the navigation controller keeps it
    // in step with its stack.
    const std::vector<objc::RefPtr<UINavigationItem>>& items() const { return m_items; }
    UINavigationItem* topItem() const { return m_items.empty() ? nullptr : m_items.back().get(); }
    void pushNavigationItem(UINavigationItem*);
    void popNavigationItem();

    // The bar's own properties and how it looks with `shownItem` on top (a nested
    // navigation shows an inner page's item on the outer bar): "backgroundColor",
    // "titleTextAttributes", "shadowHidden", "opaque", "tintColor".
    nlohmann::json describe(const UINavigationItem* shownItem) const;

    static void registerRuntimeClass();

private:
    objc::RefPtr<UIColor> m_barTintColor;
    objc::RefPtr<UIImage> m_shadowImage;
    bool m_translucent = true;
    objc::RefPtr<NSDictionary> m_titleTextAttributes;
    std::vector<objc::RefPtr<UINavigationItem>> m_items;
};
