#include "UIKit/UISwipeGestureRecognizer.h"
#include "UIKit/UITapGestureRecognizer.h"
#include "UIKit/UITouchDelivery.h"
#include "UIKitTestSupport.h"

#include <string>
#include <vector>

using namespace uikit_test;
using objc::RefPtr;

namespace {

// A target whose actions record what they were sent.
class ActionTarget : public NSObject {
public:
    ActionTarget() = default;
    std::vector<std::string> calls;
    std::vector<UIGestureRecognizer*> senders;
};

Class actionTargetClass()
{
    static Class cls = [] {
        Class c = objc::defineClass<ActionTarget>("TouchTestTarget", NSObject::staticClass());
        objc::addMethod(c, "tapped:", +[](ActionTarget* self, SEL, id sender) {
            self->calls.push_back("tapped:");
            self->senders.push_back(objc_cast<UIGestureRecognizer>(sender));
        });
        objc::addMethod(c, "tapped", +[](ActionTarget* self, SEL) { self->calls.push_back("tapped"); });
        objc::addMethod(c, "swipedLeft:", +[](ActionTarget* self, SEL, id) { self->calls.push_back("swipedLeft:"); });
        objc::addMethod(c, "swipedRight:", +[](ActionTarget* self, SEL, id) { self->calls.push_back("swipedRight:"); });
        return c;
    }();
    return cls;
}

RefPtr<ActionTarget> makeTarget()
{
    return objc::static_pointer_cast<ActionTarget>(objc::createInstance(actionTargetClass()));
}

RefPtr<UITapGestureRecognizer> makeTap(NSObject* target, const char* action)
{
    auto tap = UITapGestureRecognizer::alloc();
    tap->initWithTarget(target, sel_registerName(action));
    return tap;
}

RefPtr<UISwipeGestureRecognizer> makeSwipe(NSObject* target, const char* action, UISwipeGestureRecognizerDirection direction)
{
    auto swipe = UISwipeGestureRecognizer::alloc();
    swipe->initWithTarget(target, sel_registerName(action));
    swipe->setDirection(direction);
    return swipe;
}

} // namespace

using UIKit_HitTest = UIKitTest;
using UIKit_Gestures = UIKitTest;

TEST_F(UIKit_HitTest, SkipsViewsThatTakeNoTouchesAndPrefersTheFrontMost)
{
    struct Case {
        const char* story;
        void (*prepare)(UIView* front);
        bool frontHit;
    } cases[] = {
        { "visible", [](UIView*) {}, true },
        { "hidden", [](UIView* v) { v->setHidden(true); }, false },
        { "interaction off", [](UIView* v) { v->setUserInteractionEnabled(false); }, false },
        { "alpha below 0.01", [](UIView* v) { v->setAlpha(0.009); }, false },
        { "alpha at 0.01", [](UIView* v) { v->setAlpha(0.01); }, true },
        { "clear background is still touchable", [](UIView* v) { v->setBackgroundColor(UIColor::clearColor().get()); }, true },
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.story);
        auto root = makeView(CGRectMake(0, 0, 200, 200));
        auto back = makeView(CGRectMake(0, 0, 100, 100));
        auto front = makeView(CGRectMake(50, 50, 100, 100));
        root->addSubview(back.get());
        root->addSubview(front.get());
        c.prepare(front.get());
        UIView* hit = root->hitTest({ 75, 75 });
        EXPECT_EQ(hit, c.frontHit ? front.get() : back.get());
    }
}

TEST_F(UIKit_HitTest, ProtrudingSubviewIsNotHitOutsideItsSuperview)
{
    auto root = makeView(CGRectMake(0, 0, 300, 300));
    auto parent = makeView(CGRectMake(0, 0, 100, 100));
    auto protruding = makeView(CGRectMake(50, 50, 100, 100));
    root->addSubview(parent.get());
    parent->addSubview(protruding.get());
    EXPECT_EQ(root->hitTest({ 75, 75 }), protruding.get());
    EXPECT_EQ(root->hitTest({ 125, 125 }), root.get()) << "inside the subview but outside its superview";
    EXPECT_EQ(root->hitTest({ 350, 10 }), nullptr) << "outside the receiver";
}

TEST_F(UIKit_Gestures, TapReachesTheHitViewsRecognizerThroughTheRuntime)
{
    ScreenWindow screen;
    auto target = makeTarget();
    auto pad = makeView(CGRectMake(137.5, 763, 100, 40));
    screen.view()->addSubview(pad.get());
    auto tap = makeTap(target.get(), "tapped:");
    pad->addGestureRecognizer(tap.get());
    EXPECT_EQ(tap->view(), pad.get());
    EXPECT_EQ(tap->numberOfTapsRequired(), 1u);

    EXPECT_EQ(UITouchDelivery::tap(screen.window.get(), { 157.5, 780 }), tap.get());
    ASSERT_EQ(target->calls, (std::vector<std::string> { "tapped:" }));
    EXPECT_EQ(target->senders.front(), tap.get()) << "an action with an argument gets the recognizer";
    CGPoint location = tap->locationInView(pad.get());
    EXPECT_DOUBLE_EQ(location.x, 20);
    EXPECT_DOUBLE_EQ(location.y, 17);
    EXPECT_DOUBLE_EQ(tap->locationInView(nullptr).x, 157.5) << "nil means the window";

    EXPECT_EQ(UITouchDelivery::tap(screen.window.get(), { 10, 10 }), nullptr) << "a tap elsewhere reaches nothing";
    EXPECT_EQ(target->calls.size(), 1u);
}

