#pragma once
// The one entry into the text library (libplatformtext.so) that UIKit's measuring needs.
// The library holds pango, cairo, fontconfig and their dependencies, so it is loaded at the
// first measurement rather than with the platform: a process that never measures or draws
// text (colouring artwork, a SpringBoard with nothing playing) never maps them.

#include "NSStringDrawing.h"

#include <cstddef>

// The logical extents of `length` bytes of UTF-8 set on one line in the system font, into
// `extents` (a C entry returns no C++ type, so the size comes back through a pointer).
extern "C" __attribute__((visibility("default"))) void platformMeasureSystemFontText(const char* utf8, std::size_t length, CGFloat pointSize, UIFontWeight,
    CGSize* extents);

namespace platform {

using SystemFontMeasurer = decltype(&platformMeasureSystemFontText);

// platformMeasureSystemFontText from the text library beside libplatform.so, loaded on the
// first call. A text library that cannot be loaded stops the process with a message: text
// that is not measured would lay out wrong without a sign.
SystemFontMeasurer systemFontMeasurer();

} // namespace platform
