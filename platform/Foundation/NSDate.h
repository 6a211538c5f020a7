#pragma once
// NSDate: a point in time, as seconds since the reference date 2001-01-01 00:00:00 GMT.

#include "NSObject.h"

class NSDate : public NSObject {
    OBJC_INTERFACE(NSDate)
public:
    NSDate() = default;

    // Seconds between the Unix epoch and the reference date.
    static constexpr double timeIntervalBetween1970AndReferenceDate = 978307200.0;

    // Now, on the platform's clock (defined beside the clock, NSDateNow.cpp).
    static objc::RefPtr<NSDate> date();
    static objc::RefPtr<NSDate> dateWithTimeIntervalSinceReferenceDate(double seconds);
    static objc::RefPtr<NSDate> dateWithTimeIntervalSince1970(double seconds);

    double timeIntervalSinceReferenceDate() const { return m_seconds; }
    double timeIntervalSince1970() const { return m_seconds + timeIntervalBetween1970AndReferenceDate; }
    double timeIntervalSinceDate(const NSDate* other) const { return m_seconds - other->m_seconds; }
    objc::RefPtr<NSDate> dateByAddingTimeInterval(double seconds) const;

    // "2001-01-01 00:00:00 +0000"
    std::string descriptionString() const override;
    bool isEqual(const NSObject*) const override;
    std::size_t hash() const override;
    nlohmann::json jsonValue() const override;
    objc::RefPtr<NSObject> copyWithZone() const override;

private:
    double m_seconds = 0;
};
