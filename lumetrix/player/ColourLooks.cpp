#include "ColourLooks.h"

#include "PlayerProperties.h"
#include "nowplaying/AverageColor.h"
#include "nowplaying/NowPlaying.h"
#include "startup/Globals.h"

#include "Foundation/NSString.h"
#include "Foundation/NSDictionary.h"
#include "Foundation/NSNotification.h"
#include "UIKit/UIColor.h"
#include "UIKit/UILabel.h"
#include "UIKit/UIProgressView.h"
#include "UIKit/UIView.h"

namespace lumetrix {

namespace {

// The title stays readable on light artwork: dark text once the colour is bright.
constexpr double kBrightnessThreshold = 0.5;

objc::RefPtr<UIColor> titleColourOn(UIColor* colour)
{
    return perceivedBrightness(colour) < kBrightnessThreshold ? UIColor::whiteColor() : UIColor::blackColor();
}

} // namespace

bool colourIsLive()
{
    return nowPlayingIsPlaying() || !restorehomebartowhite;
}

void applyColouredLook(id host, UIColor* colour)
{
    if (songtitlebg) {
        if (UIView* backdrop = labelbg(host))
            backdrop->setBackgroundColor(colour);
        if (UILabel* title = label(host))
            title->setTextColor(titleColourOn(colour).get());
    }
    if (UIView* row = subView(host))
        row->setBackgroundColor(colour);
}

void applyNeutralLook(id host)
{
    if (songtitlebg) {
        if (UIView* backdrop = labelbg(host))
            backdrop->setBackgroundColor(UIColor::clearColor().get());
        if (UILabel* title = label(host))
            title->setTextColor(UIColor::labelColor().get());
    }
    if (UIView* row = subView(host))
        row->setBackgroundColor(UIColor::clearColor().get());
}

bool applyNeutralLookWhenIdle(id host, UIProgressView* strip)
{
    if (!dynamicenabled || colourIsLive())
        return false;
    if (strip)
        strip->setProgressTintColor(UIColor::whiteColor().get());
    applyNeutralLook(host);
    return true;
}

UIColor* notifiedColour(id notification)
{
    auto posted = objc_cast<NSNotification>(notification);
    NSDictionary* userInfo = posted ? posted->userInfo() : nullptr;
    return userInfo ? objc_cast<UIColor>(userInfo->objectForKey("bgcolor1")) : nullptr;
}

void applyArtworkColour(id host, NSDictionary* info)
{
    if (!dynamicenabled)
        return;
    // Not live: the in-app strip turns white whatever homebardynamic says.
    UIProgressView* strip = progressView(host);
    if (applyNeutralLookWhenIdle(host, strip))
        return;
    UIColor* colour = artworkColour(info);
    if (!colour)
        return;
    if (homebardynamic && strip)
        strip->setProgressTintColor(colour);
    applyColouredLook(host, colour);
}

} // namespace lumetrix
