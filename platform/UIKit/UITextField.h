#pragma once
// UITextField: one line of editable text. A user's edit (editByUser) goes through the
// editing events in UIKit's order: began, changed, ended.

#include "Foundation/NSString.h"
#include "UIControl.h"
#include "UIFont.h"
#include "UILabel.h"

enum UIKeyboardType : long {
    UIKeyboardTypeDefault = 0,
    UIKeyboardTypeASCIICapable = 1,
    UIKeyboardTypeNumbersAndPunctuation = 2,
    UIKeyboardTypeURL = 3,
    UIKeyboardTypeNumberPad = 4,
    UIKeyboardTypePhonePad = 5,
    UIKeyboardTypeNamePhonePad = 6,
    UIKeyboardTypeEmailAddress = 7,
    UIKeyboardTypeDecimalPad = 8,
};

class UITextField : public UIControl {
    OBJC_INTERFACE(UITextField)
public:
    UITextField() = default;

    // Never nil: an empty field holds "".
    NSString* text() const { return m_text.get(); }
    void setText(NSString*);
    void setText(const std::string&);
    NSString* placeholder() const { return m_placeholder.get(); }
    void setPlaceholder(NSString* placeholder) { m_placeholder = placeholder; }
    UIKeyboardType keyboardType() const { return m_keyboardType; }
    void setKeyboardType(UIKeyboardType type) { m_keyboardType = type; }
    // Nil: the label colour.
    UIColor* textColor() const { return m_textColor.get(); }
    void setTextColor(UIColor* color) { m_textColor = color; }
    // The system font of 17 points unless set.
    UIFont* font() const { return m_font.get(); }
    void setFont(UIFont* font) { m_font = font; }
    NSTextAlignment textAlignment() const { return m_textAlignment; }
    void setTextAlignment(NSTextAlignment alignment) { m_textAlignment = alignment; }

    bool isEditing() const { return m_editing; }
    // A user taps the field, replaces its text with `text` and leaves it: editing begins,
    // the text changes, editing ends, each sending its actions.
    void editByUser(const std::string& text);

    static void registerRuntimeClass();

private:
    objc::RefPtr<NSString> m_text = NSString::create("");
    objc::RefPtr<NSString> m_placeholder;
    objc::RefPtr<UIColor> m_textColor;
    objc::RefPtr<UIFont> m_font;
    NSTextAlignment m_textAlignment = NSTextAlignmentNatural;
    UIKeyboardType m_keyboardType = UIKeyboardTypeDefault;
    bool m_editing = false;
};
