#pragma once
// The tweak's preference domain as the Settings app reaches it: the settings store for
// com.orvanta.lumetrix, and conversions between scenario values and stored objects.

#include "objc/RefPtr.h"

#include <nlohmann/json.hpp>

#include <string>

class HBPreferences;
class NSObject;

namespace sim {

inline constexpr const char* kLumetrixDomain = "com.orvanta.lumetrix";

// The process's store for the domain (one per process, as Cephei keeps them).
objc::RefPtr<HBPreferences> lumetrixPreferences();

// true/false -> a boolean number, a whole number -> an integer, a number -> a real,
// a string -> a string.
objc::RefPtr<NSObject> storedObject(const nlohmann::json& value);

// Writes one value (re-reading the file first, so a file changed behind the store's back
// is not overwritten with stale values) and announces the change. Answers why the value
// did not reach the file, or nothing when it did.
std::string storeValue(HBPreferences*, const std::string& key, const nlohmann::json& value);
// Removes every stored value of the domain; answers as storeValue does.
std::string removeStoredValues(HBPreferences*);
// Why the store's last write failed, naming the file, or nothing.
std::string writeProblemOf(const HBPreferences*);

// What the preferences file holds now, as JSON (an empty object when there is no file).
nlohmann::json storedValues(const HBPreferences*);

} // namespace sim
