#include "UIGestureRecognizer.h"

#include "UIView.h"

#include <algorithm>
#include <cstring>

UIGestureRecognizer* UIGestureRecognizer::initWithTargetImp(UIGestureRecognizer* self, SEL, id target, SEL action)
{
    if (target && action)
        self->addTarget(static_cast<NSObject*>(target), action);
    return self;
}

void UIGestureRecognizer::addTarget(NSObject* target, SEL action)
{
    if (!target || !action)
        return;
    m_targets.push_back({ target, action });
}

void UIGestureRecognizer::removeTarget(NSObject* target, SEL action)
{
    std::erase_if(m_targets, [&](const TargetAction& pair) {
        return (!target || pair.target.get() == target) && (!action || pair.action == action);
    });
}

NSObject* UIGestureRecognizer::target() const
{
    return m_targets.empty() ? nullptr : m_targets.front().target.get();
}

std::string UIGestureRecognizer::actionName() const
{
    return m_targets.empty() ? std::string() : sel_getName(m_targets.front().action);
}

CGPoint UIGestureRecognizer::locationInViewNow(UIView* view) const
{
    UIView* root = m_root.get();
    if (!root)
        return m_location;
    CGPoint inWindow = root->convertPointToView(m_location, nullptr);
    if (!view)
        return inWindow;
    return view->convertPointFromView(m_location, root);
}

void UIGestureRecognizer::recognize(const UIGesture& gesture)
{
    objc::RefPtr<UIGestureRecognizer> protectedThis(this);
    m_root = gesture.root;
    // A swipe is located where it began, a tap where it happened.
    m_location = gesture.start;
    m_state = UIGestureRecognizerStateRecognized;
    // A copy: an action may add or remove targets.
    auto targets = m_targets;
    for (auto& pair : targets) {
        auto target = pair.target.strong();
        if (!target)
            continue;
        const char* name = sel_getName(pair.action);
        if (std::strchr(name, ':'))
            objc_msgSend(target.get(), pair.action, static_cast<id>(this));
        else
            objc_msgSend(target.get(), pair.action);
    }
    m_state = UIGestureRecognizerStatePossible;
}

std::string UIGestureRecognizer::descriptionString() const
{
    return std::string("<") + class_getName(isa()) + "; action=" + actionName() + ">";
}

void UIGestureRecognizer::registerRuntimeClass()
{
    Class cls = objc::defineClass<UIGestureRecognizer>("UIGestureRecognizer", NSObject::staticClass());
    objc::addMethod(cls, "initWithTarget:action:", &initWithTargetImp);
    objc::addMethod(cls, "locationInView:", +[](UIGestureRecognizer* self, SEL, UIView* view) { return self->locationInViewNow(view); });
}
