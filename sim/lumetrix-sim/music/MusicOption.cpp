#include "MusicOption.h"

namespace sim {

std::string MusicOption::busName() const
{
    return kMprisBusNamePrefix + playerName.value_or("");
}

namespace {

// What D-Bus allows in the elements of a bus name, so a typo is caught here and not as a
// player that never appears.
bool isBusNameTail(const std::string& name)
{
    if (name.empty() || name.size() > 200 || name.front() == '.' || name.back() == '.')
        return false;
    char previous = '.';
    for (char c : name) {
        bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == '-';
        bool digit = c >= '0' && c <= '9';
        if (c == '.') {
            if (previous == '.')
                return false;
        } else if (!letter && !(digit && previous != '.'))
            return false;
        previous = c;
    }
    return true;
}

} // namespace

MusicOptionParse parseMusicOption(const std::string& value)
{
    const std::string scheme = "mpris";
    if (value == scheme)
        return { MusicOption {}, {} };
    if (value.rfind(scheme + ":", 0) != 0)
        return { std::nullopt, "--music takes mpris or mpris:NAME (the player org.mpris.MediaPlayer2.NAME), got '" + value + "'" };
    std::string name = value.substr(scheme.size() + 1);
    if (!isBusNameTail(name))
        return { std::nullopt, "--music mpris:NAME needs a player name such as mpv or vlc (letters, digits, _ - and dots), got '" + name + "'" };
    return { MusicOption { name }, {} };
}

} // namespace sim
