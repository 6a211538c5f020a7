#include "SpringBoardObserver.h"

#include "sim/springboardprocess/TweakGlobals.h"

#include "SpringBoard/CSHomeAffordanceView.h"
#include "SpringBoard/CSHomeAffordanceViewController.h"
#include "SpringBoard/SBDeviceApplicationSceneViewController.h"
#include "SpringBoard/SpringBoard.h"
#include "UIKit/UIWindow.h"

#include <dlfcn.h>

using nlohmann::json;

namespace sim {

UIView* SpringBoardObserver::playerProperty(NSObject* host, const char* name)
{
    if (!host)
        return nullptr;
    SEL getter = sel_registerName(name);
    if (!class_respondsToSelector(host->isa(), getter))
        return nullptr;
    return objc_cast<UIView>(objc_msgSend<id>(host, getter));
}

SpringBoardObserver::SpringBoardObserver(SpringBoard* springBoard, void* tweakHandle, NodeIds& ids)
    : m_springBoard(springBoard)
    , m_tweak(tweakHandle)
    , m_ids(ids)
{
    // Frames are read after the layout the next display refresh would do.
    if (m_springBoard)
        UIView::layoutPendingViews();
}

const std::vector<const char*>& SpringBoardObserver::playerPropertyNames()
{
    static const std::vector<const char*> names = { "subView", "previousicon", "pauseicon", "label", "labelbg", "previoustapview", "progressView" };
    return names;
}

NodeDumper::PropertyNames SpringBoardObserver::propertyNames() const
{
    NodeDumper::PropertyNames names;
    if (!m_springBoard)
        return names;
    auto collect = [&](NSObject* host) {
        for (const char* name : playerPropertyNames()) {
            if (UIView* view = playerProperty(host, name))
                names.emplace(view, name);
        }
    };
    if (auto* controller = m_springBoard->homeAffordanceController()) {
        collect(controller);
        collect(controller->homeAffordanceView());
    }
    for (auto* app : m_springBoard->openApps())
        collect(app);
    return names;
}

json SpringBoardObserver::player(NSObject* host, NSObject* stripHost, NodeDumper& dumper)
{
    json player = json::object();
    for (const char* name : playerPropertyNames()) {
        bool isStrip = std::string_view(name) == "progressView";
        player[name] = dumper.node(playerProperty(isStrip ? stripHost : host, name));
    }
    return player;
}

json SpringBoardObserver::players(double time)
{
    json dump = { { "time", time }, { "lockscreen", nullptr }, { "apps", json::object() }, { "globals", globals() } };
    if (!m_springBoard)
        return dump;
    NodeDumper dumper(m_ids, propertyNames());
    auto* controller = m_springBoard->homeAffordanceController();
    CSHomeAffordanceView* homeAffordance = controller ? controller->homeAffordanceView() : nullptr;
    json lockscreen = player(controller, homeAffordance, dumper);
    lockscreen["homeAffordance"] = dumper.node(homeAffordance);
    dump["lockscreen"] = std::move(lockscreen);
    for (auto* app : m_springBoard->openApps()) {
        if (app->isViewLoaded())
            dump["apps"][app->bundleIdentifier()] = player(app, app, dumper);
    }
    return dump;
}

json SpringBoardObserver::globals()
{
    if (!m_tweak)
        return json::object();
    json globals = readTweakGlobals(m_tweak);
    // The two captured SpringBoard objects are shown as the nodes they are.
    for (const char* name : { "rootwindow", "appwindow" }) {
        if (auto* slot = static_cast<id*>(dlsym(m_tweak, name)))
            globals[name] = *slot ? json(m_ids.idFor(*slot)) : json(nullptr);
    }
    return globals;
}

json SpringBoardObserver::screen()
{
    NodeDumper dumper(m_ids, propertyNames());
    return dumper.screen(m_springBoard ? m_springBoard->windowsOnScreen() : std::vector<UIWindow*> {});
}

} // namespace sim
