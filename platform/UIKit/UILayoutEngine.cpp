#include "UILayoutEngine.h"

#include "Foundation/NSLog.h"
#include "Foundation/RunLoop.h"
#include "NSLayoutConstraint.h"
#include "Solver/Errors.h"
#include "Solver/Solver.h"
#include "UIDeviceProfile.h"
#include "UIView.h"
#include "UIWindow.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <unordered_map>

namespace {

struct ItemVariables {
    layout::Variable x { "x" };
    layout::Variable y { "y" };
    layout::Variable width { "width" };
    layout::Variable height { "height" };

    layout::Expression attribute(NSLayoutAttribute attribute) const
    {
        switch (attribute) {
        case NSLayoutAttributeLeft:
        case NSLayoutAttributeLeading:
            return x;
        case NSLayoutAttributeRight:
        case NSLayoutAttributeTrailing:
            return layout::Expression(x) + width;
        case NSLayoutAttributeTop:
            return y;
        case NSLayoutAttributeBottom:
            return layout::Expression(y) + height;
        case NSLayoutAttributeCenterX:
            return layout::Expression(x) + 0.5 * layout::Expression(width);
        case NSLayoutAttributeCenterY:
            return layout::Expression(y) + 0.5 * layout::Expression(height);
        case NSLayoutAttributeWidth:
            return width;
        case NSLayoutAttributeHeight:
            return height;
        case NSLayoutAttributeNotAnAttribute:
            break;
        }
        return 0.0;
    }

    CGRect rect() const { return CGRectMake(x.value(), y.value(), width.value(), height.value()); }
};

struct Entry {
    UIView* view;
    std::optional<std::size_t> parent;
    ItemVariables frame;
    std::optional<ItemVariables> guide;
    UIEdgeInsets insets;
    // Where the view is now, in root coordinates, before this pass moves anything.
    CGRect current;
};

double tidy(double value)
{
    return UILayoutEngine::tidy(value);
}

CGRect tidy(CGRect rect)
{
    return UILayoutEngine::tidy(rect);
}

// One solve of one tree.
class TreeSolve {
public:
    explicit TreeSolve(UIView* root)
        : m_inWindow(objc_cast<UIWindow>(root))
    {
        collect(root, std::nullopt);
    }

    void solveAndApply()
    {
        // Pass 1: solve with the insets of the current geometry, then again while the
        // solution moves a guide's view into or out of an unsafe band.
        for (auto& entry : m_entries)
            entry.insets = insetsFor(entry.current);
        int pass = 0;
        for (;; ++pass) {
            if (pass == UILayoutEngine::kMaximumSafeAreaPasses) {
                NSLog("[LayoutConstraints] Safe-area layout did not settle after %d passes; using the last solution.", pass);
                break;
            }
            solveOnce();
            bool changed = false;
            for (auto& entry : m_entries) {
                if (!entry.guide)
                    continue;
                UIEdgeInsets insets = insetsFor(tidy(entry.frame.rect()));
                if (!UIEdgeInsetsEqualToEdgeInsets(insets, entry.insets)) {
                    entry.insets = insets;
                    changed = true;
                }
            }
            if (!changed)
                break;
        }
        // Pass 2: write the frames, parents first, so each child is placed in its
        // parent's final bounds. Views that translate their mask have been moved by
        // their superview's autoresizing already, by the same rule the solve used.
        for (auto& entry : m_entries) {
            if (!entry.parent || entry.view->translatesAutoresizingMaskIntoConstraints())
                continue;
            const Entry& parent = m_entries[*entry.parent];
            CGRect solved = tidy(entry.frame.rect());
            CGRect parentSolved = tidy(parent.frame.rect());
            CGRect bounds = parent.view->bounds();
            CGRect frame = CGRectMake(tidy(solved.origin.x - parentSolved.origin.x + bounds.origin.x),
                tidy(solved.origin.y - parentSolved.origin.y + bounds.origin.y), solved.size.width, solved.size.height);
            if (!CGRectEqualToRect(frame, entry.view->untransformedFrame()))
                entry.view->setUntransformedFrame(frame);
        }
    }

private:
    void collect(UIView* view, std::optional<std::size_t> parent)
    {
        std::size_t index = m_entries.size();
        CGRect frame = view->untransformedFrame();
        if (parent) {
            const Entry& parentEntry = m_entries[*parent];
            CGRect bounds = parentEntry.view->bounds();
            frame.origin.x += parentEntry.current.origin.x - bounds.origin.x;
            frame.origin.y += parentEntry.current.origin.y - bounds.origin.y;
        }
        Entry entry { view, parent, {}, std::nullopt, UIEdgeInsetsZero, frame };
        if (view->safeAreaLayoutGuideIfExists())
            entry.guide.emplace();
        m_entries.push_back(std::move(entry));
        m_index.emplace(view, index);
        for (auto& child : view->subviews())
            collect(child.get(), index);
    }

