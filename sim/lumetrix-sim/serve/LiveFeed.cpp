#include "LiveFeed.h"

#include "LivePhoneProcess.h"
#include "PageLine.h"
#include "PhonePipes.h"

#include "sim/lumetrix-sim/run/EventLog.h"
#include "sim/lumetrix-sim/run/Interpreter.h"
#include "sim/lumetrix-sim/run/ScenarioHost.h"
#include "sim/lumetrix-sim/settingsprocess/SettingsProcess.h"

#include "Foundation/RunLoop.h"
#include "MediaRemote/Base64.h"
#include "MediaRemote/NowPlayingApplication.h"
#include "SpringBoard/SBDeviceApplicationSceneViewController.h"
#include "SpringBoard/SpringBoard.h"

#include <unistd.h>

#include <chrono>
#include <algorithm>
#include <cmath>

using nlohmann::json;

namespace sim {

namespace {

double wallNow()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

bool touchesSettings(const std::string& line)
{
    for (const char* word : { "settings", "pref", "pref-reset", "appearance" }) {
        std::string prefix = word;
        if (line == prefix || line.rfind(prefix + " ", 0) == 0)
            return true;
    }
    return false;
}

// Artwork bigger than this is not shown in the page's track list (it still plays).
constexpr std::size_t kLargestArtworkShown = 2 * 1024 * 1024;

} // namespace

LiveFeed::LiveFeed(Setup setup)
    : m_setup(std::move(setup))
{
}

void LiveFeed::report(const json& message)
{
    // A server that has gone leaves the phone to finish on its own: never block on it.
    if (!m_serverGone && !sendReport(m_setup.reportFd, message))
        m_serverGone = true;
}

void LiveFeed::enterProcess(ScenarioHost& host, RunState& state)
{
    m_process = getpid();
    m_frames = std::make_unique<FrameMaker>(m_setup.frameScale);
    m_pending.reset();
    m_lastMusic = nullptr;
    m_lastPhone = nullptr;
    m_artworkSent = 0;
    m_logOffset = 0;
    m_settingsChanged = true;
    m_ticksWithoutFrame = 0;
    m_nextTick = m_nextClockReport = 0;
    report({ { "live", { { "device", state.device }, { "t", EventLog::runSeconds(host.runLoop().now(), state.runStart) } } } });
}

double LiveFeed::tickInterval(ScenarioHost& host) const
{
    if (m_ticksWithoutFrame < kStillTicks)
        return kTickSeconds;
    // Still: only a timer (or the page) can change the screen; wake when the next is due.
    auto& loop = host.runLoop();
    double rest = kRestSeconds;
    if (auto due = loop.nextDueTime(); due && m_clock.speed() > 0)
        rest = std::min(rest, (*due - loop.now()) / m_clock.speed());
    return std::max(rest, kTickSeconds);
}

void LiveFeed::advance(ScenarioHost& host)
{
    double wall = wallNow();
    m_clock.wallElapsed(wall - m_lastWall);
    m_lastWall = wall;
    host.runLoop().runUntil(m_segmentStart + m_clock.elapsedSeconds());
}

bool LiveFeed::appendLine(const json& request, RunState& state, ScenarioHost& host)
{
    int id = request.value("id", 0);
    scenario::Command command;
    try {
        command = readPageLine(request.value("line", std::string()), m_setup.outputFolder, id);
    } catch (const PageLineRefused& error) {
        report({ { "refused", { { "id", id }, { "error", error.what() } } } });
        return false;
    }
    std::string wait = m_clock.takeWait();
    auto& commands = m_setup.scenario->commands;
    // Lines before nextCommand ran here or in an earlier SpringBoard process, whose
    // copy of the scenario went with it: only their count matters now.
    if (commands.size() < state.nextCommand)
        commands.resize(state.nextCommand);
    m_pending = PendingLine { id, state.failures, touchesSettings(command.text), wallNow() };
    report({ { "ran",
        { { "id", id }, { "wait", wait }, { "line", command.text },
            { "t", EventLog::runSeconds(host.runLoop().now(), state.runStart) } } } });
    commands.push_back(std::move(command));
    return true;
}

bool LiveFeed::operator()(ScenarioHost& host, RunState& state, RunServices& services)
{
    auto& loop = host.runLoop();
    if (m_process != getpid())
        enterProcess(host, state);
    m_segmentStart = loop.now();
    m_lastWall = wallNow();
    // A line may have set something off that shows only in later ticks: tick at full
    // rate, not at the end of a rest begun before the line came, on a beat that starts
    // when the line came (the time it took to run does not delay every frame after it).
    m_ticksWithoutFrame = 0;
    m_nextTick = m_pending ? m_pending->arrived + kTickSeconds : 0;
    // What the line did is published before it is reported done, so whoever waited for
    // it finds its effects.
    if (m_pending)
        m_settingsChanged = m_settingsChanged || m_pending->touchesSettings;
    publish(host, state, services);
    if (m_pending) {
        report({ { "done", { { "id", m_pending->id }, { "failures", state.failures - m_pending->failuresBefore } } } });
        m_pending.reset();
    }

    for (;;) {
        m_clock.setSpeed(m_setup.controls->speed());
        double now = wallNow();
        if (m_nextTick <= now) {
            // Ticks keep their own beat: the time a frame took comes out of the wait for
            // the next, not on top of it (a phone behind by a whole tick starts afresh).
            double interval = tickInterval(host);
            m_nextTick = m_nextTick > 0 && now - m_nextTick < interval ? m_nextTick + interval : now + interval;
        }
        // Paused, nothing moves: wait for the page alone (the pipe wakes us at once).
        double timeout = m_clock.speed() > 0 ? m_nextTick - now : 0.5;
        json request;
        PipeRead read = readRequest(m_setup.requestFd, timeout, request);
        if (read == PipeRead::Closed)
            return false;
        // A line runs at the instant it arrives.
        advance(host);
        if (read == PipeRead::Message) {
            if (request.contains("line")) {
                if (appendLine(request, state, host))
                    return true;
            } else if (request.contains("flush")) {
                // The recorder wants the time so far as a line of its own.
                report({ { "ran", { { "id", request["flush"] }, { "wait", m_clock.takeWait() }, { "t", EventLog::runSeconds(loop.now(), state.runStart) } } } });
                m_segmentStart = loop.now();
            } else if (request.contains("end")) {
                return false;
            }
        }
        publish(host, state, services);
    }
}

void LiveFeed::publish(ScenarioHost& host, RunState& state, RunServices& services)
{
    double now = host.runLoop().now();
    double runSeconds = EventLog::runSeconds(now, state.runStart);
    SpringBoard* springBoard = host.springBoard();

    json phone = { { "device", state.device }, { "dark", state.dark }, { "locked", springBoard ? springBoard->isLocked() : true },
        { "front", nullptr }, { "apps", json::array() } };
    if (springBoard) {
        if (auto* front = springBoard->frontApp())
            phone["front"] = front->bundleIdentifier();
        for (auto* app : springBoard->openApps())
            phone["apps"].push_back(app->bundleIdentifier());
    }
    if (phone != m_lastPhone) {
        m_lastPhone = phone;
        report({ { "phone", phone } });
    }
    if (auto frame = m_frames->frameIfChanged(springBoard, host.tweakHandle(), now)) {
        (*frame)["t"] = runSeconds;
        report({ { "frame", std::move(*frame) } });
        // The page waits for the picture; the inspector's dumps can follow it.
        report({ { "frame-dumps", m_frames->dumpsOfLastFrame(springBoard, host.tweakHandle(), runSeconds) } });
        m_ticksWithoutFrame = 0;
    } else if (m_frames->isMoving()) {
        m_ticksWithoutFrame = 0;
    } else {
        ++m_ticksWithoutFrame;
    }
    publishMusic(host, now, runSeconds);
    if (m_settingsChanged) {
        m_settingsChanged = false;
        try {
            report({ { "settings", services.settings.request({ { "op", "dump" } }, now) } });
        } catch (const std::exception& error) {
            report({ { "settings", { { "problem", error.what() } } } });
        }
    }
    // The transcript (events and the lines that ran) is what the page's log reads.
    std::error_code unknown;
    auto offset = static_cast<std::uint64_t>(std::filesystem::file_size(m_setup.outputFolder / kLiveTranscriptFile, unknown));
    if (!unknown && offset != m_logOffset) {
        m_logOffset = offset;
        report({ { "log", offset } });
    }
    double wall = wallNow();
    if (wall >= m_nextClockReport) {
        // The page shows tenths of a second; still, it hears the time less often.
        m_nextClockReport = wall + (m_ticksWithoutFrame < kStillTicks ? 0.25 : 1.0);
        report({ { "clock", { { "t", runSeconds }, { "speed", m_clock.speed() } } } });
    }
}

void LiveFeed::publishMusic(ScenarioHost& host, double now, double runSeconds)
{
    auto& application = host.nowPlaying();
    json tracks = json::array();
    for (auto& track : application.queue()) {
        tracks.push_back({ { "title", track.title ? json(*track.title) : json(nullptr) },
            { "artist", track.artist ? json(*track.artist) : json(nullptr) }, { "duration", track.duration },
            { "artwork", track.artwork.has_value() } });
    }
    json music = { { "tracks", std::move(tracks) }, { "current", application.currentIndex() }, { "playing", application.isPlaying() },
        { "stopped", application.isStopped() } };
    // The position moves by itself while playing; the page carries it on from the last
    // report, so only a change of anything else (or a jump) is news.
    double position = application.position(now);
    double expected = m_lastPosition + (application.isPlaying() ? now - m_lastPositionAt : 0);
    if (music == m_lastMusic && std::abs(position - expected) < 0.01)
        return;
    m_lastMusic = music;
    m_lastPosition = position;
    m_lastPositionAt = now;
    music["elapsed"] = position;
    music["t"] = runSeconds;
    report({ { "music", music } });

    auto& queue = application.queue();
    if (m_artworkSent < queue.size()) {
        json artwork = json::array();
        for (std::size_t i = m_artworkSent; i < queue.size(); ++i) {
            auto& bytes = queue[i].artwork;
            auto type = queue[i].artworkMIMEType();
            if (bytes && type && bytes->size() <= kLargestArtworkShown)
                artwork.push_back({ { "index", i }, { "type", *type }, { "data", platform::encodeBase64(*bytes) } });
        }
        m_artworkSent = queue.size();
        report({ { "artwork", std::move(artwork) } });
    }
}

} // namespace sim
