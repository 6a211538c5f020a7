#include "Foundation/RunLoop.h"
#include "MaterialKit/MTMaterialView.h"
#include "UIKit/NSLayoutConstraint.h"
#include "UIKit/NSLayoutDimension.h"
#include "UIKit/NSLayoutXAxisAnchor.h"
#include "UIKit/NSLayoutYAxisAnchor.h"
#include "UIKitTestSupport.h"

#include <string>
#include <vector>

using namespace uikit_test;
using objc::RefPtr;

namespace {

// The four-constraint group the players activate for every view: a vertical anchor, a
// horizontal anchor, a width and a height.
void activateGroup(RefPtr<NSLayoutConstraint> y, RefPtr<NSLayoutConstraint> x, CGFloat width, CGFloat height, UIView* view)
{
    NSLayoutConstraint::activateConstraints({ y.get(), x.get(), view->widthAnchor()->constraintEqualToConstant(width).get(),
        view->heightAnchor()->constraintEqualToConstant(height).get() });
}

RefPtr<UIView> addConstrainedView(UIView* parent)
{
    auto view = makeView();
    view->setTranslatesAutoresizingMaskIntoConstraints(false);
    parent->addSubview(view.get());
    return view;
}

} // namespace

using Layout_Constraints = UIKitTest;

// The in-app player's tree with the standard layout constants, on the default device
// (375 x 812, safe area 44 / 34): every frame is known exactly.
TEST_F(Layout_Constraints, PlayerGroupsSolveToExactFrames)
{
    const CGFloat bottomConstant = -5, iconConstant = 7, appHomeBarOffset = 25, touchConstant = -15;
    ScreenWindow screen;
    UIView* view = screen.view();

    auto row = addConstrainedView(view);
    auto backdrop = MTMaterialView::materialViewWithRecipe(2, 1, 5.0);
    backdrop->setFrame(row->bounds());
    backdrop->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    row->addSubview(backdrop.get());
    activateGroup(row->topAnchor()->constraintEqualToAnchor(view->safeAreaLayoutGuide()->bottomAnchor(), bottomConstant),
        row->centerXAnchor()->constraintEqualToAnchor(view->safeAreaLayoutGuide()->centerXAnchor()), 100, 20, row.get());

    std::vector<RefPtr<UIView>> glyphs;
    for (CGFloat offset : { -30.0, 30.0, 0.0 }) {
        auto glyph = addConstrainedView(row.get());
        activateGroup(glyph->centerYAnchor()->constraintEqualToAnchor(row->safeAreaLayoutGuide()->centerYAnchor(), iconConstant),
            glyph->centerXAnchor()->constraintEqualToAnchor(row->safeAreaLayoutGuide()->centerXAnchor(), offset), 5, 5, glyph.get());
        glyphs.push_back(glyph);
    }
    glyphs[0]->setTransform(CGAffineTransformMakeRotation(3.141592653589793));

    auto labelBackground = addConstrainedView(view);
    activateGroup(labelBackground->topAnchor()->constraintEqualToAnchor(row->safeAreaLayoutGuide()->topAnchor(), -15.0),
        labelBackground->centerXAnchor()->constraintEqualToAnchor(view->safeAreaLayoutGuide()->centerXAnchor()), 80, 13, labelBackground.get());
    auto label = addConstrainedView(labelBackground.get());
    activateGroup(label->centerYAnchor()->constraintEqualToAnchor(labelBackground->safeAreaLayoutGuide()->centerYAnchor()),
        label->centerXAnchor()->constraintEqualToAnchor(labelBackground->safeAreaLayoutGuide()->centerXAnchor()), 80, 13, label.get());

    auto strip = addConstrainedView(view);
    activateGroup(strip->centerYAnchor()->constraintEqualToAnchor(row->safeAreaLayoutGuide()->centerYAnchor(), appHomeBarOffset),
        strip->centerXAnchor()->constraintEqualToAnchor(row->safeAreaLayoutGuide()->centerXAnchor()), 140, 5, strip.get());

    auto target = addConstrainedView(view);
    activateGroup(target->topAnchor()->constraintEqualToAnchor(view->safeAreaLayoutGuide()->bottomAnchor(), touchConstant),
        target->centerXAnchor()->constraintEqualToAnchor(view->safeAreaLayoutGuide()->centerXAnchor()), 100, 40, target.get());

    view->layoutIfNeeded();

    // The row's top is 5 pt above the safe bottom (778); it reaches 15 pt into the band,
    // so its guide is 5 pt high and the glyphs centre on 775.5 + 7.
    EXPECT_RECT_EQ(row->frame(), 137.5, 773, 100, 20);
    EXPECT_RECT_EQ(row->safeAreaLayoutGuide()->layoutFrame(), 0, 0, 100, 5);
    EXPECT_RECT_EQ(backdrop->frame(), 0, 0, 100, 20);
    EXPECT_RECT_EQ(glyphs[1]->frame(), 77.5, 7, 5, 5);
    EXPECT_RECT_EQ(glyphs[2]->frame(), 47.5, 7, 5, 5);
    EXPECT_RECT_EQ(glyphs[0]->untransformedFrame(), 17.5, 7, 5, 5);
    EXPECT_RECT_EQ(glyphs[0]->frame(), 17.5, 7, 5, 5); // a half turn keeps the bounding box
    EXPECT_RECT_EQ(glyphs[0]->frameInScreen(), 155, 780, 5, 5);
    EXPECT_RECT_EQ(labelBackground->frame(), 147.5, 758, 80, 13);
    EXPECT_RECT_EQ(label->frame(), 0, 0, 80, 13);
    EXPECT_RECT_EQ(strip->frame(), 117.5, 798, 140, 5);
    EXPECT_RECT_EQ(target->frame(), 137.5, 763, 100, 40);

    // On the touch target the three glyphs lie at x = 20, 50 and 80.
    const std::pair<UIView*, CGFloat> centres[] = { { glyphs[0].get(), 20 }, { glyphs[2].get(), 50 }, { glyphs[1].get(), 80 } };
    for (auto [glyph, x] : centres)
        EXPECT_DOUBLE_EQ(glyph->convertPointToView({ 2.5, 2.5 }, target.get()).x, x);
}

