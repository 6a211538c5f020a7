#include "CSTeachableMomentsContainerView.h"

#include "Foundation/NSString.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIFont.h"
#include "UIKit/UILabel.h"

namespace {
// The call to action sits above the home indicator, across the screen.
constexpr CGFloat kLabelHeight = 20;
constexpr CGFloat kLabelBottomInset = 40;
} // namespace

id CSTeachableMomentsContainerView::initWithFrameImp(CSTeachableMomentsContainerView* self, SEL cmd, CGRect frame)
{
    objc_msgSendSuper<id>(SBFTouchPassThroughView::staticClass(), self, cmd, frame);
    self->m_callToActionLabel = UILabel::alloc();
    self->m_callToActionLabel->initWithFrame(CGRectZero);
    self->m_callToActionLabel->setText("Swipe up to open"_ns);
    self->m_callToActionLabel->setFont(UIFont::systemFontOfSize(15));
    self->m_callToActionLabel->setTextColor(UIColor::whiteColor());
    self->m_callToActionLabel->setTextAlignment(NSTextAlignmentCenter);
    self->addSubview(self->m_callToActionLabel.get());
    return self;
}

void CSTeachableMomentsContainerView::layoutSubviewsImp(CSTeachableMomentsContainerView* self, SEL cmd)
{
    objc_msgSendSuper(SBFTouchPassThroughView::staticClass(), self, cmd);
    CGRect bounds = self->bounds();
    self->m_callToActionLabel->setFrame(CGRectMake(0, CGRectGetMaxY(bounds) - kLabelBottomInset - kLabelHeight, CGRectGetWidth(bounds), kLabelHeight));
}

id CSTeachableMomentsContainerView::callToActionLabelImp(CSTeachableMomentsContainerView* self, SEL)
{
    return self->m_callToActionLabel.get();
}

id SBFTouchPassThroughView::hitTestImp(SBFTouchPassThroughView* self, SEL cmd, CGPoint point, id event)
{
    id hit = objc_msgSendSuper<id>(UIView::staticClass(), self, cmd, point, event);
    return hit == self ? nullptr : hit;
}

void SBFTouchPassThroughView::registerRuntimeClass()
{
    Class cls = objc::defineClass<SBFTouchPassThroughView>("SBFTouchPassThroughView", UIView::staticClass());
    objc::addMethod(cls, "hitTest:withEvent:", &hitTestImp);
}

void CSTeachableMomentsContainerView::registerRuntimeClass()
{
    Class cls = objc::defineClass<CSTeachableMomentsContainerView>("CSTeachableMomentsContainerView", SBFTouchPassThroughView::staticClass());
    objc::addMethod(cls, "initWithFrame:", &initWithFrameImp);
    objc::addMethod(cls, "layoutSubviews", &layoutSubviewsImp);
    objc::addMethod(cls, "callToActionLabel", &callToActionLabelImp);
}
