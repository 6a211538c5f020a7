#pragma once
// PSSpecifier: one entry of a settings page: a group, a switch, a text field, a button,
// a link to another page. What the entry stores and where comes from its properties
// ("key", "defaults", "default", "PostNotification", ...), as a specifier list states
// them; the target, getter and setter say who reads and writes the value.

#include "Foundation/NSDictionary.h"
#include "Foundation/NSString.h"

#include <string_view>

enum PSCellType : long {
    PSGroupCell = 0,
    PSLinkCell = 1,
    PSLinkListCell = 2,
    PSListItemCell = 3,
    PSTitleValueCell = 4,
    PSSliderCell = 5,
    PSSwitchCell = 6,
    PSStaticTextCell = 7,
    PSEditTextCell = 8,
    PSSegmentCell = 9,
    PSGiantIconCell = 10,
    PSGiantCell = 11,
    PSSecureEditTextCell = 12,
    PSButtonCell = 13,
    PSEditTextViewCell = 14,
};

class PSSpecifier : public NSObject {
    OBJC_INTERFACE(PSSpecifier)
public:
    PSSpecifier() = default;

    // +preferenceSpecifierNamed:target:set:get:detail:cell:edit:
    static objc::RefPtr<PSSpecifier> preferenceSpecifierNamed(NSString* name, NSObject* target, SEL setter, SEL getter,
        Class detail, PSCellType, Class edit);
    // +groupSpecifierWithName:
    static objc::RefPtr<PSSpecifier> groupSpecifierWithName(NSString* name);

    // The cell type a specifier list names ("PSSwitchCell" -> PSSwitchCell), or -1.
    static long cellTypeNamed(std::string_view);
    static const char* cellTypeName(PSCellType);

    NSString* name() const { return m_name.get(); }
    void setName(NSString* name) { m_name = name; }
    // The "id" of the entry, else its key, else its name.
    NSString* identifier() const;
    void setIdentifier(NSString* identifier) { m_identifier = identifier; }
    PSCellType cellType() const { return m_cellType; }
    void setCellType(PSCellType type) { m_cellType = type; }

    // Not retained: the target (a list controller) keeps its specifiers.
    NSObject* target() const { return m_target.get(); }
    void setTarget(NSObject* target) { m_target = target; }
    SEL setter() const { return m_setter; }
    SEL getter() const { return m_getter; }
    void setAccessors(SEL setter, SEL getter)
    {
        m_setter = setter;
        m_getter = getter;
    }
    // The selector a button sends to its target.
    SEL buttonAction() const { return m_buttonAction; }
    void setButtonAction(SEL action) { m_buttonAction = action; }
    // The controller a link opens.
    Class detailControllerClass() const { return m_detailControllerClass; }
    void setDetailControllerClass(Class cls) { m_detailControllerClass = cls; }

    NSMutableDictionary* properties() const { return m_properties.get(); }
    NSObject* propertyForKey(std::string_view key) const { return m_properties->objectForKey(key); }
    void setProperty(NSObject* value, std::string_view key);
    // A string property as UTF-8, or empty.
    std::string stringProperty(std::string_view key) const;
    // A property read as a boolean (a number or a "YES"-like string), else `fallback`.
    bool boolProperty(std::string_view key, bool fallback) const;

    std::string descriptionString() const override;

    static void registerRuntimeClass();

private:
    objc::RefPtr<NSString> m_name;
    objc::RefPtr<NSString> m_identifier;
    PSCellType m_cellType = PSGroupCell;
    objc::WeakPtr<NSObject> m_target;
    SEL m_setter = nullptr;
    SEL m_getter = nullptr;
    SEL m_buttonAction = nullptr;
    Class m_detailControllerClass = nullptr;
    objc::RefPtr<NSMutableDictionary> m_properties = NSMutableDictionary::create();
};
