#pragma once
// UIView: a rectangle in a tree of views.
//
// Ownership follows the tree: a view keeps its subviews (strong references, in order,
// front-most last) and knows its superview through a raw back-pointer that the superview
// clears when it lets the child go. Geometry is kept as UIKit keeps it, as a centre, the
// bounds and a transform; the frame is derived from them.
//
// Layout: a view whose translatesAutoresizingMaskIntoConstraints is off is placed by its
// active constraints; one whose flag is on keeps its frame and follows its superview's
// size through its autoresizing mask. UILayoutEngine solves both together in layout
// passes, which run when layoutIfNeeded is called and, with a run loop, at the end of
// the run-loop turn in which layout was requested (as Core Animation's commit does).

#include "CoreGraphics/CGGeometry.h"
#include "QuartzCore/CALayer.h"
#include "UIColor.h"
#include "UIGeometry.h"
#include "UILayoutAnchors.h"
#include "UILayoutGuide.h"
#include "UIResponder.h"
#include "UIViewAnimation.h"

#include <functional>
#include <memory>
#include <vector>

class NSLayoutConstraint;
class UIGestureRecognizer;
class UIWindow;

using UIViewAutoresizing = unsigned long;
inline constexpr UIViewAutoresizing UIViewAutoresizingNone = 0;
inline constexpr UIViewAutoresizing UIViewAutoresizingFlexibleLeftMargin = 1 << 0;
inline constexpr UIViewAutoresizing UIViewAutoresizingFlexibleWidth = 1 << 1;
inline constexpr UIViewAutoresizing UIViewAutoresizingFlexibleRightMargin = 1 << 2;
inline constexpr UIViewAutoresizing UIViewAutoresizingFlexibleTopMargin = 1 << 3;
inline constexpr UIViewAutoresizing UIViewAutoresizingFlexibleHeight = 1 << 4;
inline constexpr UIViewAutoresizing UIViewAutoresizingFlexibleBottomMargin = 1 << 5;

using UIViewContentMode = long;
inline constexpr UIViewContentMode UIViewContentModeScaleToFill = 0;
inline constexpr UIViewContentMode UIViewContentModeScaleAspectFit = 1;
inline constexpr UIViewContentMode UIViewContentModeScaleAspectFill = 2;
inline constexpr UIViewContentMode UIViewContentModeRedraw = 3;
inline constexpr UIViewContentMode UIViewContentModeCenter = 4;

class UIView : public UIResponder {
    OBJC_INTERFACE(UIView)
public:
    UIView();
    ~UIView() override;

    // -initWithFrame:, sent through the runtime (subclasses and hooks replace it).
    // Returns the receiver, borrowed.
    UIView* initWithFrame(CGRect);
    // -init: initWithFrame: with the zero rectangle.
    UIView* init();

    // MARK: The tree
    void addSubview(UIView*);
    void insertSubviewAtIndex(UIView*, std::size_t index);
    void removeFromSuperview();
    void bringSubviewToFront(UIView*);
    void sendSubviewToBack(UIView*);
    const std::vector<objc::RefPtr<UIView>>& subviews() const { return m_subviews; }
    UIView* superview() const { return m_superview; }
    // The window at the root of this view's tree, or null.
    UIWindow* window() const;
    bool isDescendantOfView(const UIView*) const;

    // MARK: Geometry
    // setFrame: goes through the runtime (a window subclass hooks it). With a transform
    // other than the identity the frame is the bounding box of the transformed bounds.
    CGRect frame() const;
    void setFrame(CGRect);
    CGRect bounds() const { return m_bounds; }
    void setBounds(CGRect);
    CGPoint center() const { return m_center; }
    void setCenter(CGPoint);
    CGAffineTransform transform() const { return m_transform; }
    void setTransform(CGAffineTransform);
    // The frame as if the transform were the identity: what layout works with.
    CGRect untransformedFrame() const;