    // Rectangles here are in the root's frame coordinates: the screen's for a window.
    UIEdgeInsets insetsFor(CGRect rectInRoot) const
    {
        if (!m_inWindow)
            return UIEdgeInsetsZero;
        // The root is a window, placed at its frame: these are screen coordinates.
        return UILayoutEngine::safeAreaInsetsForScreenRect(rectInRoot);
    }

    const ItemVariables* variablesOf(NSObject* item) const
    {
        if (auto* view = objc_cast<UIView>(item)) {
            auto it = m_index.find(view);
            return it == m_index.end() ? nullptr : &m_entries[it->second].frame;
        }
        if (auto* guide = objc_cast<UILayoutGuide>(item)) {
            auto it = m_index.find(guide->owningView());
            if (it == m_index.end() || !m_entries[it->second].guide)
                return nullptr;
            return &*m_entries[it->second].guide;
        }
        return nullptr;
    }

    void addStructural(layout::Solver& solver, const layout::Constraint& constraint)
    {
        // Structural constraints only relate each variable to ones above it in the tree,
        // so they cannot contradict one another.
        solver.addConstraint(constraint);
    }

    void solveOnce()
    {
        using layout::Expression;
        layout::Solver solver;

        // The root, autoresizing and the guides.
        for (auto& entry : m_entries) {
            auto& v = entry.frame;
            if (!entry.parent) {
                addStructural(solver, Expression(v.x) == entry.current.origin.x);
                addStructural(solver, Expression(v.y) == entry.current.origin.y);
                addStructural(solver, Expression(v.width) == entry.current.size.width);
                addStructural(solver, Expression(v.height) == entry.current.size.height);
            } else if (entry.view->translatesAutoresizingMaskIntoConstraints()) {
                addAutoresizing(solver, entry);
            }
            if (entry.guide) {
                auto& g = *entry.guide;
                auto& i = entry.insets;
                addStructural(solver, Expression(g.x) == Expression(v.x) + i.left);
                addStructural(solver, Expression(g.y) == Expression(v.y) + i.top);
                addStructural(solver, Expression(g.width) == Expression(v.width) - (i.left + i.right));
                addStructural(solver, Expression(g.height) == Expression(v.height) - (i.top + i.bottom));
            }
        }

        // The active constraints, in activation order.
        std::vector<NSLayoutConstraint*> constraints;
        for (auto& entry : m_entries) {
            for (auto& constraint : entry.view->constraints())
                constraints.push_back(constraint.get());
        }
        std::sort(constraints.begin(), constraints.end(), [](auto* a, auto* b) { return a->activationOrder() < b->activationOrder(); });
        for (auto* constraint : constraints) {
            const ItemVariables* first = variablesOf(constraint->firstItem());
            const ItemVariables* second = constraint->secondItem() ? variablesOf(constraint->secondItem()) : nullptr;
            if (!first || (constraint->secondItem() && !second))
                continue;
            Expression right = second ? constraint->multiplier() * second->attribute(constraint->secondAttribute()) : Expression(0.0);
            right += constraint->constant();
            try {
                solver.addConstraint(first->attribute(constraint->firstAttribute()) == right);
            } catch (const layout::UnsatisfiableConstraint&) {
                if (constraint->markConflictReported()) {
                    NSLog("[LayoutConstraints] Unable to simultaneously satisfy constraints. Breaking %s, which contradicts the constraints activated before it.",
                        constraint->descriptionString().c_str());
                }
            }
        }

        // Whatever is left open keeps its place: sizes first, so that a view with only
        // a centre keeps its size and moves.
        for (auto& entry : m_entries) {
            if (!entry.parent || entry.view->translatesAutoresizingMaskIntoConstraints())
                continue;
            auto& v = entry.frame;
            const std::pair<const layout::Variable*, double> open[] = {
                { &v.width, entry.current.size.width },
                { &v.height, entry.current.size.height },
                { &v.x, entry.current.origin.x },
                { &v.y, entry.current.origin.y },
            };
            bool ambiguous = false;
            for (auto& [variable, value] : open) {
                if (solver.isDetermined(*variable))
                    continue;
                ambiguous = true;
                solver.addConstraint(layout::Constraint(Expression(*variable) - value, layout::Strength::Weak));
            }
            if (ambiguous && entry.view->markAmbiguityReported()) {
                NSLog("[LayoutConstraints] Ambiguous layout: the constraints of %s do not fix its position and size; it keeps its current frame where they leave it open.",
                    entry.view->descriptionString().c_str());
            }
        }

        solver.updateVariables();
    }

