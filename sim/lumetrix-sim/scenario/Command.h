#pragma once
// One parsed scenario line. Each command's arguments are checked when the file is read,
// so a run never stops half-way on a malformed line.

#include "ExpectPath.h"

#include "Foundation/SharedBytes.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace sim::scenario {

struct SourceLocation {
    std::string file; // as the user named it
    int line = 0;
    // "FILE:LINE: ", or "FILE: " for the file as a whole.
    std::string prefix() const { return file + (line > 0 ? ":" + std::to_string(line) : std::string()) + ": "; }
};

enum class CompareOp {
    Equal,
    NotEqual,
    Less,
    LessEqual,
    Greater,
    GreaterEqual,
    About
};
const char* compareOpText(CompareOp);

struct DeviceCommand {
    std::string name; // the profile's display name
};
struct AppearanceCommand {
    bool dark = false;
};
struct FileCommand {
    std::string devicePath;
    std::string content;
};
struct PrefCommand {
    std::string key;
    nlohmann::json value;
    // `pref-raw`: any key, stored as given.
    bool raw = false;
    // Said with --log: the value is not of the setting's type (the store and the tweak
    // cope with that, and a test may mean it).
    std::string typeNote;
};
struct PrefResetCommand { };
struct TrackCommand {
    std::optional<std::string> title;
    std::optional<std::string> artist;
    double duration = 0;
    // The artwork file's bytes, read when the scenario is loaded; every track of the
    // scenario that shows the same file shares them.
    std::optional<platform::SharedBytes> artwork;
};
struct PlayerCommand {
    enum class Action {
        Play,
        Pause,
        Next,
        Previous,
        Stop
    };
    Action action;
};
struct SeekCommand {
    double seconds = 0;
};
struct BootCommand { };
struct RespringCommand { };
struct LockCommand {
    bool lock = true;
};
struct AppCommand {
    bool open = true;
    std::string bundleIdentifier;
};
struct GrabberCommand {
    bool lost = true;
    double timeout = 2.0;
};
struct BounceCommand { };
struct TouchCommand {
    enum class Gesture {
        Tap,
        Swipe
    };
    enum class Target {
        LockScreen,
        App,
        Screen
    };
    enum class Direction {
        Left,
        Right
    };
    Gesture gesture = Gesture::Tap;
    Target target = Target::LockScreen;
    std::string bundleIdentifier;
    double x = 0;
    std::optional<double> y;
    Direction direction = Direction::Left;
};
struct SettingsCommand {
    enum class Action {
        Open,
        Set,
        Respring,
        Reset,
        Snapshot,
        ExpectSnapshot
    };
    Action action;
    std::string key;
    nlohmann::json value;
    std::string hostPath; // Snapshot: the picture, resolved like a dump's
    std::string caption; // Snapshot: optional; the demo's contact sheet shows it
    int tolerance = 0; // ExpectSnapshot: the largest difference allowed per channel
};
struct WaitCommand {
    double seconds = 0;
};
struct DumpCommand {
    enum class What {
        Players,
        Screen,
        Settings,
        Globals,
        Stats
    };
    What what;
    std::string hostPath; // resolved against the scenario's folder
};
struct SnapshotCommand {
    enum class Crop {
        None,
        LockScreen,
        App
    };
    std::string hostPath; // resolved like a dump's
    Crop crop = Crop::None;
    std::string bundleIdentifier; // for Crop::App
    std::string caption; // optional; the demo's contact sheet shows it
};
// A picture of the screen (or a player's region) compared with a stored golden one.
struct ExpectSnapshotCommand {
    SnapshotCommand picture; // what to picture (no caption)
    int tolerance = 0; // the largest difference allowed per channel, 0 to 255
};
struct MarkCommand { };
struct ExpectCommand {
    std::string pathText;
    ExpectPath path;
    CompareOp op = CompareOp::Equal;
    nlohmann::json value;
    double tolerance = 1e-6;
    std::string valueText;
};
struct EventFilter {
    std::string field; // dotted path into the event
    nlohmann::json value;
    // The value as written when it was not quoted: `title=1999` also matches the
    // string "1999", not only the number.
    std::optional<std::string> bareText;
};
struct ExpectEventsCommand {
    std::vector<EventFilter> filters;
    CompareOp op = CompareOp::Equal;
    double count = 0;
    std::string text; // the filters and comparison as written
};

using CommandBody = std::variant<DeviceCommand, AppearanceCommand, FileCommand, PrefCommand, PrefResetCommand,
    TrackCommand, PlayerCommand, SeekCommand, BootCommand, RespringCommand, LockCommand, AppCommand, GrabberCommand,
    BounceCommand, TouchCommand, SettingsCommand, WaitCommand, DumpCommand, MarkCommand, ExpectCommand,
    ExpectEventsCommand, SnapshotCommand, ExpectSnapshotCommand>;

struct Command {
    SourceLocation where;
    std::string text; // the line as written, without its comment
    CommandBody body;
};

struct Scenario {
    std::string file;
    std::vector<Command> commands;
};

} // namespace sim::scenario