// A view's guide at the bottom edge, for views placed ever lower: the guide leaves out
// the part of the view inside the unsafe band.
TEST_F(Layout_Constraints, SafeAreaGuideLeavesOutTheUnsafeBands)
{
    struct Case {
        const char* device;
        CGFloat topToSafeBottom;
        CGRect expectedGuide;
    } cases[] = {
        { "iPhone X", -30, CGRectMake(0, 0, 100, 20) }, // fully safe
        { "iPhone X", -5, CGRectMake(0, 0, 100, 5) }, // 15 of 20 pt in the band
        { "iPhone X", 0, CGRectMake(0, 0, 100, 0) }, // fully inside: zero height at its top
        { "iPhone X", 10, CGRectMake(0, 0, 100, 0) },
        { "iPhone 14 Pro", -12, CGRectMake(0, 0, 100, 12) },
    };
    for (auto& c : cases) {
        SCOPED_TRACE(std::string(c.device) + " " + std::to_string(c.topToSafeBottom));
        UIDeviceProfile::setCurrent(*UIDeviceProfile::named(c.device));
        ScreenWindow screen;
        auto view = addConstrainedView(screen.view());
        activateGroup(view->topAnchor()->constraintEqualToAnchor(screen.view()->safeAreaLayoutGuide()->bottomAnchor(), c.topToSafeBottom),
            view->centerXAnchor()->constraintEqualToAnchor(screen.view()->safeAreaLayoutGuide()->centerXAnchor()), 100, 20, view.get());
        // A child centred on the guide follows it.
        auto child = addConstrainedView(view.get());
        activateGroup(child->centerYAnchor()->constraintEqualToAnchor(view->safeAreaLayoutGuide()->centerYAnchor()),
            child->centerXAnchor()->constraintEqualToAnchor(view->safeAreaLayoutGuide()->centerXAnchor()), 2, 2, child.get());
        screen.window->layoutIfNeeded();

        EXPECT_RECT_EQ(view->safeAreaLayoutGuide()->layoutFrame(), c.expectedGuide.origin.x, c.expectedGuide.origin.y,
            c.expectedGuide.size.width, c.expectedGuide.size.height);
        EXPECT_DOUBLE_EQ(child->center().y, CGRectGetMidY(c.expectedGuide));
        CGFloat screenHeight = UIDeviceProfile::current().screenSize.height;
        EXPECT_DOUBLE_EQ(view->frame().origin.y, screenHeight - 34 + c.topToSafeBottom);
    }
}

