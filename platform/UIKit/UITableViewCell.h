#pragma once
// UITableViewCell: one row of a table: a text label, an optional detail label and an
// accessory view (a switch, a text field) at the trailing end.

#include "Foundation/NSString.h"
#include "UILabel.h"
#include "UIView.h"

enum UITableViewCellStyle : long {
    UITableViewCellStyleDefault = 0,
    UITableViewCellStyleValue1 = 1,
    UITableViewCellStyleValue2 = 2,
    UITableViewCellStyleSubtitle = 3,
};

class UITableViewCell : public UIView {
    OBJC_INTERFACE(UITableViewCell)
public:
    UITableViewCell() = default;

    static constexpr CGFloat kDefaultHeight = 44;

    // -initWithStyle:reuseIdentifier: (through the runtime). Returns the receiver.
    UITableViewCell* initWithStyle(UITableViewCellStyle, NSString* reuseIdentifier);

    UITableViewCellStyle style() const { return m_style; }
    NSString* reuseIdentifier() const { return m_reuseIdentifier.get(); }
    UIView* contentView() const { return m_contentView.get(); }
    UILabel* textLabel() const { return m_textLabel.get(); }
    // Only the styles that show one have it (value 1, value 2, subtitle).
    UILabel* detailTextLabel() const { return m_detailTextLabel.get(); }
    UIView* accessoryView() const { return m_accessoryView.get(); }
    void setAccessoryView(UIView*);

    static void registerRuntimeClass();

private:
    static UITableViewCell* initWithStyleImp(UITableViewCell*, SEL, long style, id reuseIdentifier);
    static void layoutSubviewsImp(UITableViewCell*, SEL);

    UITableViewCellStyle m_style = UITableViewCellStyleDefault;
    objc::RefPtr<NSString> m_reuseIdentifier;
    objc::RefPtr<UIView> m_contentView;
    objc::RefPtr<UILabel> m_textLabel;
    objc::RefPtr<UILabel> m_detailTextLabel;
    objc::RefPtr<UIView> m_accessoryView;
};
