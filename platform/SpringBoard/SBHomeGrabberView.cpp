#include "SBHomeGrabberView.h"

#include "MTLumaDodgePillView.h"

#include "UIKit/UIDeviceProfile.h"

id SBHomeGrabberView::initWithFrameImp(SBHomeGrabberView* self, SEL cmd, CGRect frame)
{
    objc_msgSendSuper<id>(UIView::staticClass(), self, cmd, frame);
    self->m_pill = MTLumaDodgePillView::alloc();
    self->m_pill->initWithFrame(CGRectZero);
    self->addSubview(self->m_pill.get());
    return self;
}

void SBHomeGrabberView::layoutSubviewsImp(SBHomeGrabberView* self, SEL cmd)
{
    objc_msgSendSuper(UIView::staticClass(), self, cmd);
    CGRect indicator = UIDeviceProfile::current().homeIndicatorFrame();
    CGRect frame = self->frame();
    indicator.origin.x -= frame.origin.x;
    indicator.origin.y -= frame.origin.y;
    self->m_pill->setFrame(indicator);
}

void SBHomeGrabberView::bounce()
{
    objc_msgSend(this, "_bounce"_sel);
}

void SBHomeGrabberView::attentionLost(double timeout)
{
    objc_msgSend(this, "client:attentionLostTimeoutDidExpire:forConfigurationGeneration:withAssociatedObject:"_sel,
        static_cast<id>(nullptr), timeout, m_configurationGeneration, static_cast<id>(nullptr));
}

void SBHomeGrabberView::attentionReset()
{
    objc_msgSend(this, "clientDidResetForUserAttention:"_sel, static_cast<id>(nullptr));
}

void SBHomeGrabberView::bounceImp(SBHomeGrabberView* self, SEL)
{
    // The grabber nudges upwards to hint that the app can be swiped away.
    ++self->m_bounceCount;
}

void SBHomeGrabberView::attentionLostImp(SBHomeGrabberView* self, SEL, id, double, unsigned long long, id)
{
    self->m_pillHidden = true;
    self->m_pill->setHidden(true);
}

void SBHomeGrabberView::attentionResetImp(SBHomeGrabberView* self, SEL, id)
{
    self->m_pillHidden = false;
    ++self->m_configurationGeneration;
    self->m_pill->setHidden(false);
}

void SBHomeGrabberView::registerRuntimeClass()
{
    Class cls = objc::defineClass<SBHomeGrabberView>("SBHomeGrabberView", UIView::staticClass());
    objc::addMethod(cls, "initWithFrame:", &initWithFrameImp);
    objc::addMethod(cls, "layoutSubviews", &layoutSubviewsImp);
    objc::addMethod(cls, "_bounce", &bounceImp);
    objc::addMethod(cls, "client:attentionLostTimeoutDidExpire:forConfigurationGeneration:withAssociatedObject:", &attentionLostImp);
    objc::addMethod(cls, "clientDidResetForUserAttention:", &attentionResetImp);
}
