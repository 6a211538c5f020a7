#include "SettingsApp.h"

#include "CepheiPrefs/HBListController.h"
#include "CepheiPrefs/HBRespringController.h"
#include "Foundation/NSNumber.h"
#include "Platform/Platform.h"
#include "Preferences/PSListController.h"
#include "UIKit/UIImageView.h"
#include "UIKit/UILabel.h"
#include "UIKit/UINavigationController.h"
#include "UIKit/UIProgressView.h"
#include "UIKit/UIScreen.h"
#include "UIKit/UIViewControllerContainment.h"
#include "UIKit/UIVisualEffectView.h"
#include "UIKit/UIWindow.h"

#include <charconv>
#include <cstring>

namespace sim {

namespace {

nlohmann::json jsonOrNull(const NSObject* object)
{
    return object ? object->jsonValue() : nlohmann::json();
}

nlohmann::json rectJSON(CGRect rect)
{
    return { rect.origin.x, rect.origin.y, rect.size.width, rect.size.height };
}

// A view and its subviews, with frames in `space`'s coordinates.
nlohmann::json describeView(const UIView* view, const UIView* space)
{
    nlohmann::json node = {
        { "class", class_getName(view->getClass()) },
        { "frame", rectJSON(view->convertRectToView(view->bounds(), space)) },
        { "hidden", view->isHidden() },
        { "alpha", view->alpha() },
        { "backgroundColor", jsonOrNull(view->backgroundColor()) },
        { "cornerRadius", view->layer()->cornerRadius() },
        { "masksToBounds", view->layer()->masksToBounds() },
    };
    if (auto image = objc_cast<UIImageView>(const_cast<UIView*>(view))) {
        node["image"] = jsonOrNull(image->image());
        node["contentMode"] = static_cast<long>(image->contentMode());
        node["tintColor"] = jsonOrNull(image->tintColor());
        auto t = image->transform();
        node["transform"] = { t.a, t.b, t.c, t.d, t.tx, t.ty };
    }
    if (auto label = objc_cast<UILabel>(const_cast<UIView*>(view))) {
        node["text"] = jsonOrNull(label->text());
        node["textColor"] = jsonOrNull(label->textColor());
        node["font"] = jsonOrNull(label->font());
        node["marqueeEnabled"] = label->marqueeEnabled();
        node["marqueeRunning"] = label->marqueeRunning();
    }
    if (auto progress = objc_cast<UIProgressView>(const_cast<UIView*>(view))) {
        node["progress"] = progress->progress();
        node["progressViewStyle"] = static_cast<long>(progress->progressViewStyle());
        node["progressTintColor"] = jsonOrNull(progress->progressTintColor());
        node["trackTintColor"] = jsonOrNull(progress->trackTintColor());
        node["clipsToBounds"] = progress->clipsToBounds();
    }
    if (auto effect = objc_cast<UIVisualEffectView>(const_cast<UIView*>(view))) {
        node["effect"] = jsonOrNull(effect->effect());
        node["autoresizingMask"] = effect->autoresizingMask();
        return node; // its content view is an implementation detail
    }
    nlohmann::json subviews = nlohmann::json::array();
    for (auto& subview : view->subviews())
        subviews.push_back(describeView(subview.get(), space));
    node["subviews"] = subviews;
    return node;
}

const char* cellKind(PSCellType type)
{
    switch (type) {
    case PSGroupCell:
        return "group";
    case PSSwitchCell:
        return "switch";
    case PSEditTextCell:
    case PSSecureEditTextCell:
        return "text";
    case PSButtonCell:
        return "button";
    case PSLinkCell:
        return "link";
    default:
        return "other";
    }
}

std::string typedText(double number)
{
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
    return std::string(buffer, result.ptr);
}

} // namespace

SettingsApp::SettingsApp(const std::string& deviceRoot, platform::RunLoop::ClockMode clockMode, double startTime)
{
    platform::setDeviceRoot(deviceRoot);
    platform::setProcessName("Preferences");
    platform::registerClasses();
    m_runLoop = std::make_unique<platform::RunLoop>(clockMode, startTime);
    HBRespringController::setRespringHandler([this](NSURL* url) {
        std::string returnURL = url ? url->absoluteString()->string() : std::string();
        if (m_respringHandler)
            m_respringHandler(returnURL);
        else
            m_pendingRespring = returnURL;
    });
    objc::AutoreleasePool pool;
    m_entries = loadPreferenceLoaderEntries(&m_loadProblems);
    buildNavigation();
}

SettingsApp::~SettingsApp()
{
    HBRespringController::setRespringHandler({});
    if (m_window)
        m_window->setHidden(true);
}

// The Settings app's own navigation controller holds the navigation controller of its
// list of panes; a pane is pushed onto the inner one and finds the app's bar, which is
// the one on screen, two navigation controllers up.
void SettingsApp::buildNavigation()
{
    auto list = objc::createInstance(PSListController::staticClass());
    m_rootList = objc_cast<PSListController>(objc_msgSend<id>(list.get(), "init"_sel));
    UIViewControllerContainment::navigationItem(m_rootList.get())->setTitle(NSString::create("Settings").get());
    auto specifiers = NSMutableArray::create();
    specifiers->addObject(PSSpecifier::groupSpecifierWithName(NSString::create("Tweaks").get()).get());
    for (auto& entry : m_entries) {
        entry.specifier->setTarget(m_rootList.get());
        specifiers->addObject(entry.specifier.get());
    }
    m_rootList->setSpecifiers(specifiers.get());

    m_inner = UINavigationController::alloc();
    m_inner->initWithRootViewController(m_rootList.get());
    m_inner->setNavigationBarHidden(true);
    m_outer = UINavigationController::alloc();
    m_outer->initWithRootViewController(m_inner.get());

    m_window = UIWindow::alloc();
    m_window->initWithFrame(UIScreen::mainScreen()->bounds());
    m_window->setRootViewController(m_outer.get());
    m_window->makeKeyAndVisible();
    // The window coming on screen is the app's navigation appearing.
    UIViewControllerContainment::viewWillAppear(m_outer.get(), false);
    UIViewControllerContainment::viewDidAppear(m_outer.get(), false);
    UIView::layoutPendingViews();
}

PreferenceLoaderEntry* SettingsApp::entryLabelled(const std::string& label)
{
    for (auto& entry : m_entries) {
        if (entry.specifier->name()->string() == label)
            return &entry;
    }
    return nullptr;
}

std::string SettingsApp::open(const std::string& root)
{
    objc::AutoreleasePool pool;
    PreferenceLoaderEntry* entry = entryLabelled(root);
    if (!entry)
        return "Settings has no pane named \"" + root + "\"";
    if (m_pane && m_pane->specifier() == entry->specifier.get())
        return {};
    if (m_pane)
        closePane();
    if (std::string problem = prepareEntryForOpening(*entry); !problem.empty())
        return problem;
    auto indexPath = m_rootList->indexPathForSpecifier(entry->specifier.get());
    m_rootList->table()->selectRowByUser(indexPath.get());
    auto top = objc_cast<PSListController>(m_inner->topViewController());
    if (!top || top == m_rootList.get())
        return "the pane \"" + root + "\" did not open: its controller could not be made";
    m_pane = top;
    UIView::layoutPendingViews();
    return {};
}

std::string SettingsApp::openURL(const std::string& url)
{
    constexpr std::string_view prefix = "prefs:root=";
    if (url.rfind(prefix, 0) != 0)
        return "the Settings app does not open \"" + url + "\"";
    std::string root = url.substr(prefix.size());
    root = root.substr(0, root.find_first_of("&/"));
    return open(root);
}

void SettingsApp::closePane()
{
    if (!m_pane)
        return;
    objc::AutoreleasePool pool;
    m_inner->popViewController(true);
    m_pane = nullptr;
    UIView::layoutPendingViews();
}

void SettingsApp::fitToScreen()
{
    objc::AutoreleasePool pool;
    m_window->setFrame(UIScreen::mainScreen()->bounds());
    m_outer->layoutContent();
    UIView::layoutPendingViews();
}

std::string SettingsApp::setValue(const std::string& key, const Value& value)
{
    if (!m_pane)
        return "the pane is not open";
    objc::AutoreleasePool pool;
    PSSpecifier* specifier = m_pane->specifierForID(key);
    PSTableCell* cell = specifier ? m_pane->cellForSpecifier(specifier) : nullptr;
    if (!cell)
        return "the pane has no cell for \"" + key + "\"";
    if (UISwitch* toggle = cell->switchControl()) {
        bool on = false;
        if (auto flag = std::get_if<bool>(&value))
            on = *flag;
        else if (auto number = std::get_if<double>(&value))
            on = *number != 0;
        else
            return "\"" + key + "\" is a switch: it takes true or false";
        if (toggle->isOn() == on)
            return {};
        toggle->toggleByUser();
        // A change the store could not save is on the cell, as a refused number is.
        return m_pane->inputProblem();
    }
    if (UITextField* field = cell->textField()) {
        std::string text;
        if (auto number = std::get_if<double>(&value))
            text = typedText(*number);
        else if (auto typed = std::get_if<std::string>(&value))
            text = *typed;
        else
            text = std::get<bool>(value) ? "true" : "false";
        field->editByUser(text);
        return m_pane->inputProblem();
    }
    return "the cell for \"" + key + "\" is not one a value can be set in";
}

std::string SettingsApp::pressRespring()
{
    if (!m_pane)
        return "the pane is not open";
    objc::AutoreleasePool pool;
    UIBarButtonItem* button = UIViewControllerContainment::navigationItem(m_pane.get())->rightBarButtonItem();
    if (!button)
        return "the pane has no respring button";
    button->press();
    return {};
}

std::string SettingsApp::pressReset()
{
    if (!m_pane)
        return "the pane is not open";
    objc::AutoreleasePool pool;
    objc::RefPtr<NSArray> specifiers = m_pane->specifiers();
    for (auto& object : specifiers ? specifiers->objects() : std::vector<objc::RefPtr<NSObject>> {}) {
        auto specifier = objc_cast<PSSpecifier>(object.get());
        if (specifier && specifier->cellType() == PSButtonCell && specifier->buttonAction()
            && !std::strcmp(sel_getName(specifier->buttonAction()), "resetPrefs")) {
            auto indexPath = m_pane->indexPathForSpecifier(specifier);
            m_pane->table()->selectRowByUser(indexPath.get());
            return {};
        }
    }
    return "the pane has no reset row";
}

void SettingsApp::setRespringHandler(RespringHandler handler)
{
    m_respringHandler = std::move(handler);
}

std::optional<std::string> SettingsApp::takeRespringRequest()
{
    return std::exchange(m_pendingRespring, std::nullopt);
}

nlohmann::json SettingsApp::describeHeader() const
{
    UIView* header = m_pane->table() ? m_pane->table()->tableHeaderView() : nullptr;
    if (!header)
        return nullptr;
    nlohmann::json node = describeView(header, header);
    node["frame"] = rectJSON(header->frame());
    return node;
}

nlohmann::json SettingsApp::describeCells() const
{
    nlohmann::json cells = nlohmann::json::array();
    objc::RefPtr<NSArray> specifiers = m_pane->specifiers();
    if (!specifiers)
        return cells;
    for (auto& object : specifiers->objects()) {
        auto specifier = objc_cast<PSSpecifier>(object.get());
        if (!specifier)
            continue;
        nlohmann::json cell = {
            { "type", cellKind(specifier->cellType()) },
            { "cell", PSSpecifier::cellTypeName(specifier->cellType()) },
            { "label", jsonOrNull(specifier->name()) },
        };
        if (specifier->cellType() == PSGroupCell) {
            cell["footer"] = jsonOrNull(specifier->propertyForKey("footerText"));
            cells.push_back(cell);
            continue;
        }
        if (auto key = specifier->propertyForKey("key"))
            cell["key"] = key->jsonValue();
        if (auto fallback = specifier->propertyForKey("default"))
            cell["default"] = fallback->jsonValue();
        if (specifier->cellType() == PSEditTextCell && specifier->boolProperty("isNumeric", false))
            cell["type"] = "number";
        if (specifier->buttonAction())
            cell["action"] = sel_getName(specifier->buttonAction());
        PSTableCell* row = m_pane->cellForSpecifier(specifier);
        if (row && row->switchControl())
            cell["value"] = row->switchControl()->isOn();
        else if (row && row->textField())
            cell["value"] = row->textField()->text()->string();
        if (row && !row->problem().empty())
            cell["problem"] = row->problem();
        cells.push_back(cell);
    }
    return cells;
}

nlohmann::json SettingsApp::describe()
{
    objc::AutoreleasePool pool;
    UIView::layoutPendingViews();
    if (!m_pane)
        return { { "open", false } };
    UINavigationItem* item = UIViewControllerContainment::navigationItem(m_pane.get());
    nlohmann::json titleView = nullptr;
    if (UIView* view = item->titleView())
        titleView = describeView(view, view);
    auto cepheiPage = objc_cast<HBListController>(m_pane.get());
    HBAppearanceSettings* appearance = cepheiPage ? cepheiPage->appearanceSettings() : nullptr;
    const std::string& problem = m_pane->inputProblem();
    return {
        { "open", true },
        { "page", class_getName(m_pane->getClass()) },
        { "title", jsonOrNull(item->title()) },
        { "titleView", titleView },
        { "rightBarButtonItem", jsonOrNull(item->rightBarButtonItem()) },
        { "largeTitleDisplayMode", static_cast<long>(item->largeTitleDisplayMode()) },
        { "navigationBar", m_outer->navigationBar()->describe(item) },
        { "appearance", jsonOrNull(appearance) },
        { "statusBarTintColor", cepheiPage ? jsonOrNull(cepheiPage->statusBarTintColor()) : nlohmann::json() },
        { "header", describeHeader() },
        { "cells", describeCells() },
        { "message", problem.empty() ? nlohmann::json() : nlohmann::json(problem) },
    };
}

} // namespace sim
