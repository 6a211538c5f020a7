#include "PSSpecifier.h"

#include "Foundation/NSNumber.h"

#include <array>
#include <utility>

namespace {

constexpr std::array<std::pair<const char*, PSCellType>, 15> kCellTypes { {
    { "PSGroupCell", PSGroupCell },
    { "PSLinkCell", PSLinkCell },
    { "PSLinkListCell", PSLinkListCell },
    { "PSListItemCell", PSListItemCell },
    { "PSTitleValueCell", PSTitleValueCell },
    { "PSSliderCell", PSSliderCell },
    { "PSSwitchCell", PSSwitchCell },
    { "PSStaticTextCell", PSStaticTextCell },
    { "PSEditTextCell", PSEditTextCell },
    { "PSSegmentCell", PSSegmentCell },
    { "PSGiantIconCell", PSGiantIconCell },
    { "PSGiantCell", PSGiantCell },
    { "PSSecureEditTextCell", PSSecureEditTextCell },
    { "PSButtonCell", PSButtonCell },
    { "PSEditTextViewCell", PSEditTextViewCell },
} };

} // namespace

objc::RefPtr<PSSpecifier> PSSpecifier::preferenceSpecifierNamed(NSString* name, NSObject* target, SEL setter, SEL getter,
    Class detail, PSCellType cellType, Class)
{
    auto specifier = PSSpecifier::alloc();
    specifier->m_name = name;
    specifier->m_target = target;
    specifier->m_setter = setter;
    specifier->m_getter = getter;
    specifier->m_detailControllerClass = detail;
    specifier->m_cellType = cellType;
    return specifier;
}

objc::RefPtr<PSSpecifier> PSSpecifier::groupSpecifierWithName(NSString* name)
{
    return preferenceSpecifierNamed(name, nullptr, nullptr, nullptr, nullptr, PSGroupCell, nullptr);
}

long PSSpecifier::cellTypeNamed(std::string_view name)
{
    for (auto& [typeName, type] : kCellTypes) {
        if (name == typeName)
            return type;
    }
    return -1;
}

const char* PSSpecifier::cellTypeName(PSCellType type)
{
    for (auto& [typeName, known] : kCellTypes) {
        if (known == type)
            return typeName;
    }
    return "PSUnknownCell";
}

NSString* PSSpecifier::identifier() const
{
    if (m_identifier)
        return m_identifier.get();
    if (auto key = objc_cast<NSString>(propertyForKey("key")))
        return key;
    return m_name.get();
}

void PSSpecifier::setProperty(NSObject* value, std::string_view key)
{
    if (value)
        m_properties->setObject(value, key);
    else
        m_properties->removeObjectForKey(key);
}

std::string PSSpecifier::stringProperty(std::string_view key) const
{
    auto string = objc_cast<NSString>(propertyForKey(key));
    return string ? string->string() : std::string();
}

bool PSSpecifier::boolProperty(std::string_view key, bool fallback) const
{
    NSObject* value = propertyForKey(key);
    if (auto number = objc_cast<NSNumber>(value))
        return number->boolValue();
    if (auto string = objc_cast<NSString>(value))
        return string->boolValue();
    return fallback;
}

std::string PSSpecifier::descriptionString() const
{
    return std::string("<PSSpecifier ") + cellTypeName(m_cellType) + " \"" + (m_name ? m_name->string() : "") + "\">";
}

void PSSpecifier::registerRuntimeClass()
{
    Class cls = objc::defineClass<PSSpecifier>("PSSpecifier", NSObject::staticClass());
    objc::addMethod(cls, "name", +[](PSSpecifier* self, SEL) -> id { return self->name(); });
    objc::addMethod(cls, "identifier", +[](PSSpecifier* self, SEL) -> id { return self->identifier(); });
    objc::addMethod(cls, "properties", +[](PSSpecifier* self, SEL) -> id { return self->properties(); });
    objc::addMethod(cls, "propertyForKey:", +[](PSSpecifier* self, SEL, id key) -> id {
        auto string = objc_cast<NSString>(key);
        return string ? self->propertyForKey(string->string()) : nullptr;
    });
}
