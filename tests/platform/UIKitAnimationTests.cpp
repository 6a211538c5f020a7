// Times on the run loop are absolute seconds near 8e8, where a double resolves about
// 1.2e-7 s; values derived from them are compared to 1e-6.
#include "Foundation/RunLoop.h"
#include "UIKitTestSupport.h"

#include "UIKit/UIProgressView.h"

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

namespace {

objc::RefPtr<UIProgressView> makeProgressView()
{
    auto view = UIProgressView::alloc();
    view->initWithProgressViewStyle(UIProgressViewStyleBar);
    return view;
}

} // namespace

TEST_F(UIKit_Animation, SetProgressAnimatedMovesTheFillOverAQuarterSecond)
{
    auto bar = makeProgressView();
    bar->setProgress(0.2f);
    bar->setProgress(1.0f, true);
    EXPECT_FLOAT_EQ(bar->progress(), 1.0f) << "the model value is the new one at once";
    EXPECT_FLOAT_EQ(bar->presentationProgress(), 0.2f);
    m_loop.runFor(UIProgressView::kProgressAnimationDuration / 2);
    EXPECT_NEAR(bar->presentationProgress(), 0.6, 1e-5);
    // A set without animation takes over at once, from wherever the fill was.
    bar->setProgress(0.1f, false);
    EXPECT_FLOAT_EQ(bar->presentationProgress(), 0.1f);
    m_loop.runFor(UIProgressView::kProgressAnimationDuration);
    EXPECT_FLOAT_EQ(bar->presentationProgress(), 0.1f);

    // Animated sets are pinned like any other, and start from what is shown.
    bar->setProgress(3.0f, true);
    EXPECT_FLOAT_EQ(bar->progress(), 1.0f);
    m_loop.runFor(UIProgressView::kProgressAnimationDuration);
    EXPECT_FLOAT_EQ(bar->presentationProgress(), 1.0f);
}

TEST_F(UIKit_Animation, ProgressSetInsideAnAnimationsBlockAnimatesWithTheBlockLikeAlpha)
{
    auto bar = makeProgressView();
    std::optional<bool> finished;
    UIView::animateWithDuration(1.0, [&] {
        bar->setProgress(0.5f);
        bar->setAlpha(0.5);
    }, [&](bool done) { finished = done; });
    EXPECT_FLOAT_EQ(bar->progress(), 0.5f);
    EXPECT_FLOAT_EQ(bar->presentationProgress(), 0.0f);
    m_loop.runFor(0.5);
    EXPECT_NEAR(bar->presentationProgress(), 0.25, 1e-5);
    EXPECT_NEAR(bar->presentationAlpha(), 0.75, 1e-6);
    // Taking the progress over ends the block's animations unfinished.
    bar->setProgress(0.9f);
    m_loop.runFor(0.6);
    ASSERT_TRUE(finished);
    EXPECT_FALSE(*finished);
    EXPECT_FLOAT_EQ(bar->presentationProgress(), 0.9f);
}
