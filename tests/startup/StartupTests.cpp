// Start-up through the real load path: lumetrix-host installs the built tweak into a
// device root, starts SpringBoard in its own process and reports what got installed.

#include "support/TemporaryDevice.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <array>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

using nlohmann::json;
using testing_support::TemporaryDevice;

namespace {

json bootAndReport(const TemporaryDevice& device)
{
    std::string command = std::string(LUMETRIX_HOST) + " --no-install --root '" + device.path() + "' 2>/dev/null";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::string output;
    std::array<char, 4096> buffer;
    while (size_t count = fread(buffer.data(), 1, buffer.size(), pipe.get()))
        output.append(buffer.data(), count);
    return json::parse(output);
}

using Step = std::tuple<std::string, std::string, std::string, std::string>; // kind, class, selector, types

std::vector<Step> propertySteps(const std::string& cls, std::initializer_list<const char*> names)
{
    std::vector<Step> steps;
    for (std::string name : names) {
        std::string setter = "set" + std::string(1, static_cast<char>(std::toupper(name[0]))) + name.substr(1) + ":";
        steps.emplace_back("add", cls, name, "@@:");
        steps.emplace_back("add", cls, setter, "v@:@");
    }
    return steps;
}

std::vector<Step> expectedInstallation()
{
    const std::string rect = "{CGRect={CGPoint=dd}{CGSize=dd}}";
    std::vector<Step> steps = {
        { "replace", "CSHomeAffordanceView", "layoutSubviews", "v@:" },
        { "replace", "CSHomeAffordanceView", "_createStaticHomeAffordance", "v@:" },
        { "add", "CSHomeAffordanceView", "updateProgress:", "v@:@" },
        { "add", "CSHomeAffordanceView", "updateSliderColour:", "v@:@" },
    };
    auto append = [&](std::vector<Step> more) { steps.insert(steps.end(), more.begin(), more.end()); };
    append(propertySteps("CSHomeAffordanceView", { "progressView" }));
    append({
        { "replace", "CSHomeAffordanceViewController", "loadView", "v@:" },
        { "add", "CSHomeAffordanceViewController", "playpausenotif", "v@:" },
        { "add", "CSHomeAffordanceViewController", "tapGesture:", "v@:@" },
        { "add", "CSHomeAffordanceViewController", "swipeleft:", "v@:@" },
        { "add", "CSHomeAffordanceViewController", "swiperight:", "v@:@" },
        { "add", "CSHomeAffordanceViewController", "dismissControls:", "v@:@" },
        { "add", "CSHomeAffordanceViewController", "updateMedia", "v@:" },
        { "add", "CSHomeAffordanceViewController", "updateMediaColour:", "v@:@" },
    });
    append(propertySteps("CSHomeAffordanceViewController", { "previousicon", "pauseicon", "subView", "previoustapview", "label", "labelbg" }));
    append({
        { "replace", "SBDeviceApplicationSceneViewController", "viewDidLoad", "v@:" },
        { "add", "SBDeviceApplicationSceneViewController", "hidemediaplayer:", "v@:@" },
        { "add", "SBDeviceApplicationSceneViewController", "showmediaplayer:", "v@:@" },
        { "add", "SBDeviceApplicationSceneViewController", "playpausenotif", "v@:" },
        { "add", "SBDeviceApplicationSceneViewController", "updateProgress:", "v@:@" },
        { "add", "SBDeviceApplicationSceneViewController", "tapGesture:", "v@:@" },
        { "add", "SBDeviceApplicationSceneViewController", "swipeleft:", "v@:@" },
        { "add", "SBDeviceApplicationSceneViewController", "swiperight:", "v@:@" },
        { "add", "SBDeviceApplicationSceneViewController", "dismissControls:", "v@:@" },
        { "add", "SBDeviceApplicationSceneViewController", "updateMedia", "v@:" },
    });
    append(propertySteps("SBDeviceApplicationSceneViewController", { "previousicon", "subView", "previoustapview", "label", "pauseicon", "progressView", "labelbg" }));
    append({
        { "replace", "SBHomeGrabberView", "_bounce", "v@:" },
        { "replace", "SBHomeGrabberView", "client:attentionLostTimeoutDidExpire:forConfigurationGeneration:withAssociatedObject:", "v@:@dQ@" },
        { "replace", "SBHomeGrabberView", "clientDidResetForUserAttention:", "v@:@" },
        { "replace", "SBMainSwitcherWindow", "setFrame:", "v@:" + rect },
        { "replace", "CSCoverSheetView", "initWithFrame:", "@@:" + rect },
        { "replace", "CSTeachableMomentsContainerView", "layoutSubviews", "v@:" },
        { "replace", "CSNowPlayingController", "controlsViewController", "@@:" },
        { "replace", "SBMediaController", "setNowPlayingInfo:", "v@:@" },
        { "replace", "MTLumaDodgePillView", "layoutSubviews", "v@:" },
    });
    return steps;
}

void expectStandardLayout(const json& globals)
{
    EXPECT_EQ(globals["bottomConstant"], -5);
    EXPECT_EQ(globals["iconConstant"], 7);
    EXPECT_EQ(globals["TouchConstant"], -15);
    EXPECT_EQ(globals["HomeBarOffSetContant"], 10);
    EXPECT_EQ(globals["AppHomeBarOffset"], 25);
}

void expectCompanionLayout(const json& globals)
{
    EXPECT_EQ(globals["bottomConstant"], -40);
    EXPECT_EQ(globals["iconConstant"], 0);
    EXPECT_EQ(globals["TouchConstant"], -50);
    EXPECT_EQ(globals["HomeBarOffSetContant"], -5);
    EXPECT_EQ(globals["AppHomeBarOffset"], 15);
}

} // namespace

