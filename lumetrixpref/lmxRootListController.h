#pragma once
// The pane's root page: the settings list under a header picture with a still preview
// of the home-bar player, a title view with the pane's name, a respring button, and the
// reset action of the list's last button.

#include "CepheiPrefs/HBRootListController.h"
#include "UIKit/UIBarButtonItem.h"
#include "UIKit/UINavigationBar.h"
#include "UIKit/UIImageView.h"
#include "UIKit/UILabel.h"
#include "UIKit/UIProgressView.h"
#include "UIKit/UIView.h"

#include <optional>

class lmxRootListController : public HBRootListController {
    OBJC_INTERFACE(lmxRootListController)
public:
    lmxRootListController() = default;

    // The properties, read and written through the runtime as the pane's own code does.
    UIBarButtonItem* respringButton() const { return m_respringButton.get(); }
    UIProgressView* progressView() const { return m_progressView.get(); }
    UIView* headerView() const { return m_headerView.get(); }
    UIImageView* headerImageView() const { return m_headerImageView.get(); }
    UILabel* titleLabel() const { return m_titleLabel.get(); }
    UIImageView* iconView() const { return m_iconView.get(); }

    static void registerRuntimeClass();

private:
    static id specifiersImp(lmxRootListController*, SEL);
    static unsigned long largeTitleStyleImp(lmxRootListController*, SEL);
    static id initImp(lmxRootListController*, SEL);
    static void respringImp(lmxRootListController*, SEL, id sender);
    static void resetPrefsImp(lmxRootListController*, SEL);
    static void setPreferenceValueImp(lmxRootListController*, SEL, id value, id specifier);
    static void viewDidLoadImp(lmxRootListController*, SEL);
    static id cellForRowImp(lmxRootListController*, SEL, id tableView, id indexPath);
    static void viewWillAppearImp(lmxRootListController*, SEL, bool animated);
    static void viewDidAppearImp(lmxRootListController*, SEL, bool animated);
    static void viewWillDisappearImp(lmxRootListController*, SEL, bool animated);

    void buildTitleView();
    void buildPreview();
    // The bar of the navigation controller that holds this page's navigation controller
    // (the Settings app's own), or null.
    UINavigationBar* outerNavigationBar();

    // The Settings app's bar as it was before this page styled it, put back when the page
    // goes, so the rest of Settings keeps its own look (and titles readable in dark mode).
    struct BarLook {
        objc::RefPtr<UIColor> barTintColor;
        objc::RefPtr<UIImage> shadowImage;
        objc::RefPtr<UIColor> tintColor;
        bool translucent = true;
        objc::RefPtr<NSDictionary> titleTextAttributes;
    };
    std::optional<BarLook> m_barBeforeAppearing;

    objc::RefPtr<UIBarButtonItem> m_respringButton;
    objc::RefPtr<UIProgressView> m_progressView;
    objc::RefPtr<UIView> m_headerView;
    objc::RefPtr<UIImageView> m_headerImageView;
    objc::RefPtr<UILabel> m_titleLabel;
    objc::RefPtr<UIImageView> m_iconView;
};
