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

    std::string descriptionString() const override;

    static void registerRuntimeClass();

private:
    friend class UIView;
    UIView* m_owningView = nullptr;
    UILayoutAnchors m_anchors;
};
