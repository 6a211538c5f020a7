#include "TouchTarget.h"

#include "PlayerGeometry.h"
#include "PlayerProperties.h"
#include "startup/Globals.h"

#include "UIKit/NSLayoutConstraint.h"
#include "UIKit/UIColor.h"
#include "UIKit/UISwipeGestureRecognizer.h"
#include "UIKit/UITapGestureRecognizer.h"
#include "UIKit/UILayoutGuide.h"
#include "UIKit/UIView.h"

namespace lumetrix {

objc::RefPtr<UIView> buildTouchTarget(id host, UIView* superview)
{
    auto target = UIView::alloc();
    target->initWithFrame(CGRectZero);
    setProperty<"setPrevioustapview:">(host, target.get());
    target->setBackgroundColor(UIColor::clearColor());
    target->layer()->setCornerRadius(kControlCornerRadius);
    target->layer()->setMasksToBounds(true);
    target->setUserInteractionEnabled(true);
    target->setTranslatesAutoresizingMaskIntoConstraints(false);
    superview->addSubview(target.get());
    NSLayoutConstraint::activateConstraints({
        target->topAnchor()->constraintEqualToAnchor(superview->safeAreaLayoutGuide()->bottomAnchor(), TouchConstant),
        target->centerXAnchor()->constraintEqualToAnchor(superview->safeAreaLayoutGuide()->centerXAnchor(), 0),
        target->widthAnchor()->constraintEqualToConstant(kTouchTargetWidth),
        target->heightAnchor()->constraintEqualToConstant(kTouchTargetHeight),
    });
    return target;
}

void addTapRecognizer(UIView* target, id host)
{
    auto tap = UITapGestureRecognizer::alloc();
    tap->initWithTarget(static_cast<NSObject*>(host), "tapGesture:"_sel);
    tap->setNumberOfTapsRequired(1);
    target->addGestureRecognizer(tap.get());
}

void addSwipeRecognizers(UIView* target, id host)
{
    auto left = UISwipeGestureRecognizer::alloc();
    left->initWithTarget(static_cast<NSObject*>(host), "swipeleft:"_sel);
    left->setDirection(UISwipeGestureRecognizerDirectionLeft);
    target->addGestureRecognizer(left.get());

    auto right = UISwipeGestureRecognizer::alloc();
    right->initWithTarget(static_cast<NSObject*>(host), "swiperight:"_sel);
    right->setDirection(UISwipeGestureRecognizerDirectionRight);
    target->addGestureRecognizer(right.get());
}

} // namespace lumetrix
