#pragma once
// The live phone's virtual clock between two lines: how far it has run, in whole
// milliseconds, while the wall clock went on at the chosen speed.
//
// Whole milliseconds are what make a recording replay exactly: the phone is run to
// `start + ms / 1000.0`, and the recording says `wait` with the same milliseconds in
// decimal, which the scenario parser reads back as that same double.

#include <string>

namespace sim {

class LiveClock {
public:
    // 0 pauses; 1 is real time.
    void setSpeed(double speed) { m_speed = speed > 0 ? speed : 0; }
    double speed() const { return m_speed; }

    // The wall clock moved on by `wallSeconds` at the current speed.
    void wallElapsed(double wallSeconds);
    // Whole milliseconds of virtual time since the last line.
    long long elapsedMilliseconds() const { return m_milliseconds; }
    double elapsedSeconds() const { return static_cast<double>(m_milliseconds) / 1000.0; }
    // The time since the last line, as the `wait` a recording needs before the next one
    // (empty when no time passed); the count starts again from zero.
    std::string takeWait();

    // "2.345", "2", "0.05": the shortest decimal for whole milliseconds.
    static std::string secondsText(long long milliseconds);

private:
    double m_speed = 1;
    long long m_milliseconds = 0;
    // Less than a millisecond, carried to the next call so slow ticks add up.
    double m_fraction = 0;
};

} // namespace sim
