#pragma once
// NSURL: an absolute URL kept as its string. Only what the Settings pieces use: a URL
// made from a string (nil for one that is not a URL), its scheme and its text.

#include "NSObject.h"
#include "NSString.h"

class NSURL : public NSObject {
    OBJC_INTERFACE(NSURL)
public:
    NSURL() = default;

    // +URLWithString:. Nil for an empty string, one with white space or control
    // characters, or one without a scheme ("prefs:root=Lumetrix" has the scheme "prefs").
    static objc::RefPtr<NSURL> URLWithString(const NSString*);
    static objc::RefPtr<NSURL> URLWithString(const std::string&);

    NSString* absoluteString() const { return m_string.get(); }
    // The part before the first ':', lower-cased as URL schemes compare.
    std::string scheme() const;
    // What follows "scheme:".
    std::string resourceSpecifier() const;

    std::string descriptionString() const override { return m_string->string(); }
    bool isEqual(const NSObject*) const override;
    std::size_t hash() const override { return m_string->hash(); }
    nlohmann::json jsonValue() const override { return m_string->string(); }

    static void registerRuntimeClass();

private:
    objc::RefPtr<NSString> m_string;
};
