#pragma once
// HBAppearanceSettings: how a Cephei settings page looks: its tint, the navigation bar's
// colours, translucency and hairline, the status bar's colour and when large titles
// show. A pane subclasses it and overrides the getters; the page reads them through the
// runtime each time it comes on screen, so an override is always what counts.

#include "Foundation/NSObject.h"
#include "UIKit/UIColor.h"

enum HBAppearanceSettingsLargeTitleStyle : unsigned long {
    HBAppearanceSettingsLargeTitleStyleRootOnly = 0,
    HBAppearanceSettingsLargeTitleStyleAlways = 1,
    HBAppearanceSettingsLargeTitleStyleNever = 2,
};

class HBAppearanceSettings : public NSObject {
    OBJC_INTERFACE(HBAppearanceSettings)
public:
    HBAppearanceSettings() = default;

    // Each sends its getter through the runtime. Colours: nil means "leave as it is".
    objc::RefPtr<UIColor> tintColor();
    objc::RefPtr<UIColor> navigationBarTintColor();
    objc::RefPtr<UIColor> navigationBarTitleColor();
    objc::RefPtr<UIColor> navigationBarBackgroundColor();
    objc::RefPtr<UIColor> statusBarTintColor();
    bool translucentNavigationBar();
    bool showsNavigationBarShadow();
    HBAppearanceSettingsLargeTitleStyle largeTitleStyle();

    // The base class's own storage, for code that configures an instance directly.
    void setTintColor(UIColor* color) { m_tintColor = color; }
    void setNavigationBarTintColor(UIColor* color) { m_navigationBarTintColor = color; }
    void setNavigationBarTitleColor(UIColor* color) { m_navigationBarTitleColor = color; }
    void setNavigationBarBackgroundColor(UIColor* color) { m_navigationBarBackgroundColor = color; }
    void setStatusBarTintColor(UIColor* color) { m_statusBarTintColor = color; }
    void setTranslucentNavigationBar(bool translucent) { m_translucentNavigationBar = translucent; }
    void setShowsNavigationBarShadow(bool shows) { m_showsNavigationBarShadow = shows; }
    void setLargeTitleStyle(HBAppearanceSettingsLargeTitleStyle style) { m_largeTitleStyle = style; }

    // The eight values as the getters give them now, colours resolved for the current
    // appearance.
    nlohmann::json jsonValue() const override;

    static void registerRuntimeClass();

private:
    objc::RefPtr<UIColor> m_tintColor;
    objc::RefPtr<UIColor> m_navigationBarTintColor;
    objc::RefPtr<UIColor> m_navigationBarTitleColor;
    objc::RefPtr<UIColor> m_navigationBarBackgroundColor;
    objc::RefPtr<UIColor> m_statusBarTintColor;
    bool m_translucentNavigationBar = true;
    bool m_showsNavigationBarShadow = true;
    HBAppearanceSettingsLargeTitleStyle m_largeTitleStyle = HBAppearanceSettingsLargeTitleStyleRootOnly;
};
