#include "HBPreferences.h"

#include "CoreFoundation/CFPreferences.h"
#include "Foundation/NSLog.h"
#include "Foundation/NSNumber.h"
#include "Foundation/PropertyList.h"
#include "Platform/Platform.h"
#include "dispatch/dispatch.h"
#include "notify/notify.h"

#include <map>

using objc::RefPtr;

namespace {

// Live stores by identifier. Weak, so a store that nobody holds any more goes away and
// a later request makes a fresh one.
std::map<std::string, objc::WeakPtr<HBPreferences>>& liveStores()
{
    static auto* stores = new std::map<std::string, objc::WeakPtr<HBPreferences>>;
    return *stores;
}

bool isScalar(const NSObject* value)
{
    return objc_cast<NSString>(const_cast<NSObject*>(value)) || objc_cast<NSNumber>(const_cast<NSObject*>(value));
}

const char* kindName(const NSObject* value)
{
    return class_getName(value->getClass());
}

} // namespace

HBPreferences* HBPreferences::initWithIdentifierNow(const NSString* identifier)
{
    auto& stores = liveStores();
    if (auto existing = stores[identifier->string()].strong())
        return existing.get();
    setUp(identifier);
    stores[identifier->string()] = this;
    return this;
}

void HBPreferences::setUp(const NSString* identifier)
{
    m_identifier = NSString::create(identifier->string());
    m_defaults = NSMutableDictionary::create();
    m_stored = NSMutableDictionary::create();
    reload();
    // Another process (the Settings pane) announces its writes; re-read on the main queue.
    objc::WeakPtr<HBPreferences> weakThis = this;
    notify_register_dispatch(changeNotificationName().c_str(), &m_notifyToken, dispatch_get_main_queue(), [weakThis](int) {
        if (auto store = weakThis.strong())
            store->reload();
    });
}

HBPreferences::~HBPreferences()
{
    if (m_notifyToken >= 0)
        notify_cancel(m_notifyToken);
    for (auto& binding : m_bindings) {
        // The store owned the references it wrote into object variables; leave the
        // variables holding nothing rather than something it no longer keeps.
        if (binding.kind == BindingKind::Object) {
            id* variable = static_cast<id*>(binding.variable);
            if (*variable)
                (*variable)->release();
            *variable = nil;
        }
    }
    auto& stores = liveStores();
    if (m_identifier) {
        auto it = stores.find(m_identifier->string());
        if (it != stores.end() && !it->second.get())
            stores.erase(it);
    }
}

std::string HBPreferences::filePath() const
{
    return platform::preferencesFilePath(m_identifier->string());
}

std::string HBPreferences::changeNotificationName() const
{
    return m_identifier->string() + "/ReloadPrefs";
}

void HBPreferences::reload()
{
    auto result = platform::readPropertyList(filePath());
    auto stored = NSMutableDictionary::create();
    std::string problem;
    if (result.value) {
        if (auto dictionary = objc_cast<NSDictionary>(result.value.get())) {
            for (auto& [key, value] : dictionary->entries())
                stored->setObject(value.get(), key.get());
        } else {
            problem = filePath() + ": holds a " + std::string(kindName(result.value.get())) + " instead of a dictionary";
        }
    } else if (!result.missing) {
        problem = result.error;
    }
    if (!problem.empty() && problem != m_lastReadProblem) {
        // The file is left exactly as it is: it may hold settings a newer pane wrote.
        NSLog("HBPreferences: cannot read %s; using default values", problem.c_str());
    }
    m_lastReadProblem = problem;
    m_stored = stored;
    applyBindings();
}

NSObject* HBPreferences::validatedStoredValue(const Binding& binding) const
{
    NSObject* value = m_stored->objectForKey(binding.key.get());
    if (!value)
        return nullptr;
    bool acceptable = false;
    if (binding.kind == BindingKind::Bool) {
        acceptable = objc_cast<NSNumber>(value) != nullptr;
    } else {
        NSObject* fallback = m_defaults->objectForKey(binding.key.get());
        acceptable = !fallback || (isScalar(fallback) ? isScalar(value) : value->isKindOfClass(fallback->getClass()));
    }
    if (!acceptable) {
        NSLog("HBPreferences: %s: \"%s\" holds a %s, which this setting cannot use; using its default",
            m_identifier->UTF8String(), binding.key->UTF8String(), kindName(value));
        return nullptr;
    }
    return value;
}

