#include "UIView.h"

#include "Foundation/RunLoop.h"
#include "NSLayoutConstraint.h"
#include "UIDeviceProfile.h"
#include "UIGestureRecognizer.h"
#include "UILayoutEngine.h"
#include "UIWindow.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace {

double clockNow()
{
    auto* loop = platform::RunLoop::main();
    return loop ? loop->now() : 0;
}

// The animations block that is running, innermost last.
struct AnimationContext {
    double duration;
    double delay;
    std::shared_ptr<UIViewAnimationGroup> group;
};

std::vector<AnimationContext>& animationContexts()
{
    static auto* contexts = new std::vector<AnimationContext>;
    return *contexts;
}

} // namespace

// Out of line: the members keep types this class's header only names.
UIView::UIView() = default;

UIView::~UIView()
{
    // Everything that points back at this view through a raw pointer is told first.
    for (auto& child : m_subviews)
        child->m_superview = nullptr;
    for (auto& constraint : m_constraints)
        constraint->didUninstall();
    for (auto& recognizer : m_gestureRecognizers)
        recognizer->setView(nullptr);
    if (m_safeAreaLayoutGuide)
        m_safeAreaLayoutGuide->m_owningView = nullptr;
}

UIView* UIView::initWithFrameImp(UIView* self, SEL, CGRect frame)
{
    self->m_transform = CGAffineTransformIdentity;
    self->m_bounds = { CGPointZero, frame.size };
    self->m_center = { CGRectGetMidX(frame), CGRectGetMidY(frame) };
    return self;
}

UIView* UIView::initImp(UIView* self, SEL)
{
    return self->initWithFrame(CGRectZero);
}

// MARK: The tree

void UIView::_addSubview(UIView* view)
{
    // Past the end: after any detaching, the view goes in front.
    insertSubviewAtIndex(view, SIZE_MAX);
}

void UIView::insertSubviewAtIndex(UIView* view, std::size_t index)
{
    if (!view || view == this || isDescendantOfView(view))
        return;
    // Adding a view that already has a superview moves it; the old superview's reference
    // may be the last one.
    objc::RefPtr<UIView> protectedView(view);
    if (UIView* oldSuperview = view->m_superview) {
        if (oldSuperview != this)
            view->deactivateConstraintsLeavingTree(oldSuperview);
        view->detachFromSuperview();
        oldSuperview->setNeedsLayout();
    }
    index = std::min(index, m_subviews.size());
    m_subviews.insert(m_subviews.begin() + static_cast<std::ptrdiff_t>(index), protectedView);
    view->m_superview = this;
    setNeedsLayout();
}

void UIView::_removeFromSuperview()
{
    if (!m_superview)
        return;
    objc::RefPtr<UIView> protectedThis(this);
    UIView* oldSuperview = m_superview;
    deactivateConstraintsLeavingTree(oldSuperview);
    detachFromSuperview();
    oldSuperview->setNeedsLayout();
}

void UIView::detachFromSuperview()
{
    auto& siblings = m_superview->m_subviews;
    auto it = std::find_if(siblings.begin(), siblings.end(), [this](auto& child) { return child.get() == this; });
    assert(it != siblings.end());
    m_superview = nullptr;
    // The caller holds a strong reference, so this erase never destroys the view.
    siblings.erase(it);
}

void UIView::deactivateConstraintsLeavingTree(UIView* oldSuperview)
{
    // As UIKit does: constraints installed above this view that tie anything in its
    // subtree to the tree it leaves stop being active.
    auto involvesSubtree = [this](NSObject* item) {
        if (auto* view = objc_cast<UIView>(item))
            return view->isDescendantOfView(this);
        if (auto* guide = objc_cast<UILayoutGuide>(item))
            return guide->owningView() && guide->owningView()->isDescendantOfView(this);
        return false;
    };
    for (UIView* ancestor = oldSuperview; ancestor; ancestor = ancestor->m_superview) {
        auto installed = ancestor->m_constraints;
        for (auto& constraint : installed) {
            if (involvesSubtree(constraint->firstItem()) || involvesSubtree(constraint->secondItem()))
                constraint->setActive(false);
        }
    }
}

void UIView::_bringSubviewToFront(UIView* view)
{
    auto it = std::find_if(m_subviews.begin(), m_subviews.end(), [view](auto& child) { return child.get() == view; });
    if (it == m_subviews.end())
        return;
    std::rotate(it, it + 1, m_subviews.end());
}

