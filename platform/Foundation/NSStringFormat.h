#pragma once
// Foundation's string formatting: printf conversions plus %@, which prints an object's
// description (sent through the runtime, so a replaced description shows).

#include <cstdarg>
#include <string>

namespace platform {

std::string formatString(const char* format, va_list);

} // namespace platform
