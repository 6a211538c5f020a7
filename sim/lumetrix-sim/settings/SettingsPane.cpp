#include "SettingsPane.h"

#include "FallbackSettingsPane.h"

namespace sim {

SettingsPane::~SettingsPane() = default;

std::unique_ptr<SettingsPane> startSettingsPane(const std::string&, double startTime)
{
    return std::make_unique<FallbackSettingsPane>(startTime);
}

} // namespace sim
