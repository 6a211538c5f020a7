#include "HBRespringController.h"

#include "Foundation/NSLog.h"

namespace {

HBRespringController::Handler& handler()
{
    static auto* handler = new HBRespringController::Handler;
    return *handler;
}

} // namespace

void HBRespringController::respring()
{
    respringAndReturnTo(nullptr);
}

void HBRespringController::respringAndReturnTo(NSURL* returnURL)
{
    // A copy: the handler may replace itself (a new Settings app, say).
    Handler current = handler();
    if (!current) {
        NSLog("HBRespringController: nothing can restart SpringBoard in this process; the request is dropped");
        return;
    }
    objc::RefPtr<NSURL> keep = returnURL;
    current(keep.get());
}

void HBRespringController::setRespringHandler(Handler newHandler)
{
    handler() = std::move(newHandler);
}

bool HBRespringController::hasRespringHandler()
{
    return static_cast<bool>(handler());
}