void UIView::_sendSubviewToBack(UIView* view)
{
    auto it = std::find_if(m_subviews.begin(), m_subviews.end(), [view](auto& child) { return child.get() == view; });
    if (it == m_subviews.end())
        return;
    std::rotate(m_subviews.begin(), it, it + 1);
}

const UIView* UIView::root() const
{
    const UIView* top = this;
    while (top->m_superview)
        top = top->m_superview;
    return top;
}

UIWindow* UIView::window() const
{
    return objc_cast<UIWindow>(const_cast<UIView*>(root()));
}

bool UIView::isDescendantOfView(const UIView* ancestor) const
{
    for (const UIView* view = this; view; view = view->m_superview) {
        if (view == ancestor)
            return true;
    }
    return false;
}

// MARK: Geometry

CGRect UIView::untransformedFrame() const
{
    CGFloat width = m_bounds.size.width;
    CGFloat height = m_bounds.size.height;
    return CGRectMake(m_center.x - width / 2, m_center.y - height / 2, width, height);
}

CGRect UIView::_frame() const
{
    if (CGAffineTransformIsIdentity(m_transform))
        return untransformedFrame();
    // The bounding box of the transformed bounds, around the centre.
    const auto& t = m_transform;
    CGFloat width = m_bounds.size.width;
    CGFloat height = m_bounds.size.height;
    CGFloat halfWidth = (std::abs(t.a * width) + std::abs(t.c * height)) / 2;
    CGFloat halfHeight = (std::abs(t.b * width) + std::abs(t.d * height)) / 2;
    return UILayoutEngine::tidy(CGRectMake(m_center.x + t.tx - halfWidth, m_center.y + t.ty - halfHeight, 2 * halfWidth, 2 * halfHeight));
}

void UIView::setFrameImp(UIView* self, SEL, CGRect frame)
{
    // What UIKit does with a transformed view's frame is undefined; this treats the
    // rectangle as the untransformed frame.
    self->setUntransformedFrame(frame);
}

void UIView::setUntransformedFrame(CGRect frame)
{
    m_center = { CGRectGetMidX(frame), CGRectGetMidY(frame) };
    setBounds({ m_bounds.origin, { std::abs(frame.size.width), std::abs(frame.size.height) } });
}

void UIView::setBounds(CGRect bounds)
{
    CGSize oldSize = m_bounds.size;
    m_bounds = bounds;
    if (CGSizeEqualToSize(oldSize, bounds.size))
        return;
    setNeedsLayout();
    resizeSubviewsWithOldSize(oldSize);
}

void UIView::resizeSubviewsWithOldSize(CGSize oldSize)
{
    auto children = m_subviews;
    for (auto& child : children) {
        if (child->m_translatesAutoresizingMask && child->m_autoresizingMask != UIViewAutoresizingNone)
            child->resizeWithOldSuperviewSize(oldSize);
    }
}

void UIView::resizeWithOldSuperviewSize(CGSize oldSize)
{
    CGSize newSize = m_superview->m_bounds.size;
    CGRect frame = untransformedFrame();
    auto mask = m_autoresizingMask;
    auto horizontal = UILayoutEngine::autoresizingShares(mask & UIViewAutoresizingFlexibleLeftMargin, mask & UIViewAutoresizingFlexibleWidth,
        mask & UIViewAutoresizingFlexibleRightMargin, frame.origin.x, frame.size.width, oldSize.width);
    auto vertical = UILayoutEngine::autoresizingShares(mask & UIViewAutoresizingFlexibleTopMargin, mask & UIViewAutoresizingFlexibleHeight,
        mask & UIViewAutoresizingFlexibleBottomMargin, frame.origin.y, frame.size.height, oldSize.height);
    CGFloat dx = newSize.width - oldSize.width;
    CGFloat dy = newSize.height - oldSize.height;
    CGRect resized = CGRectMake(frame.origin.x + horizontal.position * dx, frame.origin.y + vertical.position * dy,
        frame.size.width + horizontal.size * dx, frame.size.height + vertical.size * dy);
    if (!CGRectEqualToRect(resized, frame))
        setFrame(resized);
}

void UIView::setCenter(CGPoint center)
{
    m_center = center;
}

void UIView::_setTransform(CGAffineTransform transform)
{
    m_transform = transform;
}