    void addAutoresizing(layout::Solver& solver, const Entry& entry)
    {
        using layout::Expression;
        const Entry& parent = m_entries[*entry.parent];
        CGRect frame = entry.view->untransformedFrame();
        CGRect bounds = parent.view->bounds();
        auto mask = entry.view->autoresizingMask();
        auto horizontal = UILayoutEngine::autoresizingShares(mask & UIViewAutoresizingFlexibleLeftMargin, mask & UIViewAutoresizingFlexibleWidth,
            mask & UIViewAutoresizingFlexibleRightMargin, frame.origin.x, frame.size.width, bounds.size.width);
        auto vertical = UILayoutEngine::autoresizingShares(mask & UIViewAutoresizingFlexibleTopMargin, mask & UIViewAutoresizingFlexibleHeight,
            mask & UIViewAutoresizingFlexibleBottomMargin, frame.origin.y, frame.size.height, bounds.size.height);
        auto& v = entry.frame;
        auto& p = parent.frame;
        Expression widthChange = Expression(p.width) - bounds.size.width;
        Expression heightChange = Expression(p.height) - bounds.size.height;
        addStructural(solver, Expression(v.x) == Expression(p.x) + (frame.origin.x - bounds.origin.x) + horizontal.position * widthChange);
        addStructural(solver, Expression(v.width) == frame.size.width + horizontal.size * widthChange);
        addStructural(solver, Expression(v.y) == Expression(p.y) + (frame.origin.y - bounds.origin.y) + vertical.position * heightChange);
        addStructural(solver, Expression(v.height) == frame.size.height + vertical.size * heightChange);
    }

    bool m_inWindow;
    std::vector<Entry> m_entries;
    std::unordered_map<const UIView*, std::size_t> m_index;
};

struct EngineState {
    std::vector<objc::WeakPtr<UIView>> pendingRoots;
    const UIView* rootInPass = nullptr;
    platform::RunLoop* flushLoop = nullptr;
    platform::RunLoop::TaskId flushTask = 0;
};

EngineState& state()
{
    static auto* engine = new EngineState;
    return *engine;
}

void ensureFlushScheduled()
{
    auto& engine = state();
    auto* loop = platform::RunLoop::main();
    if (!loop || engine.pendingRoots.empty())
        return;
    if (engine.flushLoop == loop && loop->isScheduled(engine.flushTask))
        return;
    engine.flushLoop = loop;
    engine.flushTask = loop->schedule(loop->now(), [] { UILayoutEngine::layoutPendingTrees(); });
}

} // namespace

// Sends layoutSubviews top-down to the views that need it.
void UILayoutEngine::sendLayoutSubviews(UIView* view)
{
    if (!view->m_subtreeNeedsLayout)
        return;
    objc::RefPtr<UIView> protectedView(view);
    // Cleared first, so layout asked for while this runs is noticed by the next round.
    view->m_subtreeNeedsLayout = false;
    if (view->m_needsLayout) {
        view->m_needsLayout = false;
        view->layoutSubviews();
    }
    auto children = view->subviews();
    for (auto& child : children) {
        if (child->superview() == view)
            sendLayoutSubviews(child.get());
    }
}

