#include "ProgressStrip.h"

#include "PlayerProperties.h"
#include "nowplaying/NowPlaying.h"
#include "nowplaying/PlaybackPosition.h"
#include "startup/Globals.h"

#include "Foundation/NSLog.h"
#include "UIKit/NSLayoutConstraint.h"
#include "UIKit/UIColor.h"
#include "UIKit/UILayoutGuide.h"
#include "UIKit/UIProgressView.h"
#include "UIKit/UIScreen.h"

#include <cmath>

namespace lumetrix {

objc::RefPtr<UIProgressView> makeProgressStrip(UIColor* track)
{
    auto strip = UIProgressView::alloc();
    strip->initWithProgressViewStyle(UIProgressViewStyleBar);
    strip->setProgress(0.0);
    strip->layer()->setCornerRadius(kStripCornerRadius);
    strip->layer()->setMasksToBounds(true);
    strip->setClipsToBounds(true);
    strip->setTranslatesAutoresizingMaskIntoConstraints(false);
    strip->setTrackTintColor(track);
    strip->setProgressTintColor(UIColor::whiteColor());
    return strip;
}

void placeProgressStrip(UIProgressView* strip, UIView* superview, UILayoutGuide* guide, CGFloat offset)
{
    superview->addSubview(strip);
    NSLayoutConstraint::activateConstraints({
        strip->centerYAnchor()->constraintEqualToAnchor(guide->centerYAnchor(), offset),
        strip->centerXAnchor()->constraintEqualToAnchor(guide->centerXAnchor()),
        strip->widthAnchor()->constraintEqualToConstant(stripWidth()),
        strip->heightAnchor()->constraintEqualToConstant(kStripHeight),
    });
    strip->setProgress(kStripFull);
}

CGFloat stripWidth()
{
    float width = objc_send<"floatValue", float>(barwidth);
    CGFloat screenWidth = UIScreen::mainScreen()->bounds().size.width;
    // A NaN or infinite width gives the strip a frame of NaNs and it vanishes; a negative
    // one would be drawn as its size.
    if (std::isfinite(width) && width > 0 && width <= screenWidth)
        return width;
    // 0 lands here too: it is how the pane asks for the standard width.
    NSLog("Lumetrix: barwidth %@ is not a width greater than 0 and at most the screen's %g points; the strip is %g points wide", barwidth, screenWidth, kDefaultStripWidth);
    return kDefaultStripWidth;
}

void refreshProgressStrip(id host)
{
    requestNowPlayingInfoWeakly(host, [](id alive, NSDictionary* info) {
        showPlayedFraction(progressView(alive), info);
    });
}

void showPlayedFraction(UIProgressView* strip, NSDictionary* info)
{
    Playhead playhead = nowPlayingIsPlaying() ? Playhead::Moving : Playhead::Still;
    std::optional<double> fraction = playedFraction(info, playhead);
    if (fraction && strip)
        strip->setProgress(static_cast<float>(*fraction));
}

} // namespace lumetrix