CGPoint UIView::convertPointToSuperview(CGPoint point) const
{
    // Bounds coordinates -> offset from the bounds' centre -> transformed -> around the
    // centre in the superview.
    CGFloat x = point.x - (m_bounds.origin.x + m_bounds.size.width / 2);
    CGFloat y = point.y - (m_bounds.origin.y + m_bounds.size.height / 2);
    const auto& t = m_transform;
    return { m_center.x + t.a * x + t.c * y + t.tx, m_center.y + t.b * x + t.d * y + t.ty };
}

CGPoint UIView::convertPointFromSuperview(CGPoint point) const
{
    const auto& t = m_transform;
    CGFloat x = point.x - m_center.x - t.tx;
    CGFloat y = point.y - m_center.y - t.ty;
    CGFloat determinant = t.a * t.d - t.b * t.c;
    if (determinant == 0)
        return { NAN, NAN };
    CGFloat localX = (t.d * x - t.c * y) / determinant;
    CGFloat localY = (-t.b * x + t.a * y) / determinant;
    return { localX + m_bounds.origin.x + m_bounds.size.width / 2, localY + m_bounds.origin.y + m_bounds.size.height / 2 };
}

CGPoint UIView::convertPointToScreen(CGPoint point) const
{
    // Up through every view, the root included: a root's superview coordinates are its
    // frame's, which for a window are the screen's.
    for (const UIView* view = this; view; view = view->m_superview)
        point = view->convertPointToSuperview(point);
    return point;
}

CGPoint UIView::convertPointFromScreen(CGPoint point) const
{
    std::vector<const UIView*> chain;
    for (const UIView* view = this; view; view = view->m_superview)
        chain.push_back(view);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        point = (*it)->convertPointFromSuperview(point);
    return point;
}

CGPoint UIView::convertPointToView(CGPoint point, const UIView* view) const
{
    const UIView* top = root();
    if (!view)
        view = top;
    if (view->root() != top)
        return view->convertPointFromScreen(convertPointToScreen(point));
    for (const UIView* v = this; v != top; v = v->m_superview)
        point = v->convertPointToSuperview(point);
    std::vector<const UIView*> chain;
    for (const UIView* v = view; v != top; v = v->m_superview)
        chain.push_back(v);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        point = (*it)->convertPointFromSuperview(point);
    return point;
}

CGPoint UIView::convertPointFromView(CGPoint point, const UIView* view) const
{
    return (view ? view : root())->convertPointToView(point, this);
}

namespace {

template<typename Convert>
CGRect boundingBoxOfCorners(CGRect rect, Convert convert)
{
    CGPoint corners[4] = {
        convert(rect.origin),
        convert({ CGRectGetMaxX(rect), rect.origin.y }),
        convert({ rect.origin.x, CGRectGetMaxY(rect) }),
        convert({ CGRectGetMaxX(rect), CGRectGetMaxY(rect) }),
    };
    CGFloat minX = corners[0].x, maxX = corners[0].x, minY = corners[0].y, maxY = corners[0].y;
    for (auto& corner : corners) {
        minX = std::min(minX, corner.x);
        maxX = std::max(maxX, corner.x);
        minY = std::min(minY, corner.y);
        maxY = std::max(maxY, corner.y);
    }
    return UILayoutEngine::tidy(CGRectMake(minX, minY, maxX - minX, maxY - minY));
}

} // namespace

CGRect UIView::convertRectToView(CGRect rect, const UIView* view) const
{
    return boundingBoxOfCorners(rect, [&](CGPoint p) { return convertPointToView(p, view); });
}

CGRect UIView::frameInScreen() const
{
    return boundingBoxOfCorners(m_bounds, [&](CGPoint p) { return convertPointToScreen(p); });
}

// MARK: Appearance

bool UIView::isHiddenImp(UIView* self, SEL)
{
    return self->m_hidden;
}

void UIView::setHiddenImp(UIView* self, SEL, bool hidden)
{
    self->changeHidden(hidden);
}

void UIView::changeHidden(bool hidden)
{
    if (m_hidden == hidden)
        return;
    m_hidden = hidden;
    didChangeHidden();
}

void UIView::_setAlpha(CGFloat alpha)
{
    animatePropertyChange(m_alphaAnimation, presentationAlpha(), alpha);
    m_alpha = alpha;
}

