#include "SettingsPane.h"

#include "FallbackSettingsPane.h"
#include "SettingsAppPane.h"

#include <filesystem>

namespace sim {

SettingsPane::~SettingsPane() = default;

std::unique_ptr<SettingsPane> startSettingsPane(const std::string& deviceRoot, double startTime)
{
    // PreferenceLoader's entry is what makes the Settings app list the pane.
    std::filesystem::path entry = std::filesystem::path(deviceRoot) / "Library/PreferenceLoader/Preferences/lumetrixpref.plist";
    if (std::filesystem::exists(entry))
        return std::make_unique<SettingsAppPane>(deviceRoot, startTime);
    return std::make_unique<FallbackSettingsPane>(startTime);
}

} // namespace sim
