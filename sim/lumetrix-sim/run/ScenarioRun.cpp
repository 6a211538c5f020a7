#include "ScenarioRun.h"

#include "DeviceHost.h"
#include "EventLog.h"
#include "Interpreter.h"
#include "LineChannel.h"
#include "RunState.h"
#include "SpringBoardHost.h"
#include "Watchdog.h"

#include "sim/device/DeviceRoot.h"
#include "sim/lumetrix-sim/scenario/ScenarioFile.h"
#include "sim/lumetrix-sim/settingsprocess/SettingsProcess.h"

#include "Foundation/NSLog.h"
#include "Platform/Platform.h"
#include "UIKit/UIDeviceProfile.h"

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;
using nlohmann::json;

namespace sim {

namespace {

platform::RunLoop::ClockMode clockMode(const RunOptions& options)
{
    return options.realtime ? platform::RunLoop::ClockMode::RealTime : platform::RunLoop::ClockMode::Virtual;
}

const char* stopName(Interpreter::Stop stop)
{
    switch (stop) {
    case Interpreter::Stop::End:
        return "end";
    case Interpreter::Stop::Boot:
        return "boot";
    case Interpreter::Stop::Respring:
        return "respring";
    }
    return "end";
}

// The SpringBoard process: boots with the tweak loaded, runs the scenario on until it
// ends or SpringBoard restarts, then reports the run state to the device process.
[[noreturn]] void runSpringBoardChild(scenario::CommandSource& commands, RunState state, RunServices services,
    const RunOptions& options, LineChannel toDevice)
{
    EventLog& log = services.log;
    double runStart = state.runStart;
    double bootTime = state.now;
    // Events from before the run loop exists (the tweak's initialiser) happen at boot.
    platform::setEventSink([&log, runStart, bootTime](const json& event) {
        double now = platform::RunLoop::main() ? platform::RunLoop::main()->now() : bootTime;
        log.write(event, EventLog::runSeconds(now, runStart));
    });
    NSLogSetStderrEnabled(options.echoLogs);
    services.beforeCommand = [&toDevice](std::size_t index) { toDevice.send({ { "at", index } }); };
    if (services.keepThumbnail) {
        services.keepThumbnail = [&toDevice](const std::string& path, const json& thumbnail) {
            toDevice.send({ { "thumbnail", thumbnail }, { "path", path } });
        };
    }

    json result;
    try {
        log.write({ { "type", "boot" } }, EventLog::runSeconds(bootTime, runStart));
        SpringBoardHost host(services.root.path().string(), state, clockMode(options));
        host.runLoop().runFor(0);
        if (auto url = std::exchange(state.openURLAfterBoot, std::nullopt)) {
            log.write({ { "type", "openURL" }, { "url", *url } }, EventLog::runSeconds(host.runLoop().now(), runStart));
            host.runLoop().runFor(0);
        }
        Interpreter::Stop stop = Interpreter(commands, state, services).run(host);
        host.save(state);
        result = { { "stop", stopName(stop) }, { "state", state.toJSON() } };
    } catch (const RunStopped& stopped) {
        // Already says where and who.
        result = { { "stopped", stopped.what() } };
    } catch (const std::exception& error) {
        result = { { "error", error.what() } };
    }
    toDevice.send(result);
    std::fflush(nullptr);
    _exit(0);
}

// The command at `index` for a message or a time limit, or nothing (also for a file
// that no longer reads as it did: the process running the line reports that).
const scenario::Command* commandForMessage(scenario::CommandSource& commands, std::size_t index)
{
    try {
        return commands.command(index);
    } catch (const scenario::ScenarioError&) {
        return nullptr;
    }
}

// Runs one SpringBoard process to its end. Nothing when it died: the message names the
// line it was running.
std::optional<Interpreter::Stop> runSpringBoardProcess(scenario::CommandSource& commands, RunState& state,
    RunServices& services, const RunOptions& options)
{
    int channel[2];
    if (pipe(channel) != 0)
        throw std::runtime_error("cannot make a pipe to SpringBoard");
    std::fflush(nullptr);
    pid_t pid = fork();
    if (pid < 0)
        throw std::runtime_error("cannot start SpringBoard");
    if (pid == 0) {
        close(channel[0]);
        runSpringBoardChild(commands, state, services, options, LineChannel(-1, channel[1]));
    }
    close(channel[1]);
    LineChannel fromSpringBoard(channel[0], -1);
    std::size_t at = state.nextCommand;
    json result;
    // The watchdog: each line may take its time, and a line's request to the Settings app
    // has a watchdog of its own, so SpringBoard gets both before it counts as stuck (and
    // in real time a `wait` its own length on top).
    auto lineLimit = [&](std::size_t index) {
        double limit = 2 * watchdogSeconds();
        if (options.realtime)
            if (auto* command = commandForMessage(commands, index))
                if (auto* wait = std::get_if<scenario::WaitCommand>(&command->body))
                    limit += wait->seconds;
        return limit;
    };
    bool stuck = false;
    std::string stuckState;
    for (;;) {
        bool timedOut = false;
        auto message = fromSpringBoard.receiveWithin(lineLimit(at), timedOut);
        if (timedOut) {
            stuck = true;
            stuckState = unansweringProcessState(pid);
            kill(pid, SIGKILL);
            break;
        }
        if (!message)
            break;
        if (message->contains("at"))
            at = (*message)["at"].get<std::size_t>();
        else if (message->contains("thumbnail")) {
            if (services.keepThumbnail)
                services.keepThumbnail((*message)["path"].get<std::string>(), (*message)["thumbnail"]);
        } else
            result = *message;
    }
    fromSpringBoard.close();
    int status = 0;
    waitpid(pid, &status, 0);

    auto where = [&] {
        if (auto* command = commandForMessage(commands, at))
            return command->where.prefix();
        return commands.file() + ": ";
    };
    if (stuck) {
        std::fprintf(stderr, "%sSpringBoard gave no answer within %g s of wall-clock time (%s); the run stops\n", where().c_str(),
            lineLimit(at), stuckState.c_str());
        return std::nullopt;
    }
    if (result.contains("state")) {
        // The tracks this process handed over never made the trip; they are still ours.
        auto tracks = std::move(state.tracks);
        state = RunState::fromJSON(result["state"]);
        state.tracks = std::move(tracks);
        std::string stop = result["stop"].get<std::string>();
        return stop == "respring" ? Interpreter::Stop::Respring : Interpreter::Stop::End;
    }
    if (result.contains("stopped"))
        std::fprintf(stderr, "%s\n", result["stopped"].get<std::string>().c_str());
    else if (result.contains("error"))
        std::fprintf(stderr, "%sSpringBoard stopped: %s\n", where().c_str(), result["error"].get<std::string>().c_str());
    else if (WIFSIGNALED(status))
        std::fprintf(stderr, "%sSpringBoard crashed (signal %d) while running this line\n", where().c_str(), WTERMSIG(status));
    else
        std::fprintf(stderr, "%sSpringBoard exited (status %d) while running this line\n", where().c_str(), WEXITSTATUS(status));
    return std::nullopt;
}

std::string temporaryEventLogPath()
{
    std::string pattern = (fs::temp_directory_path() / "lumetrix-events-XXXXXX").string();
    int fd = mkstemp(pattern.data());
    if (fd < 0)
        throw std::runtime_error("cannot make a temporary event log in " + fs::temp_directory_path().string());
    close(fd);
    return pattern;
}

} // namespace

int runScenario(scenario::CommandSource& commands, const RunOptions& options, EventLog& log,
    const std::function<bool(ScenarioHost&, RunState&, RunServices&)>& awaitCommands)
{
    // A simulated process that has gone must not take the run with it: writing to its
    // pipe then fails with EPIPE, which names it, instead of killing this process.
    std::signal(SIGPIPE, SIG_IGN);
    DeviceRoot root = options.root ? DeviceRoot(*options.root) : DeviceRoot::makeTemporary();
    root.install(Artefacts::fromBuild());

    RunState state;
    state.now = state.runStart = platform::RunLoop::kDefaultStartTime;
    const UIDeviceProfile* profile = options.device ? UIDeviceProfile::named(*options.device) : nullptr;
    profile = profile ? profile : &UIDeviceProfile::defaultProfile();
    state.device = profile->name;
    // Pure geometry: the device process may set it without setting the platform up.
    UIDeviceProfile::setCurrent(*profile);
    state.mark = log.endOffset();

    // Before this process does anything with the platform: the app must start clean.
    auto settings = SettingsProcess::launch({ root.path().string(), state.now, state.runStart, options.echoLogs }, log);
    RunServices services { log, *settings, root };
    services.awaitCommands = awaitCommands;
    if (options.thumbnails && options.thumbnailWidth > 0) {
        services.thumbnailWidth = options.thumbnailWidth;
        services.keepThumbnail = [thumbnails = options.thumbnails](const std::string& path, const json& thumbnail) {
            if (thumbnail.is_object())
                thumbnails->insert_or_assign(path, thumbnail);
        };
    }

    bool springBoardRunning = false;
    for (;;) {
        Interpreter::Stop stop;
        if (!springBoardRunning) {
            DeviceHost host(state, log, clockMode(options));
            try {
                stop = Interpreter(commands, state, services).run(host);
            } catch (const RunStopped& stopped) {
                std::fprintf(stderr, "%s\n", stopped.what());
                ++state.failures;
                break;
            }
            host.save(state);
        } else {
            auto next = runSpringBoardProcess(commands, state, services, options);
            if (!next) {
                ++state.failures;
                break;
            }
            stop = *next;
            // Read on to where that process stopped, so the next one forked from here
            // starts there instead of reading its way through everything before.
            commandForMessage(commands, state.nextCommand);
        }
        if (stop == Interpreter::Stop::End)
            break;
        springBoardRunning = true;
    }
    return state.failures;
}

int runScenario(const scenario::Scenario& scenario, const RunOptions& options, EventLog& log,
    const std::function<bool(ScenarioHost&, RunState&, RunServices&)>& awaitCommands)
{
    scenario::ScenarioCommands commands(scenario);
    return runScenario(commands, options, log, awaitCommands);
}

int runScenarioFiles(const std::vector<std::string>& files, const RunOptions& options)
{
    std::vector<std::unique_ptr<scenario::ScenarioFile>> scenarios;
    scenario::ParseOptions parseOptions;
    if (options.dumpDirectory)
        parseOptions.dumpDirectory = *options.dumpDirectory;
    try {
        for (auto& file : files)
            scenarios.push_back(std::make_unique<scenario::ScenarioFile>(file, parseOptions));
    } catch (const scenario::ScenarioError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return ExitUsage;
    }

    std::string eventsPath = options.eventsPath ? *options.eventsPath : temporaryEventLogPath();
    // The temporary log goes however the run ends (an error thrown included), and only
    // from the process that made it.
    struct TemporaryLog {
        std::string path;
        pid_t owner = getpid();
        ~TemporaryLog()
        {
            std::error_code ignored;
            if (!path.empty() && getpid() == owner)
                fs::remove(path, ignored);
        }
    } temporaryLog { options.eventsPath ? std::string() : eventsPath };
    int failures = 0;
    {
        EventLog log(eventsPath);
        if (options.transcriptPath)
            log.openTranscript(*options.transcriptPath);
        for (auto& scenario : scenarios)
            failures += runScenario(*scenario, options, log);
    }
    return failures ? ExitFailure : ExitSuccess;
}

} // namespace sim
