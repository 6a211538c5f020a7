#pragma once
// SpringBoard's view of the now-playing application: told of every change of the
// now-playing record, it answers whether something is playing.

#include "Foundation/NSDictionary.h"

class SBMediaController : public NSObject {
    OBJC_INTERFACE(SBMediaController)
public:
    SBMediaController() = default;

    // +sharedInstance, through the runtime: one per SpringBoard process, made on first use.
    static SBMediaController* sharedInstance();

    bool isPlaying() const;
    NSDictionary* nowPlayingInfo() const { return m_info.get(); }
    // Sent through the runtime by the now-playing service on every change.
    void setNowPlayingInfo(NSDictionary*);

    static void registerRuntimeClass();

private:
    static id sharedInstanceImp(Class, SEL);
    static bool isPlayingImp(SBMediaController*, SEL);
    static void setNowPlayingInfoImp(SBMediaController*, SEL, id);

    objc::RefPtr<NSDictionary> m_info;
};
