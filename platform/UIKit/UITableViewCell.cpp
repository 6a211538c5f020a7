#include "UITableViewCell.h"

namespace {

constexpr CGFloat kMargin = 16;
constexpr CGFloat kLabelHeight = 21;

objc::RefPtr<UILabel> makeLabel()
{
    auto label = UILabel::alloc();
    label->initWithFrame(CGRectZero);
    return label;
}

} // namespace

UITableViewCell* UITableViewCell::initWithStyle(UITableViewCellStyle style, NSString* reuseIdentifier)
{
    return static_cast<UITableViewCell*>(objc_msgSend<id>(this, "initWithStyle:reuseIdentifier:"_sel, static_cast<long>(style), static_cast<id>(reuseIdentifier)));
}

UITableViewCell* UITableViewCell::initWithStyleImp(UITableViewCell* self, SEL, long style, id reuseIdentifier)
{
    self->initWithFrame(CGRectMake(0, 0, 320, kDefaultHeight));
    self->m_style = static_cast<UITableViewCellStyle>(style);
    self->m_reuseIdentifier = objc_cast<NSString>(reuseIdentifier);
    self->m_contentView = UIView::alloc();
    self->m_contentView->initWithFrame(self->bounds());
    self->m_contentView->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    self->addSubview(self->m_contentView.get());
    self->m_textLabel = makeLabel();
    self->m_contentView->addSubview(self->m_textLabel.get());
    if (style != UITableViewCellStyleDefault) {
        self->m_detailTextLabel = makeLabel();
        self->m_detailTextLabel->setTextColor(UIColor::grayColor());
        self->m_contentView->addSubview(self->m_detailTextLabel.get());
    }
    return self;
}

void UITableViewCell::setAccessoryView(UIView* view)
{
    if (m_accessoryView)
        m_accessoryView->removeFromSuperview();
    m_accessoryView = view;
    if (view)
        addSubview(view);
    setNeedsLayout();
}

// The text label takes the leading part of the row, the accessory sits at the trailing
// margin, centred vertically, and a detail label fills what lies between.
void UITableViewCell::layoutSubviewsImp(UITableViewCell* self, SEL cmd)
{
    objc_msgSendSuper(UIView::staticClass(), self, cmd);
    CGSize size = self->bounds().size;
    CGFloat trailing = size.width - kMargin;
    if (UIView* accessory = self->m_accessoryView.get()) {
        CGSize accessorySize = accessory->bounds().size;
        accessory->setFrame(CGRectMake(trailing - accessorySize.width, (size.height - accessorySize.height) / 2, accessorySize.width, accessorySize.height));
        trailing -= accessorySize.width + 8;
    }
    CGFloat labelTop = (size.height - kLabelHeight) / 2;
    CGFloat available = std::max<CGFloat>(0, trailing - kMargin);
    if (self->m_detailTextLabel) {
        self->m_textLabel->setFrame(CGRectMake(kMargin, labelTop, available / 2, kLabelHeight));
        self->m_detailTextLabel->setFrame(CGRectMake(kMargin + available / 2, labelTop, available / 2, kLabelHeight));
    } else {
        self->m_textLabel->setFrame(CGRectMake(kMargin, labelTop, available, kLabelHeight));
    }
}

void UITableViewCell::registerRuntimeClass()
{
    Class cls = objc::defineClass<UITableViewCell>("UITableViewCell", UIView::staticClass());
    objc::addMethod(cls, "initWithStyle:reuseIdentifier:", &initWithStyleImp);
    objc::addMethod(cls, "layoutSubviews", &layoutSubviewsImp);
}
