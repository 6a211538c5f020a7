#include "UIKitTestSupport.h"

#include <string>
#include <vector>

using objc::RefPtr;
using objc::WeakPtr;
using uikit_test::makeView;
using uikit_test::UIKitTest;

namespace {

std::vector<UIView*> children(UIView* view)
{
    std::vector<UIView*> result;
    for (auto& child : view->subviews())
        result.push_back(child.get());
    return result;
}

} // namespace

using UIKit_ViewTree = UIKitTest;

TEST_F(UIKit_ViewTree, ParentKeepsChildrenAndClearsTheirBackPointerWhenItDies)
{
    WeakPtr<UIView> weakChild;
    RefPtr<UIView> survivor = makeView();
    {
        auto parent = makeView();
        auto child = makeView();
        weakChild = child.get();
        parent->addSubview(child.get());
        parent->addSubview(survivor.get());
        child = nullptr;
        ASSERT_TRUE(weakChild) << "the parent must keep its child";
        EXPECT_EQ(weakChild->superview(), parent.get());
    }
    EXPECT_FALSE(weakChild) << "the child dies with its only owner";
    EXPECT_EQ(survivor->superview(), nullptr) << "a surviving child must not point at a dead parent";
}

TEST_F(UIKit_ViewTree, ReorderingKeepsFrontMostLast)
{
    auto parent = makeView();
    auto a = makeView(), b = makeView(), c = makeView();
    for (auto* view : { a.get(), b.get(), c.get() })
        parent->addSubview(view);
    parent->bringSubviewToFront(a.get());
    EXPECT_EQ(children(parent.get()), (std::vector<UIView*> { b.get(), c.get(), a.get() }));
    parent->sendSubviewToBack(c.get());
    EXPECT_EQ(children(parent.get()), (std::vector<UIView*> { c.get(), b.get(), a.get() }));
    parent->addSubview(c.get());
    EXPECT_EQ(children(parent.get()), (std::vector<UIView*> { b.get(), a.get(), c.get() })) << "re-adding moves to the front";

    auto other = makeView();
    other->addSubview(b.get());
    EXPECT_EQ(children(parent.get()), (std::vector<UIView*> { a.get(), c.get() })) << "a view has one superview";
    EXPECT_EQ(b->superview(), other.get());
    b->removeFromSuperview();
    EXPECT_TRUE(other->subviews().empty());
    EXPECT_EQ(b->superview(), nullptr);
}

TEST_F(UIKit_ViewTree, InitWithFrameAndSetFrameGoThroughTheRuntime)
{
    // A subclass whose setFrame: override records the call, as a hook would.
    static std::vector<CGRect> seen;
    Class recording = objc::registerClass("RecordingFrameView", UIView::staticClass(), nullptr);
    objc::addMethod(recording, "setFrame:", +[](UIView* self, SEL cmd, CGRect frame) {
        seen.push_back(frame);
        objc_msgSendSuper(UIView::staticClass(), self, cmd, frame);
    });
    auto view = objc::static_pointer_cast<UIView>(objc::createInstance(recording));
    view->initWithFrame(CGRectMake(1, 2, 30, 40));
    EXPECT_TRUE(CGRectEqualToRect(view->frame(), CGRectMake(1, 2, 30, 40)));
    EXPECT_TRUE(CGRectEqualToRect(view->bounds(), CGRectMake(0, 0, 30, 40)));
    view->setFrame(CGRectMake(5, 6, 7, 8));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_TRUE(CGRectEqualToRect(view->frame(), CGRectMake(5, 6, 7, 8)));
}

TEST_F(UIKit_ViewTree, ControllerLoadsItsViewOnceThroughTheRuntime)
{
    static std::vector<std::string> calls;
    calls.clear();
    Class cls = objc::registerClass("LoggingViewController", UIViewController::staticClass(), nullptr);
    objc::addMethod(cls, "loadView", +[](UIViewController* self, SEL cmd) {
        calls.push_back("loadView");
        objc_msgSendSuper(UIViewController::staticClass(), self, cmd);
    });
    objc::addMethod(cls, "viewDidLoad", +[](UIViewController* self, SEL) {
        calls.push_back(self->isViewLoaded() ? "viewDidLoad with view" : "viewDidLoad without view");
    });
    auto controller = objc::static_pointer_cast<UIViewController>(objc::createInstance(cls));
    EXPECT_FALSE(controller->isViewLoaded());
    UIView* view = controller->view();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(controller->view(), view);
    EXPECT_EQ(calls, (std::vector<std::string> { "loadView", "viewDidLoad with view" }));
}

TEST_F(UIKit_ViewTree, WindowHostsItsRootControllersView)
{
    auto window = UIWindow::alloc();
    window->initWithFrame(CGRectMake(0, 0, 375, 812));
    EXPECT_TRUE(window->isHidden()) << "windows start hidden";
    auto controller = UIViewController::alloc();
    controller->init();
    window->setRootViewController(controller.get());
    window->makeKeyAndVisible();
    EXPECT_FALSE(window->isHidden());
    EXPECT_EQ(controller->view()->window(), window.get());
    EXPECT_TRUE(CGRectEqualToRect(controller->view()->frame(), CGRectMake(0, 0, 375, 812)));
    EXPECT_EQ(controller->view()->autoresizingMask(), UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    auto windows = UIWindow::visibleWindows();
    EXPECT_NE(std::find(windows.begin(), windows.end(), window.get()), windows.end());
}
