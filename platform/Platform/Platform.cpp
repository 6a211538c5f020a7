#include "Platform.h"

#include "objc/runtime.h"

#include <nlohmann/json.hpp>

namespace platform {

// Each framework registers its classes; the order follows their dependencies.
void registerFoundationClasses();
void registerMediaRemoteConstants();
void registerUIKitClasses();
void registerSpringBoardClasses();
void registerCepheiClasses();
void registerPreferencesClasses();
void registerCepheiPrefsClasses();

namespace {
struct PlatformState {
    std::string deviceRoot = "/";
    std::string processName = "SpringBoard";
    EventSink sink;
    bool registeredUIKit = false;
    bool registeredAll = false;
};

PlatformState& state()
{
    static PlatformState* platform = new PlatformState;
    return *platform;
}
} // namespace

void setDeviceRoot(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    state().deviceRoot = std::move(path);
}

const std::string& deviceRoot()
{
    return state().deviceRoot;
}

std::string devicePath(std::string_view absoluteDevicePath)
{
    const std::string& root = state().deviceRoot;
    std::string result = root == "/" ? std::string() : root;
    if (absoluteDevicePath.empty() || absoluteDevicePath.front() != '/')
        result += '/';
    result += absoluteDevicePath;
    return result;
}

void registerClasses(Frameworks frameworks)
{
    auto& platform = state();
    if (platform.registeredAll || (platform.registeredUIKit && frameworks == Frameworks::UIKit))
        return;
    if (!platform.registeredUIKit) {
        platform.registeredUIKit = true;
        registerFoundationClasses();
        registerMediaRemoteConstants();
        registerUIKitClasses();
    }
    if (frameworks == Frameworks::All) {
        platform.registeredAll = true;
        registerSpringBoardClasses();
        registerCepheiClasses();
        registerPreferencesClasses();
        registerCepheiPrefsClasses();
    }
    objc::beginRecordingModifications();
}

void setProcessName(std::string name)
{
    state().processName = std::move(name);
}

const std::string& processName()
{
    return state().processName;
}

void setEventSink(EventSink sink)
{
    state().sink = std::move(sink);
}

bool hasEventSink()
{
    return static_cast<bool>(state().sink);
}

void emitEvent(const nlohmann::json& event)
{
    if (auto& sink = state().sink)
        sink(event);
}

} // namespace platform
