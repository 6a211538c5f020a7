#include "UITouchDelivery.h"

#include "UIGestureRecognizer.h"
#include "UIView.h"
#include "UIWindow.h"

namespace {

UIGestureRecognizer* deliver(UIView* root, UIGesture gesture)
{
    if (!root)
        return nullptr;
    objc::RefPtr<UIView> protectedRoot(root);
    UIView::layoutPendingViews();
    root->layoutIfNeeded();
    gesture.root = root;
    gesture.start = root->convertPointFromScreen(gesture.start);
    gesture.end = root->convertPointFromScreen(gesture.end);
    objc::RefPtr<UIView> hit = root->hitTest(gesture.start);
    for (UIView* view = hit.get(); view; view = view->superview()) {
        auto recognizers = view->gestureRecognizers();
        for (auto& recognizer : recognizers) {
            if (recognizer->isEnabled() && recognizer->recognizes(gesture)) {
                recognizer->recognize(gesture);
                return recognizer.get();
            }
        }
    }
    return nullptr;
}

UIWindow* frontWindowAt(CGPoint point)
{
    auto windows = UIWindow::visibleWindows();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        if ((*it)->hitTest((*it)->convertPointFromScreen(point)))
            return *it;
    }
    return nullptr;
}

} // namespace

UIGestureRecognizer* UITouchDelivery::tap(UIView* root, CGPoint point, unsigned tapCount)
{
    return deliver(root, { UIGesture::Kind::Tap, tapCount, point, point, nullptr });
}

UIGestureRecognizer* UITouchDelivery::swipe(UIView* root, CGPoint start, CGPoint end)
{
    return deliver(root, { UIGesture::Kind::Swipe, 0, start, end, nullptr });
}

UIGestureRecognizer* UITouchDelivery::tapScreen(CGPoint point, unsigned tapCount)
{
    UIView::layoutPendingViews();
    return tap(frontWindowAt(point), point, tapCount);
}

UIGestureRecognizer* UITouchDelivery::swipeScreen(CGPoint start, CGPoint end)
{
    UIView::layoutPendingViews();
    return swipe(frontWindowAt(start), start, end);
}

UIView* UITouchDelivery::hitTestScreen(CGPoint point)
{
    UIView::layoutPendingViews();
    UIWindow* window = frontWindowAt(point);
    return window ? window->hitTest(window->convertPointFromScreen(point)) : nullptr;
}
