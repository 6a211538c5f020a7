#pragma once
// The soak run's scenario: a virtual day of use, written as an ordinary scenario file so
// the soak goes through exactly the path users and CI take.

#include <string>

namespace soak {

struct SoakPlan {
    int hours = 24;
    int apps = 10;
    // A respring every this many hours; 0: none.
    int respringEveryHours = 6;
    // Folder of the demo's artwork (daybreak.png, nightdrive.jpg).
    std::string mediaDirectory;
    // Where each hour's statistics go (stats-hour1.json ... stats-hourN.json).
    std::string statsDirectory;
};

// One day: music playing throughout (a queue longer than the day, covers light, dark and
// none), the lock screen tapped and swiped, every hour each app opened, tapped, left
// idle until its grabber hides, touched again and closed; a respring every few hours.
std::string soakScenario(const SoakPlan&);

} // namespace soak
