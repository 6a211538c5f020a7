#include "HBListController.h"

#include "Cephei/HBPreferences.h"
#include "UIKit/NSAttributedString.h"
#include "UIKit/UINavigationController.h"
#include "UIKit/UINavigationItem.h"
#include "UIKit/UIViewControllerContainment.h"
#include "dispatch/dispatch.h"
#include "notify/notify.h"

namespace {

objc::RefPtr<HBPreferences> storeFor(PSSpecifier* specifier)
{
    std::string domain = specifier->stringProperty("defaults");
    if (domain.empty() || specifier->stringProperty("key").empty())
        return nullptr;
    return HBPreferences::alloc()->initWithIdentifier(NSString::create(domain).get());
}

} // namespace

HBListController::~HBListController()
{
    for (auto& [domain, token] : m_observedDomains)
        notify_cancel(token);
}

void HBListController::observeStoreChanges()
{
    objc::RefPtr<NSArray> all = specifiers();
    if (!all)
        return;
    for (auto& object : all->objects()) {
        auto specifier = objc_cast<PSSpecifier>(object.get());
        auto store = specifier ? storeFor(specifier) : nullptr;
        if (!store)
            continue;
        std::string domain = store->identifier()->string();
        bool observed = false;
        for (auto& entry : m_observedDomains)
            observed |= entry.first == domain;
        if (observed)
            continue;
        objc::WeakPtr<HBListController> weakThis = this;
        int token = -1;
        notify_register_dispatch(store->changeNotificationName().c_str(), &token, dispatch_get_main_queue(), [weakThis](int) {
            if (auto page = weakThis.strong(); page && page->table())
                page->table()->reloadData();
        });
        m_observedDomains.emplace_back(domain, token);
    }
}

HBAppearanceSettings* HBListController::appearanceSettings()
{
    return static_cast<HBAppearanceSettings*>(objc_msgSend<id>(this, "hb_appearanceSettings"_sel));
}

void HBListController::setAppearanceSettings(HBAppearanceSettings* settings)
{
    objc_msgSend(this, "hb_setAppearanceSettings:"_sel, static_cast<id>(settings));
}

id HBListController::appearanceSettingsImp(HBListController* self, SEL)
{
    return self->m_appearanceSettings.get();
}

void HBListController::setAppearanceSettingsImp(HBListController* self, SEL, id settings)
{
    self->m_appearanceSettings = objc_cast<HBAppearanceSettings>(settings);
}

void HBListController::applyAppearance()
{
    objc::RefPtr<HBAppearanceSettings> appearance = appearanceSettings();
    if (!appearance)
        return;
    if (auto tint = appearance->tintColor())
        view()->setTintColor(tint.get());
    m_statusBarTintColor = appearance->statusBarTintColor();

    UINavigationItem* item = UIViewControllerContainment::navigationItem(this);
    UINavigationController* navigation = UIViewControllerContainment::navigationController(this);
    bool isRoot = navigation && !navigation->viewControllers().empty() && navigation->viewControllers().front().get() == this;
    switch (appearance->largeTitleStyle()) {
    case HBAppearanceSettingsLargeTitleStyleRootOnly:
        item->setLargeTitleDisplayMode(isRoot ? UINavigationItemLargeTitleDisplayModeAlways : UINavigationItemLargeTitleDisplayModeNever);
        break;
    case HBAppearanceSettingsLargeTitleStyleAlways:
        item->setLargeTitleDisplayMode(UINavigationItemLargeTitleDisplayModeAlways);
        break;
    case HBAppearanceSettingsLargeTitleStyleNever:
        item->setLargeTitleDisplayMode(UINavigationItemLargeTitleDisplayModeNever);
        break;
    }

    auto look = UINavigationBarAppearance::create();
    if (appearance->translucentNavigationBar())
        look->configureWithDefaultBackground();
    else
        look->configureWithOpaqueBackground();
    look->setBackgroundColor(appearance->navigationBarBackgroundColor().get());
    if (!appearance->showsNavigationBarShadow())
        look->setShadowColor(UIColor::clearColor().get());
    if (auto titleColor = appearance->navigationBarTitleColor())
        look->setTitleTextAttributes(NSDictionary::create({ { NSForegroundColorAttributeName, titleColor } }).get());
    item->setStandardAppearance(look.get());

    // Bar buttons without a colour of their own take the bar's tint.
    if (auto barTint = appearance->navigationBarTintColor()) {
        for (UIBarButtonItem* button : { item->leftBarButtonItem(), item->rightBarButtonItem() }) {
            if (button && !button->tintColor())
                button->setTintColor(barTint.get());
        }
    }
}

void HBListController::viewWillAppearImp(HBListController* self, SEL cmd, bool animated)
{
    objc_msgSendSuper(PSListController::staticClass(), self, cmd, animated);
    self->applyAppearance();
    self->observeStoreChanges();
}

objc::RefPtr<NSObject> HBListController::storedValue(PSSpecifier* specifier)
{
    auto store = storeFor(specifier);
    if (!store)
        return PSListController::storedValue(specifier);
    // Another process (a scenario, a restore) may have written since the last change
    // notification reached this one.
    store->reload();
    auto key = NSString::create(specifier->stringProperty("key"));
    return objc::RefPtr<NSObject>(store->objectForKey(key.get()));
}

std::string HBListController::storeValue(NSObject* value, PSSpecifier* specifier)
{
    auto store = storeFor(specifier);
    if (!store)
        return PSListController::storeValue(value, specifier);
    store->setObject(value, NSString::create(specifier->stringProperty("key")).get());
    if (!store->writeProblem().empty())
        return store->writeProblem();
    // The store has told its listeners already; a page may name another notification too.
    std::string notification = specifier->stringProperty("PostNotification");
    if (!notification.empty() && notification != store->changeNotificationName())
        notify_post(notification.c_str());
    return {};
}

void HBListController::registerRuntimeClass()
{
    Class cls = objc::defineClass<HBListController>("HBListController", PSListController::staticClass());
    objc::addMethod(cls, "hb_appearanceSettings", &appearanceSettingsImp);
    objc::addMethod(cls, "hb_setAppearanceSettings:", &setAppearanceSettingsImp);
    objc::addMethod(cls, "viewWillAppear:", &viewWillAppearImp);
}
