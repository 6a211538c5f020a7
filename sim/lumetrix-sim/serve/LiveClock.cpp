#include "LiveClock.h"

#include <cmath>

namespace sim {

void LiveClock::wallElapsed(double wallSeconds)
{
    if (!(wallSeconds > 0) || m_speed <= 0)
        return;
    // A stalled machine (a debugger, a suspended laptop) should not make the phone
    // jump a day: one step never counts for more than ten seconds of wall time.
    double milliseconds = std::fmin(wallSeconds, 10.0) * m_speed * 1000.0 + m_fraction;
    double whole = std::floor(milliseconds);
    m_milliseconds += static_cast<long long>(whole);
    m_fraction = milliseconds - whole;
}

std::string LiveClock::takeWait()
{
    long long milliseconds = m_milliseconds;
    m_milliseconds = 0;
    return milliseconds > 0 ? secondsText(milliseconds) : std::string();
}

std::string LiveClock::secondsText(long long milliseconds)
{
    std::string text = std::to_string(milliseconds / 1000);
    long long rest = milliseconds % 1000;
    if (rest) {
        std::string fraction = std::to_string(rest);
        fraction.insert(0, 3 - fraction.size(), '0');
        while (fraction.back() == '0')
            fraction.pop_back();
        text += "." + fraction;
    }
    return text;
}

} // namespace sim
