#pragma once
// NSNumber: a boxed boolean, integer or floating-point value. It remembers which it was
// given, so a boolean prints and serialises as one, while every getter converts.

#include "NSObject.h"

class NSNumber : public NSObject {
    OBJC_INTERFACE(NSNumber)
public:
    NSNumber() = default;

    // The class's convenience constructors, sent to it through the runtime.
    static objc::RefPtr<NSNumber> numberWithBool(bool value) { return objc_sendToClassForObject<"NSNumber", "numberWithBool:", NSNumber>(value); }
    static objc::RefPtr<NSNumber> numberWithInt(int value) { return objc_sendToClassForObject<"NSNumber", "numberWithInt:", NSNumber>(value); }
    static objc::RefPtr<NSNumber> numberWithInteger(long value) { return objc_sendToClassForObject<"NSNumber", "numberWithInteger:", NSNumber>(value); }
    static objc::RefPtr<NSNumber> numberWithLongLong(long long value) { return objc_sendToClassForObject<"NSNumber", "numberWithLongLong:", NSNumber>(value); }
    static objc::RefPtr<NSNumber> numberWithFloat(float value) { return objc_sendToClassForObject<"NSNumber", "numberWithFloat:", NSNumber>(value); }
    static objc::RefPtr<NSNumber> numberWithDouble(double value) { return objc_sendToClassForObject<"NSNumber", "numberWithDouble:", NSNumber>(value); }

    bool boolValue() const;
    float floatValue() const;
    double doubleValue() const;
    int intValue() const;
    long long longLongValue() const;
    long integerValue() const;
    unsigned unsignedIntValue() const;

    bool isBoolean() const { return m_kind == Kind::Bool; }
    bool isFloatingPoint() const { return m_kind == Kind::Float || m_kind == Kind::Double; }

    std::string descriptionString() const override;
    bool isEqual(const NSObject*) const override;
    std::size_t hash() const override;
    nlohmann::json jsonValue() const override;
    objc::RefPtr<NSObject> copyWithZone() const override;

    // The class methods behind the constructors above.
    static void registerClassMethods(Class);

private:
    enum class Kind {
        Bool,
        Integer,
        Float,
        Double
    };
    static objc::RefPtr<NSNumber> make(Kind, long long integer, double real);

    Kind m_kind = Kind::Integer;
    long long m_integer = 0;
    double m_real = 0;
};
