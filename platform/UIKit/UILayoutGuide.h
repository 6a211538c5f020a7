#pragma once
// UILayoutGuide: a rectangle that takes part in layout without being a view. The only
// guide views make here is the safe-area guide: the owning view's bounds less the parts
// lying in the screen's unsafe bands (see UIView::safeAreaInsets).

#include "Foundation/NSObject.h"
#include "UIGeometry.h"
#include "UILayoutAnchors.h"

class UIView;

class UILayoutGuide : public NSObject {
    OBJC_INTERFACE(UILayoutGuide)
public:
    UILayoutGuide() = default;

    // Borrowed; the owning view keeps the guide and clears this when it dies.
    UIView* owningView() const { return m_owningView; }
    // In the owning view's coordinates, from its current geometry.
    CGRect layoutFrame() const;

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

    std::string descriptionString() const override;

    static void registerRuntimeClass();

private:
    friend class UIView;
    UIView* m_owningView = nullptr;
    UILayoutAnchors m_anchors;
};
