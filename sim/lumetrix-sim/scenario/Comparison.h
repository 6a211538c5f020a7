#pragma once
// How `expect` and `expect-events` compare what they found with what the scenario says.

#include "Command.h"

#include <nlohmann/json.hpp>

namespace sim::scenario {

// Numbers compare as numbers (whole or not), booleans, strings and null by equality;
// the orderings need two numbers (or two strings) and `~=` two numbers within
// `tolerance`. A comparison between kinds that cannot be compared does not hold.
bool compareValues(const nlohmann::json& actual, CompareOp, const nlohmann::json& expected, double tolerance);

// Whether an event's field (null when absent) passes a filter: equal as compareValues'
// ==, or, for a value written bare, a string field of the same text.
bool filterMatches(const nlohmann::json& field, const EventFilter&);

} // namespace sim::scenario
