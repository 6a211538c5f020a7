#include "NSDate.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <functional>

using objc::RefPtr;

RefPtr<NSDate> NSDate::dateWithTimeIntervalSinceReferenceDate(double seconds)
{
    auto date = alloc();
    date->m_seconds = seconds;
    return date;
}

RefPtr<NSDate> NSDate::dateWithTimeIntervalSince1970(double seconds)
{
    return dateWithTimeIntervalSinceReferenceDate(seconds - timeIntervalBetween1970AndReferenceDate);
}

RefPtr<NSDate> NSDate::dateByAddingTimeInterval(double seconds) const
{
    return dateWithTimeIntervalSinceReferenceDate(m_seconds + seconds);
}

std::string NSDate::descriptionString() const
{
    // Whole seconds, rounded down, in GMT: "2001-01-01 00:00:00 +0000".
    std::time_t unixSeconds = static_cast<std::time_t>(std::floor(timeIntervalSince1970()));
    std::tm parts {};
    if (!gmtime_r(&unixSeconds, &parts))
        return "(invalid date)";
    char text[64];
    std::snprintf(text, sizeof(text), "%04d-%02d-%02d %02d:%02d:%02d +0000", parts.tm_year + 1900, parts.tm_mon + 1,
        parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec);
    return text;
}

bool NSDate::isEqual(const NSObject* other) const
{
    auto date = objc_cast<NSDate>(const_cast<NSObject*>(other));
    return date && date->m_seconds == m_seconds;
}

std::size_t NSDate::hash() const
{
    return std::hash<double>()(m_seconds);
}

nlohmann::json NSDate::jsonValue() const
{
    return { { "date", m_seconds } };
}

RefPtr<NSObject> NSDate::copyWithZone() const
{
    return const_cast<NSDate*>(this);
}