TEST_F(Layout_Constraints, TopBandAndViewsOutsideAWindowHaveTheirOwnInsets)
{
    ScreenWindow screen;
    auto view = makeView(CGRectMake(0, 30, 375, 20));
    screen.view()->addSubview(view.get());
    EXPECT_DOUBLE_EQ(view->safeAreaInsets().top, 14);
    EXPECT_DOUBLE_EQ(view->safeAreaInsets().bottom, 0);
    EXPECT_DOUBLE_EQ(screen.view()->safeAreaInsets().top, 44);
    EXPECT_DOUBLE_EQ(screen.view()->safeAreaInsets().bottom, 34);
    auto loose = makeView(CGRectMake(0, 800, 375, 12));
    EXPECT_TRUE(UIEdgeInsetsEqualToEdgeInsets(loose->safeAreaInsets(), UIEdgeInsetsZero)) << "no window, no unsafe area";
}

TEST_F(Layout_Constraints, ConflictIsLoggedOnceAndTheEarlierConstraintWins)
{
    LogCapture log;
    ScreenWindow screen;
    auto view = addConstrainedView(screen.view());
    activateGroup(view->topAnchor()->constraintEqualToAnchor(screen.view()->topAnchor(), 100),
        view->leftAnchor()->constraintEqualToAnchor(screen.view()->leftAnchor(), 10), 100, 20, view.get());
    auto conflicting = view->widthAnchor()->constraintEqualToConstant(50);
    conflicting->setActive(true);
    screen.window->layoutIfNeeded();
    EXPECT_RECT_EQ(view->frame(), 10, 100, 100, 20);

    screen.view()->setNeedsLayout();
    screen.window->layoutIfNeeded();
    EXPECT_EQ(log.countContaining("Unable to simultaneously satisfy constraints"), 1u);
    EXPECT_EQ(log.countContaining("width == 50"), 1u) << "the log line names the broken constraint";

    conflicting->setActive(false);
    view->widthAnchor()->constraintEqualToConstant(100)->setActive(true); // implied: no conflict
    screen.window->layoutIfNeeded();
    EXPECT_EQ(log.countContaining("Unable to simultaneously satisfy constraints"), 1u);
}

TEST_F(Layout_Constraints, AmbiguousViewKeepsWhatIsOpenAndIsLoggedOnce)
{
    LogCapture log;
    ScreenWindow screen;
    auto view = makeView(CGRectMake(0, 0, 30, 10));
    view->setTranslatesAutoresizingMaskIntoConstraints(false);
    screen.view()->addSubview(view.get());
    NSLayoutConstraint::activateConstraints({ view->centerXAnchor()->constraintEqualToAnchor(screen.view()->centerXAnchor()).get(),
        view->centerYAnchor()->constraintEqualToAnchor(screen.view()->topAnchor(), 100).get() });
    screen.window->layoutIfNeeded();
    // The size is kept and the centre moves.
    EXPECT_RECT_EQ(view->frame(), 172.5, 95, 30, 10);
    screen.view()->setNeedsLayout();
    screen.window->layoutIfNeeded();
    EXPECT_EQ(log.countContaining("Ambiguous layout"), 1u);
}

TEST_F(Layout_Constraints, ItemsWithoutACommonAncestorAreLoggedAndStayInactive)
{
    LogCapture log;
    auto a = makeView(), b = makeView();
    auto constraint = a->topAnchor()->constraintEqualToAnchor(b->bottomAnchor());
    constraint->setActive(true);
    EXPECT_FALSE(constraint->isActive());
    EXPECT_EQ(log.countContaining("no common ancestor"), 1u);
}

