#pragma once
// NSDictionary and NSMutableDictionary: keys to objects, keys compared with isEqual/hash.
// Entries keep their insertion order, so descriptions and written files are stable.

#include "NSObject.h"

#include <string_view>
#include <utility>
#include <vector>

class NSArray;

class NSDictionary : public NSObject {
    OBJC_INTERFACE(NSDictionary)
public:
    using Entry = std::pair<objc::RefPtr<NSObject>, objc::RefPtr<NSObject>>;

    NSDictionary() = default;

    // +dictionaryWithObjects:forKeys:count:, sent to the class. A later entry with an
    // equal key replaces the earlier one's value. Nil keys or values stop the process, as
    // on iOS.
    static objc::RefPtr<NSDictionary> create(const std::vector<Entry>& entries)
    {
        std::vector<id> objects, keys;
        objects.reserve(entries.size());
        keys.reserve(entries.size());
        for (const auto& [key, value] : entries) {
            objects.push_back(value.get());
            keys.push_back(key.get());
        }
        return objc_sendToClassForObject<"NSDictionary", "dictionaryWithObjects:forKeys:count:", NSDictionary>(objects.data(), keys.data(), entries.size());
    }
    static void registerClassMethods(Class);

    // -objectForKey:, through the runtime.
    NSObject* objectForKey(const NSObject* key) const
    {
        return static_cast<NSObject*>(objc_send<"objectForKey:", id>(this, const_cast<NSObject*>(key)));
    }
    // What -objectForKey: answers.
    NSObject* valueForKeyObject(const NSObject* key) const;
    // For the common case of string keys, without making an NSString.
    NSObject* objectForKey(std::string_view stringKey) const;
    std::size_t count() const { return m_entries.size(); }
    // Key and value pairs in insertion order. Walk a copy when calling out meanwhile.
    const std::vector<Entry>& entries() const { return m_entries; }
    objc::RefPtr<NSArray> allKeys() const;

    std::string descriptionString() const override { return descriptionWithIndent(0); }
    std::string descriptionWithIndent(unsigned level) const override;
    bool isEqual(const NSObject*) const override;
    std::size_t hash() const override { return m_entries.size(); }
    // An object keyed by each key's string (its description when it is not a string).
    nlohmann::json jsonValue() const override;
    objc::RefPtr<NSObject> copyWithZone() const override;

protected:
    // Index of the entry whose key equals `key`, or npos.
    std::size_t indexOfKey(const NSObject* key) const;
    void setEntry(NSObject* value, const NSObject* key, const char* method);

    std::vector<Entry> m_entries;
};

class NSMutableDictionary : public NSDictionary {
    OBJC_INTERFACE(NSMutableDictionary)
public:
    NSMutableDictionary() = default;

    static objc::RefPtr<NSMutableDictionary> create();

    // The key is copied (an immutable key is simply retained), so changing the
    // original later cannot corrupt the dictionary.
    void setObject(NSObject* value, const NSObject* key);
    void setObject(NSObject* value, std::string_view key);
    void removeObjectForKey(const NSObject* key);
    void removeObjectForKey(std::string_view key);
    void removeAllObjects();
    void addEntriesFromDictionary(const NSDictionary*);

    objc::RefPtr<NSObject> copyWithZone() const override;
};
