#pragma once
// The live phone's side of a session, inside the interpreter: whenever the scenario has
// run out, time runs on at the page's speed until a line comes from the page; the line
// is parsed like any scenario line, appended, and the interpreter runs it at that
// instant. Meanwhile the page gets a frame whenever the screen changed, and word of the
// music app, the Settings app and the event log as they change.
//
// One object is made in the device process; each SpringBoard process works on its own
// copy (a respring is a new process), so what it learns it reports at once.

#include "FrameMaker.h"
#include "LiveClock.h"

#include "sim/lumetrix-sim/scenario/Command.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <memory>
#include <optional>
#include <sys/types.h>

namespace sim {

class ScenarioHost;
struct LiveControls;
struct RunServices;
struct RunState;

class LiveFeed {
public:
    struct Setup {
        int requestFd = -1;
        int reportFd = -1;
        const LiveControls* controls = nullptr;
        std::filesystem::path outputFolder;
        double frameScale = 2;
        // The phone's scenario, which the page's lines are appended to.
        scenario::Scenario* scenario = nullptr;
    };
    explicit LiveFeed(Setup);

    // RunServices::awaitCommands.
    bool operator()(ScenarioHost&, RunState&, RunServices&);

    // How often the clock moves while the screen changes: a frame for every refresh of
    // a 60 Hz display.
    static constexpr double kTickSeconds = 1.0 / 60;
    // How long the clock may rest while the screen stands still and no timer is due: a
    // still phone costs next to nothing, and a line from the page wakes it at once.
    static constexpr double kRestSeconds = 0.5;
    // Ticks in a row without a new frame before the phone counts as still.
    static constexpr int kStillTicks = 3;

private:
    struct PendingLine {
        int id = 0;
        int failuresBefore = 0;
        bool touchesSettings = false;
        // Wall-clock seconds when it came.
        double arrived = 0;
    };

    void enterProcess(ScenarioHost&, RunState&);
    void advance(ScenarioHost&);
    // Wall seconds until the next tick.
    double tickInterval(ScenarioHost&) const;
    bool appendLine(const nlohmann::json& request, RunState&, ScenarioHost&);
    void publish(ScenarioHost&, RunState&, RunServices&);
    void publishMusic(ScenarioHost&, double now, double runSeconds);
    void report(const nlohmann::json&);

    Setup m_setup;
    pid_t m_process = 0;
    LiveClock m_clock;
    double m_segmentStart = 0;
    double m_lastWall = 0;
    double m_nextTick = 0;
    double m_nextClockReport = 0;
    std::unique_ptr<FrameMaker> m_frames;
    std::optional<PendingLine> m_pending;
    nlohmann::json m_lastMusic;
    double m_lastPosition = 0;
    double m_lastPositionAt = 0;
    nlohmann::json m_lastPhone;
    std::size_t m_artworkSent = 0;
    std::uint64_t m_logOffset = 0;
    bool m_settingsChanged = true;
    int m_ticksWithoutFrame = 0;
    bool m_serverGone = false;
};

} // namespace sim
