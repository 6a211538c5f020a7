#pragma once
// Cephei's settings store: one domain's values in the user's preferences file, with
// defaults, bound variables that follow the stored values, and change notifications
// between processes.

#include "Foundation/NSDictionary.h"
#include "Foundation/NSObject.h"
#include "Foundation/NSString.h"

#include <string>
#include <vector>

namespace platform {
void registerCepheiClasses();
}

class HBPreferences : public NSObject {
    OBJC_INTERFACE(HBPreferences)
public:
    // -initWithIdentifier:, through the runtime. One store per identifier and process:
    // asking again for a live identifier gives the store that already exists.
    objc::RefPtr<HBPreferences> initWithIdentifier(const NSString* identifier)
    {
        return static_cast<HBPreferences*>(objc_send<"initWithIdentifier:", id>(this, const_cast<NSString*>(identifier)));
    }

    const NSString* identifier() const { return m_identifier.get(); }

    // Records the default, binds the variable and writes the current value into it at once.
    // A bound bool reads a stored number (zero is NO); a bound object holds the stored
    // string or number (the store retains what it writes into the variable).
    // (-registerBool:default:forKey: and -registerObject:default:forKey:, through the runtime.)
    void registerBool(bool* variable, bool defaultValue, const NSString* key)
    {
        objc_send<"registerBool:default:forKey:">(this, variable, defaultValue, const_cast<NSString*>(key));
    }
    void registerObject(id* variable, NSObject* defaultValue, const NSString* key)
    {
        objc_send<"registerObject:default:forKey:">(this, variable, defaultValue, const_cast<NSString*>(key));
    }
    void registerDefaults(const NSDictionary* defaults);

    // The stored value, else the registered default, else nil.
    NSObject* objectForKey(const NSString* key) const;
    bool boolForKey(const NSString* key) const;
    float floatForKey(const NSString* key) const;

    // Writes through to the preferences file (atomically, keeping every other key) and
    // tells every process that has the domain open.
    void setObject(NSObject* value, const NSString* key);
    void setBool(bool value, const NSString* key);
    void removeObjectForKey(const NSString* key);
    void removeAllObjects();

    // Why the last write did not reach the file (a value a property list cannot hold, a
    // folder that cannot be written); empty after a write that did. The values and bound
    // variables then stay as the file has them.
    const std::string& writeProblem() const { return m_writeProblem; }

    // Reads the file again and updates the bound variables; what a change notification does.
    void reload();

    // "<root>/var/mobile/Library/Preferences/<identifier>.plist"
    std::string filePath() const;
    // "<identifier>/ReloadPrefs", the notification the store listens for.
    std::string changeNotificationName() const;

    ~HBPreferences() override;

private:
    friend void platform::registerCepheiClasses();
    // What the messages above do.
    HBPreferences* initWithIdentifierNow(const NSString* identifier);
    void registerBoolNow(bool* variable, bool defaultValue, const NSString* key);
    void registerObjectNow(id* variable, NSObject* defaultValue, const NSString* key);

    enum class BindingKind {
        Bool,
        Object
    };
    struct Binding {
        objc::RefPtr<NSString> key;
        BindingKind kind;
        void* variable;
    };

    void setUp(const NSString* identifier);
    NSObject* validatedStoredValue(const Binding&) const;
    void applyBinding(const Binding&) const;
    void applyBindings() const;
    bool writeStored();
    void postChange() const;

    objc::RefPtr<NSString> m_identifier;
    objc::RefPtr<NSMutableDictionary> m_defaults;
    objc::RefPtr<NSMutableDictionary> m_stored;
    std::vector<Binding> m_bindings;
    int m_notifyToken = -1;
    std::string m_lastReadProblem;
    std::string m_writeProblem;
};
