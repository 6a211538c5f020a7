// Paths and setting keys checked against what the dumps hold, before anything runs, and
// paths that run into nothing at run time.

#include "sim/lumetrix-sim/scenario/DumpShape.h"
#include "sim/lumetrix-sim/scenario/ScenarioParser.h"

#include <gtest/gtest.h>

using namespace sim::scenario;
using nlohmann::json;

namespace {

// Samples shaped as the probe gathers them, cut down to what the cases need.
std::shared_ptr<const DumpShape> sampleShape()
{
    json view = { { "class", "UIView" }, { "id", "UIView#1" }, { "hidden", false }, { "frame", { 0, 0, 1, 1 } },
        { "backgroundColor", { { "rgba", { 1, 1, 1, 1 } }, { "name", "whiteColor" } } },
        { "gestureRecognizers", { { { "class", "UITapGestureRecognizer" }, { "action", "tap" }, { "numberOfTapsRequired", 1 } } } },
        { "subviews", json::array() } };
    json label = view;
    label["class"] = "UILabel";
    label["text"] = nullptr;
    label["font"] = { { "size", 9 }, { "bold", false } };
    json samples = {
        { "nodes", { view, label } },
        { "lockscreenPlayer", { "subView", "label", "homeAffordance" } },
        { "appPlayer", { "subView", "label" } },
        { "globals", { { "alwaysshow", false }, { "HomeFrame", { 0, 0, 1, 1 } }, { "rootwindow", nullptr } } },
        { "settings", { { { "key", "alwaysshow" }, { "type", "bool" } }, { { "key", "barwidth" }, { "type", "object" } } } },
        { "settingsDump", { { "domain", "" }, { "file", "" }, { "values", json::object() }, { "settingsApp", nullptr } } },
    };
    return std::make_shared<DumpShape>(DumpShape::fromSamples(samples));
}

std::optional<std::string> problem(const std::string& path)
{
    static auto shape = sampleShape();
    return shape->problem(ExpectPath::parse(path));
}

Scenario parseChecked(const std::string& text)
{
    ParseOptions options;
    options.shape = sampleShape();
    return parseScenarioText(text, "test.scenario", ".", options);
}

std::string errorOf(const std::string& text)
{
    try {
        parseChecked(text);
    } catch (const ScenarioError& error) {
        return error.what();
    }
    return "(no error)";
}

} // namespace

TEST(Scenario_DumpShape, PathsTheDumpsHoldPass)
{
    for (const char* path : { "lockscreen", "lockscreen.subView.hidden", "lockscreen.homeAffordance.subviews[2].subviews.length",
             "lockscreen.label.subviews[0].text", "app(com.example.notes).label.font.size", "lockscreen.subView.gestureRecognizers[0].action",
             "lockscreen.subView.backgroundColor.rgba[3]", "lockscreen.subView.backgroundColor.name", "globals.HomeFrame[2]",
             "globals.rootwindow", "apps.anything.subView.hidden", "time", "screen.subviews[0].class", "settings.domain",
             "settings.values.anyStoredKey", "settings.settingsApp.whatever.below" }) {
        SCOPED_TRACE(path);
        EXPECT_EQ(problem(path), std::nullopt);
    }
}

TEST(Scenario_DumpShape, UnknownNamesAreRefusedWithTheNearestKnownOnes)
{
    struct Case {
        const char* path;
        const char* message;
    };
    const Case cases[] = {
        { "lockscreen.subVeiw.hidden", "lockscreen has no player property \"subVeiw\" (did you mean subView?)" },
        { "lockscreen.subview.hidden", "did you mean subView?" },
        { "globals.alwayshow", "globals has no global \"alwayshow\" (did you mean alwaysshow?)" },
        { "lockscreen.subView.hiden", "lockscreen.subView has no field \"hiden\" (did you mean hidden?)" },
        { "lockscren.subView", "the players dump has no field \"lockscren\" (did you mean lockscreen?)" },
        { "app(x).homeAffordance", "app(x) has no player property \"homeAffordance\"" },
        { "lockscreen.subView.gestureRecognizers[0].acton", "did you mean action?" },
        { "lockscreen.subView.frame.x", "lockscreen.subView.frame is a list" },
        { "lockscreen.subView.hidden.value", "is a single value" },
        { "lockscreen.subView[0]", "is not a list" },
        { "screen.subviews[0].txt", "did you mean text?" },
        { "settings.domian", "the settings dump has no field \"domian\" (did you mean domain?)" },
        { "lockscreen.subView.zzzzzz", "known: " },
    };
    for (auto& test : cases) {
        SCOPED_TRACE(test.path);
        auto found = problem(test.path);
        ASSERT_TRUE(found);
        EXPECT_NE(found->find(test.message), std::string::npos) << *found;
    }
}

