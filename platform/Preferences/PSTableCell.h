#pragma once
// PSTableCell: the row a specifier shows as. A switch cell carries a UISwitch, a text
// cell a UITextField; when the user works the control, the cell hands the new value to
// the specifier's target through its setter (setPreferenceValue:specifier:).

#include "PSSpecifier.h"
#include "UIKit/UIControl.h"
#include "UIKit/UILabel.h"
#include "UIKit/UISwitch.h"
#include "UIKit/UITableViewCell.h"
#include "UIKit/UITextField.h"

class PSTableCell : public UITableViewCell {
    OBJC_INTERFACE(PSTableCell)
public:
    PSTableCell() = default;

    // -initWithStyle:reuseIdentifier:specifier: (through the runtime).
    PSTableCell* initWithSpecifier(UITableViewCellStyle, NSString* reuseIdentifier, PSSpecifier*);

    PSSpecifier* specifier() const { return m_specifier.get(); }
    // The switch or text field, or null for cells without one.
    UIControl* control() const { return m_control.get(); }
    UISwitch* switchControl() const { return objc_cast<UISwitch>(m_control.get()); }
    UITextField* textField() const { return objc_cast<UITextField>(m_control.get()); }

    // Shows `value` in the control: a switch is on for a non-zero number, a text field
    // shows the value's description.
    void setValue(NSObject* value);
    // The control's value as it would be stored: a boolean number or the text.
    objc::RefPtr<NSObject> controlValue() const;

    // Why the last input was refused; empty clears it. The row shows a short red line
    // under its label (`redLine`, "Not a number, not saved" unless the page says
    // otherwise); the whole message is kept here.
    void setProblem(const std::string& problem, const std::string& redLine = kNotANumber);
    static constexpr const char* kNotANumber = "Not a number, not saved";
    const std::string& problem() const { return m_problem; }
    UILabel* problemLabel() const { return m_problemLabel.get(); }

    static void registerRuntimeClass();

private:
    static PSTableCell* initWithSpecifierImp(PSTableCell*, SEL, long style, id reuseIdentifier, id specifier);
    static void controlChangedImp(PSTableCell*, SEL, id sender);
    static void layoutSubviewsImp(PSTableCell*, SEL);

    objc::RefPtr<PSSpecifier> m_specifier;
    objc::RefPtr<UIControl> m_control;
    std::string m_problem;
    objc::RefPtr<UILabel> m_problemLabel;
};
