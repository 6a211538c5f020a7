// Dump nodes: what a view tree looks like to a scenario, and ids that name one object
// for its whole life.

#include "sim/lumetrix-sim/observe/NodeDumper.h"
#include "sim/lumetrix-sim/observe/NodeIds.h"

#include "Foundation/RunLoop.h"
#include "Platform/Platform.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIDeviceProfile.h"
#include "UIKit/UIFont.h"
#include "UIKit/UILabel.h"
#include "UIKit/UIProgressView.h"
#include "UIKit/UISwipeGestureRecognizer.h"
#include "UIKit/UITapGestureRecognizer.h"
#include "UIKit/UIWindow.h"

#include <gtest/gtest.h>

using nlohmann::json;

namespace {

class Sim_NodeDumper : public testing::Test {
protected:
    static void SetUpTestSuite() { platform::registerClasses(); }

    platform::RunLoop m_loop;
};

template<typename T>
objc::RefPtr<T> makeView(CGRect frame)
{
    auto view = T::alloc();
    view->initWithFrame(frame);
    return view;
}

TEST_F(Sim_NodeDumper, IdsAreStablePerObjectAndCountPerClass)
{
    sim::NodeIds ids;
    auto first = makeView<UIView>(CGRectZero);
    auto second = makeView<UIView>(CGRectZero);
    auto label = makeView<UILabel>(CGRectZero);
    EXPECT_EQ(ids.idFor(first.get()), "UIView#1");
    EXPECT_EQ(ids.idFor(label.get()), "UILabel#1");
    EXPECT_EQ(ids.idFor(second.get()), "UIView#2");
    EXPECT_EQ(ids.idFor(first.get()), "UIView#1");

    // An object made after another died never takes its id, even at the same address.
    first = nullptr;
    auto third = makeView<UIView>(CGRectZero);
    EXPECT_EQ(ids.idFor(third.get()), "UIView#3");

    // The next process goes on from the numbers this one reached.
    sim::NodeIds next(ids.counters());
    auto fourth = makeView<UIView>(CGRectZero);
    EXPECT_EQ(next.idFor(fourth.get()), "UIView#4");
    EXPECT_EQ(next.idFor(label.get()), "UILabel#2");
}

TEST_F(Sim_NodeDumper, NodesDescribeTheTreeInScreenCoordinates)
{
    auto window = makeView<UIWindow>(UIDeviceProfile::current().screenBounds());
    window->makeKeyAndVisible();
    auto row = makeView<UIView>(CGRectMake(20, 700, 200, 40));
    row->setAlpha(0.5);
    row->setHidden(true);
    row->setBackgroundColor(UIColor::clearColor().get());
    row->layer()->setCornerRadius(12);
    row->setClipsToBounds(true);
    window->addSubview(row.get());
    auto tap = UITapGestureRecognizer::alloc();
    tap->initWithTarget(row.get(), "tapGesture:"_sel);
    tap->setNumberOfTapsRequired(2);
    row->addGestureRecognizer(tap.get());
    auto swipe = UISwipeGestureRecognizer::alloc();
    swipe->initWithTarget(row.get(), "swipeleft:"_sel);
    swipe->setDirection(UISwipeGestureRecognizerDirectionLeft);
    row->addGestureRecognizer(swipe.get());
    auto label = makeView<UILabel>(CGRectMake(10, 5, 100, 20));
    label->setText("Daybreak - The Lumen Trio");
    label->setFont(UIFont::boldSystemFontOfSize(13).get());
    row->addSubview(label.get());
    auto strip = makeView<UIProgressView>(CGRectMake(0, 30, 200, 5));
    strip->setProgress(0.25);
    row->addSubview(strip.get());

    sim::NodeIds ids;
    sim::NodeDumper dumper(ids, { { label.get(), "label" } });
    json node = dumper.node(row.get());
    EXPECT_EQ(node["class"], "UIView");
    EXPECT_FALSE(node.contains("property"));
    EXPECT_EQ(node["frame"], json({ 20, 700, 200, 40 }));
    EXPECT_EQ(node["hidden"], true);
    EXPECT_EQ(node["alpha"], 0.5);
    EXPECT_EQ(node["backgroundColor"]["name"], "clearColor");
    EXPECT_EQ(node["cornerRadius"], 12);
    EXPECT_EQ(node["clipsToBounds"], true);
    EXPECT_EQ(node["masksToBounds"], true);
    EXPECT_EQ(node["transform"], json({ 1, 0, 0, 1, 0, 0 }));
    EXPECT_EQ(node["gestureRecognizers"], json::parse(R"([
        {"class": "UITapGestureRecognizer", "action": "tapGesture:", "numberOfTapsRequired": 2},
        {"class": "UISwipeGestureRecognizer", "action": "swipeleft:", "direction": 2}])"));

    ASSERT_EQ(node["subviews"].size(), 2u);
    json labelNode = node["subviews"][0];
    EXPECT_EQ(labelNode["property"], "label");
    EXPECT_EQ(labelNode["frame"], json({ 30, 705, 100, 20 }));
    EXPECT_EQ(labelNode["text"], "Daybreak - The Lumen Trio");
    EXPECT_EQ(labelNode["font"], json({ { "size", 13 }, { "bold", true } }));
    EXPECT_FALSE(labelNode.contains("progress"));
    json stripNode = node["subviews"][1];
    EXPECT_EQ(stripNode["progress"], 0.25);
    EXPECT_EQ(stripNode["progressViewStyle"], 0);
    EXPECT_FALSE(stripNode.contains("text"));

    // The screen holds the windows on it; every node keeps its id from dump to dump.
    json screen = dumper.screen({ window.get() });
    EXPECT_EQ(screen["frame"], json({ 0, 0, 375, 812 }));
    ASSERT_EQ(screen["subviews"].size(), 1u);
    EXPECT_EQ(screen["subviews"][0]["subviews"][0]["id"], node["id"]);
    EXPECT_EQ(dumper.node(label.get())["id"], labelNode["id"]);
    window->setHidden(true);
}

} // namespace