void UILayoutEngine::layoutTree(UIView* root)
{
    auto& engine = state();
    if (!root || engine.rootInPass == root || !root->m_subtreeNeedsLayout)
        return;
    objc::RefPtr<UIView> protectedRoot(root);
    const UIView* outerRoot = std::exchange(engine.rootInPass, root);
    int round = 0;
    for (; round < kMaximumLayoutRounds && root->m_subtreeNeedsLayout && !root->superview(); ++round) {
        TreeSolve(root).solveAndApply();
        sendLayoutSubviews(root);
    }
    engine.rootInPass = outerRoot;
    if (round == kMaximumLayoutRounds && root->m_subtreeNeedsLayout) {
        NSLog("[Layout] The layout of %s did not settle after %d rounds: a layoutSubviews keeps asking for layout. Leaving it for the next pass.",
            root->descriptionString().c_str(), round);
        // Not rescheduled: that would spin at this instant forever.
        std::erase_if(engine.pendingRoots, [root](auto& weak) { return weak.get() == root; });
    }
    ensureFlushScheduled();
}

void UILayoutEngine::scheduleLayout(UIView* root)
{
    auto& engine = state();
    if (engine.rootInPass == root)
        return;
    bool known = std::any_of(engine.pendingRoots.begin(), engine.pendingRoots.end(), [root](auto& weak) { return weak.get() == root; });
    if (!known)
        engine.pendingRoots.push_back(root);
    if (!engine.rootInPass)
        ensureFlushScheduled();
}

void UILayoutEngine::layoutPendingTrees()
{
    auto pending = std::exchange(state().pendingRoots, {});
    for (auto& weak : pending) {
        // A root that has since joined another tree is laid out with that tree.
        if (auto root = weak.strong(); root && !root->superview())
            layoutTree(root.get());
    }
}

double UILayoutEngine::tidy(double value)
{
    double rounded = std::round(value * 1e9) / 1e9;
    return rounded == 0 ? 0 : rounded;
}

CGRect UILayoutEngine::tidy(CGRect rect)
{
    return CGRectMake(tidy(rect.origin.x), tidy(rect.origin.y), tidy(rect.size.width), tidy(rect.size.height));
}

UILayoutEngine::AutoresizingShares UILayoutEngine::autoresizingShares(bool flexibleBefore, bool flexibleSize, bool flexibleAfter,
    double position, double size, double oldSuperviewSize)
{
    double before = flexibleBefore ? position : 0;
    double own = flexibleSize ? size : 0;
    double after = flexibleAfter ? oldSuperviewSize - position - size : 0;
    double total = before + own + after;
    int flexibleCount = flexibleBefore + flexibleSize + flexibleAfter;
    if (!flexibleCount)
        return {};
    if (std::abs(total) < 1e-12) {
        // Nothing to be proportional to: an even split.
        return { flexibleBefore ? 1.0 / flexibleCount : 0, flexibleSize ? 1.0 / flexibleCount : 0 };
    }
    return { before / total, own / total };
}

UIEdgeInsets UILayoutEngine::safeAreaInsetsForScreenRect(CGRect rect)
{
    const auto& profile = UIDeviceProfile::current();
    CGSize screen = profile.screenSize;
    UIEdgeInsets bands = profile.safeAreaInsets;
    auto overlap = [](double a0, double a1, double b0, double b1) { return std::max(0.0, std::min(a1, b1) - std::max(a0, b0)); };
    double minX = CGRectGetMinX(rect), maxX = CGRectGetMaxX(rect), minY = CGRectGetMinY(rect), maxY = CGRectGetMaxY(rect);
    return {
        tidy(overlap(minY, maxY, 0, bands.top)),
        tidy(overlap(minX, maxX, 0, bands.left)),
        tidy(overlap(minY, maxY, screen.height - bands.bottom, screen.height)),
        tidy(overlap(minX, maxX, screen.width - bands.right, screen.width)),
    };
}
