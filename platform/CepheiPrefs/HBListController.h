#pragma once
// HBListController: Cephei's settings page. Values live in Cephei's settings store
// (HBPreferences) for the specifier's "defaults" domain, so a running SpringBoard that
// has the same domain open hears every change; and the page styles itself from its
// appearance settings each time it comes on screen.
//
// The page follows the store: when any process changes a domain its cells show (the
// store's change notification), the table shows the values again.
//
// Styling touches only the page's own things: the tint of its view (switches, buttons),
// its navigation item's look (bar background, opacity, hairline, title colour, large
// titles) and the tint of its bar buttons. The bar object itself is left as it is, so
// the next page shown in it finds it unchanged.

#include "HBAppearanceSettings.h"
#include "Preferences/PSListController.h"

#include <string>
#include <utility>
#include <vector>

class HBListController : public PSListController {
    OBJC_INTERFACE(HBListController)
public:
    HBListController() = default;
    ~HBListController() override;

    // -hb_appearanceSettings and -hb_setAppearanceSettings: (through the runtime).
    HBAppearanceSettings* appearanceSettings();
    void setAppearanceSettings(HBAppearanceSettings*);

    // Reads the appearance settings and styles the page (what viewWillAppear: does).
    void applyAppearance();
    // The status bar colour the page asked for when it last appeared (nil: unchanged).
    UIColor* statusBarTintColor() const { return m_statusBarTintColor.get(); }

    static void registerRuntimeClass();

protected:
    objc::RefPtr<NSObject> storedValue(PSSpecifier*) override;
    std::string storeValue(NSObject*, PSSpecifier*) override;

private:
    static id appearanceSettingsImp(HBListController*, SEL);
    static void setAppearanceSettingsImp(HBListController*, SEL, id settings);
    static void viewWillAppearImp(HBListController*, SEL, bool animated);

    // Listens for changes of every domain the page's cells store into (once per domain).
    void observeStoreChanges();

    objc::RefPtr<HBAppearanceSettings> m_appearanceSettings;
    objc::RefPtr<UIColor> m_statusBarTintColor;
    std::vector<std::pair<std::string, int>> m_observedDomains; // domain, notify token
};
