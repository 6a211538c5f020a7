#pragma once
// Objective-C type encodings of C++ types, so that a message send can be checked against
// the types of the method it reaches ("v@:@" and friends).
//
// Frameworks that define structures passed through the runtime (CGRect, CGPoint, ...)
// specialise objc::TypeEncoding for them.

#include "objc.h"

#include <string>
#include <type_traits>

namespace objc {

class BlockObject;

template<typename T, typename = void>
struct TypeEncoding {
    static_assert(sizeof(T) == 0, "no Objective-C type encoding for this type; specialise objc::TypeEncoding");
};

template<typename T>
struct TypeEncoding<T*, std::enable_if_t<std::is_base_of_v<Object, T> && !std::is_base_of_v<BlockObject, T>>> {
    static constexpr const char* value = "@";
};
// A block (^{ ... }) is an object, encoded apart from other objects as Objective-C does.
template<typename T>
struct TypeEncoding<T*, std::enable_if_t<std::is_base_of_v<BlockObject, T>>> {
    static constexpr const char* value = "@?";
};
// One line each: the table reads as the encodings it lists.
// clang-format off
template<> struct TypeEncoding<void> { static constexpr const char* value = "v"; };
template<> struct TypeEncoding<SEL> { static constexpr const char* value = ":"; };
template<> struct TypeEncoding<Class> { static constexpr const char* value = "#"; };
template<> struct TypeEncoding<bool> { static constexpr const char* value = "B"; };
template<> struct TypeEncoding<char> { static constexpr const char* value = "c"; };
template<> struct TypeEncoding<signed char> { static constexpr const char* value = "c"; };
template<> struct TypeEncoding<unsigned char> { static constexpr const char* value = "C"; };
template<> struct TypeEncoding<short> { static constexpr const char* value = "s"; };
template<> struct TypeEncoding<unsigned short> { static constexpr const char* value = "S"; };
template<> struct TypeEncoding<int> { static constexpr const char* value = "i"; };
template<> struct TypeEncoding<unsigned> { static constexpr const char* value = "I"; };
// On 64-bit iOS long is 64 bits and encodes as 'q', like long long.
template<> struct TypeEncoding<long> { static constexpr const char* value = "q"; };
template<> struct TypeEncoding<unsigned long> { static constexpr const char* value = "Q"; };
template<> struct TypeEncoding<long long> { static constexpr const char* value = "q"; };
template<> struct TypeEncoding<unsigned long long> { static constexpr const char* value = "Q"; };
template<> struct TypeEncoding<float> { static constexpr const char* value = "f"; };
template<> struct TypeEncoding<double> { static constexpr const char* value = "d"; };
template<> struct TypeEncoding<const char*> { static constexpr const char* value = "*"; };
template<> struct TypeEncoding<void*> { static constexpr const char* value = "^v"; };
template<> struct TypeEncoding<const void*> { static constexpr const char* value = "^v"; };
// Out-parameters (-getRed:green:blue:alpha:, Cephei's bound variables) and C arrays of
// objects (+dictionaryWithObjects:forKeys:count:). The 'r' of a const pointee is a
// qualifier the comparison drops, so const and mutable pointers encode alike here.
template<> struct TypeEncoding<double*> { static constexpr const char* value = "^d"; };
template<> struct TypeEncoding<float*> { static constexpr const char* value = "^f"; };
template<> struct TypeEncoding<bool*> { static constexpr const char* value = "^B"; };
template<> struct TypeEncoding<Object**> { static constexpr const char* value = "^@"; };
template<> struct TypeEncoding<Object* const*> { static constexpr const char* value = "^@"; };
// clang-format on

// The encoding of a method returning R and taking (self, _cmd, Args...).
template<typename R, typename... Args>
const std::string& methodEncoding()
{
    // Built once per signature; the address doubles as a cheap identity for caching.
    static const std::string encoding = [] {
        std::string result = TypeEncoding<std::remove_cv_t<R>>::value;
        result += "@:";
        ((result += TypeEncoding<std::remove_cv_t<Args>>::value), ...);
        return result;
    }();
    return encoding;
}

// Drops the frame offsets and method qualifiers a full encoding may carry
// ("v24@0:8@16" and "Vv@:@" both read as "v@:@"), so encodings compare by types alone.
std::string normalizeEncoding(const char* types);

} // namespace objc
