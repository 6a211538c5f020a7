#include "UIControl.h"

#include <cstring>

void UIKitSendAction(SEL action, id target, id sender)
{
    if (!action || !target)
        return;
    if (std::strchr(sel_getName(action), ':'))
        objc_msgSend(target, action, sender);
    else
        objc_msgSend(target, action);
}

void UIControl::addTargetAction(NSObject* target, SEL action, UIControlEvents events)
{
    if (!action)
        return;
    m_targetActions.push_back({ target, action, events });
}

void UIControl::removeTargetAction(NSObject* target, SEL action, UIControlEvents events)
{
    std::erase_if(m_targetActions, [&](const TargetAction& entry) {
        return (!target || entry.target.get() == target) && (!action || entry.action == action) && (entry.events & events);
    });
}

void UIControl::sendActionsForControlEvents(UIControlEvents events)
{
    objc::RefPtr<UIControl> protectedThis(this);
    // A copy: an action may add or remove targets, or remove this control.
    auto targetActions = m_targetActions;
    for (auto& entry : targetActions) {
        if (!(entry.events & events))
            continue;
        if (auto target = entry.target.strong())
            UIKitSendAction(entry.action, target.get(), this);
    }
}

std::vector<SEL> UIControl::actionsForTarget(NSObject* target, UIControlEvents events) const
{
    std::vector<SEL> actions;
    for (auto& entry : m_targetActions) {
        if (entry.target.get() == target && (entry.events & events))
            actions.push_back(entry.action);
    }
    return actions;
}

void UIControl::registerRuntimeClass()
{
    Class cls = objc::defineClass<UIControl>("UIControl", UIView::staticClass());
    objc::addMethod(cls, "addTarget:action:forControlEvents:", +[](UIControl* self, SEL, id target, SEL action, unsigned long events) {
        self->addTargetAction(static_cast<NSObject*>(target), action, events);
    });
    objc::addMethod(cls, "sendActionsForControlEvents:", +[](UIControl* self, SEL, unsigned long events) {
        self->sendActionsForControlEvents(events);
    });
}
