#include "SettingsProcess.h"

#include "SettingsPane.h"
#include "SettingsStore.h"

#include "sim/lumetrix-sim/run/EventLog.h"
#include "sim/lumetrix-sim/run/NotifyListeners.h"
#include "sim/lumetrix-sim/run/SimulatedProcess.h"
#include "sim/lumetrix-sim/run/Watchdog.h"
#include "sim/render/Pictures.h"
#include "sim/device/OutputFiles.h"

#include "Cephei/HBPreferences.h"
#include "Foundation/NSLog.h"
#include "Platform/Platform.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIDeviceProfile.h"

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <stdexcept>

using nlohmann::json;

namespace sim {

namespace {

json problemOrNothing(const std::string& problem)
{
    return problem.empty() ? json::object() : json { { "problem", problem } };
}

json handle(const json& request, SettingsPane& pane, HBPreferences* store)
{
    const std::string op = request.value("op", "");
    if (op == "pref")
        return problemOrNothing(storeValue(store, request.at("key").get<std::string>(), request.at("value")));
    if (op == "pref-reset")
        return problemOrNothing(removeStoredValues(store));
    if (op == "appearance") {
        // The Settings app follows the phone's appearance like every other app.
        UIKitSetCurrentUserInterfaceStyle(request.at("dark").get<bool>() ? UIUserInterfaceStyle::Dark : UIUserInterfaceStyle::Light);
        return json::object();
    }
    if (op == "device") {
        // The Settings app runs on the phone it is on: its screen is that device's.
        std::string name = request.at("name").get<std::string>();
        const UIDeviceProfile* profile = UIDeviceProfile::named(name);
        if (!profile)
            return { { "problem", "there is no device \"" + name + "\"" } };
        UIDeviceProfile::setCurrent(*profile);
        pane.screenChanged();
        return json::object();
    }
    if (op == "open")
        return problemOrNothing(pane.open());
    if (op == "set")
        return problemOrNothing(pane.setValue(request.at("key").get<std::string>(), request.at("value")));
    if (op == "respring" || op == "reset") {
        std::string problem;
        auto url = op == "respring" ? pane.respring(problem) : pane.reset(problem);
        if (!url)
            return { { "problem", problem.empty() ? "the pane asked for no respring" : problem } };
        return { { "url", *url } };
    }
    if (op == "snapshot") {
        UIView* screen = pane.screenView();
        if (!screen)
            return { { "problem", "the Settings app shows no views to picture (is the pane installed?)" } };
        // The reduced picture goes back with the answer when the run keeps them.
        int width = std::max(0, request.value("thumbnailWidth", 0));
        json thumbnail;
        std::string error;
        if (std::FILE* file = openOutputFile(request.at("path").get<std::string>(), &error))
            error = render::pictures().writeView(screen, file, width, thumbnail);
        if (!error.empty())
            return { { "problem", "cannot write the picture: " + error } };
        if (width > 0)
            return { { "thumbnail", std::move(thumbnail) } };
        return json::object();
    }
    if (op == "dump") {
        return {
            { "domain", kLumetrixDomain },
            { "file", std::string("/var/mobile/Library/Preferences/") + kLumetrixDomain + ".plist" },
            { "values", storedValues(store) },
            { "settingsApp", pane.describe() },
        };
    }
    return { { "error", "the Settings app does not know the request \"" + op + "\"" } };
}

[[noreturn]] void serve(LineChannel channel, const SettingsProcess::Launch& launch, EventLog& log)
{
    platform::setDeviceRoot(launch.deviceRoot);
    platform::setProcessName("Preferences");
    NSLogSetStderrEnabled(launch.echoLogs);
    double runStart = launch.runStart;
    double startTime = launch.startTime;
    platform::setEventSink([&log, runStart, startTime](const json& event) {
        double now = platform::RunLoop::main() ? platform::RunLoop::main()->now() : startTime;
        log.write(event, EventLog::runSeconds(now, runStart));
    });
    // The app starts at the first request, as a phone's Settings app starts when it is
    // opened: a run that never asks it anything does not pay for it. The process was forked
    // before the platform was touched, so the app still starts clean, and its clock still
    // starts at the run's start.
    std::unique_ptr<SettingsPane> pane;
    objc::RefPtr<HBPreferences> store;

    while (auto request = channel.receive()) {
        if (request->value("op", "") == "quit")
            break;
        json reply;
        try {
            if (!pane) {
                pane = startSettingsPane(launch.deviceRoot, launch.startTime);
                store = lumetrixPreferences();
            }
            auto& loop = pane->runLoop();
            loop.runUntil(request->value("time", loop.now()));
            reply = handle(*request, *pane, store.get());
            loop.runFor(0);
        } catch (const std::exception& error) {
            reply = { { "error", error.what() } };
        }
        channel.send(reply);
    }
    std::fflush(nullptr);
    _exit(0);
}

} // namespace

SettingsProcess::SettingsProcess(pid_t pid, LineChannel channel)
    : m_pid(pid)
    , m_launcher(getpid())
    , m_channel(channel)
{
}

std::unique_ptr<SettingsProcess> SettingsProcess::launch(const Launch& launch, EventLog& log)
{
    int requests[2];
    int replies[2];
    if (pipe(requests) != 0 || pipe(replies) != 0)
        throw std::runtime_error("cannot make the pipes to the Settings app");
    std::fflush(nullptr);
    pid_t pid = forkSimulatedProcess();
    if (pid < 0)
        throw std::runtime_error("cannot start the Settings app");
    if (pid == 0) {
        close(requests[1]);
        close(replies[0]);
        serve(LineChannel(requests[0], replies[1]), launch, log);
    }
    close(requests[0]);
    close(replies[1]);
    auto process = std::unique_ptr<SettingsProcess>(new SettingsProcess(pid, LineChannel(replies[0], requests[1])));
    process->m_deviceRoot = launch.deviceRoot;
    return process;
}

SettingsProcess::~SettingsProcess()
{
    // A SpringBoard process inherits this object; only the device process owns the app.
    if (getpid() != m_launcher)
        return;
    try {
        m_channel.send({ { "op", "quit" } });
    } catch (const std::exception&) {
        // Already gone: waiting below collects it.
    }
    m_channel.close();
    // A stopped or stuck app is not waited for beyond the watchdog's time. An app that
    // quits at once is gone within a fraction of a millisecond: the pauses start short.
    int status = 0;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(watchdogSeconds());
    useconds_t pause = 100;
    while (waitpid(m_pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() >= deadline) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, &status, 0);
            break;
        }
        usleep(pause);
        pause = std::min<useconds_t>(pause * 2, 10000);
    }
    forgetProcess(m_pid);
    removeNotifyListener(m_deviceRoot, m_pid);
}

json SettingsProcess::request(json message, double now)
{
    message["time"] = now;
    try {
        m_channel.send(message);
    } catch (const std::exception& error) {
        throw std::runtime_error(std::string("Settings stopped: ") + error.what());
    }
    bool timedOut = false;
    double limit = watchdogSeconds();
    auto reply = m_channel.receiveWithin(limit, timedOut);
    if (timedOut) {
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, "%g", limit);
        throw std::runtime_error("Settings gave no answer within " + std::string(seconds) + " s of wall-clock time (" + unansweringProcessState(m_pid) + ")");
    }
    if (!reply)
        throw std::runtime_error("Settings stopped: the Settings app exited or was killed");
    if (reply->contains("error"))
        throw std::runtime_error("Settings: " + (*reply)["error"].get<std::string>());
    return *reply;
}

} // namespace sim
