#include "ControlRowBehaviour.h"

#include "PlayerGeometry.h"
#include "PlayerProperties.h"
#include "nowplaying/NowPlaying.h"
#include "startup/Globals.h"

#include "Foundation/NSDictionary.h"
#include "Foundation/NSLog.h"
#include "Foundation/NSString.h"
#include "Foundation/NSTimer.h"
#include "MediaRemote/MediaRemote.h"
#include "UIKit/UIImage.h"
#include "UIKit/UIImageSymbolConfiguration.h"
#include "UIKit/UIImageView.h"
#include "UIKit/UILabel.h"
#include "UIKit/UIView.h"
#include "AudioToolbox/AudioServices.h"
#include "dispatch/dispatch.h"

#include <algorithm>
#include <cmath>

namespace lumetrix {

namespace {

constexpr double kGlyphRefreshDelay = 0.1;

// The seconds the row stays up. Foundation turns intervals of zero or less into its
// minimum; a value that is not a number is treated as zero too, and one beyond a century
// (infinity included) as a century, so the fade-out timer always has a real time.
constexpr double kLongestRowLifetime = 100 * 365.25 * 24 * 3600;

double rowLifetime()
{
    double seconds = static_cast<double>(objc_send<"floatValue", float>(fadeoutspeed));
    if (std::isnan(seconds))
        return 0.0;
    return std::min(seconds, kLongestRowLifetime);
}

// The player's pending fade-out timer. There is at most one: a row raised again after a
// hide request cut it short would otherwise be dismissed by the earlier tap's timer.
const char kFadeOutTimerKey = 0;

// The fade-out timer targets the controller through a weak reference, so a closed app's
// controller is not kept alive by a pending fade (the controller keeps the timer).
void armFadeOutTimer(id host)
{
    if (auto pending = objc_cast<NSTimer>(objc_getAssociatedObject(host, &kFadeOutTimerKey)))
        pending->invalidate();
    objc::WeakPtr<objc::Object> weakHost = host;
    NSTimer* armed = NSTimer::scheduledTimerWithTimeInterval(rowLifetime(), false, [weakHost](NSTimer* timer) {
        if (auto alive = weakHost.strong())
            objc_send<"dismissControls:">(alive.get(), timer);
    });
    objc_setAssociatedObject(host, &kFadeOutTimerKey, armed, OBJC_ASSOCIATION_RETAIN_NONATOMIC);
}

void raiseControlRow(id host)
{
    AudioServicesPlaySystemSound(kClickSound);
    objc_send<"playpausenotif">(host);
    objc_send<"updateMedia">(host);
    UIView* row = subView(host);
    UILabel* title = label(host);
    row->setAlpha(0.0);
    title->setAlpha(0.0);
    row->setHidden(false);
    title->setHidden(false);
    labelbg(host)->setHidden(false);
    objc::RefPtr<UIView> keptRow = row;
    objc::RefPtr<UILabel> keptTitle = title;
    UIView::animateWithDuration(kRowFadeDuration, [keptRow, keptTitle] {
        keptRow->setAlpha(1.0);
        keptTitle->setAlpha(1.0);
    }, [](bool) {});
    armFadeOutTimer(host);
}

// Across the touch target: previous, play/pause, next, with dead bands between them
// where a tap does nothing.
void actByZone(double x)
{
    if (x < kPreviousZoneEnd)
        sendPlaybackCommand(kMRPreviousTrack);
    if (x > kCentreZoneStart && x < kCentreZoneEnd) {
        // The first centre tap plays, unless music plays already (after a boot or a
        // respring): then "play" would click and change nothing, so it toggles like every
        // later tap.
        bool first = !initialStart;
        initialStart = true;
        sendPlaybackCommand(first && !nowPlayingIsPlaying() ? kMRPlay : kMRTogglePlayPause);
    }
    if (x > kNextZoneStart)
        sendPlaybackCommand(kMRNextTrack);
}

} // namespace

void refreshPlayPauseGlyphSoon(id host)
{
    objc::WeakPtr<objc::Object> weakHost = host;
    dispatch_after(dispatch_time(DISPATCH_TIME_NOW, static_cast<int64_t>(kGlyphRefreshDelay * NSEC_PER_SEC)), dispatch_get_main_queue(), [weakHost] {
        auto alive = weakHost.strong();
        if (!alive)
            return;
        bool playing = nowPlayingIsPlaying();
        auto configuration = UIImageSymbolConfiguration::configurationWithPointSize(kGlyphPointSize);
        if (UIImageView* glyph = pauseicon(alive.get()))
            glyph->setImage(UIImage::systemImageNamed(playing ? "pause.fill" : "play.fill", configuration.get()));
    });
}

void showTitle(id host, NSDictionary* info)
{
    if (!info)
        return;
    NSObject* title = info->objectForKey(kMRMediaRemoteNowPlayingInfoTitle);
    NSObject* artist = info->objectForKey(kMRMediaRemoteNowPlayingInfoArtist);
    if (!title || !artist)
        return;
    if (UILabel* text = label(host))
        text->setText(NSString::stringWithFormat("%@ - %@", title, artist).get());
}

void handleTap(id host, double x)
{
    if (subView(host)->isHidden()) {
        raiseControlRow(host);
        return;
    }
    // A tap on a visible row neither restarts nor cancels the pending fade-out.
    actByZone(x);
}

void handleSwipe(SkipDirection direction)
{
    // Part of the tweak's observable output, logged on every swipe: not a debug leftover.
    NSLog("KAKAPIPI HALLL ");
    sendSkipCommand(direction == SkipDirection::Back ? kMRSkipBackward : kMRSkipForward);
}

void dismissControls(id host, NSTimer* timer, InvalidateTimer when)
{
    objc::RefPtr<NSTimer> firedTimer = timer;
    objc::RefPtr<UIView> row = subView(host);
    objc::RefPtr<UILabel> title = label(host);
    objc::RefPtr<UIView> backdrop = labelbg(host);
    row->setAlpha(1.0);
    title->setAlpha(1.0);
    UIView::animateWithDuration(kRowFadeDuration, [row, title] {
        row->setAlpha(0.0);
        title->setAlpha(0.0);
    }, [row, title, backdrop, firedTimer, when](bool) {
        row->setHidden(true);
        title->setHidden(true);
        backdrop->setHidden(true);
        if (firedTimer && when == InvalidateTimer::WhenHidden)
            firedTimer->invalidate();
    });
    if (firedTimer && when == InvalidateTimer::AtOnce)
        firedTimer->invalidate();
}

} // namespace lumetrix
