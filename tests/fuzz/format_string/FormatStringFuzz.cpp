// The format-string path of NSLog and +[NSString stringWithFormat:]: any format text,
// each conversion given an argument of the type it reads (as a caller's must be), with
// the awkward values real arguments have: empty, long and non-UTF-8 text, nil objects,
// extreme numbers and widths. The format is cut into pieces of one conversion each, so
// every piece can be called with exactly the arguments it takes.

#include "Foundation/NSArray.h"
#include "Foundation/NSDictionary.h"
#include "Foundation/NSLog.h"
#include "Foundation/NSNumber.h"
#include "Foundation/NSString.h"
#include "Platform/Platform.h"

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

enum class Kind {
    None,
    Integer,
    Floating,
    LongFloating,
    Text,
    WideText,
    Object,
    Pointer
};

// What one piece's conversion reads: how many `*` numbers, then a value of `kind`.
struct Piece {
    std::string format;
    int stars = 0;
    Kind kind = Kind::None;
};

// The same reading of "% flags width .precision length specifier" as the formatter's.
std::vector<Piece> cut(const std::string& format)
{
    std::vector<Piece> pieces;
    std::size_t i = 0;
    Piece current;
    auto flush = [&] {
        if (!current.format.empty())
            pieces.push_back(current);
        current = {};
    };
    while (i < format.size()) {
        if (format[i] != '%') {
            current.format += format[i++];
            continue;
        }
        flush();
        std::size_t start = i++;
        while (i < format.size() && std::strchr("-+ #0'", format[i]))
            ++i;
        if (i < format.size() && format[i] == '*')
            ++i, ++current.stars;
        else
            while (i < format.size() && format[i] >= '0' && format[i] <= '9')
                ++i;
        if (i < format.size() && format[i] == '.') {
            ++i;
            if (i < format.size() && format[i] == '*')
                ++i, ++current.stars;
            else
                while (i < format.size() && format[i] >= '0' && format[i] <= '9')
                    ++i;
        }
        std::string length;
        for (const char* modifier : { "hh", "ll", "h", "l", "q", "z", "t", "j", "L" }) {
            if (format.compare(i, std::strlen(modifier), modifier) == 0) {
                length = modifier;
                i += length.size();
                break;
            }
        }
        char specifier = i < format.size() ? format[i++] : '\0';
        switch (specifier) {
        case 'd':
        case 'i':
        case 'u':
        case 'o':
        case 'x':
        case 'X':
        case 'c':
        case 'C':
            current.kind = Kind::Integer;
            break;
        case 'f':
        case 'F':
        case 'e':
        case 'E':
        case 'g':
        case 'G':
        case 'a':
        case 'A':
            current.kind = length == "L" ? Kind::LongFloating : Kind::Floating;
            break;
        case 's':
            current.kind = Kind::Text;
            break;
        case 'S':
            current.kind = Kind::WideText;
            break;
        case '@':
            current.kind = Kind::Object;
            break;
        case 'p':
            current.kind = Kind::Pointer;
            break;
        default:
            break;
        }
        current.format = format.substr(start, i - start);
        flush();
    }
    flush();
    return pieces;
}

struct Values {
    std::vector<long long> integers { 0, -1, 42, INT_MIN, INT_MAX, LLONG_MIN, LLONG_MAX, 1 << 30, -(1 << 30) };
    std::vector<double> reals { 0.0, -0.0, 1e308, -1e-320, std::numeric_limits<double>::infinity(), std::nan(""), 3.25 };
    std::vector<std::string> texts { "", "plain", std::string(3000, 'x'), "%s%@%n%d", "\xff\xfe\xc3(", std::string("nul\0in", 6) };
    std::vector<objc::RefPtr<NSObject>> objects;
    std::size_t next = 0;

    long long integer() { return integers[next++ % integers.size()]; }
    double real() { return reals[next++ % reals.size()]; }
    const char* text() { return texts[next++ % texts.size()].c_str(); }
    NSObject* object() { return objects[next++ % objects.size()].get(); }
};

// Calls `piece` with its star numbers and then `value`, through both entry points.
template<typename Value>
void call(const Piece& piece, Values& values, Value value)
{
    const char* format = piece.format.c_str();
    int width = static_cast<int>(values.integer());
    int precision = static_cast<int>(values.integer());
    switch (piece.stars) {
    case 0:
        (void)NSString::stringWithFormat(format, value);
        NSLog(format, value);
        break;
    case 1:
        (void)NSString::stringWithFormat(format, width, value);
        NSLog(format, width, value);
        break;
    default:
        (void)NSString::stringWithFormat(format, width, precision, value);
        NSLog(format, width, precision, value);
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    platform::registerClasses();
    NSLogSetStderrEnabled(false);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A C format ends at its first NUL.
    std::string format(reinterpret_cast<const char*>(data), strnlen(reinterpret_cast<const char*>(data), size));
    Values values;
    values.objects = { nullptr, NSString::create("an object \xff"), NSNumber::numberWithDouble(2.5),
        NSArray::create({ NSString::create("a"), NSNumber::numberWithInt(1) }), NSDictionary::create({ { NSString::create("k"), NSString::create("%@") } }) };
    const wchar_t wide[] = L"wide \u00e9 text";
    objc::AutoreleasePool pool;
    for (const Piece& piece : cut(format)) {
        switch (piece.kind) {
        case Kind::None:
            call(piece, values, 0);
            break;
        case Kind::Integer:
            call(piece, values, values.integer());
            break;
        case Kind::Floating:
            call(piece, values, values.real());
            break;
        case Kind::LongFloating:
            call(piece, values, static_cast<long double>(values.real()));
            break;
        case Kind::Text:
            call(piece, values, values.text());
            break;
        case Kind::WideText:
            call(piece, values, static_cast<const wchar_t*>(wide));
            break;
        case Kind::Object:
            call(piece, values, static_cast<id>(values.object()));
            break;
        case Kind::Pointer:
            call(piece, values, static_cast<const void*>(&values));
            break;
        }
    }
    return 0;
}
