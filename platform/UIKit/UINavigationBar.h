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

    // What the bar shows, bottom first: its own items, except that when the page on top
    // is a navigation controller whose own bar is hidden (the Settings app nests its
    // panes' navigation this way), that inner stack's items stand in for the page's item,
    // so the pane's title and a back button to the list show on the bar that is on screen.
    std::vector<UINavigationItem*> shownItems() const;
    UINavigationItem* shownTopItem() const;
    // The item under the top one, whose title the back button shows; null at the root.
    UINavigationItem* shownBackItem() const;

    // Where layout put the shown top item's content, in the bar's coordinates: the back
    // button (chevron and title), the right bar button, the title (or the title view,
    // which layout makes a subview of the bar, as UIKit does). Empty when absent.
    CGRect backButtonFrame() const { return m_backButtonFrame; }
    CGRect rightButtonFrame() const { return m_rightButtonFrame; }
    CGRect titleFrame() const { return m_titleFrame; }

    // The look with `shownItem` on top: the item's own appearance wins over the bar's
    // properties. Nil background: the system's bar colour.
    UIColor* shownBackgroundColor(const UINavigationItem* shownItem) const;
    NSDictionary* shownTitleTextAttributes(const UINavigationItem* shownItem) const;
    bool isShownOpaque(const UINavigationItem* shownItem) const;
    bool isShownShadowHidden(const UINavigationItem* shownItem) const;

    // The bar's own properties and how it looks with `shownItem` on top (a nested
    // navigation shows an inner page's item on the outer bar): "backgroundColor",
    // "titleTextAttributes", "shadowHidden", "opaque", "tintColor".
    nlohmann::json describe(const UINavigationItem* shownItem) const;

    static void registerRuntimeClass();

    static constexpr CGFloat kBackChevronWidth = 13;
    static constexpr CGFloat kTitleFontSize = 17;

private:
    static void layoutSubviewsImp(UINavigationBar*, SEL);
    void layoutContent();
    // The hidden bar of a navigation controller that is the top page under this bar, and
    // the reverse: the bar shown over this (hidden) one.
    UINavigationBar* nestedBar() const;
    UINavigationBar* enclosingBar() const;
    void itemsChanged();

    objc::RefPtr<UIColor> m_barTintColor;
    objc::RefPtr<UIImage> m_shadowImage;
    bool m_translucent = true;
    objc::RefPtr<NSDictionary> m_titleTextAttributes;
    std::vector<objc::RefPtr<UINavigationItem>> m_items;
    // The title view layout placed in the bar (owned by its item).
    objc::WeakPtr<UIView> m_shownTitleView;
    CGSize m_titleViewOwnSize = CGSizeZero;
    CGRect m_backButtonFrame = CGRectZero;
    CGRect m_rightButtonFrame = CGRectZero;
    CGRect m_titleFrame = CGRectZero;
};
