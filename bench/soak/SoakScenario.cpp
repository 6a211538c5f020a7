#include "SoakScenario.h"

#include <sstream>

namespace soak {

namespace {

constexpr int kSecondsPerHour = 3600;
// Tracks of about four minutes: enough of them to play past the end of the day.
constexpr int kTrackSeconds = 241;

} // namespace

std::string soakScenario(const SoakPlan& plan)
{
    std::ostringstream out;
    out << "# Soak: " << plan.hours << " virtual hours of use.\n";
    out << "pref dynamicenabled true\npref swipetoskip true\npref songtitlebg true\n";
    int tracks = plan.hours * kSecondsPerHour / kTrackSeconds + 2;
    for (int i = 0; i < tracks; ++i) {
        out << "track \"Track " << i << "\" \"Artist " << i % 7 << "\" " << kTrackSeconds;
        switch (i % 3) {
        case 0:
            out << " artwork \"" << plan.mediaDirectory << "/daybreak.png\"\n";
            break;
        case 1:
            out << " artwork \"" << plan.mediaDirectory << "/nightdrive.jpg\"\n";
            break;
        default:
            out << " artwork none\n";
        }
    }
    out << "play\nboot\n";

    for (int hour = 1; hour <= plan.hours; ++hour) {
        int used = 0;
        auto wait = [&](int seconds) {
            out << "wait " << seconds << "\n";
            used += seconds;
        };
        // Locked: the row called up, a track restarted, a skip, every few minutes.
        for (int round = 0; round < 2; ++round) {
            out << "tap lockscreen 50\n";
            wait(1);
            out << "tap lockscreen 10\nswipe lockscreen right\n";
            wait(299);
        }
        // Every app in turn: its player tapped, the grabber idle and back, then closed.
        out << "unlock\n";
        for (int app = 0; app < plan.apps; ++app) {
            out << "open com.example.app" << app << "\n";
            wait(30);
            out << "tap app com.example.app" << app << " 50\n";
            wait(1);
            out << "tap app com.example.app" << app << " 10\n";
            wait(60);
            out << "grabber lost\n";
            wait(90);
            out << "grabber reset\n";
            wait(60);
            out << "close com.example.app" << app << "\n";
        }
        out << "lock\n";
        wait(kSecondsPerHour - used);
        out << "dump stats \"" << plan.statsDirectory << "/stats-hour" << hour << ".json\"\n";
        if (plan.respringEveryHours > 0 && hour < plan.hours && hour % plan.respringEveryHours == 0)
            out << "respring\n";
    }
    return out.str();
}

} // namespace soak