    // Conversions between coordinate spaces, through centres, bounds and transforms.
    // A null view stands for the window (the root of the tree when there is none).
    CGPoint convertPointToView(CGPoint, const UIView*) const;
    CGPoint convertPointFromView(CGPoint, const UIView*) const;
    CGRect convertRectToView(CGRect, const UIView*) const;
    // Screen coordinates are the root's frame coordinates: the screen's for a window (a
    // tree outside any window is taken to sit where its root's frame says).
    CGPoint convertPointToScreen(CGPoint) const;
    CGPoint convertPointFromScreen(CGPoint) const;
    // The view's bounds in screen coordinates (the bounding box, if transformed).
    CGRect frameInScreen() const;

    // MARK: Appearance
    bool isHidden() const { return m_hidden; }
    void setHidden(bool);
    // The model value: what was last set, even while an animation shows another.
    CGFloat alpha() const { return m_alpha; }
    void setAlpha(CGFloat);
    // What is on screen now: the alpha animation's value at the run loop's time.
    CGFloat presentationAlpha() const;
    UIColor* backgroundColor() const { return m_backgroundColor.get(); }
    void setBackgroundColor(UIColor*);
    UIColor* tintColor() const { return m_tintColor.get(); }
    void setTintColor(UIColor*);
    // The view's layer, made with the view. Rounding and clipping live there.
    CALayer* layer() const;
    // The same switch as layer().masksToBounds, as in UIKit.
    bool clipsToBounds() const;
    void setClipsToBounds(bool);
    bool isUserInteractionEnabled() const { return m_userInteractionEnabled; }
    void setUserInteractionEnabled(bool enabled) { m_userInteractionEnabled = enabled; }
    UIViewContentMode contentMode() const { return m_contentMode; }
    void setContentMode(UIViewContentMode mode) { m_contentMode = mode; }
    long tag() const { return m_tag; }
    void setTag(long tag) { m_tag = tag; }

    // MARK: Layout
    UIViewAutoresizing autoresizingMask() const { return m_autoresizingMask; }
    void setAutoresizingMask(UIViewAutoresizing mask) { m_autoresizingMask = mask; }
    bool translatesAutoresizingMaskIntoConstraints() const { return m_translatesAutoresizingMask; }
    void setTranslatesAutoresizingMaskIntoConstraints(bool);

    NSLayoutXAxisAnchor* leadingAnchor() { return m_anchors.leading(this); }
    NSLayoutXAxisAnchor* trailingAnchor() { return m_anchors.trailing(this); }
    NSLayoutXAxisAnchor* leftAnchor() { return m_anchors.left(this); }
    NSLayoutXAxisAnchor* rightAnchor() { return m_anchors.right(this); }
    NSLayoutXAxisAnchor* centerXAnchor() { return m_anchors.centerX(this); }
    NSLayoutYAxisAnchor* topAnchor() { return m_anchors.top(this); }
    NSLayoutYAxisAnchor* bottomAnchor() { return m_anchors.bottom(this); }
    NSLayoutYAxisAnchor* centerYAnchor() { return m_anchors.centerY(this); }
    NSLayoutDimension* widthAnchor() { return m_anchors.width(this); }
    NSLayoutDimension* heightAnchor() { return m_anchors.height(this); }

    // The safe area: how much of the view lies in the screen's unsafe bands, edge by edge
    // (zero outside a window), and the guide that leaves those parts out.
    UIEdgeInsets safeAreaInsets() const;
    UILayoutGuide* safeAreaLayoutGuide();
    // The guide if something has asked for it (layout only solves guides that exist).
    UILayoutGuide* safeAreaLayoutGuideIfExists() const { return m_safeAreaLayoutGuide.get(); }

    // The active constraints installed on this view (those whose items' nearest common
    // ancestor it is), in activation order.
    const std::vector<objc::RefPtr<NSLayoutConstraint>>& constraints() const { return m_constraints; }

    // layoutSubviews is sent through the runtime during a layout pass.
    void setNeedsLayout();
    void layoutIfNeeded();
    void layoutSubviews();
    bool needsLayout() const { return m_needsLayout; }
    // Runs every layout pass that has been requested: what the end of a run-loop turn
    // does. Hosts call it before they read frames.
    static void layoutPendingViews();

