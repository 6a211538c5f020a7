#include "NSURL.h"

#include <algorithm>
#include <cctype>

namespace {

// RFC 3986: a scheme is a letter followed by letters, digits, "+", "-" or ".".
bool isScheme(const std::string& text)
{
    if (text.empty() || !std::isalpha(static_cast<unsigned char>(text.front())))
        return false;
    return std::all_of(text.begin(), text.end(), [](unsigned char c) {
        return std::isalnum(c) || c == '+' || c == '-' || c == '.';
    });
}

} // namespace

objc::RefPtr<NSURL> NSURL::URLWithString(const NSString* string)
{
    return string ? URLWithString(string->string()) : nullptr;
}

objc::RefPtr<NSURL> NSURL::URLWithString(const std::string& text)
{
    bool hasBlank = std::any_of(text.begin(), text.end(), [](unsigned char c) { return c <= ' ' || c == 0x7f; });
    std::size_t colon = text.find(':');
    if (text.empty() || hasBlank || colon == std::string::npos || !isScheme(text.substr(0, colon)))
        return nullptr;
    auto url = NSURL::alloc();
    url->m_string = NSString::create(text);
    return url;
}

std::string NSURL::scheme() const
{
    std::string scheme = m_string->string().substr(0, m_string->string().find(':'));
    std::transform(scheme.begin(), scheme.end(), scheme.begin(), [](unsigned char c) { return std::tolower(c); });
    return scheme;
}

std::string NSURL::resourceSpecifier() const
{
    return m_string->string().substr(m_string->string().find(':') + 1);
}

bool NSURL::isEqual(const NSObject* other) const
{
    auto url = objc_cast<NSURL>(const_cast<NSObject*>(other));
    return url && url->m_string->isEqual(m_string.get());
}

void NSURL::registerRuntimeClass()
{
    if (objc_getClass("NSURL"))
        return;
    Class cls = objc::defineClass<NSURL>("NSURL", NSObject::staticClass());
    objc::addMethod(cls, "absoluteString", +[](NSURL* self, SEL) -> id { return self->absoluteString(); });
}
