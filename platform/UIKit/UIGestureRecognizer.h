#pragma once
// UIGestureRecognizer: turns a touch on its view into an action message to its targets.
//
// Targets are held weakly, as UIKit does (a recognizer's target is usually the view
// controller that owns the view that owns the recognizer; a strong reference would make
// a cycle). A target that has gone away is skipped. Actions are sent through the
// runtime: an action whose selector takes an argument gets the recognizer.

#include "CoreGraphics/CGGeometry.h"
#include "Foundation/NSObject.h"

#include <vector>

class UIView;

enum UIGestureRecognizerState : long {
    UIGestureRecognizerStatePossible = 0,
    UIGestureRecognizerStateBegan = 1,
    UIGestureRecognizerStateChanged = 2,
    UIGestureRecognizerStateEnded = 3,
    UIGestureRecognizerStateCancelled = 4,
    UIGestureRecognizerStateFailed = 5,
    UIGestureRecognizerStateRecognized = UIGestureRecognizerStateEnded,
};

// A finished touch sequence, as touch delivery hands it to recognizers. Points are in
// the coordinates of `root`, the top of the tree the touch was delivered to.
struct UIGesture {
    enum class Kind {
        Tap,
        Swipe
    };
    Kind kind = Kind::Tap;
    unsigned tapCount = 1;
    CGPoint start;
    CGPoint end;
    UIView* root = nullptr;
};

class UIGestureRecognizer : public NSObject {
    OBJC_INTERFACE(UIGestureRecognizer)
public:
    UIGestureRecognizer() = default;

    // -initWithTarget:action: (sent through the runtime; returns the receiver, borrowed).
    UIGestureRecognizer* initWithTarget(NSObject* target, SEL action)
    {
        return static_cast<UIGestureRecognizer*>(objc_send<"initWithTarget:action:", id>(this, static_cast<id>(target), action));
    }
    void addTarget(NSObject* target, SEL action);
    void removeTarget(NSObject* target, SEL action);

    // The view the recognizer is attached to (borrowed; the view keeps the recognizer).
    UIView* view() const { return m_view; }
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled) { m_enabled = enabled; }
    UIGestureRecognizerState state() const { return m_state; }

    // Where the gesture happened, in `view`'s coordinates (the window's for null). A
    // swipe's location is where it began.
    // (-locationInView:, through the runtime; a view is an object, declared only here.)
    CGPoint locationInView(UIView* view) const { return objc_send<"locationInView:", CGPoint>(this, reinterpret_cast<id>(view)); }

    // The first target-action pair, for dumps: the selector name, or empty.
    std::string actionName() const;
    NSObject* target() const;

    // Whether this recognizer takes the gesture (kind, taps, direction).
    virtual bool recognizes(const UIGesture&) const { return false; }
    // Records the gesture and sends every action. Touch delivery calls it.
    void recognize(const UIGesture&);

    std::string descriptionString() const override;

    // For UIView, which keeps the recognizer.
    void setView(UIView* view) { m_view = view; }

    static void registerRuntimeClass();

private:
    CGPoint locationInViewNow(UIView*) const;
    static UIGestureRecognizer* initWithTargetImp(UIGestureRecognizer*, SEL, id target, SEL action);

    struct TargetAction {
        objc::WeakPtr<NSObject> target;
        SEL action;
    };
    std::vector<TargetAction> m_targets;
    UIView* m_view = nullptr;
    bool m_enabled = true;
    UIGestureRecognizerState m_state = UIGestureRecognizerStatePossible;

    objc::WeakPtr<UIView> m_root;
    CGPoint m_location;
};
