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

std::optional<std::string> FallbackSettingsPane::respring(std::string&)
{
    // The pane's respring button restarts SpringBoard and returns to the pane's page.
    return "prefs:root=Lumetrix";
}

std::optional<std::string> FallbackSettingsPane::reset(std::string& problem)
{
    // A reset that could not be written is reported, and nothing restarts.
    problem = removeStoredValues(m_store.get());
    if (!problem.empty())
        return std::nullopt;
    // Then it restarts SpringBoard as the respring button does, so that the cleared
    // settings (enabled and alwaysshow among them) take effect.
    return respring(problem);
}

nlohmann::json FallbackSettingsPane::describe()
{
    return { { "pane", "built-in stand-in (lumetrixpref is not installed)" }, { "open", m_open } };
}

} // namespace sim