TEST(Startup_Installation, ReplacesAndAddsEverythingInOrderWithExactEncodings)
{
    TemporaryDevice device;
    json report = bootAndReport(device);
    ASSERT_EQ(report["tweaks"], json::array({ "lumetrix" }));

    std::vector<Step> actual;
    for (const auto& change : report["modifications"]) {
        EXPECT_TRUE(change["succeeded"].get<bool>()) << change.dump();
        actual.emplace_back(change["kind"], change["class"], change["selector"], change["types"]);
    }
    auto expected = expectedInstallation();
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(actual[i], expected[i]) << "step " << i;
    // 13 replacements; 2 + 7 + 9 added methods; 14 properties of two methods each.
    EXPECT_EQ(std::count_if(actual.begin(), actual.end(), [](auto& s) { return std::get<0>(s) == "replace"; }), 13);
    EXPECT_EQ(actual.size(), 13u + 18u + 28u);
}

TEST(Startup_Settings, EmptyStoreGivesEveryDefault)
{
    TemporaryDevice device;
    json globals = bootAndReport(device)["globals"];
    EXPECT_EQ(globals["pfs"], "HBPreferences");
    EXPECT_EQ(globals["enable"], true);
    EXPECT_EQ(globals["songtitlebg"], false);
    EXPECT_EQ(globals["hidelsplayer"], false);
    EXPECT_EQ(globals["alwaysshow"], false);
    EXPECT_EQ(globals["swipetoskip"], false);
    EXPECT_EQ(globals["fadeoutspeed"], "20.0");
    EXPECT_EQ(globals["barwidth"], "140.0");
    EXPECT_EQ(globals["dynamicenabled"], false);
    EXPECT_EQ(globals["homebardynamic"], true);
    EXPECT_EQ(globals["restorehomebartowhite"], true);
    EXPECT_EQ(globals["initialStart"], false);
    EXPECT_EQ(globals["rootwindow"], nullptr);
    EXPECT_EQ(globals["appwindow"], nullptr);
    expectStandardLayout(globals);
}

