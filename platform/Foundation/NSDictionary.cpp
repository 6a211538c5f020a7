#include "NSDictionary.h"

#include "NSArray.h"
#include "NSString.h"

#include <utility>

using objc::RefPtr;

namespace {

std::string indentation(unsigned level)
{
    return std::string(4 * level, ' ');
}

} // namespace

void NSDictionary::registerClassMethods(Class cls)
{
    objc::addMethod(objc::metaclassOf(cls), "dictionaryWithObjects:forKeys:count:", +[](Class self, SEL, id* objects, id* keys, unsigned long count) -> id {
        // [[self alloc] initWithObjects:forKeys:count:] autoreleased: a subclass gets one of its own.
        auto dictionary = objc::adoptRef(static_cast<NSDictionary*>(objc_msgSend<id>(self, "alloc"_sel)));
        for (unsigned long i = 0; i < count; ++i)
            dictionary->setEntry(static_cast<NSObject*>(objects[i]), static_cast<NSObject*>(keys[i]), "initWithObjects:forKeys:count:");
        return objc_autorelease(dictionary.leakRef());
    });
}

std::size_t NSDictionary::indexOfKey(const NSObject* key) const
{
    if (!key)
        return std::string::npos;
    // The usual lookup passes the very key the entry was made with (a constant string,
    // kept by copy, which for an immutable key is the key itself): no hashing needed.
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].first.get() == key)
            return i;
    }
    std::size_t hash = key->hash();
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        const NSObject* candidate = m_entries[i].first.get();
        if (candidate->hash() == hash && candidate->isEqual(key))
            return i;
    }
    return std::string::npos;
}

void NSDictionary::setEntry(NSObject* value, const NSObject* key, const char* method)
{
    std::string where = std::string("*** -[") + class_getName(isa()) + " " + method + "]: ";
    if (!key)
        platform::raiseException("NSInvalidArgumentException", where + "key cannot be nil");
    if (!value)
        platform::raiseException("NSInvalidArgumentException", where + "object cannot be nil (key: " + key->descriptionString() + ")");
    std::size_t index = indexOfKey(key);
    if (index != std::string::npos) {
        // The old value goes only after the entry holds the new one: its release may run
        // code that reads this dictionary.
        RefPtr<NSObject> old = std::exchange(m_entries[index].second, RefPtr<NSObject>(value));
        return;
    }
    // Keys are copied, as Foundation does, so a key changed later cannot move its entry.
    m_entries.emplace_back(key->copyWithZone(), RefPtr<NSObject>(value));
}

NSObject* NSDictionary::valueForKeyObject(const NSObject* key) const
{
    std::size_t index = indexOfKey(key);
    return index == std::string::npos ? nullptr : m_entries[index].second.get();
}

NSObject* NSDictionary::objectForKey(std::string_view stringKey) const
{
    for (auto& [key, value] : m_entries) {
        auto string = objc_cast<NSString>(key.get());
        if (string && string->string() == stringKey)
            return value.get();
    }
    return nullptr;
}

RefPtr<NSArray> NSDictionary::allKeys() const
{
    std::vector<RefPtr<NSObject>> keys;
    keys.reserve(m_entries.size());
    for (auto& entry : m_entries)
        keys.push_back(entry.first);
    return NSArray::create(std::move(keys));
}

std::string NSDictionary::descriptionWithIndent(unsigned level) const
{
    std::string text = indentation(level) + "{\n";
    for (auto& [key, value] : m_entries)
        text += indentation(level + 1) + key->descriptionWithIndent(level + 1) + " = " + value->descriptionWithIndent(level + 1) + ";\n";
    return text + indentation(level) + "}";
}

bool NSDictionary::isEqual(const NSObject* other) const
{
    auto dictionary = objc_cast<NSDictionary>(const_cast<NSObject*>(other));
    if (!dictionary || dictionary->count() != count())
        return false;
    for (auto& [key, value] : m_entries) {
        NSObject* otherValue = dictionary->objectForKey(key.get());
        if (!otherValue || !value->isEqual(otherValue))
            return false;
    }
    return true;
}

nlohmann::json NSDictionary::jsonValue() const
{
    auto object = nlohmann::json::object();
    for (auto& [key, value] : m_entries) {
        auto string = objc_cast<NSString>(key.get());
        object[string ? string->string() : key->descriptionString()] = value->jsonValue();
    }
    return object;
}

RefPtr<NSObject> NSDictionary::copyWithZone() const
{
    return const_cast<NSDictionary*>(this);
}

RefPtr<NSMutableDictionary> NSMutableDictionary::create()
{
    return alloc();
}

void NSMutableDictionary::setObject(NSObject* value, const NSObject* key)
{
    setEntry(value, key, "setObject:forKey:");
}

void NSMutableDictionary::setObject(NSObject* value, std::string_view key)
{
    setEntry(value, NSString::create(std::string(key)).get(), "setObject:forKey:");
}

void NSMutableDictionary::removeObjectForKey(const NSObject* key)
{
    std::size_t index = indexOfKey(key);
    if (index == std::string::npos)
        return;
    Entry removed = std::move(m_entries[index]);
    m_entries.erase(m_entries.begin() + index);
}

void NSMutableDictionary::removeObjectForKey(std::string_view key)
{
    removeObjectForKey(NSString::create(std::string(key)).get());
}

void NSMutableDictionary::removeAllObjects()
{
    auto removed = std::exchange(m_entries, {});
}

void NSMutableDictionary::addEntriesFromDictionary(const NSDictionary* other)
{
    if (!other)
        return;
    // A copy of the entries, since `other` may be this dictionary.
    auto entries = other->entries();
    for (auto& [key, value] : entries)
        setObject(value.get(), key.get());
}

RefPtr<NSObject> NSMutableDictionary::copyWithZone() const
{
    return NSDictionary::create(m_entries);
}
