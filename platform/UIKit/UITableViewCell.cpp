#include "UITableViewCell.h"

namespace {

// UIKit's default cell layout on a phone: the standard margins on both sides, a small gap
// between the text and the accessory, one line of body text centred in the row.
constexpr CGFloat kMargin = 16;
constexpr CGFloat kAccessoryGap = 8;
constexpr CGFloat kLabelGap = 8;
constexpr CGFloat kLabelHeight = 21;
constexpr CGFloat kSubtitleHeight = 16;

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
        // Value 1 puts the detail at the trailing end, flush against the accessory.
        if (style == UITableViewCellStyleValue1)
            self->m_detailTextLabel->setTextAlignment(NSTextAlignmentRight);
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

// The accessory sits at the trailing margin, centred vertically; the labels share what
// lies between the leading margin and the accessory. The text label is what a row is
// read by, so it gets all of that width unless a detail needs some: a value-1 detail
// takes its own width at the trailing end (at most half the row when the text needs the
// rest), a subtitle goes under the text.
void UITableViewCell::layoutSubviewsImp(UITableViewCell* self, SEL cmd)
{
    objc_msgSendSuper(UIView::staticClass(), self, cmd);
    CGSize size = self->bounds().size;
    CGFloat trailing = size.width - kMargin;
    if (UIView* accessory = self->m_accessoryView.get()) {
        CGSize accessorySize = accessory->bounds().size;
        accessory->setFrame(CGRectMake(trailing - accessorySize.width, (size.height - accessorySize.height) / 2, accessorySize.width, accessorySize.height));
        trailing -= accessorySize.width + kAccessoryGap;
    }
    CGFloat available = std::max<CGFloat>(0, trailing - kMargin);
    UILabel* text = self->m_textLabel.get();
    UILabel* detail = self->m_detailTextLabel.get();
    CGFloat labelTop = (size.height - kLabelHeight) / 2;
    if (!detail) {
        text->setFrame(CGRectMake(kMargin, labelTop, available, kLabelHeight));
        return;
    }
    if (self->m_style == UITableViewCellStyleSubtitle) {
        CGFloat top = (size.height - kLabelHeight - kSubtitleHeight) / 2;
        text->setFrame(CGRectMake(kMargin, top, available, kLabelHeight));
        detail->setFrame(CGRectMake(kMargin, top + kLabelHeight, available, kSubtitleHeight));
        return;
    }
    CGFloat detailWidth = 0;
    if (detail->text() && detail->text()->length()) {
        CGFloat textRoom = std::max<CGFloat>(0, available - text->textWidth() - kLabelGap);
        detailWidth = std::min(detail->textWidth(), std::max(available / 2, textRoom));
    }
    CGFloat textWidth = detailWidth > 0 ? std::max<CGFloat>(0, available - detailWidth - kLabelGap) : available;
    text->setFrame(CGRectMake(kMargin, labelTop, textWidth, kLabelHeight));
    detail->setFrame(CGRectMake(kMargin + available - detailWidth, labelTop, detailWidth, kLabelHeight));
}

void UITableViewCell::registerRuntimeClass()
{
    Class cls = objc::defineClass<UITableViewCell>("UITableViewCell", UIView::staticClass());
    objc::addMethod(cls, "initWithStyle:reuseIdentifier:", &initWithStyleImp);
    objc::addMethod(cls, "layoutSubviews", &layoutSubviewsImp);
}
