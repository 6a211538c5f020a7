#pragma once
// The Settings app's process: forked from the device process before anything in it sets
// the platform up, so it starts with a clean runtime like any app. It serves requests
// over a pair of pipes that every SpringBoard process inherits, one at a time, and
// answers once the request's work (and whatever that made due at once) has run; a
// setting it stores reaches SpringBoard as a change notification.
//
// Each request carries the current time; the app's clock catches up with it first, so
// what it logs is dated right.

#include "sim/lumetrix-sim/run/LineChannel.h"

#include <nlohmann/json.hpp>

#include <memory>
#include <string>
#include <sys/types.h>

namespace sim {

class EventLog;

class SettingsProcess {
public:
    struct Launch {
        std::string deviceRoot;
        double startTime = 0; // absolute time now
        double runStart = 0; // absolute time the run began (for event times)
        bool echoLogs = false; // NSLog also to standard error
    };

    // Forks the app. Its events go to `log`.
    static std::unique_ptr<SettingsProcess> launch(const Launch&, EventLog& log);
    // In the process that launched it: asks the app to quit and waits for it.
    ~SettingsProcess();
    SettingsProcess(const SettingsProcess&) = delete;
    SettingsProcess& operator=(const SettingsProcess&) = delete;

    // Sends {"op": ..., ...} at absolute time `now` and waits for the answer:
    // {"problem": "..."} when the Settings app could not do it. Throws if the app has gone
    // ("Settings stopped: ..."), gave no answer within the watchdog's time (Watchdog.h),
    // or did not understand the request.
    //   pref KEY VALUE, pref-reset          the settings store itself
    //   appearance DARK                     the phone's light or dark appearance
    //   device NAME                         the phone's device profile (its screen)
    //   open, set KEY VALUE                 the pane, as a user works it
    //   respring, reset                     the respring button, the reset row: {"url"}
    //                                       when the pane asks for a restart
    //   dump                                {"domain", "file", "values", "settingsApp"}
    nlohmann::json request(nlohmann::json message, double now);

private:
    SettingsProcess(pid_t, LineChannel);

    pid_t m_pid;
    pid_t m_launcher;
    std::string m_deviceRoot;
    LineChannel m_channel;
};

} // namespace sim
