#pragma once
// UIView: a rectangle in a tree of views.
//
// Ownership follows the tree: a view keeps its subviews (strong references, in order,
// front-most last) and knows its superview through a raw back-pointer that the superview
// clears when it lets the child go. Geometry is kept as UIKit keeps it, as a centre, the
// bounds and a transform; the frame is derived from them.

#include "CoreGraphics/CGGeometry.h"
#include "QuartzCore/CALayer.h"
#include "UIColor.h"
#include "UIGeometry.h"
#include "UIResponder.h"

#include <vector>

class UIWindow;

using UIViewAutoresizing = unsigned long;
inline constexpr UIViewAutoresizing UIViewAutoresizingNone = 0;
inline constexpr UIViewAutoresizing UIViewAutoresizingFlexibleLeftMargin = 1 << 0;
inline constexpr UIViewAutoresizing UIViewAutoresizingFlexibleWidth = 1 << 1;
inline constexpr UIViewAutoresizing UIViewAutoresizingFlexibleRightMargin = 1 << 2;
inline constexpr UIViewAutoresizing UIViewAutoresizingFlexibleTopMargin = 1 << 3;
inline constexpr UIViewAutoresizing UIViewAutoresizingFlexibleHeight = 1 << 4;
inline constexpr UIViewAutoresizing UIViewAutoresizingFlexibleBottomMargin = 1 << 5;

class UIView : public UIResponder {
    OBJC_INTERFACE(UIView)
public:
    UIView() = default;
    ~UIView() override;

    // -initWithFrame:, sent through the runtime (subclasses and hooks replace it).
    // Returns the receiver, borrowed.
    UIView* initWithFrame(CGRect);
    // -init: initWithFrame: with the zero rectangle.
    UIView* init();

    // The tree.
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

    // Geometry. setFrame: goes through the runtime (a window subclass hooks it).
    CGRect frame() const;
    void setFrame(CGRect);
    CGRect bounds() const { return m_bounds; }
    void setBounds(CGRect);
    CGPoint center() const { return m_center; }
    void setCenter(CGPoint);
    CGAffineTransform transform() const { return m_transform; }
    void setTransform(CGAffineTransform transform) { m_transform = transform; }

    // Appearance.
    bool isHidden() const { return m_hidden; }
    void setHidden(bool);
    CGFloat alpha() const { return m_alpha; }
    void setAlpha(CGFloat);
    UIColor* backgroundColor() const { return m_backgroundColor.get(); }
    void setBackgroundColor(UIColor*);
    // The view's layer, made with the view. Rounding and clipping live there.
    CALayer* layer() const;
    // The same switch as layer().masksToBounds, as in UIKit.
    bool clipsToBounds() const;
    void setClipsToBounds(bool);
    bool isUserInteractionEnabled() const { return m_userInteractionEnabled; }
    void setUserInteractionEnabled(bool enabled) { m_userInteractionEnabled = enabled; }

    // Autoresizing, and whether the frame is fixed by it (on, the default) or left to
    // constraints.
    UIViewAutoresizing autoresizingMask() const { return m_autoresizingMask; }
    void setAutoresizingMask(UIViewAutoresizing mask) { m_autoresizingMask = mask; }
    bool translatesAutoresizingMaskIntoConstraints() const { return m_translatesAutoresizingMask; }
    void setTranslatesAutoresizingMaskIntoConstraints(bool);

    // Layout. layoutSubviews is sent through the runtime during a layout pass.
    void setNeedsLayout();
    void layoutIfNeeded();
    void layoutSubviews();
    bool needsLayout() const { return m_needsLayout; }

    // Defines the runtime class and its methods (registerUIKitClasses calls it).
    static void registerRuntimeClass();

protected:
    // Called after the hidden flag changed.
    virtual void didChangeHidden() { }

    bool m_hidden = false;

private:
    static UIView* initWithFrameImp(UIView*, SEL, CGRect);
    static UIView* initImp(UIView*, SEL);
    static void setFrameImp(UIView*, SEL, CGRect);
    static void layoutSubviewsImp(UIView*, SEL);

    void detachFromSuperview();

    UIView* m_superview = nullptr;
    std::vector<objc::RefPtr<UIView>> m_subviews;

    CGPoint m_center;
    CGRect m_bounds;
    CGAffineTransform m_transform;

    CGFloat m_alpha = 1;
    objc::RefPtr<UIColor> m_backgroundColor;
    mutable objc::RefPtr<CALayer> m_layer;
    bool m_userInteractionEnabled = true;
    UIViewAutoresizing m_autoresizingMask = UIViewAutoresizingNone;
    bool m_translatesAutoresizingMask = true;

    bool m_needsLayout = true;
    bool m_subtreeNeedsLayout = true;
};
