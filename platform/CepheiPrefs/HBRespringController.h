#pragma once
// HBRespringController: restarts SpringBoard on a pane's request. Restarting SpringBoard
// is the device's business, not the Settings app's: the host that runs the Settings app
// installs a handler that does it (a new SpringBoard process, which loads the tweaks and
// reads the settings again) and then opens the URL, if any.

#include "Foundation/NSURL.h"

#include <functional>

class HBRespringController {
public:
    // +respring and +respringAndReturnTo:. Without a handler the request is logged and
    // dropped, as nothing here can restart SpringBoard.
    static void respring();
    static void respringAndReturnTo(NSURL* returnURL);

    // `returnURL` is null for a plain respring.
    using Handler = std::function<void(NSURL* returnURL)>;
    static void setRespringHandler(Handler);
    static bool hasRespringHandler();
};
