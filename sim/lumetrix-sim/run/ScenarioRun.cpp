#include "ScenarioRun.h"

#include "DeviceHost.h"
#include "EventLog.h"
#include "Interpreter.h"
#include "DumpShapeProbe.h"
#include "LineChannel.h"
#include "NotifyListeners.h"
#include "RunResults.h"
#include "RunState.h"
#include "SimulatedProcess.h"
#include "SpringBoardHost.h"
#include "Watchdog.h"

#include "sim/device/DeviceRoot.h"
#include "sim/lumetrix-sim/music/MprisSourceFactory.h"
#include "sim/lumetrix-sim/scenario/ScenarioFile.h"
#include "sim/lumetrix-sim/settingsprocess/SettingsProcess.h"

#include "Foundation/NSLog.h"
#include "Platform/Platform.h"
#include "Platform/ScratchFolder.h"
#include "UIKit/UIDeviceProfile.h"

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
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
        SpringBoardSession::NowPlayingSourceFactory musicSource;
        if (options.music)
            musicSource = [music = *options.music] { return makeMprisNowPlayingSource(music); };
        SpringBoardHost host(services.root.path().string(), state, clockMode(options), musicSource);
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
    pid_t pid = forkSimulatedProcess();
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
    forgetProcess(pid);
    removeNotifyListener(services.root.path(), pid);

    auto where = [&] {
        if (auto* command = commandForMessage(commands, at))
            return command->where.prefix();
        return commands.file() + ": ";
    };
    auto report = [&](const std::string& message) {
        std::fprintf(stderr, "%s\n", message.c_str());
        state.recordFailure(message);
    };
    char text[512];
    if (stuck) {
        std::snprintf(text, sizeof text, "SpringBoard gave no answer within %g s of wall-clock time (%s); the run stops", lineLimit(at), stuckState.c_str());
        report(where() + text);
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
        report(result["stopped"].get<std::string>());
    else if (result.contains("error"))
        report(where() + "SpringBoard stopped: " + result["error"].get<std::string>());
    else if (interrupted())
        report(where() + "the run was interrupted");
    else if (WIFSIGNALED(status))
        report(where() + "SpringBoard crashed (signal " + std::to_string(WTERMSIG(status)) + ") while running this line");
    else
        report(where() + "SpringBoard exited (status " + std::to_string(WEXITSTATUS(status)) + ") while running this line");
    return std::nullopt;
}

} // namespace

namespace {

RunState runScenarioToEnd(scenario::CommandSource& commands, const RunOptions& options, EventLog& log,
    const std::function<bool(ScenarioHost&, RunState&, RunServices&)>& awaitCommands)
{
    // A simulated process that has gone must not take the run with it: writing to its
    // pipe then fails with EPIPE, which names it, instead of killing this process.
    std::signal(SIGPIPE, SIG_IGN);
    DeviceRoot root = options.root ? DeviceRoot(*options.root)
                                   : DeviceRoot::makeTemporary(options.temporaryRootsFolder.value_or(platform::scratchFolder()));
    Artefacts artefacts = Artefacts::fromBuild();
    if (options.package)
        artefacts.devicePackage = *options.package;
    root.install(artefacts);
    // Listeners left in a kept root by a run that was killed.
    removeDeadNotifyListeners(root.path());

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
    services.echoLogs = options.echoLogs;
    services.updateSnapshots = options.updateSnapshots;
    if (options.device)
        services.commandLineDevice = profile->name;
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
                state.recordFailure(stopped.what());
                break;
            }
            host.save(state);
        } else {
            auto next = runSpringBoardProcess(commands, state, services, options);
            if (!next)
                break;
            stop = *next;
            // Read on to where that process stopped, so the next one forked from here
            // starts there instead of reading its way through everything before.
            commandForMessage(commands, state.nextCommand);
        }
        if (stop == Interpreter::Stop::End)
            break;
        springBoardRunning = true;
    }
    return state;
}

} // namespace

int runScenario(scenario::CommandSource& commands, const RunOptions& options, EventLog& log,
    const std::function<bool(ScenarioHost&, RunState&, RunServices&)>& awaitCommands)
{
    return runScenarioToEnd(commands, options, log, awaitCommands).failures;
}