void UIView::animatePropertyChange(UIViewPropertyAnimation& animation, double presentation, double to)
{
    double now = clockNow();
    auto& contexts = animationContexts();
    const AnimationContext* context = contexts.empty() ? nullptr : &contexts.back();
    // A set from the same animations block continues that animation; any other set
    // takes over from it.
    if (!context || animation.group() != context->group.get())
        animation.interruptAt(now);
    if (context && context->duration > 0)
        animation.start(context->group, presentation, to, now + std::max(0.0, context->delay), context->duration);
    else
        animation.clear();
}

void UIView::animatePropertyChange(UIViewPropertyAnimation& animation, double presentation, double to, double duration)
{
    // Inside an animations block the block's timing wins, as for any animatable property.
    if (!animationContexts().empty() || duration <= 0 || !platform::RunLoop::main()) {
        animatePropertyChange(animation, presentation, to);
        return;
    }
    double now = clockNow();
    animation.interruptAt(now);
    animation.start(std::make_shared<UIViewAnimationGroup>(), presentation, to, now, duration);
}

double UIView::animationClock()
{
    return clockNow();
}

CGFloat UIView::presentationAlpha() const
{
    return m_alphaAnimation.valueAt(clockNow(), m_alpha);
}

void UIView::_setBackgroundColor(UIColor* color)
{
    m_backgroundColor = color;
}

void UIView::_setTintColor(UIColor* color)
{
    m_tintColor = color;
}

CALayer* UIView::_layer() const
{
    if (!m_layer)
        m_layer = CALayer::alloc();
    return m_layer.get();
}

bool UIView::clipsToBounds() const
{
    return layer()->masksToBounds();
}

void UIView::_setClipsToBounds(bool clips)
{
    layer()->setMasksToBounds(clips);
}

// MARK: Layout

void UIView::_setTranslatesAutoresizingMaskIntoConstraints(bool translates)
{
    if (m_translatesAutoresizingMask == translates)
        return;
    m_translatesAutoresizingMask = translates;
    if (m_superview)
        m_superview->setNeedsLayout();
}

UIEdgeInsets UIView::safeAreaInsets() const
{
    if (!window())
        return UIEdgeInsetsZero;
    return UILayoutEngine::safeAreaInsetsForScreenRect(frameInScreen());
}

UILayoutGuide* UIView::_safeAreaLayoutGuide()
{
    if (!m_safeAreaLayoutGuide) {
        m_safeAreaLayoutGuide = UILayoutGuide::alloc();
        m_safeAreaLayoutGuide->m_owningView = this;
    }
    return m_safeAreaLayoutGuide.get();
}

void UIView::installConstraint(NSLayoutConstraint* constraint)
{
    m_constraints.push_back(constraint);
    setNeedsLayout();
}

void UIView::uninstallConstraint(NSLayoutConstraint* constraint)
{
    objc::RefPtr<NSLayoutConstraint> protectedConstraint(constraint);
    auto it = std::find_if(m_constraints.begin(), m_constraints.end(), [constraint](auto& c) { return c.get() == constraint; });
    if (it == m_constraints.end())
        return;
    m_constraints.erase(it);
    constraint->didUninstall();
    setNeedsLayout();
}

bool UIView::markAmbiguityReported()
{
    bool first = !m_ambiguityReported;
    m_ambiguityReported = true;
    return first;
}

void UIView::setNeedsLayout()
{
    m_needsLayout = true;
    m_subtreeNeedsLayout = true;
    // Like Yoga's dirty marking: the walk up stops at the first ancestor that already
    // knows, since everything above it knows too.
    UIView* top = this;
    for (UIView* ancestor = m_superview; ancestor; ancestor = ancestor->m_superview) {
        top = ancestor;
        if (ancestor->m_subtreeNeedsLayout)
            break;
        ancestor->m_subtreeNeedsLayout = true;
    }
    while (top->m_superview)
        top = top->m_superview;
    UILayoutEngine::scheduleLayout(top);
}

void UIView::layoutSubviews()
{
    objc_msgSend(this, "layoutSubviews"_sel);
}

void UIView::layoutSubviewsImp(UIView*, SEL)
{
    // Constraint-based frames are applied by the layout engine before the pass sends
    // layoutSubviews, so the default has nothing left to do.
}

void UIView::layoutIfNeeded()
{
    UILayoutEngine::layoutTree(const_cast<UIView*>(root()));
}

void UIView::layoutPendingViews()
{
    UILayoutEngine::layoutPendingTrees();
}

// MARK: Touches

