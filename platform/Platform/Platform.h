#pragma once
// What a host process sets up before it runs SpringBoard or the Settings app: where the
// device's root lies, the registration of every platform class, and where the events a
// simulator records (logs, notifications, commands, sounds) go.

#include <nlohmann/json_fwd.hpp>

#include <functional>
#include <string>
#include <string_view>

namespace platform {

// The folder that stands for the phone's "/". Every absolute device path resolves under it.
void setDeviceRoot(std::string path);
const std::string& deviceRoot();
// "/var/mobile/Library/Preferences/x.plist" -> "<root>/var/mobile/Library/Preferences/x.plist".
std::string devicePath(std::string_view absoluteDevicePath);

// The frameworks whose classes a process has, as it links them: SpringBoard and the
// Settings app have every one; a tool that decodes and draws images has Foundation and
// UIKit (with the MediaRemote constants Foundation's strings make) alone.
enum class Frameworks {
    UIKit,
    All
};

// Registers the platform classes of `frameworks` with the runtime, in dependency order,
// then starts recording runtime changes, so that what a loaded tweak installs can be
// listed. Call before loading any tweak; a second call registers only what the first
// left out.
void registerClasses(Frameworks frameworks = Frameworks::All);

// The process's name and role, as NSLog prints it ("SpringBoard", "Preferences", ...).
void setProcessName(std::string name);
const std::string& processName();

// Observation. Each event is a JSON object with at least "type"; the sink (set by a
// simulator) adds the time. Without a sink events go nowhere.
using EventSink = std::function<void(const nlohmann::json&)>;
void setEventSink(EventSink);
void emitEvent(const nlohmann::json& event);
bool hasEventSink();

} // namespace platform
