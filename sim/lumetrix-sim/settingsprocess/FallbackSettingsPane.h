#pragma once
// The Settings pane's behaviour without its bundle: every cell writes its key through
// the settings store (which posts the change notification a running SpringBoard listens
// for), reset removes every value, respring asks for a restart and comes back to the
// pane's page.

#include "SettingsPane.h"

#include "objc/RefPtr.h"

class HBPreferences;

namespace sim {

class FallbackSettingsPane final : public SettingsPane {
public:
    // Registers the platform's classes in this process and makes its run loop.
    explicit FallbackSettingsPane(double startTime);
    ~FallbackSettingsPane() override;

    platform::RunLoop& runLoop() override { return m_runLoop; }
    std::string open() override;
    std::string setValue(const std::string& key, const nlohmann::json& value) override;
    std::optional<std::string> respring(std::string& problem) override;
    std::optional<std::string> reset(std::string& problem) override;
    nlohmann::json describe() override;

private:
    platform::RunLoop m_runLoop;
    objc::RefPtr<HBPreferences> m_store;
    bool m_open = false;
};

} // namespace sim
