#include "PSTableCell.h"

#include "Foundation/NSNumber.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIFont.h"

namespace {

constexpr CGFloat kTextFieldWidth = 120;
constexpr CGFloat kTextFieldHeight = 31;
constexpr CGFloat kProblemFontSize = 12;
constexpr CGFloat kProblemLineHeight = 15;

bool isTextCell(PSCellType type)
{
    return type == PSEditTextCell || type == PSSecureEditTextCell;
}

} // namespace

PSTableCell* PSTableCell::initWithSpecifier(UITableViewCellStyle style, NSString* reuseIdentifier, PSSpecifier* specifier)
{
    return static_cast<PSTableCell*>(objc_msgSend<id>(this, "initWithStyle:reuseIdentifier:specifier:"_sel,
        static_cast<long>(style), static_cast<id>(reuseIdentifier), static_cast<id>(specifier)));
}

PSTableCell* PSTableCell::initWithSpecifierImp(PSTableCell* self, SEL, long style, id reuseIdentifier, id specifierObject)
{
    self->initWithStyle(static_cast<UITableViewCellStyle>(style), objc_cast<NSString>(reuseIdentifier));
    auto specifier = objc_cast<PSSpecifier>(specifierObject);
    self->m_specifier = specifier;
    if (!specifier)
        return self;
    self->textLabel()->setText(specifier->name());
    if (specifier->cellType() == PSSwitchCell) {
        auto toggle = UISwitch::alloc();
        toggle->initWithFrame(CGRectZero);
        toggle->addTargetAction(self, "controlChanged:"_sel, UIControlEventValueChanged);
        self->m_control = toggle;
    } else if (isTextCell(specifier->cellType())) {
        auto field = UITextField::alloc();
        field->initWithFrame(CGRectMake(0, 0, kTextFieldWidth, kTextFieldHeight));
        field->setTextAlignment(NSTextAlignmentRight);
        // The value reads like a value-1 detail, flush against the trailing margin.
        field->setTextColor(UIColor::secondaryLabelColor().get());
        if (specifier->boolProperty("isNumeric", false))
            field->setKeyboardType(UIKeyboardTypeDecimalPad);
        if (auto placeholder = objc_cast<NSString>(specifier->propertyForKey("placeholder")))
            field->setPlaceholder(placeholder);
        field->addTargetAction(self, "controlChanged:"_sel, UIControlEventEditingDidEnd);
        self->m_control = field;
    } else if (specifier->cellType() == PSButtonCell) {
        // Buttons read in the tint colour, as a tappable row does.
        self->textLabel()->setTextColor(nullptr);
    }
    if (self->m_control)
        self->setAccessoryView(self->m_control.get());
    return self;
}

void PSTableCell::setValue(NSObject* value)
{
    if (auto toggle = switchControl()) {
        auto number = objc_cast<NSNumber>(value);
        toggle->setOn(number && number->boolValue());
    } else if (auto field = textField()) {
        field->setText(value ? value->description().get() : nullptr);
    }
}

objc::RefPtr<NSObject> PSTableCell::controlValue() const
{
    if (auto toggle = switchControl())
        return NSNumber::numberWithBool(toggle->isOn());
    if (auto field = textField())
        return field->text();
    return nullptr;
}

void PSTableCell::setProblem(const std::string& problem, const std::string& redLine)
{
    m_problem = problem;
    if (problem.empty()) {
        if (m_problemLabel)
            m_problemLabel->removeFromSuperview();
        m_problemLabel = nullptr;
    } else if (!m_problemLabel) {
        m_problemLabel = UILabel::alloc();
        m_problemLabel->initWithFrame(CGRectZero);
        m_problemLabel->setFont(UIFont::systemFontOfSize(kProblemFontSize).get());
        m_problemLabel->setTextColor(UIColor::systemRedColor().get());
        contentView()->addSubview(m_problemLabel.get());
    }
    // The whole message would not fit a row; it is logged and kept in `problem()`.
    if (m_problemLabel)
        m_problemLabel->setText(redLine);
    setNeedsLayout();
}

// With a problem to show, the label moves up and the problem takes a line under it,
// across the same width.
void PSTableCell::layoutSubviewsImp(PSTableCell* self, SEL cmd)
{
    objc_msgSendSuper(UITableViewCell::staticClass(), self, cmd);
    UILabel* problem = self->m_problemLabel.get();
    if (!problem)
        return;
    CGRect text = self->textLabel()->frame();
    CGFloat height = self->bounds().size.height;
    CGFloat top = (height - text.size.height - kProblemLineHeight) / 2;
    self->textLabel()->setFrame(CGRectMake(text.origin.x, top, text.size.width, text.size.height));
    problem->setFrame(CGRectMake(text.origin.x, top + text.size.height, text.size.width, kProblemLineHeight));
}

// The control changed under the user's hand: the specifier's target stores the value.
void PSTableCell::controlChangedImp(PSTableCell* self, SEL, id)
{
    objc::RefPtr<PSTableCell> protectedThis(self);
    PSSpecifier* specifier = self->m_specifier.get();
    if (!specifier || !specifier->setter())
        return;
    auto target = objc::RefPtr<NSObject>(specifier->target());
    if (!target)
        return;
    auto value = self->controlValue();
    objc_msgSend(target.get(), specifier->setter(), static_cast<id>(value.get()), static_cast<id>(specifier));
}

void PSTableCell::registerRuntimeClass()
{
    Class cls = objc::defineClass<PSTableCell>("PSTableCell", UITableViewCell::staticClass());
    objc::addMethod(cls, "initWithStyle:reuseIdentifier:specifier:", &initWithSpecifierImp);
    objc::addMethod(cls, "controlChanged:", &controlChangedImp);
    objc::addMethod(cls, "layoutSubviews", &layoutSubviewsImp);
    objc::addMethod(cls, "specifier", +[](PSTableCell* self, SEL) -> id { return self->specifier(); });
}
