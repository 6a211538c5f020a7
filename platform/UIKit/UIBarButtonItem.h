#pragma once
// UIBarButtonItem: a button in a navigation bar. It is not a view; the bar shows it. Like
// a control it does not retain its target.

#include "Foundation/NSObject.h"
#include "Foundation/NSString.h"
#include "UIColor.h"
#include "UIImage.h"

enum UIBarButtonItemStyle : long {
    UIBarButtonItemStylePlain = 0,
    UIBarButtonItemStyleBordered = 1,
    UIBarButtonItemStyleDone = 2,
};

class UIBarButtonItem : public NSObject {
    OBJC_INTERFACE(UIBarButtonItem)
public:
    UIBarButtonItem() = default;

    // -initWithImage:style:target:action: (through the runtime). Returns the receiver.
    UIBarButtonItem* initWithImage(UIImage*, UIBarButtonItemStyle, NSObject* target, SEL action);
    // -initWithTitle:style:target:action: (through the runtime). Returns the receiver.
    UIBarButtonItem* initWithTitle(NSString*, UIBarButtonItemStyle, NSObject* target, SEL action);

    UIImage* image() const { return m_image.get(); }
    // Shown when there is no image.
    NSString* title() const { return m_title.get(); }
    void setTitle(NSString* title) { m_title = title; }
    UIBarButtonItemStyle style() const { return m_style; }
    NSObject* target() const { return m_target.get(); }
    SEL action() const { return m_action; }
    // Nil: the bar's tint colour applies.
    UIColor* tintColor() const { return m_tintColor.get(); }
    void setTintColor(UIColor* color) { m_tintColor = color; }
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled) { m_enabled = enabled; }

    // What a tap on the button does: the action goes to the target, with the item as
    // sender. A disabled button does nothing.
    void press();

    // {"image", "title", "style", "action", "tintColor"}
    nlohmann::json jsonValue() const override;

    static void registerRuntimeClass();

private:
    static UIBarButtonItem* initWithImageImp(UIBarButtonItem*, SEL, id image, long style, id target, SEL action);
    static UIBarButtonItem* initWithTitleImp(UIBarButtonItem*, SEL, id title, long style, id target, SEL action);

    objc::RefPtr<UIImage> m_image;
    objc::RefPtr<NSString> m_title;
    UIBarButtonItemStyle m_style = UIBarButtonItemStylePlain;
    objc::WeakPtr<NSObject> m_target;
    SEL m_action = nullptr;
    objc::RefPtr<UIColor> m_tintColor;
    bool m_enabled = true;
};
