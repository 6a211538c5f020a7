// Times on the run loop are absolute seconds near 8e8, where a double resolves about
// 1.2e-7 s; values derived from them are compared to 1e-6.
#include "Foundation/RunLoop.h"
#include "UIKitTestSupport.h"

#include <optional>

using namespace uikit_test;

class UIKit_Animation : public UIKitTest {
protected:
    platform::RunLoop m_loop;
    double now() const { return m_loop.now(); }
};

TEST_F(UIKit_Animation, ModelChangesAtOncePresentationMovesOverTheDuration)
{
    auto view = makeView();
    view->setAlpha(0);
    std::optional<bool> finished;
    double completedAt = 0;
    double start = now();
    UIView::animateWithDuration(0.4, [&] { view->setAlpha(1); }, [&](bool done) {
        finished = done;
        completedAt = now();
    });
    EXPECT_DOUBLE_EQ(view->alpha(), 1) << "the model value is the new one at once";
    EXPECT_DOUBLE_EQ(view->presentationAlpha(), 0);
    m_loop.runFor(0.2);
    EXPECT_NEAR(view->presentationAlpha(), 0.5, 1e-6);
    EXPECT_FALSE(finished) << "no completion before the end";
    m_loop.runFor(0.3);
    ASSERT_TRUE(finished);
    EXPECT_TRUE(*finished);
    EXPECT_NEAR(completedAt - start, 0.4, 1e-6);
    EXPECT_DOUBLE_EQ(view->presentationAlpha(), 1);
}

TEST_F(UIKit_Animation, ZeroDurationAppliesAtOnceAndCompletesOnTheRunLoop)
{
    for (double duration : { 0.0, -1.0 }) {
        auto view = makeView();
        std::optional<bool> finished;
        UIView::animateWithDuration(duration, [&] { view->setAlpha(0.25); }, [&](bool done) { finished = done; });
        EXPECT_DOUBLE_EQ(view->presentationAlpha(), 0.25);
        EXPECT_FALSE(finished) << "the completion waits for the run loop";
        m_loop.runFor(0);
        ASSERT_TRUE(finished);
        EXPECT_TRUE(*finished);
    }
}

TEST_F(UIKit_Animation, AnInterruptingSetEndsTheAnimationUnfinished)
{
    auto view = makeView();
    std::optional<bool> first, second;
    UIView::animateWithDuration(0.5, [&] { view->setAlpha(0); }, [&](bool done) { first = done; });
    m_loop.runFor(0.25);
    // Taken over from the presentation value of the moment (0.5).
    UIView::animateWithDuration(0.5, [&] { view->setAlpha(1); }, [&](bool done) { second = done; });
    EXPECT_NEAR(view->presentationAlpha(), 0.5, 1e-6);
    m_loop.runFor(0.25);
    ASSERT_TRUE(first);
    EXPECT_FALSE(*first) << "the first animation did not run to its end";
    EXPECT_NEAR(view->presentationAlpha(), 0.75, 1e-6);
    view->setAlpha(0.1); // not animated, at the second one's last moment
    EXPECT_DOUBLE_EQ(view->presentationAlpha(), 0.1);
    m_loop.runFor(0.25);
    ASSERT_TRUE(second);
    EXPECT_FALSE(*second);

    // A set after an animation has ended interrupts nothing.
    std::optional<bool> third;
    UIView::animateWithDuration(0.1, [&] { view->setAlpha(1); }, [&](bool done) { third = done; });
    m_loop.runFor(0.1);
    view->setAlpha(0);
    m_loop.runFor(0);
    ASSERT_TRUE(third);
    EXPECT_TRUE(*third);
}

TEST_F(UIKit_Animation, CompletionMayReleaseWhatItCaptured)
{
    auto view = makeView();
    objc::WeakPtr<UIView> weak = view.get();
    UIView::animateWithDuration(0.1, [&] { view->setAlpha(0); }, [held = view](bool) mutable { held = nullptr; });
    view = nullptr;
    EXPECT_TRUE(weak) << "the pending completion keeps what it captured";
    m_loop.runFor(0.2);
    EXPECT_FALSE(weak);
}
