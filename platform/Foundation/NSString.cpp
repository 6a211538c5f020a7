#include "NSString.h"

#include "NSStringFormat.h"

#include <climits>
#include <cstdlib>
#include <functional>

using objc::RefPtr;

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

std::size_t skipBlanks(const std::string& text)
{
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    return i;
}

// Length of the UTF-8 sequence `lead` starts, or 0 when it cannot start one.
unsigned sequenceLength(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

bool isValidUTF8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        auto lead = static_cast<unsigned char>(text[i]);
        unsigned length = sequenceLength(lead);
        if (!length || i + length > text.size())
            return false;
        unsigned codePoint = length == 1 ? lead : lead & (0x7F >> length);
        for (unsigned k = 1; k < length; ++k) {
            auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            codePoint = (codePoint << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
        static constexpr unsigned smallest[] = { 0, 0, 0x80, 0x800, 0x10000 };
        if (codePoint < smallest[length] || (codePoint >= 0xD800 && codePoint <= 0xDFFF) || codePoint > 0x10FFFF)
            return false;
        i += length;
    }
    return true;
}

// The signed decimal prefix after leading blanks, saturated to [minimum, maximum].
long long scanInteger(const std::string& text, long long minimum, long long maximum)
{
    std::size_t i = skipBlanks(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    // Accumulate towards the sign's own limit so the most negative value is reachable.
    long long limit = negative ? minimum : maximum;
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        int digit = text[i] - '0';
        if (negative) {
            if (value < (limit + digit) / 10)
                return limit;
            value = value * 10 - digit;
        } else {
            if (value > (limit - digit) / 10)
                return limit;
            value = value * 10 + digit;
        }
    }
    return value;
}

} // namespace

RefPtr<NSString> NSString::create(std::string utf8)
{
    auto string = alloc();
    string->m_string = std::move(utf8);
    return string;
}

RefPtr<NSString> NSString::stringWithUTF8String(const char* bytes)
{
    if (!bytes)
        platform::raiseException("NSInvalidArgumentException", "*** +[NSString stringWithUTF8String:]: NULL cString");
    std::string_view text(bytes);
    if (!isValidUTF8(text))
        return nullptr;
    return create(std::string(text));
}

RefPtr<NSString> NSString::stringWithFormat(const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    auto string = stringWithFormatV(format, arguments);
    va_end(arguments);
    return string;
}

RefPtr<NSString> NSString::stringWithFormatV(const char* format, va_list arguments)
{
    return create(platform::formatString(format, arguments));
}

std::size_t NSString::length() const
{
    std::size_t units = 0;
    for (std::size_t i = 0; i < m_string.size();) {
        unsigned length = sequenceLength(static_cast<unsigned char>(m_string[i]));
        // A stray byte (possible only through create()) counts as one unit.
        if (!length || i + length > m_string.size())
            length = 1;
        units += length == 4 ? 2 : 1;
        i += length;
    }
    return units;
}

double NSString::doubleValue() const
{
    // Foundation takes the longest run of number characters and converts only that, so
    // "0x1A", "inf" and "nan" stop at their letters and read as 0.
    std::size_t start = skipBlanks(m_string);
    std::size_t end = start;
    while (end < m_string.size()) {
        char c = m_string[end];
        if (!((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == 'e' || c == 'E'))
            break;
        ++end;
    }
    std::string run = m_string.substr(start, end - start);
    // strtod itself gives +-HUGE_VAL on overflow, as Foundation does.
    return std::strtod(run.c_str(), nullptr);
}

float NSString::floatValue() const
{
    return static_cast<float>(doubleValue());
}

bool NSString::boolValue() const
{
    std::size_t i = skipBlanks(m_string);
    if (i < m_string.size() && (m_string[i] == '+' || m_string[i] == '-'))
        ++i;
    while (i < m_string.size() && m_string[i] == '0')
        ++i;
    if (i == m_string.size())
        return false;
    char c = m_string[i];
    return c == 'Y' || c == 'y' || c == 'T' || c == 't' || (c >= '1' && c <= '9');
}

int NSString::intValue() const
{
    return static_cast<int>(scanInteger(m_string, INT_MIN, INT_MAX));
}

long long NSString::longLongValue() const
{
    return scanInteger(m_string, LLONG_MIN, LLONG_MAX);
}

long NSString::integerValue() const
{
    return static_cast<long>(scanInteger(m_string, LONG_MIN, LONG_MAX));
}

bool NSString::isEqualToString(const NSString* other) const
{
    return other && other->m_string == m_string;
}

RefPtr<NSString> NSString::stringByAppendingPathComponent(const NSString* component) const
{
    std::string path = m_string;
    std::string_view tail = component ? std::string_view(component->m_string) : std::string_view();
    while (!tail.empty() && tail.front() == '/')
        tail.remove_prefix(1);
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    if (!tail.empty()) {
        if (!path.empty() && path.back() != '/')
            path += '/';
        path += tail;
    }
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return create(std::move(path));
}

RefPtr<NSString> NSString::stringByAppendingString(const NSString* other) const
{
    return create(other ? m_string + other->m_string : m_string);
}

bool NSString::hasPrefix(std::string_view prefix) const
{
    // Foundation answers NO for an empty prefix.
    return !prefix.empty() && std::string_view(m_string).starts_with(prefix);
}

bool NSString::hasSuffix(std::string_view suffix) const
{
    return !suffix.empty() && std::string_view(m_string).ends_with(suffix);
}

std::string NSString::descriptionWithIndent(unsigned) const
{
    // Inside a collection's description a string stays bare only when it is a plain
    // word; anything else is quoted and escaped, as old-style property lists print.
    bool plain = !m_string.empty();
    for (char c : m_string) {
        bool wordCharacter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
            || c == '_' || c == '$' || c == '.' || c == '/' || c == ':';
        plain = plain && wordCharacter;
    }
    if (plain)
        return m_string;
    std::string quoted = "\"";
    for (char c : m_string) {
        switch (c) {
        case '"':
            quoted += "\\\"";
            break;
        case '\\':
            quoted += "\\\\";
            break;
        case '\n':
            quoted += "\\n";
            break;
        case '\t':
            quoted += "\\t";
            break;
        default:
            quoted += c;
        }
    }
    return quoted + "\"";
}

bool NSString::isEqual(const NSObject* other) const
{
    auto string = objc_cast<NSString>(const_cast<NSObject*>(other));
    return isEqualToString(string);
}

std::size_t NSString::hash() const
{
    return std::hash<std::string>()(m_string);
}

nlohmann::json NSString::jsonValue() const
{
    if (isValidUTF8(m_string))
        return m_string;
    // JSON text must be UTF-8 and the event log must not fail on a stray byte that came
    // in through create(): such bytes print as U+FFFD, one for each.
    std::string repaired;
    for (std::size_t i = 0; i < m_string.size();) {
        unsigned length = sequenceLength(static_cast<unsigned char>(m_string[i]));
        if (length && i + length <= m_string.size() && isValidUTF8(std::string_view(m_string).substr(i, length))) {
            repaired.append(m_string, i, length);
            i += length;
        } else {
            repaired += "\xEF\xBF\xBD";
            ++i;
        }
    }
    return repaired;
}

RefPtr<NSObject> NSString::copyWithZone() const
{
    return const_cast<NSString*>(this);
}

RefPtr<NSString> operator""_ns(const char* text, std::size_t length)
{
    return NSString::create(std::string(text, length));
}