    // MARK: Touches
    void addGestureRecognizer(UIGestureRecognizer*);
    void removeGestureRecognizer(UIGestureRecognizer*);
    const std::vector<objc::RefPtr<UIGestureRecognizer>>& gestureRecognizers() const { return m_gestureRecognizers; }
    // The front-most descendant (or this view) that takes a touch at `point`, in this
    // view's coordinates: hidden views, views with interaction off and views with alpha
    // below 0.01 take none, and no view takes a point outside its own bounds (a subview
    // protruding from its superview cannot be touched outside the superview).
    UIView* hitTest(CGPoint point);
    bool pointInside(CGPoint point) const;

    // MARK: Animation
    // Animates the animatable properties set inside `animations` (alpha) from their
    // presentation values to the new ones, linearly over `duration` seconds of the run
    // loop's clock. The model values change at once. `completion` runs on the run loop
    // when the duration has passed, with whether the animation finished: false when a
    // later set of the same property on the same view (animated or not) took over before
    // the end. A duration of zero or less applies at once; its completion still runs on
    // the run loop, with true. Without a run loop everything applies at once and the
    // completion runs before this returns.
    static void animateWithDuration(double duration, std::function<void()> animations, std::function<void(bool)> completion = {});
    static void animateWithDuration(double duration, double delay, unsigned long options,
        std::function<void()> animations, std::function<void(bool)> completion);

    std::string descriptionString() const override;

    // Defines the runtime class and its methods (registerUIKitClasses calls it).
    static void registerRuntimeClass();

    // For NSLayoutConstraint (installation) and the layout engine.
    void installConstraint(NSLayoutConstraint*);
    void uninstallConstraint(NSLayoutConstraint*);
    bool markAmbiguityReported();
    void setUntransformedFrame(CGRect);

protected:
    // Called after the hidden flag changed.
    virtual void didChangeHidden() { }

    bool m_hidden = false;

private:
    friend class UILayoutEngine;

    static UIView* initWithFrameImp(UIView*, SEL, CGRect);
    static UIView* initImp(UIView*, SEL);
    static void setFrameImp(UIView*, SEL, CGRect);
    static void layoutSubviewsImp(UIView*, SEL);
    static UIView* hitTestImp(UIView*, SEL, CGPoint, id event);

    void detachFromSuperview();
    void deactivateConstraintsLeavingTree(UIView* oldSuperview);
    void resizeSubviewsWithOldSize(CGSize oldSize);
    void resizeWithOldSuperviewSize(CGSize oldSize);
    void scheduleLayoutOfRoot();
    CGPoint convertPointToSuperview(CGPoint) const;
    CGPoint convertPointFromSuperview(CGPoint) const;
    const UIView* root() const;

    UIView* m_superview = nullptr;
    std::vector<objc::RefPtr<UIView>> m_subviews;

    CGPoint m_center;
    CGRect m_bounds;
    CGAffineTransform m_transform;

    CGFloat m_alpha = 1;
    UIViewPropertyAnimation m_alphaAnimation;
    objc::RefPtr<UIColor> m_backgroundColor;
    objc::RefPtr<UIColor> m_tintColor;
    mutable objc::RefPtr<CALayer> m_layer;
    bool m_userInteractionEnabled = true;
    UIViewContentMode m_contentMode = UIViewContentModeScaleToFill;
    long m_tag = 0;

    UIViewAutoresizing m_autoresizingMask = UIViewAutoresizingNone;
    bool m_translatesAutoresizingMask = true;
    UILayoutAnchors m_anchors;
    objc::RefPtr<UILayoutGuide> m_safeAreaLayoutGuide;
    std::vector<objc::RefPtr<NSLayoutConstraint>> m_constraints;
    bool m_ambiguityReported = false;

    bool m_needsLayout = true;
    bool m_subtreeNeedsLayout = true;

    std::vector<objc::RefPtr<UIGestureRecognizer>> m_gestureRecognizers;
};
