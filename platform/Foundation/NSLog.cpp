#include "NSLog.h"

#include "NSDate.h"
#include "NSStringFormat.h"
#include "ReferenceClock.h"
#include "Platform/Platform.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdio>
#include <ctime>
#include <string>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

bool s_stderrEnabled = true;

// "2026-01-01 00:00:00.000", in UTC: a simulated device keeps its clock in UTC.
std::string timestamp(double absoluteTime)
{
    // Rounded to whole milliseconds first, so 0.9996 s carries into the next second
    // instead of printing as .999 or 1000.
    long long milliseconds = std::llround((absoluteTime + NSDate::timeIntervalBetween1970AndReferenceDate) * 1000.0);
    long long seconds = milliseconds / 1000;
    long long fraction = milliseconds % 1000;
    if (fraction < 0) {
        fraction += 1000;
        --seconds;
    }
    std::time_t unixSeconds = static_cast<std::time_t>(seconds);
    std::tm parts {};
    gmtime_r(&unixSeconds, &parts);
    char text[64];
    std::snprintf(text, sizeof(text), "%04d-%02d-%02d %02d:%02d:%02d.%03lld", parts.tm_year + 1900, parts.tm_mon + 1,
        parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec, fraction);
    return text;
}

} // namespace

void NSLogSetStderrEnabled(bool enabled)
{
    s_stderrEnabled = enabled;
}

void NSLogv(const char* format, va_list arguments)
{
    std::string message = platform::formatString(format, arguments);
    if (s_stderrEnabled) {
        std::string line = timestamp(platform::referenceClockNow()) + " " + platform::processName() + "["
            + std::to_string(getpid()) + ":" + std::to_string(syscall(SYS_gettid)) + "] " + message;
        if (line.empty() || line.back() != '\n')
            line += '\n';
        // One write, so lines from several processes sharing the terminal never interleave.
        std::fflush(stderr);
        ssize_t written = write(STDERR_FILENO, line.data(), line.size());
        (void)written;
    }
    platform::emitEvent({ { "type", "log" }, { "text", message } });
}

namespace platform::detail {

void logFormatted(const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    NSLogv(format, arguments);
    va_end(arguments);
}

} // namespace platform::detail