TEST(Startup_Settings, DisabledTweakBindsSettingsButInstallsNothing)
{
    TemporaryDevice device;
    device.writeSettings("<key>enabled</key><false/><key>alwaysshow</key><true/><key>fadeoutspeed</key><real>5</real>\n");
    device.root().writeFile("/Library/MobileSubstrate/DynamicLibraries/Brevo12UIKit.dylib", "");
    json report = bootAndReport(device);
    EXPECT_TRUE(report["modifications"].empty()) << report["modifications"].dump();
    json globals = report["globals"];
    EXPECT_EQ(globals["pfs"], "HBPreferences");
    EXPECT_EQ(globals["enable"], false);
    EXPECT_EQ(globals["alwaysshow"], true);
    EXPECT_EQ(globals["fadeoutspeed"], 5);
    EXPECT_EQ(globals["barwidth"], "140.0");
    expectCompanionLayout(globals);
}

TEST(Startup_Layout, EitherCompanionLibrarySelectsTheCompanionSet)
{
    for (auto files : std::vector<std::vector<const char*>> { { "Brevo11UIKit.dylib" }, { "Brevo12UIKit.dylib" }, { "Brevo11UIKit.dylib", "Brevo12UIKit.dylib" } }) {
        TemporaryDevice device;
        for (const char* file : files)
            device.root().writeFile(std::string("/Library/MobileSubstrate/DynamicLibraries/") + file, "");
        SCOPED_TRACE(files.size() == 2 ? "both" : files[0]);
        expectCompanionLayout(bootAndReport(device)["globals"]);
    }
    TemporaryDevice plain;
    plain.root().writeFile("/Library/MobileSubstrate/DynamicLibraries/Brevo13UIKit.dylib", "");
    expectStandardLayout(bootAndReport(plain)["globals"]);
}

TEST(Startup_Settings, StoredValuesOfEveryKindReachTheVariables)
{
    TemporaryDevice device;
    device.writeSettings(
        "<key>songtitlebg</key><true/><key>swipetoskip</key><integer>1</integer>"
        "<key>fadeoutspeed</key><string>7.5</string><key>barwidth</key><integer>90</integer>"
        "<key>homebardynamic</key><false/>\n");
    json globals = bootAndReport(device)["globals"];
    EXPECT_EQ(globals["songtitlebg"], true);
    EXPECT_EQ(globals["swipetoskip"], true);
    EXPECT_EQ(globals["fadeoutspeed"], "7.5");
    EXPECT_EQ(globals["barwidth"], 90);
    EXPECT_EQ(globals["homebardynamic"], false);
}

TEST(Startup_Settings, MistypedValuesFallBackToTheirDefaultsAndOthersSurvive)
{
    TemporaryDevice device;
    device.writeSettings(
        "<key>enabled</key><string>no</string><key>alwaysshow</key><true/>"
        "<key>barwidth</key><array><integer>1</integer></array>\n");
    json report = bootAndReport(device);
    json globals = report["globals"];
    EXPECT_EQ(globals["enable"], true) << "a string where a boolean belongs reads the default";
    EXPECT_EQ(globals["alwaysshow"], true);
    EXPECT_EQ(globals["barwidth"], "140.0");
    EXPECT_FALSE(report["modifications"].empty());
}

TEST(Startup_Settings, CorruptFileReadsDefaultsAndIsLeftAsItWas)
{
    TemporaryDevice device;
    const std::string garbage = "<?xml version=\"1.0\"?><plist><dict><key>enabled</key><fal";
    device.root().writeFile("/var/mobile/Library/Preferences/com.orvanta.lumetrix.plist", garbage);
    json globals = bootAndReport(device)["globals"];
    EXPECT_EQ(globals["enable"], true);
    EXPECT_EQ(globals["fadeoutspeed"], "20.0");
    std::ifstream file(device.root().resolve("/var/mobile/Library/Preferences/com.orvanta.lumetrix.plist"));
    std::stringstream contents;
    contents << file.rdbuf();
    EXPECT_EQ(contents.str(), garbage);
}
