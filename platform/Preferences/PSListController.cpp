#include "PSListController.h"

#include "CoreFoundation/CFPreferences.h"
#include "Foundation/NSLog.h"
#include "Foundation/NSNumber.h"
#include "Foundation/PropertyList.h"
#include "PSSpecifierList.h"
#include "Platform/Platform.h"
#include "UIKit/UINavigationController.h"
#include "UIKit/UINavigationItem.h"
#include "UIKit/UIScreen.h"
#include "UIKit/UIViewControllerContainment.h"
#include "notify/notify.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

namespace {

std::string trimmed(const std::string& text)
{
    auto begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string::npos)
        return {};
    auto end = text.find_last_not_of(" \t\r\n");
    return text.substr(begin, end - begin + 1);
}

// A decimal number and nothing else ("12", "-0.5", "1e3"); not "", "12abc", "inf", "0x1A".
bool isDecimalNumber(const std::string& text)
{
    if (text.empty())
        return false;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c)) && c != '.' && c != '-' && c != '+' && c != 'e' && c != 'E')
            return false;
    }
    char* end = nullptr;
    double value = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size() && std::isfinite(value);
}

} // namespace

// MARK: Specifiers

NSArray* PSListController::specifiers()
{
    return static_cast<NSArray*>(objc_msgSend<id>(this, "specifiers"_sel));
}

id PSListController::specifiersImp(PSListController* self, SEL)
{
    return self->m_specifiers.get();
}

objc::RefPtr<NSMutableArray> PSListController::loadSpecifiersFromPlistName(NSString* name, NSObject* target)
{
    return objc::RefPtr<NSMutableArray>(static_cast<NSMutableArray*>(objc_msgSend<id>(this, "loadSpecifiersFromPlistName:target:"_sel,
        static_cast<id>(name), static_cast<id>(target))));
}

id PSListController::loadSpecifiersImp(PSListController* self, SEL, id nameObject, id target)
{
    auto name = objc_cast<NSString>(nameObject);
    NSBundle* bundle = self->bundle();
    auto path = bundle && name ? bundle->pathForResource(name, NSString::create("plist").get()) : nullptr;
    auto result = NSMutableArray::create();
    if (!path) {
        NSLog("Preferences: no specifier list \"%s.plist\" in %s", name ? name->UTF8String() : "(null)",
            bundle ? bundle->bundlePath().c_str() : "this page's bundle (none is loaded for its class)");
        return objc_autorelease(result.leakRef());
    }
    auto plist = platform::readPropertyList(platform::devicePath(path->string()));
    if (!plist.value) {
        NSLog("Preferences: cannot read %s: %s", path->UTF8String(), plist.error.c_str());
        return objc_autorelease(result.leakRef());
    }
    auto list = PSSpecifiersFromPlist(objc_cast<NSDictionary>(plist.value.get()), static_cast<NSObject*>(target));
    for (auto& problem : list.problems)
        NSLog("Preferences: %s: %s", path->UTF8String(), problem.c_str());
    if (list.title)
        UIViewControllerContainment::navigationItem(self)->setTitle(list.title.get());
    return objc_autorelease(list.specifiers.leakRef());
}

void PSListController::setSpecifiers(NSArray* specifiers)
{
    m_specifiers = specifiers ? specifiers->mutableCopy() : nullptr;
    if (m_table)
        m_table->reloadData();
}

void PSListController::reloadSpecifiers()
{
    m_specifiers = nullptr;
    if (m_table)
        m_table->reloadData();
}

NSBundle* PSListController::bundle() const
{
    return NSBundle::bundleForClass(getClass());
}