void UIView::_addGestureRecognizer(UIGestureRecognizer* recognizer)
{
    if (!recognizer)
        return;
    objc::RefPtr<UIGestureRecognizer> protectedRecognizer(recognizer);
    if (UIView* previous = recognizer->view())
        previous->removeGestureRecognizer(recognizer);
    m_gestureRecognizers.push_back(recognizer);
    recognizer->setView(this);
}

void UIView::removeGestureRecognizer(UIGestureRecognizer* recognizer)
{
    auto it = std::find_if(m_gestureRecognizers.begin(), m_gestureRecognizers.end(), [recognizer](auto& r) { return r.get() == recognizer; });
    if (it == m_gestureRecognizers.end())
        return;
    objc::RefPtr<UIGestureRecognizer> protectedRecognizer(recognizer);
    m_gestureRecognizers.erase(it);
    recognizer->setView(nullptr);
}

bool UIView::pointInside(CGPoint point) const
{
    return CGRectContainsPoint(m_bounds, point);
}

UIView* UIView::hitTest(CGPoint point)
{
    return static_cast<UIView*>(objc_msgSend<id>(this, "hitTest:withEvent:"_sel, point, static_cast<id>(nullptr)));
}

UIView* UIView::hitTestImp(UIView* self, SEL, CGPoint point, id)
{
    if (self->isHidden() || !self->isUserInteractionEnabled() || self->alpha() < 0.01)
        return nullptr;
    if (!self->pointInside(point))
        return nullptr;
    // Front to back; a copy, since a hit test may be overridden to do anything.
    auto children = self->subviews();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        UIView* child = it->get();
        if (UIView* hit = child->hitTest(child->convertPointFromSuperview(point)))
            return hit;
    }
    return self;
}

// MARK: Animation

void UIView::animateNow(double duration, double delay, AnimationsBlock* animations, CompletionBlock* completionBlock)
{
    // Kept until it has run, as UIKit copies the block it is given.
    objc::RefPtr<CompletionBlock> completion = completionBlock;
    auto* loop = platform::RunLoop::main();
    auto group = std::make_shared<UIViewAnimationGroup>();
    bool animated = loop && duration > 0;
    animationContexts().push_back({ animated ? duration : 0, animated ? delay : 0, group });
    if (animations)
        (*animations)();
    animationContexts().pop_back();
    if (!completion)
        return;
    if (!loop) {
        (*completion)(true);
        return;
    }
    double due = loop->now() + (animated ? std::max(0.0, delay) + duration : 0);
    loop->schedule(due, [group, completion = std::move(completion)]() mutable {
        // Moved out first: the completion may release whatever holds this task.
        auto done = std::move(completion);
        (*done)(!group->interrupted);
    });
}

std::string UIView::descriptionString() const
{
    CGRect f = frame();
    char text[160];
    std::snprintf(text, sizeof(text), "<%s: %p; frame = (%g %g; %g %g)>", class_getName(isa()), static_cast<const void*>(this),
        f.origin.x, f.origin.y, f.size.width, f.size.height);
    return text;
}

