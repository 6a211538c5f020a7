#pragma once
// NSString: an immutable Unicode string, held as UTF-8. Lengths count UTF-16 code
// units, as Foundation's do.

#include "NSObject.h"

#include <cstdarg>
#include <string>
#include <string_view>

class NSString : public NSObject {
    OBJC_INTERFACE(NSString)
public:
    NSString() = default;

    static objc::RefPtr<NSString> create(std::string utf8);
    // nil for bytes that are not UTF-8; a NULL argument stops the process, as on iOS.
    static objc::RefPtr<NSString> stringWithUTF8String(const char*);
    // printf formatting plus %@ for objects (their description; "(null)" for nil).
    static objc::RefPtr<NSString> stringWithFormat(const char* format, ...);
    static objc::RefPtr<NSString> stringWithFormatV(const char* format, va_list);

    const std::string& string() const { return m_string; }
    const char* UTF8String() const { return m_string.c_str(); }
    // UTF-16 code units: a character outside the Basic Multilingual Plane counts two.
    std::size_t length() const;

    // Numeric readings, with Foundation's scanning rules (leading blanks skipped, the
    // longest numeric prefix taken, 0 when there is none).
    float floatValue() const;
    double doubleValue() const;
    bool boolValue() const;
    int intValue() const;
    long long longLongValue() const;
    long integerValue() const;

    bool isEqualToString(const NSString*) const;
    // Joins with exactly one "/" between the parts; a trailing "/" is dropped.
    objc::RefPtr<NSString> stringByAppendingPathComponent(const NSString*) const;
    objc::RefPtr<NSString> stringByAppendingString(const NSString*) const;
    bool hasPrefix(std::string_view) const;
    bool hasSuffix(std::string_view) const;

    std::string descriptionString() const override { return m_string; }
    std::string descriptionWithIndent(unsigned level) const override;
    bool isEqual(const NSObject*) const override;
    std::size_t hash() const override;
    nlohmann::json jsonValue() const override;
    objc::RefPtr<NSObject> copyWithZone() const override;

private:
    std::string m_string;
};

// "text"_ns: an NSString literal, the counterpart of @"text".
objc::RefPtr<NSString> operator""_ns(const char*, std::size_t);