TEST_F(UIKit_Gestures, ScreenTapGoesToTheFrontWindowAndUpToAncestors)
{
    ScreenWindow back;
    ScreenWindow front;
    auto target = makeTarget();
    auto container = makeView(CGRectMake(0, 0, 200, 200));
    auto child = makeView(CGRectMake(10, 10, 50, 50));
    front.view()->addSubview(container.get());
    container->addSubview(child.get());
    auto tap = makeTap(target.get(), "tapped");
    container->addGestureRecognizer(tap.get());
    back.view()->addGestureRecognizer(makeTap(target.get(), "tapped:").get());

    EXPECT_EQ(UITouchDelivery::hitTestScreen({ 20, 20 }), child.get());
    EXPECT_EQ(UITouchDelivery::tapScreen({ 20, 20 }), tap.get()) << "the child has none, its superview has one";
    EXPECT_EQ(target->calls, (std::vector<std::string> { "tapped" })) << "an action without an argument gets none";

    tap->setEnabled(false);
    EXPECT_EQ(UITouchDelivery::tapScreen({ 20, 20 }), nullptr) << "the front window's views take the touch, even unhandled";
}

TEST_F(UIKit_Gestures, SwipeDirectionsAndLocationWhereItBegan)
{
    ScreenWindow screen;
    auto target = makeTarget();
    auto pad = makeView(CGRectMake(100, 100, 100, 40));
    screen.view()->addSubview(pad.get());
    auto left = makeSwipe(target.get(), "swipedLeft:", UISwipeGestureRecognizerDirectionLeft);
    auto right = makeSwipe(target.get(), "swipedRight:", UISwipeGestureRecognizerDirectionRight);
    auto tap = makeTap(target.get(), "tapped:");
    pad->addGestureRecognizer(left.get());
    pad->addGestureRecognizer(right.get());
    pad->addGestureRecognizer(tap.get());
    ASSERT_EQ(pad->gestureRecognizers().size(), 3u);
    EXPECT_EQ(pad->gestureRecognizers()[0].get(), left.get());
    EXPECT_EQ(pad->gestureRecognizers()[2]->actionName(), "tapped:");

    EXPECT_EQ(UITouchDelivery::swipe(screen.window.get(), { 180, 120 }, { 110, 125 }), left.get());
    CGPoint began = left->locationInView(pad.get());
    EXPECT_DOUBLE_EQ(began.x, 80);
    EXPECT_DOUBLE_EQ(began.y, 20);
    EXPECT_EQ(UITouchDelivery::swipe(screen.window.get(), { 110, 120 }, { 190, 110 }), right.get());
    EXPECT_EQ(UITouchDelivery::swipe(screen.window.get(), { 150, 110 }, { 150, 300 }), nullptr) << "down is not asked for";
    EXPECT_EQ(UITouchDelivery::swipe(screen.window.get(), { 150, 120 }, { 155, 120 }), nullptr) << "too short to be a swipe";
    EXPECT_EQ(target->calls, (std::vector<std::string> { "swipedLeft:", "swipedRight:" }));

    EXPECT_EQ(UISwipeGestureRecognizer::alloc()->direction(), UISwipeGestureRecognizerDirectionRight);
    const std::pair<CGPoint, UISwipeGestureRecognizerDirection> directions[] = {
        { { 20, 0 }, UISwipeGestureRecognizerDirectionRight },
        { { -20, 0 }, UISwipeGestureRecognizerDirectionLeft },
        { { 0, -20 }, UISwipeGestureRecognizerDirectionUp },
        { { 0, 20 }, UISwipeGestureRecognizerDirectionDown },
    };
    for (auto [end, direction] : directions)
        EXPECT_EQ(UISwipeGestureRecognizer::directionOf({ 0, 0 }, end), direction);
}

TEST_F(UIKit_Gestures, TargetIsHeldWeakly)
{
    auto root = makeView(CGRectMake(0, 0, 100, 100));
    objc::WeakPtr<ActionTarget> weakTarget;
    RefPtr<UITapGestureRecognizer> tap;
    {
        auto target = makeTarget();
        weakTarget = target.get();
        tap = makeTap(target.get(), "tapped:");
        root->addGestureRecognizer(tap.get());
    }
    EXPECT_FALSE(weakTarget) << "the recognizer does not keep its target";
    EXPECT_EQ(UITouchDelivery::tap(root.get(), { 5, 5 }), tap.get()) << "recognized, with nobody to tell";
}
