#pragma once
// AudioToolbox's system sounds. Playing one is an event in the simulator's record.

#include <cstdint>

using SystemSoundID = std::uint32_t;

// Records {"type": "sound", "id": N}.
void AudioServicesPlaySystemSound(SystemSoundID);
