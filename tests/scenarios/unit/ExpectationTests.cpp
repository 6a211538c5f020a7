// What `expect` and `expect-events` find and how they compare it.

#include "sim/lumetrix-sim/scenario/Comparison.h"
#include "sim/lumetrix-sim/scenario/ExpectPath.h"

#include <gtest/gtest.h>

using namespace sim::scenario;
using nlohmann::json;

namespace {

const json& playersDump()
{
    static const json dump = json::parse(R"({
        "time": 12.5,
        "lockscreen": {
            "subView": {"hidden": false, "subviews": [{"class": "UIImageView"}, {"class": "UIImageView"}]},
            "previoustapview": {"gestureRecognizers": [{"class": "UITapGestureRecognizer", "action": "tapGesture:"}]},
            "label": {"text": "Daybreak - The Lumen Trio"},
            "progressView": null
        },
        "apps": {"com.example.notes": {"progressView": {"progress": 0.25}}},
        "globals": {"initialStart": false, "HomeFrame": [120, 790, 134, 5]}
    })");
    return dump;
}

} // namespace

TEST(Scenario_ExpectPath, WalksFieldsElementsLengthsAndApps)
{
    struct Case {
        const char* path;
        json expected;
    };
    const Case cases[] = {
        { "lockscreen.subView.hidden", false },
        { "lockscreen.subView.subviews.length", 2 },
        { "lockscreen.subView.subviews[1].class", "UIImageView" },
        { "lockscreen.previoustapview.gestureRecognizers[0].action", "tapGesture:" },
        { "lockscreen.label.text.length", 25 },
        { "app(com.example.notes).progressView.progress", 0.25 },
        { "globals.HomeFrame[3]", 5 },
        { "globals.initialStart", false },
        { "time", 12.5 },
        // Whatever is not there reads null, also below a null.
        { "lockscreen.progressView", nullptr },
        { "lockscreen.progressView.progress", nullptr },
        { "lockscreen.subView.subviews[2]", nullptr },
        { "lockscreen.nothing.hidden", nullptr },
        { "app(com.example.mail).subView", nullptr },
        { "globals.initialStart.length", nullptr },
    };
    for (auto& test : cases) {
        SCOPED_TRACE(test.path);
        EXPECT_EQ(ExpectPath::parse(test.path).evaluate(playersDump()), test.expected);
    }
}

TEST(Scenario_ExpectPath, RejectsPathsThatAreNotPaths)
{
    for (const char* bad : { "", ".a", "a.", "a..b", "a[", "a[]", "a[-1]", "a[1", "a b", "app()", "app(x" }) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(ExpectPath::parse(bad), PathSyntaxError);
    }
}

TEST(Scenario_ExpectComparison, OperatorsOverKindsOfValue)
{
    struct Case {
        json actual;
        CompareOp op;
        json expected;
        double tolerance;
        bool holds;
    };
    const Case cases[] = {
        { 1, CompareOp::Equal, 1.0, 0, true },
        { 0.1 + 0.2, CompareOp::Equal, 0.3, 0, false },
        { 0.1 + 0.2, CompareOp::About, 0.3, 1e-6, true },
        { 0.5, CompareOp::About, 0.45, 0.01, false },
        { 0.5, CompareOp::About, 0.45, 0.05, true },
        { true, CompareOp::Equal, true, 0, true },
        { true, CompareOp::Equal, 1, 0, false },
        { nullptr, CompareOp::Equal, nullptr, 0, true },
        { nullptr, CompareOp::NotEqual, false, 0, true },
        { "a", CompareOp::Equal, "a", 0, true },
        { "a", CompareOp::Less, "b", 0, true },
        { 2, CompareOp::Less, 3, 0, true },
        { 3, CompareOp::LessEqual, 3, 0, true },
        { 3, CompareOp::Greater, 3, 0, false },
        { 3, CompareOp::GreaterEqual, 3, 0, true },
        // Orderings between kinds never hold, either way round.
        { nullptr, CompareOp::Less, 1, 0, false },
        { nullptr, CompareOp::GreaterEqual, 1, 0, false },
        { "3", CompareOp::Greater, 1, 0, false },
        { "0.5", CompareOp::About, 0.5, 1, false },
    };
    for (auto& test : cases) {
        SCOPED_TRACE(test.actual.dump() + " " + compareOpText(test.op) + " " + test.expected.dump());
        EXPECT_EQ(compareValues(test.actual, test.op, test.expected, test.tolerance), test.holds);
    }
}

TEST(Scenario_ExpectComparison, EventFiltersMatchNumbersAndTheirTextWhenBare)
{
    EventFilter bareNumber { "command", 4.0, "4" };
    EXPECT_TRUE(filterMatches(4, bareNumber));
    EXPECT_TRUE(filterMatches("4", bareNumber));
    EXPECT_FALSE(filterMatches(5, bareNumber));
    EventFilter quoted { "title", "4", std::nullopt };
    EXPECT_TRUE(filterMatches("4", quoted));
    EXPECT_FALSE(filterMatches(4, quoted));
    EventFilter null { "object", nullptr, std::nullopt };
    EXPECT_TRUE(filterMatches(nullptr, null));
    EXPECT_FALSE(filterMatches("SBMediaController", null));
}
