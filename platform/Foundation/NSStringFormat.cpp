#include "NSStringFormat.h"

#include "NSString.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <sys/types.h>

namespace platform {

namespace {

// One conversion, parsed: everything snprintf needs except the argument itself.
struct Conversion {
    std::string flags;
    bool hasWidth = false;
    int width = 0;
    bool hasPrecision = false;
    int precision = 0;
    std::string length; // "", "hh", "h", "l", "ll", "q", "z", "t", "j", "L"
    char specifier = 0;

    // The conversion rebuilt for snprintf, with width and precision as plain numbers and
    // the length modifier given, so the argument type it reads is the one passed.
    std::string printfFormat(const char* lengthModifier, char conversion) const
    {
        std::string format = "%" + flags;
        if (hasWidth)
            format += std::to_string(width);
        if (hasPrecision)
            format += "." + std::to_string(precision);
        format += lengthModifier;
        format += conversion;
        return format;
    }
};

template<typename T>
void append(std::string& out, const std::string& format, T value)
{
    char small[128];
    int needed = std::snprintf(small, sizeof(small), format.c_str(), value);
    if (needed < 0)
        return;
    if (static_cast<std::size_t>(needed) < sizeof(small)) {
        out.append(small, needed);
        return;
    }
    std::string large(needed + 1, '\0');
    std::snprintf(large.data(), large.size(), format.c_str(), value);
    out.append(large.data(), needed);
}

// Text conversions (%s, %@, %c, %p) share one path: precision cuts, width pads.
void appendText(std::string& out, const Conversion& conversion, const std::string& text)
{
    std::string piece = text;
    if (conversion.hasPrecision && conversion.specifier != 'p' && static_cast<std::size_t>(conversion.precision) < piece.size())
        piece.resize(conversion.precision);
    std::size_t width = conversion.hasWidth ? static_cast<std::size_t>(conversion.width) : 0;
    if (piece.size() >= width) {
        out += piece;
        return;
    }
    if (conversion.flags.find('-') != std::string::npos)
        out += piece + std::string(width - piece.size(), ' ');
    else
        out += std::string(width - piece.size(), ' ') + piece;
}

void appendUTF8(std::string& out, std::uint32_t codePoint)
{
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

std::string objectDescription(id object)
{
    if (!object)
        return "(null)";
    // description hands back an autoreleased string; drain it here rather than leave it
    // to whatever pool (if any) the caller has.
    objc::AutoreleasePool pool;
    auto text = objc_cast<NSString>(objc_msgSend<id>(object, "description"_sel));
    return text ? text->string() : std::string("(null)");
}

void appendSigned(std::string& out, const Conversion& c, va_list* arguments)
{
    const std::string& length = c.length;
    if (length == "hh")
        append(out, c.printfFormat("hh", c.specifier), static_cast<signed char>(va_arg(*arguments, int)));
    else if (length == "h")
        append(out, c.printfFormat("h", c.specifier), static_cast<short>(va_arg(*arguments, int)));
    else if (length == "l")
        append(out, c.printfFormat("l", c.specifier), va_arg(*arguments, long));
    else if (length == "ll" || length == "q" || length == "L")
        append(out, c.printfFormat("ll", c.specifier), va_arg(*arguments, long long));
    else if (length == "z")
        append(out, c.printfFormat("z", c.specifier), va_arg(*arguments, ssize_t));
    else if (length == "t")
        append(out, c.printfFormat("t", c.specifier), va_arg(*arguments, std::ptrdiff_t));
    else if (length == "j")
        append(out, c.printfFormat("j", c.specifier), va_arg(*arguments, std::intmax_t));
    else
        append(out, c.printfFormat("", c.specifier), va_arg(*arguments, int));
}

void appendUnsigned(std::string& out, const Conversion& c, va_list* arguments)
{
    const std::string& length = c.length;
    if (length == "hh")
        append(out, c.printfFormat("hh", c.specifier), static_cast<unsigned char>(va_arg(*arguments, unsigned)));
    else if (length == "h")
        append(out, c.printfFormat("h", c.specifier), static_cast<unsigned short>(va_arg(*arguments, unsigned)));
    else if (length == "l")
        append(out, c.printfFormat("l", c.specifier), va_arg(*arguments, unsigned long));
    else if (length == "ll" || length == "q" || length == "L")
        append(out, c.printfFormat("ll", c.specifier), va_arg(*arguments, unsigned long long));
    else if (length == "z")
        append(out, c.printfFormat("z", c.specifier), va_arg(*arguments, std::size_t));
    else if (length == "t")
        append(out, c.printfFormat("t", c.specifier), va_arg(*arguments, std::ptrdiff_t));
    else if (length == "j")
        append(out, c.printfFormat("j", c.specifier), va_arg(*arguments, std::uintmax_t));
    else
        append(out, c.printfFormat("", c.specifier), va_arg(*arguments, unsigned));
}

void appendFloating(std::string& out, const Conversion& c, va_list* arguments)
{
    if (c.length == "L")
        append(out, c.printfFormat("L", c.specifier), va_arg(*arguments, long double));
    else
        append(out, c.printfFormat("", c.specifier), va_arg(*arguments, double));
}

// Widths and precisions beyond this are taken as this: a log line padded to two
// gigabytes (or a width that overflows an int) is a mistake, not a layout.
constexpr int kLargestWidth = 4096;

int boundedWidth(long long value)
{
    return static_cast<int>(std::min<long long>(value, kLargestWidth));
}

// Reads "flags width .precision length" after a '%'; `*` takes its number from the
// arguments, a negative width meaning left-justify, a negative precision none at all.
const char* parseConversion(const char* cursor, Conversion& c, va_list* arguments)
{
    while (*cursor && std::strchr("-+ #0'", *cursor))
        c.flags += *cursor++;
    if (*cursor == '*') {
        ++cursor;
        c.hasWidth = true;
        long long width = va_arg(*arguments, int);
        if (width < 0) {
            c.flags += '-';
            width = -width;
        }
        c.width = boundedWidth(width);
    } else if (*cursor >= '0' && *cursor <= '9') {
        c.hasWidth = true;
        while (*cursor >= '0' && *cursor <= '9')
            c.width = boundedWidth(c.width * 10LL + (*cursor++ - '0'));
    }
    if (*cursor == '.') {
        ++cursor;
        c.hasPrecision = true;
        if (*cursor == '*') {
            ++cursor;
            c.precision = va_arg(*arguments, int);
            if (c.precision < 0)
                c.hasPrecision = false;
            else
                c.precision = boundedWidth(c.precision);
        } else {
            while (*cursor >= '0' && *cursor <= '9')
                c.precision = boundedWidth(c.precision * 10LL + (*cursor++ - '0'));
        }
    }
    for (const char* modifier : { "hh", "ll", "h", "l", "q", "z", "t", "j", "L" }) {
        std::size_t size = std::strlen(modifier);
        if (!std::strncmp(cursor, modifier, size)) {
            c.length = modifier;
            cursor += size;
            break;
        }
    }
    c.specifier = *cursor;
    return *cursor ? cursor + 1 : cursor;
}

} // namespace

std::string formatString(const char* format, va_list input)
{
    std::string out;
    if (!format)
        return out;
    // Every conversion reads its argument from this one list, in order, so each must
    // take exactly the type the caller passed.
    va_list arguments;
    va_copy(arguments, input);
    const char* cursor = format;
    while (*cursor) {
        if (*cursor != '%') {
            const char* next = std::strchr(cursor, '%');
            std::size_t run = next ? static_cast<std::size_t>(next - cursor) : std::strlen(cursor);
            out.append(cursor, run);
            cursor += run;
            continue;
        }
        const char* start = cursor++;
        Conversion c;
        cursor = parseConversion(cursor, c, &arguments);
        switch (c.specifier) {
        case '%':
            out += '%';
            break;
        case 'd':
        case 'i':
            appendSigned(out, c, &arguments);
            break;
        case 'u':
        case 'o':
        case 'x':
        case 'X':
            appendUnsigned(out, c, &arguments);
            break;
        case 'f':
        case 'F':
        case 'e':
        case 'E':
        case 'g':
        case 'G':
        case 'a':
        case 'A':
            appendFloating(out, c, &arguments);
            break;
        case 'c': {
            std::string character;
            if (c.length == "l")
                appendUTF8(character, static_cast<std::uint32_t>(va_arg(arguments, wint_t)));
            else
                character += static_cast<char>(va_arg(arguments, int));
            appendText(out, c, character);
            break;
        }
        case 'C': {
            // A unichar: one UTF-16 code unit, promoted to int.
            std::string character;
            appendUTF8(character, static_cast<std::uint16_t>(va_arg(arguments, int)));
            appendText(out, c, character);
            break;
        }
        case 's': {
            const char* text = va_arg(arguments, const char*);
            appendText(out, c, text ? text : "(null)");
            break;
        }
        case 'p': {
            // Apple prints every pointer, null included, as 0x followed by hex digits.
            char hex[2 + 2 * sizeof(void*) + 1];
            std::snprintf(hex, sizeof(hex), "0x%llx", static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(va_arg(arguments, void*))));
            appendText(out, c, hex);
            break;
        }
        case '@':
            appendText(out, c, objectDescription(va_arg(arguments, id)));
            break;
        default:
            // Not a conversion this formatter knows (or the format ended early): keep
            // the text as written rather than guess at an argument.
            out.append(start, cursor - start);
            break;
        }
    }
    va_end(arguments);
    return out;
}

} // namespace platform