const std::vector<PSListController::Section>& PSListController::sections()
{
    objc::RefPtr<NSArray> all = specifiers();
    m_sectionSource = all;
    m_sections.clear();
    if (!all)
        return m_sections;
    for (auto& object : all->objects()) {
        auto specifier = objc_cast<PSSpecifier>(object.get());
        if (!specifier)
            continue;
        if (specifier->cellType() == PSGroupCell) {
            m_sections.push_back({ specifier, {} });
            continue;
        }
        if (m_sections.empty())
            m_sections.push_back({});
        m_sections.back().rows.push_back(specifier);
    }
    return m_sections;
}

PSSpecifier* PSListController::specifierAtIndexPath(const NSIndexPath* indexPath)
{
    auto& all = sections();
    if (!indexPath || indexPath->section() < 0 || indexPath->section() >= static_cast<long>(all.size()))
        return nullptr;
    auto& rows = all[indexPath->section()].rows;
    if (indexPath->row() < 0 || indexPath->row() >= static_cast<long>(rows.size()))
        return nullptr;
    return rows[indexPath->row()];
}

PSSpecifier* PSListController::specifierForID(const std::string& identifier)
{
    objc::RefPtr<NSArray> all = specifiers();
    if (!all)
        return nullptr;
    for (auto& object : all->objects()) {
        auto specifier = objc_cast<PSSpecifier>(object.get());
        if (specifier && specifier->identifier() && specifier->identifier()->string() == identifier)
            return specifier;
    }
    return nullptr;
}

objc::RefPtr<NSIndexPath> PSListController::indexPathForSpecifier(const PSSpecifier* specifier)
{
    auto& all = sections();
    for (std::size_t section = 0; section < all.size(); ++section) {
        for (std::size_t row = 0; row < all[section].rows.size(); ++row) {
            if (all[section].rows[row] == specifier)
                return NSIndexPath::indexPathForRow(static_cast<long>(row), static_cast<long>(section));
        }
    }
    return nullptr;
}

PSTableCell* PSListController::cellForSpecifier(const PSSpecifier* specifier)
{
    auto indexPath = indexPathForSpecifier(specifier);
    return m_table && indexPath ? objc_cast<PSTableCell>(m_table->cellForRowAtIndexPath(indexPath.get())) : nullptr;
}

// MARK: Values

NSObject* PSListController::readPreferenceValue(PSSpecifier* specifier)
{
    return static_cast<NSObject*>(objc_msgSend<id>(this, "readPreferenceValue:"_sel, static_cast<id>(specifier)));
}

void PSListController::setPreferenceValue(NSObject* value, PSSpecifier* specifier)
{
    objc_msgSend(this, "setPreferenceValue:specifier:"_sel, static_cast<id>(value), static_cast<id>(specifier));
}

id PSListController::readPreferenceValueImp(PSListController* self, SEL, id object)
{
    auto specifier = objc_cast<PSSpecifier>(object);
    if (!specifier)
        return nullptr;
    auto value = self->storedValue(specifier);
    if (!value)
        return specifier->propertyForKey("default");
    return objc_autorelease(value.leakRef());
}

std::string PSListController::checkInput(NSObject* value, PSSpecifier* specifier) const
{
    auto text = objc_cast<NSString>(value);
    if (!text || !specifier->boolProperty("isNumeric", false))
        return {};
    if (isDecimalNumber(trimmed(text->string())))
        return {};
    std::string label = specifier->name() ? specifier->name()->string() : specifier->stringProperty("key");
    return "\"" + label + "\" takes a number, such as 20 or 2.5; \"" + text->string() + "\" is not one, so nothing was saved.";
}