TEST_F(Layout_Constraints, ConstraintsLiveOnTheCommonAncestorAndLeaveWithTheView)
{
    ScreenWindow screen;
    auto container = addConstrainedView(screen.view());
    auto inner = addConstrainedView(container.get());
    auto outer = addConstrainedView(screen.view());
    auto across = inner->topAnchor()->constraintEqualToAnchor(outer->bottomAnchor());
    auto size = inner->widthAnchor()->constraintEqualToConstant(4);
    NSLayoutConstraint::activateConstraints({ across.get(), size.get() });
    EXPECT_EQ(across->installedView(), screen.view());
    EXPECT_EQ(size->installedView(), inner.get());

    container->removeFromSuperview();
    EXPECT_FALSE(across->isActive()) << "a constraint into the tree the view left ends";
    EXPECT_TRUE(size->isActive()) << "a constraint inside the moved subtree stays";
}

TEST_F(Layout_Constraints, AutoresizingFollowsTheSuperviewsSize)
{
    struct Case {
        UIViewAutoresizing mask;
        CGRect expected;
    } cases[] = {
        { UIViewAutoresizingNone, CGRectMake(10, 10, 20, 20) },
        { UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight, CGRectMake(10, 10, 70, 120) },
        { UIViewAutoresizingFlexibleLeftMargin | UIViewAutoresizingFlexibleTopMargin, CGRectMake(60, 110, 20, 20) },
        // The change is shared in proportion: margins of 10 and 70 over 80 points.
        { UIViewAutoresizingFlexibleLeftMargin | UIViewAutoresizingFlexibleRightMargin, CGRectMake(16.25, 10, 20, 20) },
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.mask);
        auto parent = makeView(CGRectMake(0, 0, 100, 100));
        auto child = makeView(CGRectMake(10, 10, 20, 20));
        child->setAutoresizingMask(c.mask);
        parent->addSubview(child.get());
        parent->setFrame(CGRectMake(0, 0, 150, 200));
        EXPECT_RECT_EQ(child->frame(), c.expected.origin.x, c.expected.origin.y, c.expected.size.width, c.expected.size.height);
    }
}

TEST_F(Layout_Constraints, PassesSendLayoutSubviewsTopDownThroughTheRuntime)
{
    static std::vector<UIView*> order;
    order.clear();
    Class recording = objc::registerClass("LayoutRecordingView", UIView::staticClass(), nullptr);
    objc::addMethod(recording, "layoutSubviews", +[](UIView* self, SEL cmd) {
        order.push_back(self);
        objc_msgSendSuper(UIView::staticClass(), self, cmd);
    });
    auto make = [&] {
        auto view = objc::static_pointer_cast<UIView>(objc::createInstance(recording));
        view->initWithFrame(CGRectMake(0, 0, 10, 10));
        return view;
    };
    auto root = make(), child = make(), grandchild = make(), sibling = make();
    root->addSubview(child.get());
    child->addSubview(grandchild.get());
    root->addSubview(sibling.get());
    root->layoutIfNeeded();
    EXPECT_EQ(order, (std::vector<UIView*> { root.get(), child.get(), grandchild.get(), sibling.get() }));

    order.clear();
    root->layoutIfNeeded();
    EXPECT_TRUE(order.empty()) << "a clean tree is not laid out again";

    grandchild->setNeedsLayout();
    root->layoutIfNeeded();
    EXPECT_EQ(order, (std::vector<UIView*> { grandchild.get() })) << "only what was marked";
}

TEST_F(Layout_Constraints, RunLoopTurnLaysOutWhatWasAskedFor)
{
    platform::RunLoop loop;
    ScreenWindow screen;
    auto view = addConstrainedView(screen.view());
    activateGroup(view->topAnchor()->constraintEqualToAnchor(screen.view()->topAnchor(), 50),
        view->leftAnchor()->constraintEqualToAnchor(screen.view()->leftAnchor(), 5), 10, 10, view.get());
    // Layout waits for the end of the turn.
    EXPECT_RECT_EQ(view->frame(), 0, 0, 0, 0);
    loop.runFor(0);
    EXPECT_RECT_EQ(view->frame(), 5, 50, 10, 10);
}
