#pragma once
// How `lumetrix-sim run` was asked to run its scenarios.

#include "sim/lumetrix-sim/music/MusicOption.h"
#include <nlohmann/json.hpp>

#include <map>
#include <optional>
#include <string>

namespace sim {

struct RunOptions {
    // Use and keep this device root; without it each scenario gets a fresh temporary one.
    std::optional<std::string> root;
    // Where a temporary device root is made (the system's temporary folder without it):
    // a live phone's keeper names a folder of its own, so it can remove what a device
    // process killed outright leaves behind.
    std::optional<std::string> temporaryRootsFolder;
    // Install this device package (.deb) instead of the one built with this program.
    std::optional<std::string> package;
    // Write the event log here; without it the log is a temporary file (expect-events
    // still reads it).
    std::optional<std::string> eventsPath;
    // The device profile's name (the default profile without it).
    std::optional<std::string> device;
    // The clock follows the wall clock: `wait` really waits.
    bool realtime = false;
    // The now-playing app follows this desktop player instead of the scenario's tracks
    // (only in real time).
    std::optional<MusicOption> music;
    // NSLog lines also go to standard error.
    bool echoLogs = false;
    // Write a JUnit XML report here.
    std::optional<std::string> junitPath;
    // Missing or different golden pictures are written instead of failing.
    bool updateSnapshots = false;
    // Nothing on standard output: no PASS / FAIL lines, no closing count.
    bool quiet = false;
    // Relative dump files go here instead of beside the scenario.
    std::optional<std::string> dumpDirectory;
    // For the demo: every event and every scenario step, in order.
    std::optional<std::string> transcriptPath;
    // For the demo's contact sheet: every picture the run takes, reduced to this width
    // (pixels) and kept here by the path it was written to, whichever process took it.
    int thumbnailWidth = 0;
    std::map<std::string, nlohmann::json>* thumbnails = nullptr;
};

} // namespace sim