void UIView::registerRuntimeClass()
{
    Class cls = objc::defineClass<UIView>("UIView", UIResponder::staticClass());
    objc::addMethod(cls, "initWithFrame:", &initWithFrameImp);
    objc::addMethod(cls, "init", &initImp);
    objc::addMethod(cls, "setFrame:", &setFrameImp);
    objc::addMethod(cls, "setHidden:", &setHiddenImp);
    objc::addMethod(cls, "isHidden", &isHiddenImp);
    Class meta = objc::metaclassOf(cls);
    objc::addMethod(meta, "animateWithDuration:animations:", +[](Class, SEL, double duration, objc::BlockObject* animations) {
        animateNow(duration, 0, AnimationsBlock::from(animations), nullptr);
    });
    objc::addMethod(meta, "animateWithDuration:animations:completion:", +[](Class, SEL, double duration, objc::BlockObject* animations, objc::BlockObject* completion) {
        animateNow(duration, 0, AnimationsBlock::from(animations), CompletionBlock::from(completion));
    });
    // The options (curves, repeats) are not modelled.
    objc::addMethod(meta, "animateWithDuration:delay:options:animations:completion:",
        +[](Class, SEL, double duration, double delay, unsigned long, objc::BlockObject* animations, objc::BlockObject* completion) {
        animateNow(duration, delay, AnimationsBlock::from(animations), CompletionBlock::from(completion));
    });
    // What views are asked by their clients (and so what hooks can replace).
    objc::addMethod(cls, "addSubview:", +[](UIView* self, SEL, UIView* view) { self->_addSubview(view); });
    objc::addMethod(cls, "removeFromSuperview", +[](UIView* self, SEL) { self->_removeFromSuperview(); });
    objc::addMethod(cls, "bringSubviewToFront:", +[](UIView* self, SEL, UIView* view) { self->_bringSubviewToFront(view); });
    objc::addMethod(cls, "sendSubviewToBack:", +[](UIView* self, SEL, UIView* view) { self->_sendSubviewToBack(view); });
    objc::addMethod(cls, "frame", +[](UIView* self, SEL) { return self->_frame(); });
    objc::addMethod(cls, "bounds", +[](UIView* self, SEL) { return self->m_bounds; });
    objc::addMethod(cls, "setTransform:", +[](UIView* self, SEL, CGAffineTransform transform) { self->_setTransform(transform); });
    objc::addMethod(cls, "setAlpha:", +[](UIView* self, SEL, CGFloat alpha) { self->_setAlpha(alpha); });
    objc::addMethod(cls, "setBackgroundColor:", +[](UIView* self, SEL, UIColor* color) { self->_setBackgroundColor(color); });
    objc::addMethod(cls, "setTintColor:", +[](UIView* self, SEL, UIColor* color) { self->_setTintColor(color); });
    objc::addMethod(cls, "layer", +[](UIView* self, SEL) { return static_cast<id>(self->_layer()); });
    objc::addMethod(cls, "setClipsToBounds:", +[](UIView* self, SEL, bool clips) { self->_setClipsToBounds(clips); });
    objc::addMethod(cls, "setUserInteractionEnabled:", +[](UIView* self, SEL, bool enabled) { self->m_userInteractionEnabled = enabled; });
    objc::addMethod(cls, "setContentMode:", +[](UIView* self, SEL, UIViewContentMode mode) { self->m_contentMode = mode; });
    objc::addMethod(cls, "setAutoresizingMask:", +[](UIView* self, SEL, UIViewAutoresizing mask) { self->m_autoresizingMask = mask; });
    objc::addMethod(cls, "setTranslatesAutoresizingMaskIntoConstraints:", +[](UIView* self, SEL, bool translates) { self->_setTranslatesAutoresizingMaskIntoConstraints(translates); });
    objc::addMethod(cls, "safeAreaLayoutGuide", +[](UIView* self, SEL) { return static_cast<id>(self->_safeAreaLayoutGuide()); });
    objc::addMethod(cls, "addGestureRecognizer:", +[](UIView* self, SEL, UIGestureRecognizer* recognizer) { self->_addGestureRecognizer(recognizer); });
    objc::addMethod(cls, "leadingAnchor", +[](UIView* self, SEL) { return static_cast<id>(self->m_anchors.leading(self)); });
    objc::addMethod(cls, "trailingAnchor", +[](UIView* self, SEL) { return static_cast<id>(self->m_anchors.trailing(self)); });
    objc::addMethod(cls, "leftAnchor", +[](UIView* self, SEL) { return static_cast<id>(self->m_anchors.left(self)); });
    objc::addMethod(cls, "rightAnchor", +[](UIView* self, SEL) { return static_cast<id>(self->m_anchors.right(self)); });
    objc::addMethod(cls, "centerXAnchor", +[](UIView* self, SEL) { return static_cast<id>(self->m_anchors.centerX(self)); });
    objc::addMethod(cls, "topAnchor", +[](UIView* self, SEL) { return static_cast<id>(self->m_anchors.top(self)); });
    objc::addMethod(cls, "bottomAnchor", +[](UIView* self, SEL) { return static_cast<id>(self->m_anchors.bottom(self)); });
    objc::addMethod(cls, "centerYAnchor", +[](UIView* self, SEL) { return static_cast<id>(self->m_anchors.centerY(self)); });
    objc::addMethod(cls, "widthAnchor", +[](UIView* self, SEL) { return static_cast<id>(self->m_anchors.width(self)); });
    objc::addMethod(cls, "heightAnchor", +[](UIView* self, SEL) { return static_cast<id>(self->m_anchors.height(self)); });
    objc::addMethod(cls, "layoutSubviews", &layoutSubviewsImp);
    objc::addMethod(cls, "hitTest:withEvent:", &hitTestImp);
}
