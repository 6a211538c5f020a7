#pragma once
// The installed pane, worked through the Settings app (sim/settingsapp/SettingsApp) as a
// user would: the app's list of panes, then the Lumetrix pane's own cells, its respring
// button and its reset row. A request that needs the pane opens it first, as the user
// would have to.

#include "SettingsPane.h"

#include "sim/settingsapp/SettingsApp.h"

namespace sim {

class SettingsAppPane final : public SettingsPane {
public:
    SettingsAppPane(const std::string& deviceRoot, double startTime);

    platform::RunLoop& runLoop() override { return m_app.runLoop(); }
    std::string open() override;
    std::string setValue(const std::string& key, const nlohmann::json& value) override;
    std::optional<std::string> respring(std::string& problem) override;
    std::optional<std::string> reset(std::string& problem) override;
    nlohmann::json describe() override;
    UIView* screenView() override;
    void screenChanged() override { m_app.fitToScreen(); }

    // The pane's label in the Settings app's list.
    static constexpr const char* kPaneName = "Lumetrix";

private:
    // Presses the respring button or the reset row: the restart the pane then asks for.
    std::optional<std::string> press(std::string (SettingsApp::*control)(), std::string& problem);

    SettingsApp m_app;
};

} // namespace sim
