#pragma once
// SpringBoard's process: the platform set up, the main run loop made, the tweaks whose
// filter names SpringBoard loaded. A respring is a new one of these, in a new process.

#include "sim/device/SubstrateLoader.h"

#include "Foundation/RunLoop.h"

#include <nlohmann/json.hpp>

#include <memory>
#include <string>
#include <vector>

namespace sim {

inline constexpr const char* kSpringBoardBundleIdentifier = "com.apple.springboard";

class SpringBoardProcess {
public:
    // Call in the process that is to become SpringBoard, once. The clock starts at
    // `startTime` (absolute time), so time runs on across SpringBoard restarts.
    explicit SpringBoardProcess(const std::string& deviceRoot, double startTime = kDefaultStartTime,
        platform::RunLoop::ClockMode = platform::RunLoop::ClockMode::Virtual);
    static constexpr double kDefaultStartTime = 788918400.0;
    ~SpringBoardProcess();

    platform::RunLoop& runLoop() { return *m_runLoop; }
    const std::vector<LoadedTweak>& tweaks() const { return m_tweaks; }

    // What the tweaks installed and the variables they export.
    nlohmann::json report() const;

private:
    std::unique_ptr<platform::RunLoop> m_runLoop;
    std::vector<LoadedTweak> m_tweaks;
};

} // namespace sim
