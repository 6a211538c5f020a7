#pragma once
// The tweak's calls into the now-playing service, shared by every player.

#include "objc/runtime.h"

#include <cstdint>
#include <functional>

class NSDictionary;

namespace lumetrix {

// Asks the service for the current record on the main queue. The pending request holds
// the host weakly: if the host is gone when the reply comes, nothing happens.
template<typename Host>
void requestNowPlayingInfo(Host* host, std::function<void(Host*, NSDictionary*)> reply);

// SpringBoard's playing test: SBMediaController's shared instance, then isPlaying.
bool nowPlayingIsPlaying();

// Every playback command goes out after the system's click (sound 1520).
void sendPlaybackCommand(std::uint32_t command);
void sendSkipCommand(std::uint32_t command);

inline constexpr unsigned kClickSound = 1520;
inline constexpr double kSkipInterval = 15.0;

// Implementation detail of requestNowPlayingInfo.
void requestNowPlayingInfoWeakly(id host, std::function<void(id, NSDictionary*)> reply);

template<typename Host>
void requestNowPlayingInfo(Host* host, std::function<void(Host*, NSDictionary*)> reply)
{
    requestNowPlayingInfoWeakly(host, [reply = std::move(reply)](id alive, NSDictionary* info) {
        reply(static_cast<Host*>(alive), info);
    });
}

} // namespace lumetrix
