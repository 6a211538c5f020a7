#pragma once
// NSLog: one line on standard error, "YYYY-MM-DD HH:MM:SS.mmm process[pid:tid] message",
// dated by the platform clock, and a "log" event for the simulator's record.
//
// The format is printf's plus %@ for an object. Object arguments may be given as strong
// handles (NSLog("%@", "x"_ns)): they are passed on as plain pointers, since a handle
// itself cannot travel through C varargs.

#include "objc/RefPtr.h"

#include <cstdarg>
#include <type_traits>

void NSLogv(const char* format, va_list arguments);

// Whether NSLog also writes to standard error (the event is recorded either way); a
// simulator turns it off to keep its own output readable.
void NSLogSetStderrEnabled(bool);

namespace platform::detail {

void logFormatted(const char* format, ...);

template<typename T>
T* logArgument(const objc::RefPtr<T>& object)
{
    return object.get();
}

template<typename T>
const T& logArgument(const T& value)
{
    static_assert(std::is_trivially_copyable_v<T>, "NSLog: this argument cannot be passed through a C format");
    return value;
}

} // namespace platform::detail

template<typename... Arguments>
void NSLog(const char* format, const Arguments&... arguments)
{
    platform::detail::logFormatted(format, platform::detail::logArgument(arguments)...);
}
