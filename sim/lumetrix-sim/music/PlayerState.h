#pragma once
// What the bridge knows of a desktop player, read from its MPRIS properties: plain data,
// so it crosses from the bridge thread to SpringBoard's by value.
//
// A player is untrusted: a property of the wrong type is ignored (and named in a
// problem), texts are cut to kMaximumTextBytes, numbers that are not finite are dropped.

#include "Foundation/SharedBytes.h"

#include <sdbus-c++/Types.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace sim {

struct PlayerState {
    enum class Status {
        Stopped,
        Paused,
        Playing
    };

    std::optional<std::string> title;
    std::optional<std::string> artist;
    // Seconds; 0 when the player gives no length (a stream).
    double length = 0;
    std::optional<std::string> artUrl;
    // Loaded from artUrl by the bridge; empty when there is none or it would not load.
    std::optional<platform::SharedBytes> art;
    Status status = Status::Stopped;
    double rate = 1;
    // Seconds, as read at positionReadAt (steady clock, seconds).
    double position = 0;
    double positionReadAt = 0;

    bool canPlay = true;
    bool canPause = true;
    bool canGoNext = true;
    bool canGoPrevious = true;
    bool canSeek = true;

    bool operator==(const PlayerState&) const = default;
};

// Longer titles and artists are cut here (at a character boundary): a label shows a line.
inline constexpr std::size_t kMaximumTextBytes = 1024;

using PropertyMap = std::map<std::string, sdbus::Variant>;

// Takes the properties of org.mpris.MediaPlayer2.Player that are present in `properties`
// (all of them from GetAll, the changed ones from PropertiesChanged) into `state`, adding
// a sentence for each one it had to refuse or cut to `problems`. Returns whether
// Metadata was among them.
bool applyPlayerProperties(PlayerState& state, const PropertyMap& properties, std::vector<std::string>& problems);

// Reads a position or length in microseconds of any integer type D-Bus has; nothing for
// anything else.
std::optional<double> microsecondsToSeconds(const sdbus::Variant&);

} // namespace sim
