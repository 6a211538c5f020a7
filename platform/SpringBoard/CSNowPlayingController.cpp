#include "CSNowPlayingController.h"

#include "UIKit/UIColor.h"
#include "UIKit/UIDeviceProfile.h"
#include "UIKit/UIView.h"

namespace {
// The media platter of the lock screen, under the clock.
constexpr CGRect kPlatterFrame { { 8, 200 }, { 359, 170 } };
} // namespace

void CSMediaControlsViewController::loadViewImp(CSMediaControlsViewController* self, SEL)
{
    auto platter = UIView::alloc();
    CGRect screen = UIDeviceProfile::current().screenBounds();
    platter->initWithFrame(CGRectMake(kPlatterFrame.origin.x, kPlatterFrame.origin.y, CGRectGetWidth(screen) - 2 * kPlatterFrame.origin.x, kPlatterFrame.size.height));
    platter->setBackgroundColor(UIColor::colorWithWhite(1, 0.3));
    self->setView(platter.get());
}

void CSMediaControlsViewController::registerRuntimeClass()
{
    Class cls = objc::defineClass<CSMediaControlsViewController>("CSMediaControlsViewController", UIViewController::staticClass());
    objc::addMethod(cls, "loadView", &loadViewImp);
}

UIViewController* CSNowPlayingController::controlsViewController()
{
    return static_cast<UIViewController*>(objc_msgSend<id>(this, "controlsViewController"_sel));
}

id CSNowPlayingController::controlsViewControllerImp(CSNowPlayingController* self, SEL)
{
    ++self->m_answeredRequests;
    if (!self->m_controls) {
        self->m_controls = CSMediaControlsViewController::alloc();
        self->m_controls->init();
    }
    return self->m_controls.get();
}

void CSNowPlayingController::registerRuntimeClass()
{
    Class cls = objc::defineClass<CSNowPlayingController>("CSNowPlayingController", NSObject::staticClass());
    objc::addMethod(cls, "controlsViewController", &controlsViewControllerImp);
}
