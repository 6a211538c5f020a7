// The lock-screen player: once the home-bar controller has its view, it listens for
// now-playing changes and the artwork colour, and builds the control row on its view and
// the touch target on the cover sheet.

#include "startup/Globals.h"
#include "startup/Hooks.h"

#include "player/ControlRowViews.h"
#include "player/PlayerProperties.h"
#include "player/TouchTarget.h"

#include "Foundation/NSLog.h"
#include "Foundation/NSNotificationCenter.h"
#include "Foundation/NSString.h"
#include "MediaRemote/MediaRemote.h"
#include "SpringBoard/CSCoverSheetView.h"
#include "SpringBoard/CSHomeAffordanceViewController.h"
#include "UIKit/UIView.h"

namespace lumetrix {

void (*orig_CSHomeAffordanceViewController_loadView)(CSHomeAffordanceViewController*, SEL);

void hook_CSHomeAffordanceViewController_loadView(CSHomeAffordanceViewController* self, SEL _cmd)
{
    orig_CSHomeAffordanceViewController_loadView(self, _cmd);

    NSNotificationCenter* center = NSNotificationCenter::defaultCenter();
    center->addObserver(self, "updateMedia"_sel, kMRMediaRemoteNowPlayingInfoDidChangeNotification, nil);
    center->addObserver(self, "playpausenotif"_sel, kMRMediaRemoteNowPlayingApplicationIsPlayingDidChangeNotification, nil);
    center->addObserver(self, "updateMediaColour:"_sel, "updateColourSB"_ns, nil);

    UIView* view = self->view();
    buildControlRow(self, view, HideRow::Later);

    // The touch target lives on the cover sheet, outside this controller's view.
    if (rootwindow) {
        auto target = buildTouchTarget(self, rootwindow);
        addTapRecognizer(target.get(), self);
        if (swipetoskip)
            addSwipeRecognizers(target.get(), self);
    } else {
        NSLog("Lumetrix: no cover sheet view yet; the lock-screen player has no touch target");
    }

    if (!alwaysshow)
        subView(self)->setHidden(true);

    // After a boot or a respring the music may be playing already: the label and the
    // glyph catch up now rather than at the next change (with alwaysshow they are on
    // screen from the start).
    objc_send<"playpausenotif">(self);
    objc_send<"updateMedia">(self);
}

} // namespace lumetrix