void HBPreferences::applyBinding(const Binding& binding) const
{
    NSObject* value = validatedStoredValue(binding);
    if (!value)
        value = m_defaults->objectForKey(binding.key.get());
    if (binding.kind == BindingKind::Bool) {
        auto number = objc_cast<NSNumber>(value);
        *static_cast<bool*>(binding.variable) = number && number->boolValue();
        return;
    }
    id* variable = static_cast<id*>(binding.variable);
    if (*variable == value)
        return;
    if (value)
        value->retain();
    id old = *variable;
    *variable = value;
    if (old)
        old->release();
}

void HBPreferences::applyBindings() const
{
    for (auto& binding : m_bindings)
        applyBinding(binding);
}

void HBPreferences::registerBoolNow(bool* variable, bool defaultValue, const NSString* key)
{
    m_defaults->setObject(NSNumber::numberWithBool(defaultValue).get(), key);
    m_bindings.push_back({ NSString::create(key->string()), BindingKind::Bool, variable });
    applyBinding(m_bindings.back());
}

void HBPreferences::registerObjectNow(id* variable, NSObject* defaultValue, const NSString* key)
{
    if (defaultValue)
        m_defaults->setObject(defaultValue, key);
    m_bindings.push_back({ NSString::create(key->string()), BindingKind::Object, variable });
    applyBinding(m_bindings.back());
}

void HBPreferences::registerDefaults(const NSDictionary* defaults)
{
    for (auto& [key, value] : defaults->entries())
        m_defaults->setObject(value.get(), key.get());
    applyBindings();
}

NSObject* HBPreferences::objectForKey(const NSString* key) const
{
    if (NSObject* value = m_stored->objectForKey(key))
        return value;
    return m_defaults->objectForKey(key);
}

bool HBPreferences::boolForKey(const NSString* key) const
{
    auto number = objc_cast<NSNumber>(objectForKey(key));
    return number && number->boolValue();
}

float HBPreferences::floatForKey(const NSString* key) const
{
    auto number = objc_cast<NSNumber>(objectForKey(key));
    return number ? number->floatValue() : 0;
}

void HBPreferences::setObject(NSObject* value, const NSString* key)
{
    // Start from what is on disk now, so keys another process wrote meanwhile survive.
    reload();
    if (value)
        m_stored->setObject(value, key);
    else
        m_stored->removeObjectForKey(key);
    if (!writeStored())
        return;
    applyBindings();
    postChange();
}

void HBPreferences::setBool(bool value, const NSString* key)
{
    setObject(NSNumber::numberWithBool(value).get(), key);
}

void HBPreferences::removeObjectForKey(const NSString* key)
{
    setObject(nullptr, key);
}

void HBPreferences::removeAllObjects()
{
    m_stored = NSMutableDictionary::create();
    if (!writeStored())
        return;
    applyBindings();
    postChange();
}

bool HBPreferences::writeStored()
{
    m_writeProblem.clear();
    if (!platform::writePreferencesFile(m_identifier->string(), m_stored.get(), !m_lastReadProblem.empty(), "HBPreferences", &m_writeProblem)) {
        // What is on disk is what holds: the bound variables must not show a value that
        // was never saved.
        reload();
        return false;
    }
    m_lastReadProblem.clear();
    return true;
}

void HBPreferences::postChange() const
{
    notify_post(changeNotificationName().c_str());
}

namespace platform {

void registerCepheiClasses()
{
    if (objc_getClass("HBPreferences"))
        return;
    Class cls = objc::defineClass<HBPreferences>("HBPreferences", NSObject::staticClass());
    objc::addMethod(cls, "objectForKey:", +[](HBPreferences* self, SEL, id key) -> id {
        auto string = objc_cast<NSString>(key);
        return string ? self->objectForKey(string) : nil;
    });
    objc::addMethod(cls, "setObject:forKey:", +[](HBPreferences* self, SEL, id value, id key) {
        if (auto string = objc_cast<NSString>(key))
            self->setObject(static_cast<NSObject*>(value), string);
    });
    objc::addMethod(cls, "removeAllObjects", +[](HBPreferences* self, SEL) { self->removeAllObjects(); });
    // Borrowed: the store for the identifier, this one or one already live.
    objc::addMethod(cls, "initWithIdentifier:", +[](HBPreferences* self, SEL, id identifier) -> id {
        return self->initWithIdentifierNow(objc_cast<NSString>(identifier));
    });
    objc::addMethod(cls, "registerBool:default:forKey:", +[](HBPreferences* self, SEL, bool* variable, bool defaultValue, id key) {
        self->registerBoolNow(variable, defaultValue, objc_cast<NSString>(key));
    });
    objc::addMethod(cls, "registerObject:default:forKey:", +[](HBPreferences* self, SEL, id* variable, id defaultValue, id key) {
        self->registerObjectNow(variable, objc_cast<NSObject>(defaultValue), objc_cast<NSString>(key));
    });
}

} // namespace platform
