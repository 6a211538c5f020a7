#pragma once
// The home grabber of a full-screen app: the pill along the bottom edge. It hides when the
// user has not touched the app for a while (attention lost) and comes back on a touch.

#include "UIKit/UIView.h"

#include "MTLumaDodgePillView.h"

class SBHomeGrabberView : public UIView {
    OBJC_INTERFACE(SBHomeGrabberView)
public:
    SBHomeGrabberView() = default;

    MTLumaDodgePillView* pillView() const { return m_pill.get(); }
    bool isPillHidden() const { return m_pillHidden; }
    unsigned bounceCount() const { return m_bounceCount; }

    // The attention-awareness client's callbacks and the bounce request, sent through the
    // runtime as SpringBoard's attention client and gesture code send them.
    void attentionLost(double timeout);
    void attentionReset();
    void bounce();

    static void registerRuntimeClass();

private:
    static id initWithFrameImp(SBHomeGrabberView*, SEL, CGRect);
    static void layoutSubviewsImp(SBHomeGrabberView*, SEL);
    static void bounceImp(SBHomeGrabberView*, SEL);
    static void attentionLostImp(SBHomeGrabberView*, SEL, id client, double timeout, unsigned long long generation, id associatedObject);
    static void attentionResetImp(SBHomeGrabberView*, SEL, id client);

    objc::RefPtr<MTLumaDodgePillView> m_pill;
    bool m_pillHidden = false;
    unsigned m_bounceCount = 0;
    unsigned long long m_configurationGeneration = 0;
};
