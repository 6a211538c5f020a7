#include "SettingsStore.h"

#include "Cephei/HBPreferences.h"
#include "Foundation/NSNumber.h"
#include "Foundation/NSString.h"
#include "Foundation/PropertyList.h"

namespace sim {

objc::RefPtr<HBPreferences> lumetrixPreferences()
{
    return HBPreferences::alloc()->initWithIdentifier(NSString::create(kLumetrixDomain).get());
}

objc::RefPtr<NSObject> storedObject(const nlohmann::json& value)
{
    if (value.is_boolean())
        return NSNumber::numberWithBool(value.get<bool>());
    if (value.is_number_integer())
        return NSNumber::numberWithLongLong(value.get<long long>());
    if (value.is_number())
        return NSNumber::numberWithDouble(value.get<double>());
    if (value.is_string())
        return NSString::create(value.get<std::string>());
    return nullptr;
}

std::string storeValue(HBPreferences* store, const std::string& key, const nlohmann::json& value)
{
    auto object = storedObject(value);
    if (!object)
        return "a value a setting cannot hold: " + value.dump();
    store->reload();
    store->setObject(object.get(), NSString::create(key).get());
    return writeProblemOf(store);
}

std::string removeStoredValues(HBPreferences* store)
{
    store->reload();
    store->removeAllObjects();
    return writeProblemOf(store);
}

std::string writeProblemOf(const HBPreferences* store)
{
    if (store->writeProblem().empty())
        return {};
    return "cannot write " + store->filePath() + ": " + store->writeProblem();
}

nlohmann::json storedValues(const HBPreferences* store)
{
    auto result = platform::readPropertyList(store->filePath());
    if (!result.value)
        return nlohmann::json::object();
    return result.value->jsonValue();
}

} // namespace sim
