#pragma once
// The basic vocabulary of the Objective-C runtime, as <objc/objc.h> gives it.

#include <cstddef>

namespace objc {
class Object;
}

struct objc_class;
struct objc_selector;
struct objc_method;

using Class = objc_class*;
using SEL = const objc_selector*;
using Method = objc_method*;
using id = objc::Object*;
using IMP = void (*)();
using BOOL = bool;

inline constexpr std::nullptr_t nil = nullptr;
inline constexpr Class Nil = nullptr;
inline constexpr bool YES = true;
inline constexpr bool NO = false;
