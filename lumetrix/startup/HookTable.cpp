// The whole surgery on SpringBoard, in the order it is done. Each class is looked up once,
// right before its group; replacements keep the previous implementation in their slot,
// additions leave a method the class already has in place.

#include "HookTable.h"

#include "AddedProperty.h"
#include "Hooks.h"

#include "substrate/substrate.h"

#include <cctype>
#include <string>
#include <vector>

namespace lumetrix {

namespace {

struct Step {
    enum class Kind {
        Replace,
        Add,
        Property
    };
    Kind kind;
    const char* selector; // for a property, its name
    IMP implementation; // for a property, the getter
    IMP* saved; // Replace: the saved-implementation slot
    const char* types; // Add: the type encoding
    IMP setter; // Property: the setter
};

struct ClassGroup {
    const char* className;
    std::vector<Step> steps;
};

template<typename F>
IMP imp(F function)
{
    return reinterpret_cast<IMP>(function);
}

template<typename F>
IMP* slot(F* savedSlot)
{
    return reinterpret_cast<IMP*>(savedSlot);
}

template<typename F>
Step replace(const char* selector, F replacement, F* saved)
{
    return { Step::Kind::Replace, selector, imp(replacement), slot(saved), nullptr, nullptr };
}

template<typename F>
Step add(const char* selector, F implementation, const char* types)
{
    return { Step::Kind::Add, selector, imp(implementation), nullptr, types, nullptr };
}

// One tag type per (class, property) gives each pair its own getter and so its own key.
template<typename ClassTag, int PropertyIndex>
struct PropertyTag { };

template<typename ClassTag, int PropertyIndex>
Step property(const char* name)
{
    using Tag = PropertyTag<ClassTag, PropertyIndex>;
    return { Step::Kind::Property, name, imp(&propertyGetter<Tag>), nullptr, nullptr, imp(&propertySetter<Tag>) };
}

struct HomeAffordanceViewTag;
struct HomeAffordanceViewControllerTag;
struct SceneViewControllerTag;

constexpr const char* kGetterTypes = "@@:";
constexpr const char* kSetterTypes = "v@:@";
constexpr const char* kNoArgumentTypes = "v@:";

std::vector<ClassGroup> surgery()
{
    return {
        { "CSHomeAffordanceView",
            {
                replace("layoutSubviews", &hook_CSHomeAffordanceView_layoutSubviews, &orig_CSHomeAffordanceView_layoutSubviews),
                replace("_createStaticHomeAffordance", &hook_CSHomeAffordanceView__createStaticHomeAffordance, &orig_CSHomeAffordanceView__createStaticHomeAffordance),
                add("updateProgress:", &CSHomeAffordanceView_updateProgress, kSetterTypes),
                add("updateSliderColour:", &CSHomeAffordanceView_updateSliderColour, kSetterTypes),
                property<HomeAffordanceViewTag, 0>("progressView"),
            } },
        { "CSHomeAffordanceViewController",
            {
                replace("loadView", &hook_CSHomeAffordanceViewController_loadView, &orig_CSHomeAffordanceViewController_loadView),
                add("playpausenotif", &CSHomeAffordanceViewController_playpausenotif, kNoArgumentTypes),
                add("tapGesture:", &CSHomeAffordanceViewController_tapGesture, kSetterTypes),
                add("swipeleft:", &CSHomeAffordanceViewController_swipeleft, kSetterTypes),
                add("swiperight:", &CSHomeAffordanceViewController_swiperight, kSetterTypes),
                add("dismissControls:", &CSHomeAffordanceViewController_dismissControls, kSetterTypes),
                add("updateMedia", &CSHomeAffordanceViewController_updateMedia, kNoArgumentTypes),
                add("updateMediaColour:", &CSHomeAffordanceViewController_updateMediaColour, kSetterTypes),
                property<HomeAffordanceViewControllerTag, 0>("previousicon"),
                property<HomeAffordanceViewControllerTag, 1>("pauseicon"),
                property<HomeAffordanceViewControllerTag, 2>("subView"),
                property<HomeAffordanceViewControllerTag, 3>("previoustapview"),
                property<HomeAffordanceViewControllerTag, 4>("label"),
                property<HomeAffordanceViewControllerTag, 5>("labelbg"),
            } },
        { "SBDeviceApplicationSceneViewController",
            {
                replace("viewDidLoad", &hook_SBDeviceApplicationSceneViewController_viewDidLoad, &orig_SBDeviceApplicationSceneViewController_viewDidLoad),
                add("hidemediaplayer:", &SBDeviceApplicationSceneViewController_hidemediaplayer, kSetterTypes),
                add("showmediaplayer:", &SBDeviceApplicationSceneViewController_showmediaplayer, kSetterTypes),
                add("playpausenotif", &SBDeviceApplicationSceneViewController_playpausenotif, kNoArgumentTypes),
                add("updateProgress:", &SBDeviceApplicationSceneViewController_updateProgress, kSetterTypes),
                add("tapGesture:", &SBDeviceApplicationSceneViewController_tapGesture, kSetterTypes),
                add("swipeleft:", &SBDeviceApplicationSceneViewController_swipeleft, kSetterTypes),
                add("swiperight:", &SBDeviceApplicationSceneViewController_swiperight, kSetterTypes),
                add("dismissControls:", &SBDeviceApplicationSceneViewController_dismissControls, kSetterTypes),
                add("updateMedia", &SBDeviceApplicationSceneViewController_updateMedia, kNoArgumentTypes),
                property<SceneViewControllerTag, 0>("previousicon"),
                property<SceneViewControllerTag, 1>("subView"),
                property<SceneViewControllerTag, 2>("previoustapview"),
                property<SceneViewControllerTag, 3>("label"),
                property<SceneViewControllerTag, 4>("pauseicon"),
                property<SceneViewControllerTag, 5>("progressView"),
                property<SceneViewControllerTag, 6>("labelbg"),
            } },
        { "SBHomeGrabberView",
            {
                replace("_bounce", &hook_SBHomeGrabberView__bounce, &orig_SBHomeGrabberView__bounce),
                replace("client:attentionLostTimeoutDidExpire:forConfigurationGeneration:withAssociatedObject:", &hook_SBHomeGrabberView_attentionLost, &orig_SBHomeGrabberView_attentionLost),
                replace("clientDidResetForUserAttention:", &hook_SBHomeGrabberView_clientDidResetForUserAttention, &orig_SBHomeGrabberView_clientDidResetForUserAttention),
            } },
        { "SBMainSwitcherWindow", { replace("setFrame:", &hook_SBMainSwitcherWindow_setFrame, &orig_SBMainSwitcherWindow_setFrame) } },
        { "CSCoverSheetView", { replace("initWithFrame:", &hook_CSCoverSheetView_initWithFrame, &orig_CSCoverSheetView_initWithFrame) } },
        { "CSTeachableMomentsContainerView", { replace("layoutSubviews", &hook_CSTeachableMomentsContainerView_layoutSubviews, &orig_CSTeachableMomentsContainerView_layoutSubviews) } },
        { "CSNowPlayingController", { replace("controlsViewController", &hook_CSNowPlayingController_controlsViewController, &orig_CSNowPlayingController_controlsViewController) } },
        { "SBMediaController", { replace("setNowPlayingInfo:", &hook_SBMediaController_setNowPlayingInfo, &orig_SBMediaController_setNowPlayingInfo) } },
        { "MTLumaDodgePillView", { replace("layoutSubviews", &hook_MTLumaDodgePillView_layoutSubviews, &orig_MTLumaDodgePillView_layoutSubviews) } },
    };
}

std::string setterName(const char* property)
{
    std::string name = property;
    name[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
    return "set" + name + ":";
}

} // namespace

void installHooks()
{
    for (const ClassGroup& group : surgery()) {
        Class cls = objc_getClass(group.className);
        for (const Step& step : group.steps) {
            switch (step.kind) {
            case Step::Kind::Replace:
                MSHookMessageEx(cls, sel_registerName(step.selector), step.implementation, step.saved);
                break;
            case Step::Kind::Add:
                class_addMethod(cls, sel_registerName(step.selector), step.implementation, step.types);
                break;
            case Step::Kind::Property: {
                // Every added property holds an object: its getter returns one, its setter takes one.
                class_addMethod(cls, sel_registerName(step.selector), step.implementation, kGetterTypes);
                class_addMethod(cls, sel_registerName(setterName(step.selector).c_str()), step.setter, kSetterTypes);
                break;
            }
            }
        }
    }
}

} // namespace lumetrix
