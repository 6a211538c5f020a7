#include "AudioServices.h"

#include "Platform/Platform.h"

#include <nlohmann/json.hpp>

void AudioServicesPlaySystemSound(SystemSoundID sound)
{
    platform::emitEvent({ { "type", "sound" }, { "id", sound } });
}
