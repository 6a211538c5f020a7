#include "SpringBoardProcess.h"

#include "TweakGlobals.h"

#include "Foundation/RunLoop.h"
#include "Platform/Platform.h"
#include "objc/runtime.h"

#include <dlfcn.h>

namespace sim {

SpringBoardProcess::SpringBoardProcess(const std::string& deviceRoot, double startTime, platform::RunLoop::ClockMode clockMode)
{
    platform::setDeviceRoot(deviceRoot);
    platform::setProcessName("SpringBoard");
    platform::registerClasses();
    // The run loop exists before any tweak loads: a tweak's initialiser may schedule work
    // or listen for settings changes.
    m_runLoop = std::make_unique<platform::RunLoop>(clockMode, startTime);
    m_tweaks = loadTweaks(kSpringBoardBundleIdentifier);
}

SpringBoardProcess::~SpringBoardProcess() = default;

nlohmann::json SpringBoardProcess::report() const
{
    nlohmann::json loaded = nlohmann::json::array();
    for (const auto& tweak : m_tweaks)
        loaded.push_back(tweak.name);
    nlohmann::json modifications = nlohmann::json::array();
    for (const auto& change : objc::recordedModifications()) {
        modifications.push_back({
            { "kind", change.kind == objc::Modification::Kind::ReplaceMethod ? "replace" : "add" },
            { "class", change.className },
            { "selector", change.selector },
            { "types", change.types },
            { "succeeded", change.succeeded },
        });
    }
    void* lumetrix = RTLD_DEFAULT;
    for (const auto& tweak : m_tweaks) {
        if (tweak.name == "lumetrix")
            lumetrix = tweak.handle;
    }
    return { { "tweaks", loaded }, { "modifications", modifications }, { "globals", readTweakGlobals(lumetrix) }, { "settings", readTweakSettingsTable(lumetrix) } };
}

} // namespace sim
