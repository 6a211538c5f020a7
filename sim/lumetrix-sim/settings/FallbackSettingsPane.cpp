#include "FallbackSettingsPane.h"

#include "SettingsStore.h"

#include "Cephei/HBPreferences.h"
#include "Platform/Platform.h"

namespace sim {

FallbackSettingsPane::FallbackSettingsPane(double startTime)
    : m_runLoop(platform::RunLoop::ClockMode::Virtual, startTime)
{
    platform::registerClasses();
    m_store = lumetrixPreferences();
}

FallbackSettingsPane::~FallbackSettingsPane() = default;

std::string FallbackSettingsPane::open()
{
    m_open = true;
    return {};
}

std::string FallbackSettingsPane::setValue(const std::string& key, const nlohmann::json& value)
{
    return storeValue(m_store.get(), key, value);
}

std::string FallbackSettingsPane::reset()
{
    return removeStoredValues(m_store.get());
}

std::optional<std::string> FallbackSettingsPane::respring(std::string&)
{
    // The pane's respring button restarts SpringBoard and returns to the pane's page.
    return "prefs:root=Lumetrix";
}

nlohmann::json FallbackSettingsPane::describe()
{
    return { { "pane", "built-in stand-in (lumetrixpref is not installed)" }, { "open", m_open } };
}

} // namespace sim
