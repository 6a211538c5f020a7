#pragma once
// The anchors of one layout item (a view or a layout guide), made on first use and kept
// by the item, so asking twice gives the same anchor. Not a runtime class: a part that
// UIView and UILayoutGuide both hold.

#include "NSLayoutDimension.h"
#include "NSLayoutXAxisAnchor.h"
#include "NSLayoutYAxisAnchor.h"

class UILayoutAnchors {
public:
    NSLayoutXAxisAnchor* left(NSObject* owner) { return anchor(m_left, owner, NSLayoutAttributeLeft); }
    NSLayoutXAxisAnchor* right(NSObject* owner) { return anchor(m_right, owner, NSLayoutAttributeRight); }
    NSLayoutXAxisAnchor* leading(NSObject* owner) { return anchor(m_leading, owner, NSLayoutAttributeLeading); }
    NSLayoutXAxisAnchor* trailing(NSObject* owner) { return anchor(m_trailing, owner, NSLayoutAttributeTrailing); }
    NSLayoutXAxisAnchor* centerX(NSObject* owner) { return anchor(m_centerX, owner, NSLayoutAttributeCenterX); }
    NSLayoutYAxisAnchor* top(NSObject* owner) { return anchor(m_top, owner, NSLayoutAttributeTop); }
    NSLayoutYAxisAnchor* bottom(NSObject* owner) { return anchor(m_bottom, owner, NSLayoutAttributeBottom); }
    NSLayoutYAxisAnchor* centerY(NSObject* owner) { return anchor(m_centerY, owner, NSLayoutAttributeCenterY); }
    NSLayoutDimension* width(NSObject* owner) { return anchor(m_width, owner, NSLayoutAttributeWidth); }
    NSLayoutDimension* height(NSObject* owner) { return anchor(m_height, owner, NSLayoutAttributeHeight); }

private:
    template<typename Anchor>
    static Anchor* anchor(objc::RefPtr<Anchor>& slot, NSObject* owner, NSLayoutAttribute attribute)
    {
        if (!slot) {
            slot = Anchor::alloc();
            slot->setUp(owner, attribute);
        }
        return slot.get();
    }

    objc::RefPtr<NSLayoutXAxisAnchor> m_left, m_right, m_leading, m_trailing, m_centerX;
    objc::RefPtr<NSLayoutYAxisAnchor> m_top, m_bottom, m_centerY;
    objc::RefPtr<NSLayoutDimension> m_width, m_height;
};
