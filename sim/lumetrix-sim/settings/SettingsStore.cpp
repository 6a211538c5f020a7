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

void storeValue(HBPreferences* store, const std::string& key, const nlohmann::json& value)
{
    auto object = storedObject(value);
    if (!object)
        return;
    store->reload();
    store->setObject(object.get(), NSString::create(key).get());
}

nlohmann::json storedValues(const HBPreferences* store)
{
    auto result = platform::readPropertyList(store->filePath());
    if (!result.value)
        return nlohmann::json::object();
    return result.value->jsonValue();
}

} // namespace sim
