#include "NSNumber.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <limits>
#include <type_traits>

using objc::RefPtr;

namespace {

// Real to integer the way arm64's conversion instructions do it: truncate toward zero,
// saturate at the type's limits, NaN to zero. C++ leaves these cases undefined, and a
// simulated device must read the same on every host.
template<typename Integer>
Integer saturatingConversion(double value)
{
    if (std::isnan(value))
        return 0;
    constexpr double lowest = static_cast<double>(std::numeric_limits<Integer>::min());
    constexpr double highest = static_cast<double>(std::numeric_limits<Integer>::max());
    if (value <= lowest)
        return std::numeric_limits<Integer>::min();
    if (value >= highest)
        return std::numeric_limits<Integer>::max();
    return static_cast<Integer>(value);
}

// The shortest "%g" text that reads back as the same value, as Foundation prints
// numbers: 0.1 prints "0.1", not "0.1000000000000000055511151231257827".
template<typename Real>
std::string shortestText(Real value, int maximumDigits)
{
    char buffer[64];
    // Whole numbers print whole ("20", never "2e+01"), as long as they are exact.
    if (std::trunc(value) == value && std::fabs(value) < 1e17) {
        std::snprintf(buffer, sizeof(buffer), "%.0f", static_cast<double>(value));
        return buffer;
    }
    for (int digits = 1; digits <= maximumDigits; ++digits) {
        std::snprintf(buffer, sizeof(buffer), "%.*g", digits, static_cast<double>(value));
        Real back;
        if constexpr (std::is_same_v<Real, float>)
            back = std::strtof(buffer, nullptr);
        else
            back = std::strtod(buffer, nullptr);
        if (back == value)
            return buffer;
    }
    return buffer;
}

} // namespace

RefPtr<NSNumber> NSNumber::make(Kind kind, long long integer, double real)
{
    auto number = alloc();
    number->m_kind = kind;
    number->m_integer = integer;
    number->m_real = real;
    return number;
}

void NSNumber::registerClassMethods(Class cls)
{
    // Autoreleased, as a convenience constructor's result is.
    Class meta = objc::metaclassOf(cls);
    objc::addMethod(meta, "numberWithBool:", +[](Class, SEL, bool value) {
        return objc_autorelease(make(Kind::Bool, value ? 1 : 0, value ? 1 : 0).leakRef());
    });
    objc::addMethod(meta, "numberWithInt:", +[](Class, SEL, int value) {
        return objc_autorelease(make(Kind::Integer, value, value).leakRef());
    });
    objc::addMethod(meta, "numberWithInteger:", +[](Class, SEL, long value) {
        return objc_autorelease(make(Kind::Integer, value, static_cast<double>(value)).leakRef());
    });
    objc::addMethod(meta, "numberWithLongLong:", +[](Class, SEL, long long value) {
        return objc_autorelease(make(Kind::Integer, value, static_cast<double>(value)).leakRef());
    });
    objc::addMethod(meta, "numberWithFloat:", +[](Class, SEL, float value) {
        return objc_autorelease(make(Kind::Float, saturatingConversion<long long>(value), value).leakRef());
    });
    objc::addMethod(meta, "numberWithDouble:", +[](Class, SEL, double value) {
        return objc_autorelease(make(Kind::Double, saturatingConversion<long long>(value), value).leakRef());
    });
}

bool NSNumber::boolValue() const
{
    return isFloatingPoint() ? m_real != 0 : m_integer != 0;
}

float NSNumber::floatValue() const
{
    return static_cast<float>(doubleValue());
}

double NSNumber::doubleValue() const
{
    return isFloatingPoint() ? m_real : static_cast<double>(m_integer);
}

int NSNumber::intValue() const
{
    // An integer narrows as C does (keeping the low bits); a real saturates.
    return isFloatingPoint() ? saturatingConversion<int>(m_real) : static_cast<int>(m_integer);
}

long long NSNumber::longLongValue() const
{
    return m_integer;
}

long NSNumber::integerValue() const
{
    return static_cast<long>(m_integer);
}

unsigned NSNumber::unsignedIntValue() const
{
    return isFloatingPoint() ? static_cast<unsigned>(saturatingConversion<long long>(m_real)) : static_cast<unsigned>(m_integer);
}

std::string NSNumber::descriptionString() const
{
    switch (m_kind) {
    case Kind::Bool:
    case Kind::Integer:
        return std::to_string(m_integer);
    case Kind::Float:
        return shortestText(static_cast<float>(m_real), 9);
    case Kind::Double:
        return shortestText(m_real, 17);
    }
    return {};
}

bool NSNumber::isEqual(const NSObject* other) const
{
    auto number = objc_cast<NSNumber>(const_cast<NSObject*>(other));
    if (!number)
        return false;
    // Foundation compares by value, whatever the boxes: @YES equals @1, @1 equals @1.0.
    if (!isFloatingPoint() && !number->isFloatingPoint())
        return m_integer == number->m_integer;
    return doubleValue() == number->doubleValue();
}

std::size_t NSNumber::hash() const
{
    // Equal numbers must hash alike across kinds, so an integral real hashes as the integer.
    double real = doubleValue();
    if (!isFloatingPoint() || (real == std::trunc(real) && std::fabs(real) < 9.0e18))
        return std::hash<long long>()(isFloatingPoint() ? static_cast<long long>(real) : m_integer);
    return std::hash<double>()(real);
}

nlohmann::json NSNumber::jsonValue() const
{
    switch (m_kind) {
    case Kind::Bool:
        return m_integer != 0;
    case Kind::Integer:
        return m_integer;
    case Kind::Float:
    case Kind::Double:
        break;
    }
    return m_real;
}

RefPtr<NSObject> NSNumber::copyWithZone() const
{
    return const_cast<NSNumber*>(this);
}