void PSListController::setPreferenceValueImp(PSListController* self, SEL, id valueObject, id specifierObject)
{
    auto specifier = objc_cast<PSSpecifier>(specifierObject);
    if (!specifier)
        return;
    objc::RefPtr<PSListController> protectedThis(self);
    objc::RefPtr<NSObject> value = static_cast<NSObject*>(valueObject);
    PSTableCell* cell = self->cellForSpecifier(specifier);
    std::string problem = self->checkInput(value.get(), specifier);
    if (!problem.empty()) {
        self->refuseInput(specifier, problem);
        return;
    }
    self->m_inputProblem.clear();
    // A number typed with stray blanks is stored as the number's text alone.
    if (auto text = objc_cast<NSString>(value.get()); text && specifier->boolProperty("isNumeric", false))
        value = NSString::create(trimmed(text->string()));
    if (cell)
        cell->setProblem({});
    std::string failure = self->storeValue(value.get(), specifier);
    if (failure.empty())
        return;
    // Not saved: the row says so, like a refused input, and shows what is stored.
    std::string label = specifier->name() ? specifier->name()->string() : specifier->stringProperty("key");
    self->m_inputProblem = "\"" + label + "\" could not be saved (" + failure + ").";
    NSLog("Preferences: %s", self->m_inputProblem.c_str());
    if (cell) {
        cell->setProblem(self->m_inputProblem, "Could not be saved");
        cell->setValue(self->readPreferenceValue(specifier));
    }
}

void PSListController::refuseInput(PSSpecifier* specifier, const std::string& problem, const std::string& redLine)
{
    m_inputProblem = problem;
    NSLog("Preferences: %s", problem.c_str());
    if (PSTableCell* cell = cellForSpecifier(specifier)) {
        cell->setProblem(problem, redLine);
        cell->setValue(readPreferenceValue(specifier));
    }
}

objc::RefPtr<NSObject> PSListController::storedValue(PSSpecifier* specifier)
{
    std::string domain = specifier->stringProperty("defaults");
    std::string key = specifier->stringProperty("key");
    if (domain.empty() || key.empty())
        return nullptr;
    auto file = platform::readPropertyList(platform::preferencesFilePath(domain));
    auto values = objc_cast<NSDictionary>(file.value.get());
    return values ? values->objectForKey(key) : nullptr;
}

std::string PSListController::storeValue(NSObject* value, PSSpecifier* specifier)
{
    std::string domain = specifier->stringProperty("defaults");
    std::string key = specifier->stringProperty("key");
    if (domain.empty() || key.empty()) {
        NSLog("Preferences: \"%s\" has no \"defaults\" domain or \"key\"; its value is not stored", specifier->descriptionString().c_str());
        return "the cell names no domain or key to store it under";
    }
    auto file = platform::readPropertyList(platform::preferencesFilePath(domain));
    auto values = NSMutableDictionary::create();
    auto existing = objc_cast<NSDictionary>(file.value.get());
    if (existing)
        values->addEntriesFromDictionary(existing);
    values->setObject(value, key);
    std::string problem;
    if (!platform::writePreferencesFile(domain, values.get(), !existing && !file.missing, "Preferences", &problem))
        return problem;
    std::string notification = specifier->stringProperty("PostNotification");
    if (!notification.empty())
        notify_post(notification.c_str());
    return {};
}

// MARK: The view and its table

void PSListController::loadViewImp(PSListController* self, SEL)
{
    auto table = UITableView::alloc();
    table->initWithFrame(UIScreen::mainScreen()->bounds(), UITableViewStyleInsetGrouped);
    table->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    table->setDataSource(self);
    table->setDelegate(self);
    self->m_table = table;
    self->setView(table.get());
}

// A page shows the values as they are now each time it comes on screen.
void PSListController::viewWillAppearImp(PSListController* self, SEL cmd, bool animated)
{
    objc_msgSendSuper(UIViewController::staticClass(), self, cmd, animated);
    if (self->m_table)
        self->m_table->reloadData();
}

long PSListController::numberOfSectionsImp(PSListController* self, SEL, id)
{
    return static_cast<long>(self->sections().size());
}

long PSListController::numberOfRowsImp(PSListController* self, SEL, id, long section)
{
    auto& all = self->sections();
    return section >= 0 && section < static_cast<long>(all.size()) ? static_cast<long>(all[section].rows.size()) : 0;
}

