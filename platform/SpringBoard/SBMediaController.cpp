#include "SBMediaController.h"

#include "Foundation/NSNumber.h"

SBMediaController* SBMediaController::sharedInstance()
{
    return static_cast<SBMediaController*>(objc_msgSend<id>(staticClass(), "sharedInstance"_sel));
}

id SBMediaController::sharedInstanceImp(Class, SEL)
{
    static SBMediaController* shared = [] {
        auto controller = SBMediaController::alloc();
        objc_msgSend<id>(controller.get(), "init"_sel);
        // Lives as long as the process, like SpringBoard's own.
        return controller.leakRef();
    }();
    return shared;
}

bool SBMediaController::isPlaying() const
{
    return objc_msgSend<bool>(const_cast<SBMediaController*>(this), "isPlaying"_sel);
}

void SBMediaController::setNowPlayingInfo(NSDictionary* info)
{
    objc_msgSend(this, "setNowPlayingInfo:"_sel, info);
}

bool SBMediaController::isPlayingImp(SBMediaController* self, SEL)
{
    // Playing means a record with a positive playback rate.
    if (!self->m_info)
        return false;
    auto rate = objc_cast<NSNumber>(self->m_info->objectForKey("kMRMediaRemoteNowPlayingInfoPlaybackRate"));
    return rate && rate->doubleValue() > 0;
}

void SBMediaController::setNowPlayingInfoImp(SBMediaController* self, SEL, id info)
{
    self->m_info = objc_cast<NSDictionary>(info);
}

void SBMediaController::registerRuntimeClass()
{
    Class cls = objc::defineClass<SBMediaController>("SBMediaController", NSObject::staticClass());
    objc::addMethod(objc_getMetaClass("SBMediaController"), "sharedInstance", &sharedInstanceImp);
    objc::addMethod(cls, "isPlaying", &isPlayingImp);
    objc::addMethod(cls, "setNowPlayingInfo:", &setNowPlayingInfoImp);
}
