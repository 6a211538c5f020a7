#include "CSHomeAffordanceView.h"

#include "MTLumaDodgePillView.h"

#include "UIKit/UIDeviceProfile.h"

namespace {
constexpr CGFloat kBandHeight = 21;
}

CGRect CSHomeAffordanceView::frameForScreen(CGRect screen)
{
    return CGRectMake(0, CGRectGetMaxY(screen) - kBandHeight, CGRectGetWidth(screen), kBandHeight);
}

void CSHomeAffordanceView::createStaticHomeAffordance()
{
    objc_msgSend(this, "_createStaticHomeAffordance"_sel);
}

void CSHomeAffordanceView::createStaticHomeAffordanceImp(CSHomeAffordanceView* self, SEL)
{
    if (self->m_pill)
        return;
    self->m_pill = MTLumaDodgePillView::alloc();
    self->m_pill->initWithFrame(CGRectZero);
    self->addSubview(self->m_pill.get());
    self->setNeedsLayout();
}

void CSHomeAffordanceView::layoutSubviewsImp(CSHomeAffordanceView* self, SEL cmd)
{
    objc_msgSendSuper(UIView::staticClass(), self, cmd);
    if (!self->m_pill)
        return;
    // The pill sits where the device puts its home indicator, in this band's coordinates.
    CGRect indicator = UIDeviceProfile::current().homeIndicatorFrame();
    CGRect band = self->frame();
    indicator.origin.x -= band.origin.x;
    indicator.origin.y -= band.origin.y;
    self->m_pill->setFrame(indicator);
}

id CSHomeAffordanceView::overrideColorImp(CSHomeAffordanceView* self, SEL)
{
    return self->m_overrideColor.get();
}

void CSHomeAffordanceView::setOverrideColorImp(CSHomeAffordanceView* self, SEL, id color)
{
    self->m_overrideColor = static_cast<NSObject*>(color);
}

void CSHomeAffordanceView::registerRuntimeClass()
{
    Class cls = objc::defineClass<CSHomeAffordanceView>("CSHomeAffordanceView", UIView::staticClass());
    objc::addMethod(cls, "layoutSubviews", &layoutSubviewsImp);
    objc::addMethod(cls, "_createStaticHomeAffordance", &createStaticHomeAffordanceImp);
    objc::addMethod(cls, "overrideColor", &overrideColorImp);
    objc::addMethod(cls, "setOverrideColor:", &setOverrideColorImp);
}