id PSListController::cellForRowImp(PSListController* self, SEL, id, id indexPathObject)
{
    PSSpecifier* specifier = self->specifierAtIndexPath(objc_cast<NSIndexPath>(indexPathObject));
    if (!specifier)
        return nullptr;
    auto cell = PSTableCell::alloc();
    auto reuseIdentifier = NSString::create(PSSpecifier::cellTypeName(specifier->cellType()));
    // Value 1: room for the refusal message beside a text cell's label.
    cell->initWithSpecifier(UITableViewCellStyleValue1, reuseIdentifier.get(), specifier);
    if (specifier->getter() && specifier->target())
        cell->setValue(static_cast<NSObject*>(objc_msgSend<id>(specifier->target(), specifier->getter(), static_cast<id>(specifier))));
    return objc_autorelease(cell.leakRef());
}

id PSListController::titleForHeaderImp(PSListController* self, SEL, id, long section)
{
    auto& all = self->sections();
    if (section < 0 || section >= static_cast<long>(all.size()) || !all[section].group)
        return nullptr;
    NSString* name = all[section].group->name();
    return name && name->length() ? name : nullptr;
}

id PSListController::titleForFooterImp(PSListController* self, SEL, id, long section)
{
    auto& all = self->sections();
    if (section < 0 || section >= static_cast<long>(all.size()) || !all[section].group)
        return nullptr;
    return objc_cast<NSString>(all[section].group->propertyForKey("footerText"));
}

// A button sends its action to its target (with the specifier when the action takes an
// argument); a link opens its page on the navigation stack.
void PSListController::didSelectRowImp(PSListController* self, SEL, id, id indexPathObject)
{
    objc::RefPtr<PSListController> protectedThis(self);
    objc::RefPtr<PSSpecifier> specifier = self->specifierAtIndexPath(objc_cast<NSIndexPath>(indexPathObject));
    if (!specifier)
        return;
    if (specifier->cellType() == PSButtonCell) {
        UIKitSendAction(specifier->buttonAction(), specifier->target(), specifier.get());
        return;
    }
    if (specifier->cellType() == PSLinkCell && specifier->detailControllerClass()) {
        auto page = objc::createInstance(specifier->detailControllerClass());
        auto controller = objc_cast<UIViewController>(objc_msgSend<id>(page.get(), "init"_sel));
        if (!controller)
            return;
        if (auto list = objc_cast<PSListController>(controller))
            list->setSpecifier(specifier.get());
        if (auto navigation = UIViewControllerContainment::navigationController(self))
            navigation->pushViewController(controller, true);
    }
}

void PSListController::registerRuntimeClass()
{
    Class cls = objc::defineClass<PSListController>("PSListController", UIViewController::staticClass());
    objc::addMethod(cls, "specifiers", &specifiersImp);
    objc::addMethod(cls, "loadSpecifiersFromPlistName:target:", &loadSpecifiersImp);
    objc::addMethod(cls, "readPreferenceValue:", &readPreferenceValueImp);
    objc::addMethod(cls, "setPreferenceValue:specifier:", &setPreferenceValueImp);
    objc::addMethod(cls, "loadView", &loadViewImp);
    objc::addMethod(cls, "viewWillAppear:", &viewWillAppearImp);
    objc::addMethod(cls, "numberOfSectionsInTableView:", &numberOfSectionsImp);
    objc::addMethod(cls, "tableView:numberOfRowsInSection:", &numberOfRowsImp);
    objc::addMethod(cls, "tableView:cellForRowAtIndexPath:", &cellForRowImp);
    objc::addMethod(cls, "tableView:titleForHeaderInSection:", &titleForHeaderImp);
    objc::addMethod(cls, "tableView:titleForFooterInSection:", &titleForFooterImp);
    objc::addMethod(cls, "tableView:didSelectRowAtIndexPath:", &didSelectRowImp);
    objc::addMethod(cls, "reloadSpecifiers", +[](PSListController* self, SEL) { self->reloadSpecifiers(); });
}
