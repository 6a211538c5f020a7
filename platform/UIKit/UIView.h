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
    UIView* initWithFrame(CGRect frame) { return static_cast<UIView*>(objc_send<"initWithFrame:", id>(this, frame)); }
    // -init: initWithFrame: with the zero rectangle.
    UIView* init() { return static_cast<UIView*>(objc_send<"init", id>(this)); }

    // MARK: The tree
    // The tree's own messages (-addSubview:, ...) go through the runtime, as every method a
    // client calls on a view here does.
    void addSubview(UIView* view) { objc_send<"addSubview:">(this, view); }
    void insertSubviewAtIndex(UIView*, std::size_t index);
    void removeFromSuperview() { objc_send<"removeFromSuperview">(this); }
    void bringSubviewToFront(UIView* view) { objc_send<"bringSubviewToFront:">(this, view); }
    void sendSubviewToBack(UIView* view) { objc_send<"sendSubviewToBack:">(this, view); }
    const std::vector<objc::RefPtr<UIView>>& subviews() const { return m_subviews; }
    UIView* superview() const { return m_superview; }
    // The window at the root of this view's tree, or null.
    UIWindow* window() const;
    bool isDescendantOfView(const UIView*) const;

    // MARK: Geometry
    // setFrame: goes through the runtime (a window subclass hooks it). With a transform
    // other than the identity the frame is the bounding box of the transformed bounds.
    CGRect frame() const { return objc_send<"frame", CGRect>(this); }
    void setFrame(CGRect frame) { objc_send<"setFrame:">(this, frame); }
    CGRect bounds() const { return objc_send<"bounds", CGRect>(this); }
    void setBounds(CGRect);
    CGPoint center() const { return m_center; }
    void setCenter(CGPoint);
    CGAffineTransform transform() const { return m_transform; }
    void setTransform(CGAffineTransform transform) { objc_send<"setTransform:">(this, transform); }
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
    // -isHidden and -setHidden:, through the runtime (hooks see them).
    bool isHidden() const { return objc_send<"isHidden", bool>(this); }
    void setHidden(bool hidden) { objc_send<"setHidden:">(this, hidden); }
    // The model value: what was last set, even while an animation shows another.
    CGFloat alpha() const { return m_alpha; }
    void setAlpha(CGFloat alpha) { objc_send<"setAlpha:">(this, alpha); }
    // What is on screen now: the alpha animation's value at the run loop's time.
    CGFloat presentationAlpha() const;
    UIColor* backgroundColor() const { return m_backgroundColor.get(); }
    void setBackgroundColor(UIColor* color) { objc_send<"setBackgroundColor:">(this, color); }
    UIColor* tintColor() const { return m_tintColor.get(); }
    void setTintColor(UIColor* color) { objc_send<"setTintColor:">(this, color); }
    // The view's layer, made with the view. Rounding and clipping live there.
    CALayer* layer() const { return objc_send<"layer", CALayer*>(this); }
    // The same switch as layer().masksToBounds, as in UIKit.
    bool clipsToBounds() const;
    void setClipsToBounds(bool clips) { objc_send<"setClipsToBounds:">(this, clips); }
    bool isUserInteractionEnabled() const { return m_userInteractionEnabled; }
    void setUserInteractionEnabled(bool enabled) { objc_send<"setUserInteractionEnabled:">(this, enabled); }
    UIViewContentMode contentMode() const { return m_contentMode; }
    void setContentMode(UIViewContentMode mode) { objc_send<"setContentMode:">(this, mode); }
    long tag() const { return m_tag; }
    void setTag(long tag) { m_tag = tag; }

    // MARK: Layout
    UIViewAutoresizing autoresizingMask() const { return m_autoresizingMask; }
    void setAutoresizingMask(UIViewAutoresizing mask) { objc_send<"setAutoresizingMask:">(this, mask); }
    bool translatesAutoresizingMaskIntoConstraints() const { return m_translatesAutoresizingMask; }
    void setTranslatesAutoresizingMaskIntoConstraints(bool translates) { objc_send<"setTranslatesAutoresizingMaskIntoConstraints:">(this, translates); }

    NSLayoutXAxisAnchor* leadingAnchor() { return objc_send<"leadingAnchor", NSLayoutXAxisAnchor*>(this); }
    NSLayoutXAxisAnchor* trailingAnchor() { return objc_send<"trailingAnchor", NSLayoutXAxisAnchor*>(this); }
    NSLayoutXAxisAnchor* leftAnchor() { return objc_send<"leftAnchor", NSLayoutXAxisAnchor*>(this); }
    NSLayoutXAxisAnchor* rightAnchor() { return objc_send<"rightAnchor", NSLayoutXAxisAnchor*>(this); }
    NSLayoutXAxisAnchor* centerXAnchor() { return objc_send<"centerXAnchor", NSLayoutXAxisAnchor*>(this); }
    NSLayoutYAxisAnchor* topAnchor() { return objc_send<"topAnchor", NSLayoutYAxisAnchor*>(this); }
    NSLayoutYAxisAnchor* bottomAnchor() { return objc_send<"bottomAnchor", NSLayoutYAxisAnchor*>(this); }
    NSLayoutYAxisAnchor* centerYAnchor() { return objc_send<"centerYAnchor", NSLayoutYAxisAnchor*>(this); }
    NSLayoutDimension* widthAnchor() { return objc_send<"widthAnchor", NSLayoutDimension*>(this); }
    NSLayoutDimension* heightAnchor() { return objc_send<"heightAnchor", NSLayoutDimension*>(this); }

    // The safe area: how much of the view lies in the screen's unsafe bands, edge by edge
    // (zero outside a window), and the guide that leaves those parts out.
    UIEdgeInsets safeAreaInsets() const;
    UILayoutGuide* safeAreaLayoutGuide() { return objc_send<"safeAreaLayoutGuide", UILayoutGuide*>(this); }
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
    // (A recognizer is an object; its class is only declared here, hence the plain cast.)
    void addGestureRecognizer(UIGestureRecognizer* recognizer) { objc_send<"addGestureRecognizer:">(this, reinterpret_cast<id>(recognizer)); }
    void removeGestureRecognizer(UIGestureRecognizer*);
    const std::vector<objc::RefPtr<UIGestureRecognizer>>& gestureRecognizers() const { return m_gestureRecognizers; }
    // The front-most descendant (or this view) that takes a touch at `point`, in this
    // view's coordinates: hidden views, views with interaction off and views with alpha
    // below 0.01 take none, and no view takes a point outside its own bounds (a subview
    // protruding from its superview cannot be touched outside the superview).
    UIView* hitTest(CGPoint point);
    bool pointInside(CGPoint point) const;

    // MARK: Animation
    // Animates the animatable properties set inside `animations` (alpha, and a progress
    // view's progress) from their
    // presentation values to the new ones, linearly over `duration` seconds of the run
    // loop's clock. The model values change at once. `completion` runs on the run loop
    // when the duration has passed, with whether the animation finished: false when a
    // later set of the same property on the same view (animated or not) took over before
    // the end. A duration of zero or less applies at once; its completion still runs on
    // the run loop, with true. Without a run loop everything applies at once and the
    // completion runs before this returns.
    // Class methods sent to UIView through the runtime, the C++ callables made into blocks:
    // +animateWithDuration:animations:, ...:animations:completion: and
    // ...:delay:options:animations:completion:.
    using AnimationsBlock = objc::Block<void()>;
    using CompletionBlock = objc::Block<void(bool)>;
    static void animateWithDuration(double duration, std::function<void()> animations, std::function<void(bool)> completion = {})
    {
        auto animationsBlock = animations ? AnimationsBlock::create(std::move(animations)) : nullptr;
        if (!completion) {
            objc_sendToClass<"UIView", "animateWithDuration:animations:">(duration, animationsBlock.get());
            return;
        }
        auto completionBlock = CompletionBlock::create(std::move(completion));
        objc_sendToClass<"UIView", "animateWithDuration:animations:completion:">(duration, animationsBlock.get(), completionBlock.get());
    }
    static void animateWithDuration(double duration, double delay, unsigned long options,
        std::function<void()> animations, std::function<void(bool)> completion)
    {
        auto animationsBlock = animations ? AnimationsBlock::create(std::move(animations)) : nullptr;
        auto completionBlock = completion ? CompletionBlock::create(std::move(completion)) : nullptr;
        objc_sendToClass<"UIView", "animateWithDuration:delay:options:animations:completion:">(duration, delay, options, animationsBlock.get(), completionBlock.get());
    }

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

    // How an animatable property (alpha here, progress in UIProgressView) moves when it is
    // set to `to` while showing `presentation`: inside an animations block it animates with
    // the block; any other set applies at once and takes over from a running animation.
    static void animatePropertyChange(UIViewPropertyAnimation&, double presentation, double to);
    // The same for a property that animates by itself (setProgress:animated:): outside a
    // block it animates over `duration` seconds, in a group of its own.
    static void animatePropertyChange(UIViewPropertyAnimation&, double presentation, double to, double duration);
    // The run loop's time, which presentation values are read at.
    static double animationClock();

    bool m_hidden = false;