TEST(Scenario_DumpShape, CheckedAsTheFileIsReadNamingTheFirstBadLine)
{
    // The misspelt scenario: the key on line 1 first, then the paths once it is fixed.
    std::string misspelt = "pref alwayshow true\nboot\nwait 4\nexpect lockscreen.subview.hidden != true\n"
                           "expect lockscreen.subVeiw.hidden != false\nexpect globals.alwayshow != true\n";
    std::string error = errorOf(misspelt);
    EXPECT_EQ(error.rfind("test.scenario:1: expected a setting's key (alwaysshow, barwidth), got alwayshow (did you mean alwaysshow?)", 0), 0u) << error;
    error = errorOf("pref alwaysshow true" + misspelt.substr(misspelt.find('\n')));
    EXPECT_EQ(error.rfind("test.scenario:4: expected a path the dump has: lockscreen has no player property \"subview\"", 0), 0u) << error;

    EXPECT_NE(errorOf("settings set barwith 100").find("test.scenario:1: expected a setting's key"), std::string::npos);
    // pref-raw stores anything; pref of the wrong type is allowed, with a note kept.
    auto raw = parseChecked("pref-raw foreign \"x\"\npref barwidth true\npref alwaysshow false\n");
    ASSERT_EQ(raw.commands.size(), 3u);
    EXPECT_TRUE(std::get<PrefCommand>(raw.commands[0].body).raw);
    EXPECT_EQ(std::get<PrefCommand>(raw.commands[1].body).typeNote, "barwidth is a number setting, given true");
    EXPECT_EQ(std::get<PrefCommand>(raw.commands[2].body).typeNote, "");
}

TEST(Scenario_DumpShape, NearestNamesIgnoreCaseAndStayClose)
{
    std::vector<std::string> known = { "subView", "label", "labelbg", "progressView" };
    EXPECT_EQ(nearestNames("subview", known), std::vector<std::string>({ "subView" }));
    EXPECT_EQ(nearestNames("labl", known), std::vector<std::string>({ "label" }));
    EXPECT_EQ(nearestNames("labelb", known), std::vector<std::string>({ "label", "labelbg" }));
    EXPECT_TRUE(nearestNames("colour", known).empty());
}

TEST(Scenario_ExpectPath, NullAndMissingPartsAreNamedUnlessTheCheckIsAgainstNull)
{
    json players = { { "lockscreen", { { "subView", nullptr }, { "label", { { "class", "UILabel" }, { "text", nullptr } } }, { "homeAffordance", { { "class", "UIView" }, { "subviews", json::array() } } }, { "progressView", { { "class", "UIProgressView" }, { "progressTintColor", { { "rgba", { 1, 1, 1, 1 } } } } } } } },
        { "apps", json::object() }, { "globals", json::object() } };
    struct Case {
        const char* path;
        bool nullCheck;
        const char* problem; // empty: found
    };
    const Case cases[] = {
        { "lockscreen.subView.hidden", false, "lockscreen.subView is null" },
        { "lockscreen.subView.hidden", true, "lockscreen.subView is null" },
        { "lockscreen.subView", true, "" },
        { "lockscreen.subView", false, "" },
        { "lockscreen.label.text", false, "" },
        { "lockscreen.homeAffordance.text", true, "lockscreen.homeAffordance is a UIView, which has no text" },
        { "lockscreen.homeAffordance.subviews[0]", true, "lockscreen.homeAffordance.subviews has 0 elements, so no [0]" },
        { "lockscreen.progressView.progressTintColor.name", true, "" },
        { "lockscreen.progressView.progressTintColor.name", false, "lockscreen.progressView.progressTintColor has no name" },
        { "app(com.example.notes)", true, "" },
        { "app(com.example.notes).subView", true, "app(com.example.notes) is null (no scene of that app is loaded)" },
        { "globals.initialStart", true, "" },
        { "globals.initialStart", false, "globals has no initialStart" },
    };
    for (auto& test : cases) {
        SCOPED_TRACE(std::string(test.path) + (test.nullCheck ? " == null" : ""));
        auto found = ExpectPath::parse(test.path).find(players, test.nullCheck);
        EXPECT_EQ(found.problem, test.problem);
    }
    json before = { { "lockscreen", nullptr }, { "apps", json::object() } };
    EXPECT_EQ(ExpectPath::parse("lockscreen").find(before, true).problem, "");
    EXPECT_EQ(ExpectPath::parse("lockscreen.subView").find(before, true).problem, "lockscreen is null");
}
