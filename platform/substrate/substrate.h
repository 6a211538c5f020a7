#pragma once
// CydiaSubstrate's message hooking, as tweaks call it.

#include "objc/runtime.h"

// Makes `cls` answer `sel` with `replacement`. Where the class inherits the method
// rather than defining it, an override is added to the class itself, so the superclass
// and the class's siblings are untouched. The implementation that answered before is
// written to `*result` (when given), for the replacement to call through.
void MSHookMessageEx(Class cls, SEL sel, IMP replacement, IMP* result);
