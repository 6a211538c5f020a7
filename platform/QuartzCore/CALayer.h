#pragma once
// CALayer: the drawing half of a view. Only what views here use: corner rounding and
// whether the layer clips its sublayers (UIView's clipsToBounds is the same switch).

#include "CoreGraphics/CGGeometry.h"
#include "Foundation/NSObject.h"

class CALayer : public NSObject {
    OBJC_INTERFACE(CALayer)
public:
    CALayer() = default;

    CGFloat cornerRadius() const { return m_cornerRadius; }
    void setCornerRadius(CGFloat radius) { objc_send<"setCornerRadius:">(this, radius); }
    bool masksToBounds() const { return m_masksToBounds; }
    void setMasksToBounds(bool masks) { objc_send<"setMasksToBounds:">(this, masks); }

    static void registerRuntimeClass();

private:
    CGFloat m_cornerRadius = 0;
    bool m_masksToBounds = false;
};
