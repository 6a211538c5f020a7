#pragma once
// The Settings app with the tweak's pane, as the simulator drives it: open the pane,
// change a cell as a user would, press the respring button, use the reset row.
//
// Two implementations: SettingsAppPane works the installed pane bundle through the
// Settings app (its list of panes, the pane's own cells); FallbackSettingsPane, for a
// device without the pane, writes through the settings store exactly as the pane's
// cells and buttons do. Either one sets up the Settings process itself (platform
// classes, run loop), so make it first thing in a fresh process.

#include "Foundation/RunLoop.h"

#include <nlohmann/json.hpp>

#include <memory>
#include <optional>
#include <string>

class UIView;

namespace sim {

class SettingsPane {
public:
    virtual ~SettingsPane();

    virtual platform::RunLoop& runLoop() = 0;

    // Each returns an empty string, or why it could not be done (no cell for the key,
    // input the pane refuses, ...).
    virtual std::string open() = 0;
    // The cell for `key` gets `value` (a boolean, number or string).
    virtual std::string setValue(const std::string& key, const nlohmann::json& value) = 0;
    // The respring button, and the reset row (which clears the settings and then restarts
    // just as the button does). The URL to come back to once SpringBoard has restarted,
    // or nothing (with `problem` saying why) when no restart was asked for.
    virtual std::optional<std::string> respring(std::string& problem) = 0;
    virtual std::optional<std::string> reset(std::string& problem) = 0;
    // What `dump settings` shows of the Settings app.
    virtual nlohmann::json describe() = 0;
    // The phone is another device now (UIDeviceProfile::current()): what the app shows
    // takes the new screen.
    virtual void screenChanged() { }
    // What the Settings app has on screen (its window), for `settings snapshot`; null
    // when it shows no views (the stand-in for a device without the pane).
    virtual UIView* screenView() { return nullptr; }
};

// The Settings app for `deviceRoot`: the installed pane when there is one, else the
// built-in stand-in.
std::unique_ptr<SettingsPane> startSettingsPane(const std::string& deviceRoot, double startTime);

} // namespace sim
