#include "Watchdog.h"

#include <cstdlib>
#include <fstream>
#include <string>

namespace sim {

double watchdogSeconds()
{
    constexpr double standard = 120;
    const char* text = std::getenv("LUMETRIX_SIM_WATCHDOG");
    if (!text || !*text)
        return standard;
    char* end = nullptr;
    double seconds = std::strtod(text, &end);
    return *end == '\0' && seconds > 0 && seconds <= 86400 ? seconds : standard;
}

std::string unansweringProcessState(pid_t pid)
{
    // /proc/PID/stat: "PID (NAME) STATE ..."; the name may hold spaces and parentheses.
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    std::size_t close = line.rfind(')');
    if (close != std::string::npos && close + 2 < line.size() && (line[close + 2] == 'T' || line[close + 2] == 't'))
        return "stopped (SIGSTOP)";
    return "busy or stuck";
}

} // namespace sim
