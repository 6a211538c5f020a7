#pragma once
// UIImageView: shows an image. With content mode centre the image keeps its natural size
// around the view's centre and may overflow it (image views do not clip by default).

#include "UIImage.h"
#include "UIView.h"

class UIImageView : public UIView {
    OBJC_INTERFACE(UIImageView)
public:
    UIImageView() = default;

    // -initWithImage: (through the runtime): a frame the size of the image.
    UIImageView* initWithImage(UIImage*);

    UIImage* image() const { return m_image.get(); }
    void setImage(UIImage* image) { objc_send<"setImage:">(this, image); }

    static void registerRuntimeClass();

private:
    static UIImageView* initWithFrameImp(UIImageView*, SEL, CGRect);
    static UIImageView* initWithImageImp(UIImageView*, SEL, id image);

    objc::RefPtr<UIImage> m_image;
};
