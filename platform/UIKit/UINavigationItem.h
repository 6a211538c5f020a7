#pragma once
// UINavigationItem: what a page shows in the navigation bar while it is on top: a title
// or a title view, bar buttons, the large-title mode and, optionally, its own look.

#include "Foundation/NSString.h"
#include "UIBarButtonItem.h"
#include "UINavigationBarAppearance.h"
#include "UIView.h"

enum UINavigationItemLargeTitleDisplayMode : long {
    UINavigationItemLargeTitleDisplayModeAutomatic = 0,
    UINavigationItemLargeTitleDisplayModeAlways = 1,
    UINavigationItemLargeTitleDisplayModeNever = 2,
};

class UINavigationItem : public NSObject {
    OBJC_INTERFACE(UINavigationItem)
public:
    UINavigationItem() = default;

    NSString* title() const { return m_title.get(); }
    void setTitle(NSString* title) { m_title = title; }
    // A view shown in place of the title; the item keeps it.
    UIView* titleView() const { return m_titleView.get(); }
    void setTitleView(UIView*);
    UIBarButtonItem* rightBarButtonItem() const { return m_rightBarButtonItem.get(); }
    void setRightBarButtonItem(UIBarButtonItem*);
    UIBarButtonItem* leftBarButtonItem() const { return m_leftBarButtonItem.get(); }
    void setLeftBarButtonItem(UIBarButtonItem* item) { m_leftBarButtonItem = item; }
    UINavigationItemLargeTitleDisplayMode largeTitleDisplayMode() const { return m_largeTitleDisplayMode; }
    void setLargeTitleDisplayMode(UINavigationItemLargeTitleDisplayMode mode) { m_largeTitleDisplayMode = mode; }
    // Nil: the bar's own look applies.
    UINavigationBarAppearance* standardAppearance() const { return m_standardAppearance.get(); }
    void setStandardAppearance(UINavigationBarAppearance* appearance) { m_standardAppearance = appearance; }

    // These go through the runtime, so a page's code and hooks meet the same methods.
    void sendSetRightBarButtonItem(UIBarButtonItem*);
    void sendSetTitleView(UIView*);
    UIView* sendTitleView();

    static void registerRuntimeClass();

private:
    objc::RefPtr<NSString> m_title;
    objc::RefPtr<UIView> m_titleView;
    objc::RefPtr<UIBarButtonItem> m_rightBarButtonItem;
    objc::RefPtr<UIBarButtonItem> m_leftBarButtonItem;
    UINavigationItemLargeTitleDisplayMode m_largeTitleDisplayMode = UINavigationItemLargeTitleDisplayModeAutomatic;
    objc::RefPtr<UINavigationBarAppearance> m_standardAppearance;
};
