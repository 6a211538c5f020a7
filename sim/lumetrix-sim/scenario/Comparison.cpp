#include "Comparison.h"

#include <cmath>

namespace sim::scenario {

const char* compareOpText(CompareOp op)
{
    switch (op) {
    case CompareOp::Equal:
        return "==";
    case CompareOp::NotEqual:
        return "!=";
    case CompareOp::Less:
        return "<";
    case CompareOp::LessEqual:
        return "<=";
    case CompareOp::Greater:
        return ">";
    case CompareOp::GreaterEqual:
        return ">=";
    case CompareOp::About:
        return "~=";
    }
    return "?";
}

namespace {

bool equalValues(const nlohmann::json& a, const nlohmann::json& b)
{
    if (a.is_number() && b.is_number())
        return a.get<double>() == b.get<double>();
    return a == b;
}

template<typename T>
bool ordered(const T& a, CompareOp op, const T& b)
{
    switch (op) {
    case CompareOp::Less:
        return a < b;
    case CompareOp::LessEqual:
        return a <= b;
    case CompareOp::Greater:
        return a > b;
    case CompareOp::GreaterEqual:
        return a >= b;
    default:
        return false;
    }
}

} // namespace

bool compareValues(const nlohmann::json& actual, CompareOp op, const nlohmann::json& expected, double tolerance)
{
    switch (op) {
    case CompareOp::Equal:
        return equalValues(actual, expected);
    case CompareOp::NotEqual:
        return !equalValues(actual, expected);
    case CompareOp::About:
        if (!actual.is_number() || !expected.is_number())
            return equalValues(actual, expected);
        return std::fabs(actual.get<double>() - expected.get<double>()) <= tolerance;
    default:
        if (actual.is_number() && expected.is_number())
            return ordered(actual.get<double>(), op, expected.get<double>());
        if (actual.is_string() && expected.is_string())
            return ordered(actual.get_ref<const std::string&>(), op, expected.get_ref<const std::string&>());
        return false;
    }
}

bool filterMatches(const nlohmann::json& field, const EventFilter& filter)
{
    if (equalValues(field, filter.value))
        return true;
    return filter.bareText && field.is_string() && field.get_ref<const std::string&>() == *filter.bareText;
}

} // namespace sim::scenario