private:
    friend class UILayoutEngine;

    static UIView* initWithFrameImp(UIView*, SEL, CGRect);
    static UIView* initImp(UIView*, SEL);
    static void setFrameImp(UIView*, SEL, CGRect);
    static void setHiddenImp(UIView*, SEL, bool);
    static bool isHiddenImp(UIView*, SEL);
    void changeHidden(bool);
    // What the messages above do.
    void _addSubview(UIView*);
    void _removeFromSuperview();
    void _bringSubviewToFront(UIView*);
    void _sendSubviewToBack(UIView*);
    CGRect _frame() const;
    void _setTransform(CGAffineTransform);
    void _setAlpha(CGFloat);
    void _setBackgroundColor(UIColor*);
    void _setTintColor(UIColor*);
    CALayer* _layer() const;
    void _setClipsToBounds(bool);
    void _setTranslatesAutoresizingMaskIntoConstraints(bool);
    UILayoutGuide* _safeAreaLayoutGuide();
    void _addGestureRecognizer(UIGestureRecognizer*);
    static void layoutSubviewsImp(UIView*, SEL);
    static UIView* hitTestImp(UIView*, SEL, CGPoint, id event);
    // What the animation class methods do.
    static void animateNow(double duration, double delay, AnimationsBlock*, CompletionBlock*);

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
