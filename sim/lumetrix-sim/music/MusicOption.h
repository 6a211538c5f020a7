#pragma once
// `--music mpris[:NAME]`: which desktop player the phone's now-playing app follows.

#include <optional>
#include <string>

namespace sim {

struct MusicOption {
    // The NAME of org.mpris.MediaPlayer2.NAME; nothing: the first player on the bus, and
    // the next one when it goes.
    std::optional<std::string> playerName;

    // The bus name followed, or the prefix every player's name starts with.
    std::string busName() const;
};

inline constexpr const char* kMprisBusNamePrefix = "org.mpris.MediaPlayer2.";

// The option's value read, or what is wrong with it.
struct MusicOptionParse {
    std::optional<MusicOption> option;
    std::string problem;
};
MusicOptionParse parseMusicOption(const std::string& value);

} // namespace sim