int runScenario(const scenario::Scenario& scenario, const RunOptions& options, EventLog& log,
    const std::function<bool(ScenarioHost&, RunState&, RunServices&)>& awaitCommands)
{
    scenario::ScenarioCommands commands(scenario);
    return runScenario(commands, options, log, awaitCommands);
}

namespace {

// A folder named for an output file must exist: a typo there is a usage error before
// anything runs, not a run that fails at its end.
std::optional<std::string> missingFolder(const std::optional<std::string>& file, const char* option)
{
    if (!file)
        return std::nullopt;
    fs::path folder = fs::path(*file).parent_path();
    std::error_code error;
    if (folder.empty() || fs::is_directory(folder, error))
        return std::nullopt;
    return std::string(option) + " " + *file + ": the folder " + folder.string() + " does not exist";
}

double wallSecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int runScenarioFiles(const std::vector<std::string>& files, const RunOptions& options)
{
    for (auto* problem : { &options.eventsPath, &options.junitPath }) {
        if (auto message = missingFolder(*problem, problem == &options.eventsPath ? "--events" : "--junit")) {
            std::fprintf(stderr, "lumetrix-sim: %s\n", message->c_str());
            return ExitUsage;
        }
    }
    std::vector<FileResult> results(files.size());
    for (std::size_t i = 0; i < files.size(); ++i)
        results[i].file = files[i] == "-" ? scenario::kStandardInputName : files[i];
    auto finish = [&](int status) {
        if (options.junitPath) {
            try {
                writeJUnitReport(*options.junitPath, results);
            } catch (const std::exception& error) {
                std::fprintf(stderr, "lumetrix-sim: %s\n", error.what());
                status = status == ExitSuccess ? ExitFailure : status;
            }
        }
        if (interrupted())
            return interruptedExitStatus();
        return status;
    };

    scenario::ParseOptions parseOptions;
    if (options.dumpDirectory)
        parseOptions.dumpDirectory = *options.dumpDirectory;
    parseOptions.shape = std::make_shared<scenario::DumpShape>(dumpShapeOfThisBuild());

    std::vector<std::unique_ptr<scenario::ScenarioFile>> scenarios;
    for (std::size_t i = 0; i < files.size(); ++i) {
        auto start = std::chrono::steady_clock::now();
        try {
            scenarios.push_back(std::make_unique<scenario::ScenarioFile>(files[i], parseOptions));
        } catch (const scenario::ScenarioError& error) {
            std::fprintf(stderr, "%s\n", error.what());
            results[i].outcome = FileResult::Outcome::Error;
            results[i].failures = 1;
            results[i].messages = { error.what() };
            results[i].wallSeconds = wallSecondsSince(start);
            for (auto& other : results) {
                if (other.outcome == FileResult::Outcome::NotRun)
                    other.messages = { "not run: " + error.where().prefix() + "is malformed" };
            }
            if (!options.quiet)
                std::printf("%s\n%s\n", summaryLine(results[i]).c_str(), closingLine(results).c_str());
            return finish(ExitUsage);
        }
    }

    int failures = 0;
    {
        auto log = options.eventsPath ? std::make_unique<EventLog>(*options.eventsPath) : EventLog::unnamed();
        if (options.transcriptPath)
            log->openTranscript(*options.transcriptPath);
        for (std::size_t i = 0; i < scenarios.size(); ++i) {
            if (interrupted())
                break;
            // With several files the log says which one each event came from.
            if (scenarios.size() > 1)
                log->setFile(results[i].file);
            auto start = std::chrono::steady_clock::now();
            RunState state = runScenarioToEnd(*scenarios[i], options, *log, {});
            auto& result = results[i];
            result.wallSeconds = wallSecondsSince(start);
            result.checks = state.checks;
            result.failures = state.failures;
            result.messages = state.failureMessages;
            result.virtualSeconds = EventLog::runSeconds(state.now, state.runStart);
            if (interrupted()) {
                result.outcome = FileResult::Outcome::NotRun;
                result.messages = { "interrupted" };
                break;
            }
            result.outcome = state.failures ? FileResult::Outcome::Failed : FileResult::Outcome::Passed;
            failures += state.failures;
            if (!options.quiet) {
                std::printf("%s\n", summaryLine(result).c_str());
                std::fflush(stdout);
            }
        }
    }
    if (!options.quiet && !interrupted())
        std::printf("%s\n", closingLine(results).c_str());
    return finish(failures ? ExitFailure : ExitSuccess);
}

} // namespace sim
