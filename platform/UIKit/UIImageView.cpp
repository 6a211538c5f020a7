#include "UIImageView.h"

UIImageView* UIImageView::initWithImage(UIImage* image)
{
    return static_cast<UIImageView*>(objc_msgSend<id>(this, "initWithImage:"_sel, static_cast<id>(image)));
}

UIImageView* UIImageView::initWithFrameImp(UIImageView* self, SEL cmd, CGRect frame)
{
    objc_msgSendSuper<id>(UIView::staticClass(), self, cmd, frame);
    // Image views take no touches unless asked to, as in UIKit.
    self->setUserInteractionEnabled(false);
    return self;
}

UIImageView* UIImageView::initWithImageImp(UIImageView* self, SEL, id image)
{
    auto* uiImage = objc_cast<UIImage>(image);
    CGSize size = uiImage ? uiImage->size() : CGSizeZero;
    self->initWithFrame({ CGPointZero, size });
    self->setImage(uiImage);
    return self;
}

void UIImageView::registerRuntimeClass()
{
    Class cls = objc::defineClass<UIImageView>("UIImageView", UIView::staticClass());
    objc::addMethod(cls, "initWithFrame:", &initWithFrameImp);
    objc::addMethod(cls, "initWithImage:", &initWithImageImp);
    objc::addMethod(cls, "setImage:", +[](UIImageView* self, SEL, UIImage* image) { self->m_image = image; });
}
