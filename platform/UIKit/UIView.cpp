#include "UIView.h"

#include "QuartzCore/CALayer.h"
#include "UIColor.h"
#include "UIWindow.h"

#include <algorithm>
#include <cassert>

UIView::~UIView()
{
    // Children outlive their parent only if someone else keeps them; either way their
    // back-pointer must not dangle.
    for (auto& child : m_subviews)
        child->m_superview = nullptr;
}

UIView* UIView::initWithFrame(CGRect frame)
{
    return static_cast<UIView*>(objc_msgSend<id>(this, "initWithFrame:"_sel, frame));
}

UIView* UIView::init()
{
    return static_cast<UIView*>(objc_msgSend<id>(this, "init"_sel));
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

void UIView::addSubview(UIView* view)
{
    if (!view || view == this)
        return;
    // Adding a view that is already a child moves it to the front, as UIKit does.
    objc::RefPtr<UIView> protectedView(view);
    if (view->m_superview)
        view->detachFromSuperview();
    m_subviews.push_back(protectedView);
    view->m_superview = this;
    setNeedsLayout();
}

void UIView::insertSubviewAtIndex(UIView* view, std::size_t index)
{
    if (!view || view == this)
        return;
    objc::RefPtr<UIView> protectedView(view);
    if (view->m_superview)
        view->detachFromSuperview();
    index = std::min(index, m_subviews.size());
    m_subviews.insert(m_subviews.begin() + static_cast<std::ptrdiff_t>(index), protectedView);
    view->m_superview = this;
    setNeedsLayout();
}

void UIView::removeFromSuperview()
{
    if (!m_superview)
        return;
    // The superview's reference may be the last one; keep the view alive until the
    // removal is finished.
    objc::RefPtr<UIView> protectedThis(this);
    UIView* oldSuperview = m_superview;
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

void UIView::bringSubviewToFront(UIView* view)
{
    auto it = std::find_if(m_subviews.begin(), m_subviews.end(), [view](auto& child) { return child.get() == view; });
    if (it == m_subviews.end())
        return;
    std::rotate(it, it + 1, m_subviews.end());
}

void UIView::sendSubviewToBack(UIView* view)
{
    auto it = std::find_if(m_subviews.begin(), m_subviews.end(), [view](auto& child) { return child.get() == view; });
    if (it == m_subviews.end())
        return;
    std::rotate(m_subviews.begin(), it, it + 1);
}

UIWindow* UIView::window() const
{
    const UIView* top = this;
    while (top->m_superview)
        top = top->m_superview;
    return objc_cast<UIWindow>(const_cast<UIView*>(top));
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

CGRect UIView::frame() const
{
    CGFloat width = m_bounds.size.width;
    CGFloat height = m_bounds.size.height;
    if (CGAffineTransformIsIdentity(m_transform))
        return CGRectMake(m_center.x - width / 2, m_center.y - height / 2, width, height);
    // The bounding box of the transformed bounds, around the centre.
    const auto& t = m_transform;
    CGFloat halfWidth = (std::abs(t.a * width) + std::abs(t.c * height)) / 2;
    CGFloat halfHeight = (std::abs(t.b * width) + std::abs(t.d * height)) / 2;
    return CGRectMake(m_center.x + t.tx - halfWidth, m_center.y + t.ty - halfHeight, 2 * halfWidth, 2 * halfHeight);
}

void UIView::setFrame(CGRect frame)
{
    objc_msgSend(this, "setFrame:"_sel, frame);
}

void UIView::setFrameImp(UIView* self, SEL, CGRect frame)
{
    self->m_center = { CGRectGetMidX(frame), CGRectGetMidY(frame) };
    self->setBounds({ self->m_bounds.origin, frame.size });
}

void UIView::setBounds(CGRect bounds)
{
    bool sizeChanged = !CGSizeEqualToSize(bounds.size, m_bounds.size);
    m_bounds = bounds;
    if (sizeChanged)
        setNeedsLayout();
}

void UIView::setCenter(CGPoint center)
{
    m_center = center;
}

// MARK: Appearance

void UIView::setHidden(bool hidden)
{
    if (m_hidden == hidden)
        return;
    m_hidden = hidden;
    didChangeHidden();
}

void UIView::setAlpha(CGFloat alpha)
{
    m_alpha = alpha;
}

void UIView::setBackgroundColor(UIColor* color)
{
    m_backgroundColor = color;
}

CALayer* UIView::layer() const
{
    if (!m_layer)
        m_layer = CALayer::alloc();
    return m_layer.get();
}

bool UIView::clipsToBounds() const
{
    return layer()->masksToBounds();
}

void UIView::setClipsToBounds(bool clips)
{
    layer()->setMasksToBounds(clips);
}

void UIView::setTranslatesAutoresizingMaskIntoConstraints(bool translates)
{
    if (m_translatesAutoresizingMask == translates)
        return;
    m_translatesAutoresizingMask = translates;
    setNeedsLayout();
}

// MARK: Layout

void UIView::setNeedsLayout()
{
    m_needsLayout = true;
    // Like Yoga's dirty marking: the walk up stops at the first ancestor that already
    // knows, since everything above it knows too.
    for (UIView* ancestor = m_superview; ancestor && !ancestor->m_subtreeNeedsLayout; ancestor = ancestor->m_superview)
        ancestor->m_subtreeNeedsLayout = true;
    m_subtreeNeedsLayout = true;
}

void UIView::layoutSubviews()
{
    objc_msgSend(this, "layoutSubviews"_sel);
}

void UIView::layoutSubviewsImp(UIView*, SEL)
{
}

void UIView::layoutIfNeeded()
{
    if (!m_subtreeNeedsLayout)
        return;
    objc::RefPtr<UIView> protectedThis(this);
    if (m_needsLayout) {
        m_needsLayout = false;
        layoutSubviews();
    }
    // Walk a copy: layoutSubviews may change the tree.
    auto children = m_subviews;
    for (auto& child : children)
        child->layoutIfNeeded();
    m_subtreeNeedsLayout = false;
}

void UIView::registerRuntimeClass()
{
    Class cls = objc::defineClass<UIView>("UIView", UIResponder::staticClass());
    objc::addMethod(cls, "initWithFrame:", &initWithFrameImp);
    objc::addMethod(cls, "init", &initImp);
    objc::addMethod(cls, "setFrame:", &setFrameImp);
    objc::addMethod(cls, "layoutSubviews", &layoutSubviewsImp);
}
