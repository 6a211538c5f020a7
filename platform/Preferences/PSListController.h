#pragma once
// PSListController: a settings page: a table of specifiers, usually read from a
// specifier list in the page's bundle. It is the table's data source and delegate, reads
// each value cell's value with readPreferenceValue: and stores what the user sets with
// setPreferenceValue:specifier:, both through the runtime so subclasses (Cephei's
// controllers) may replace where values live.
//
// Values a user types into a numeric text cell are checked before anything is stored: a
// text that is not a number is refused, the cell says why and shows the stored value
// again. (The system's numeric keyboard makes such input rare on a device; a simulated
// user can type anything.)

#include "Foundation/NSArray.h"
#include "Foundation/NSBundle.h"
#include "Foundation/NSIndexPath.h"
#include "PSSpecifier.h"
#include "PSTableCell.h"
#include "UIKit/UITableView.h"
#include "UIKit/UIViewController.h"

#include <string>
#include <vector>

class PSListController : public UIViewController {
    OBJC_INTERFACE(PSListController)
public:
    PSListController() = default;

    // -specifiers (through the runtime). The base gives the specifiers it holds (none
    // until someone sets or loads them); a page's subclass loads its list here.
    NSArray* specifiers();
    // -loadSpecifiersFromPlistName:target: (through the runtime): the specifiers of
    // "<name>.plist" in the page's bundle, each with `target` as its target; the list's
    // title becomes the page's title. Empty, with the reason logged, when the list is
    // missing or unreadable.
    objc::RefPtr<NSMutableArray> loadSpecifiersFromPlistName(NSString* name, NSObject* target);
    // -setSpecifiers:: the page shows these (a page made in code rather than from a list).
    void setSpecifiers(NSArray*);
    // Drops the specifiers (a page loads them again when asked) and reloads the table.
    void reloadSpecifiers();

    // The bundle whose executable defines this page's class.
    NSBundle* bundle() const;
    // The specifier that opened this page (a link), if any.
    PSSpecifier* specifier() const { return m_specifier.get(); }
    void setSpecifier(PSSpecifier* specifier) { m_specifier = specifier; }
    // The page's table: its view, made when the view loads.
    UITableView* table() const { return m_table.get(); }

    PSSpecifier* specifierForID(const std::string& identifier);
    objc::RefPtr<NSIndexPath> indexPathForSpecifier(const PSSpecifier*);
    // The row now showing the specifier, or null.
    PSTableCell* cellForSpecifier(const PSSpecifier*);

    // -readPreferenceValue: and -setPreferenceValue:specifier:, through the runtime.
    NSObject* readPreferenceValue(PSSpecifier*);
    void setPreferenceValue(NSObject* value, PSSpecifier*);

    // Why the last input was refused or could not be saved; empty once one is saved.
    const std::string& inputProblem() const { return m_inputProblem; }

    static void registerRuntimeClass();

protected:
    // Refuses what the user typed into `specifier`'s cell: says why in the log and on the
    // cell (the whole `problem` kept, `redLine` shown under the label), shows the stored
    // value again and stores nothing. For pages that check their values themselves before
    // handing them to setPreferenceValue:specifier:.
    void refuseInput(PSSpecifier*, const std::string& problem, const std::string& redLine = PSTableCell::kNotANumber);

    // Where values live. The Preferences framework's own: the domain's file under
    // /var/mobile/Library/Preferences, then the specifier's "PostNotification".
    // storeValue answers why the value could not be saved, or nothing once it was.
    virtual objc::RefPtr<NSObject> storedValue(PSSpecifier*);
    virtual std::string storeValue(NSObject*, PSSpecifier*);

    // The page's specifiers, as the framework keeps them (its _specifiers); nil until
    // loaded.
    objc::RefPtr<NSMutableArray> m_specifiers;

private:
    struct Section {
        PSSpecifier* group = nullptr;
        std::vector<PSSpecifier*> rows;
    };

    static id specifiersImp(PSListController*, SEL);
    static id loadSpecifiersImp(PSListController*, SEL, id name, id target);
    static id readPreferenceValueImp(PSListController*, SEL, id specifier);
    static void setPreferenceValueImp(PSListController*, SEL, id value, id specifier);
    static void loadViewImp(PSListController*, SEL);
    static void viewWillAppearImp(PSListController*, SEL, bool animated);
    static long numberOfSectionsImp(PSListController*, SEL, id table);
    static long numberOfRowsImp(PSListController*, SEL, id table, long section);
    static id cellForRowImp(PSListController*, SEL, id table, id indexPath);
    static id titleForHeaderImp(PSListController*, SEL, id table, long section);
    static id titleForFooterImp(PSListController*, SEL, id table, long section);
    static void didSelectRowImp(PSListController*, SEL, id table, id indexPath);

    const std::vector<Section>& sections();
    PSSpecifier* specifierAtIndexPath(const NSIndexPath*);
    // A refusal message for `value` typed into `specifier`'s cell, or empty if it may be stored.
    std::string checkInput(NSObject* value, PSSpecifier*) const;

    objc::RefPtr<PSSpecifier> m_specifier;
    objc::RefPtr<UITableView> m_table;
    // The array the sections were made from, kept so their borrowed specifiers stay alive.
    objc::RefPtr<NSArray> m_sectionSource;
    std::vector<Section> m_sections;
    std::string m_inputProblem;
};
