#pragma once
// The command numbers of MediaRemote, in a header of their own with no runtime types, so
// the now-playing application (plain C++, possibly in another process) can read them.

#include <cstdint>

using MRMediaRemoteCommand = std::uint32_t;

inline constexpr MRMediaRemoteCommand kMRPlay = 0;
inline constexpr MRMediaRemoteCommand kMRPause = 1;
inline constexpr MRMediaRemoteCommand kMRTogglePlayPause = 2;
inline constexpr MRMediaRemoteCommand kMRStop = 3;
inline constexpr MRMediaRemoteCommand kMRNextTrack = 4;
inline constexpr MRMediaRemoteCommand kMRPreviousTrack = 5;
inline constexpr MRMediaRemoteCommand kMRGoBackFifteenSeconds = 12;
inline constexpr MRMediaRemoteCommand kMRSkipFifteenSeconds = 13;
// The interval travels in the options under kMRMediaRemoteOptionSkipInterval; the
// command gives the direction.
inline constexpr MRMediaRemoteCommand kMRSkipForward = 17;
inline constexpr MRMediaRemoteCommand kMRSkipBackward = 18;
inline constexpr MRMediaRemoteCommand kMRSeekToPlaybackPosition = 24;
