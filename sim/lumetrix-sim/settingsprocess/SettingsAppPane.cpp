#include "SettingsAppPane.h"

#include "UIKit/UIWindow.h"

namespace sim {

SettingsAppPane::SettingsAppPane(const std::string& deviceRoot, double startTime)
    : m_app(deviceRoot, platform::RunLoop::ClockMode::Virtual, startTime)
{
}

std::string SettingsAppPane::open()
{
    return m_app.open(kPaneName);
}

std::string SettingsAppPane::setValue(const std::string& key, const nlohmann::json& value)
{
    if (std::string problem = open(); !problem.empty())
        return problem;
    SettingsApp::Value typed;
    if (value.is_boolean())
        typed = value.get<bool>();
    else if (value.is_number())
        typed = value.get<double>();
    else
        typed = value.get<std::string>();
    return m_app.setValue(key, typed);
}

std::optional<std::string> SettingsAppPane::respring(std::string& problem)
{
    return press(&SettingsApp::pressRespring, problem);
}

std::optional<std::string> SettingsAppPane::reset(std::string& problem)
{
    return press(&SettingsApp::pressReset, problem);
}

std::optional<std::string> SettingsAppPane::press(std::string (SettingsApp::*control)(), std::string& problem)
{
    problem = open();
    if (problem.empty())
        problem = (m_app.*control)();
    if (!problem.empty())
        return std::nullopt;
    // The pane may ask for the restart from work it queued; let that run first.
    m_app.runLoop().runFor(0);
    return m_app.takeRespringRequest();
}

nlohmann::json SettingsAppPane::describe()
{
    return m_app.describe();
}

UIView* SettingsAppPane::screenView()
{
    return m_app.window();
}

} // namespace sim
