#include "UINavigationBar.h"

#include "NSStringDrawing.h"
#include "UILabel.h"

namespace {

// A phone's bar: content keeps 8 points from the leading edge (the back chevron) and 16
// from the trailing one (bar buttons), and the title keeps clear of both sides' content
// by the same amount, so it stays centred.
constexpr CGFloat kLeadingMargin = 8;
constexpr CGFloat kTrailingMargin = 16;
constexpr CGFloat kChevronGap = 6;
constexpr CGFloat kTitleGap = 8;
// A bar button is at least this wide, its glyph centred: a 13-point symbol still gets a
// finger-sized target.
constexpr CGFloat kMinimumButtonWidth = 24;

nlohmann::json jsonOrNull(const NSObject* object)
{
    return object ? object->jsonValue() : nlohmann::json();
}

bool isEmptyImage(const UIImage* image)
{
    return image && !image->isSymbolImage() && image->size().width <= 0 && image->size().height <= 0;
}

bool isClear(const UIColor* color)
{
    return color && color->components().alpha == 0;
}

} // namespace

void UINavigationBar::pushNavigationItem(UINavigationItem* item)
{
    if (!item)
        return;
    m_items.push_back(item);
    itemsChanged();
}

void UINavigationBar::popNavigationItem()
{
    if (m_items.empty())
        return;
    m_items.pop_back();
    itemsChanged();
}

void UINavigationBar::itemsChanged()
{
    setNeedsLayout();
    // A hidden inner bar's items are shown by the bar over it.
    if (UINavigationBar* outer = enclosingBar())
        outer->setNeedsLayout();
}

// A navigation controller's bar is a direct subview of its view, beside the top page's
// view; a navigation controller that is that page keeps its own bar the same way.
UINavigationBar* UINavigationBar::nestedBar() const
{
    UIView* container = superview();
    if (!container)
        return nullptr;
    for (auto& sibling : container->subviews()) {
        if (sibling.get() == this)
            continue;
        for (auto& child : sibling->subviews()) {
            auto* bar = objc_cast<UINavigationBar>(child.get());
            if (bar && bar->isHidden())
                return bar;
        }
    }
    return nullptr;
}

UINavigationBar* UINavigationBar::enclosingBar() const
{
    if (!isHidden() || !superview() || !superview()->superview())
        return nullptr;
    for (auto& sibling : superview()->superview()->subviews()) {
        auto* bar = objc_cast<UINavigationBar>(sibling.get());
        if (bar && bar != this && !bar->isHidden())
            return bar;
    }
    return nullptr;
}

std::vector<UINavigationItem*> UINavigationBar::shownItems() const
{
    std::vector<UINavigationItem*> shown;
    for (auto& item : m_items)
        shown.push_back(item.get());
    UINavigationBar* nested = nestedBar();
    if (nested && !nested->m_items.empty() && !shown.empty()) {
        shown.pop_back();
        for (auto& item : nested->shownItems())
            shown.push_back(item);
    }
    return shown;
}

UINavigationItem* UINavigationBar::shownTopItem() const
{
    auto shown = shownItems();
    return shown.empty() ? nullptr : shown.back();
}

UINavigationItem* UINavigationBar::shownBackItem() const
{
    auto shown = shownItems();
    return shown.size() < 2 ? nullptr : shown[shown.size() - 2];
}

UIColor* UINavigationBar::shownBackgroundColor(const UINavigationItem* shownItem) const
{
    const UINavigationBarAppearance* itemLook = shownItem ? shownItem->standardAppearance() : nullptr;
    return itemLook && itemLook->backgroundColor() ? itemLook->backgroundColor() : m_barTintColor.get();
}

NSDictionary* UINavigationBar::shownTitleTextAttributes(const UINavigationItem* shownItem) const
{
    const UINavigationBarAppearance* itemLook = shownItem ? shownItem->standardAppearance() : nullptr;
    return itemLook && itemLook->titleTextAttributes() ? itemLook->titleTextAttributes() : m_titleTextAttributes.get();
}

bool UINavigationBar::isShownOpaque(const UINavigationItem* shownItem) const
{
    const UINavigationBarAppearance* itemLook = shownItem ? shownItem->standardAppearance() : nullptr;
    return !m_translucent || (itemLook && itemLook->isOpaque());
}

bool UINavigationBar::isShownShadowHidden(const UINavigationItem* shownItem) const
{
    const UINavigationBarAppearance* itemLook = shownItem ? shownItem->standardAppearance() : nullptr;
    return isEmptyImage(m_shadowImage.get()) || (itemLook && isClear(itemLook->shadowColor()));
}

// Pass 1: the side content: the back button at the leading edge (when there is a page to
// go back to), the right bar button at the trailing edge.
// Pass 2: the title between them, centred on the bar: the title view, which moves into
// the bar (a title view left from an item no longer on top leaves it), keeps a size it
// was given, or takes the whole middle when it has none (it is laid out by constraints).
void UINavigationBar::layoutContent()
{
    CGSize size = bounds().size;
    // A hidden bar shows nothing; when it is a nested one, the bar over it shows its
    // items, and a title view can be in one bar only.
    UINavigationItem* top = isHidden() ? nullptr : shownTopItem();
    UINavigationItem* back = top ? shownBackItem() : nullptr;

    m_backButtonFrame = CGRectZero;
    CGFloat leading = 0;
    if (back && top && !top->leftBarButtonItem()) {
        // An item without a title goes back under the word "Back".
        CGFloat titleWidth = NSStringSizeWithSystemFont(back->title() ? back->title() : "Back"_ns.get(), kTitleFontSize).width;
        CGFloat width = std::min<CGFloat>(kBackChevronWidth + kChevronGap + titleWidth, size.width / 3);
        m_backButtonFrame = CGRectMake(kLeadingMargin, 0, width, size.height);
        leading = kLeadingMargin + width;
    }

    m_rightButtonFrame = CGRectZero;
    CGFloat trailing = 0;
    if (UIBarButtonItem* right = top ? top->rightBarButtonItem() : nullptr) {
        // A Done button's title is set in the semibold weight.
        UIFontWeight weight = right->style() == UIBarButtonItemStyleDone ? UIFontWeightSemibold : UIFontWeightRegular;
        CGFloat width = right->image() ? right->image()->size().width : NSStringSizeWithSystemFont(right->title(), kTitleFontSize, weight).width;
        width = std::max(width, kMinimumButtonWidth);
        m_rightButtonFrame = CGRectMake(size.width - kTrailingMargin - width, 0, width, size.height);
        trailing = kTrailingMargin + width;
    }

    CGFloat side = std::max(leading, trailing) + kTitleGap;
    CGFloat available = std::max<CGFloat>(0, size.width - 2 * side);
    UIView* titleView = top ? top->titleView() : nullptr;
    UIView* previous = m_shownTitleView.get();
    if (previous && previous != titleView && previous->superview() == this)
        previous->removeFromSuperview();
    // The size the title view came with, before the bar gave it one.
    if (titleView && titleView != previous)
        m_titleViewOwnSize = titleView->bounds().size;
    m_shownTitleView = titleView;
    if (!titleView) {
        m_titleFrame = top && top->title() ? CGRectMake(side, 0, available, size.height) : CGRectZero;
        return;
    }
    CGSize given = m_titleViewOwnSize;
    CGFloat width = given.width > 0 ? std::min(given.width, available) : available;
    CGFloat height = given.height > 0 ? std::min(given.height, size.height) : size.height;
    m_titleFrame = CGRectMake((size.width - width) / 2, (size.height - height) / 2, width, height);
    if (titleView->superview() != this)
        addSubview(titleView);
    titleView->setFrame(m_titleFrame);
}

void UINavigationBar::layoutSubviewsImp(UINavigationBar* self, SEL cmd)
{
    objc_msgSendSuper(UIView::staticClass(), self, cmd);
    self->layoutContent();
}

nlohmann::json UINavigationBar::describe(const UINavigationItem* shownItem) const
{
    UIColor* background = shownBackgroundColor(shownItem);
    NSDictionary* titleAttributes = shownTitleTextAttributes(shownItem);
    bool shadowHidden = isShownShadowHidden(shownItem);
    bool opaque = isShownOpaque(shownItem);
    return {
        { "barTintColor", jsonOrNull(m_barTintColor.get()) },
        { "shadowImage", jsonOrNull(m_shadowImage.get()) },
        { "translucent", m_translucent },
        { "tintColor", jsonOrNull(tintColor()) },
        { "titleTextAttributes", jsonOrNull(m_titleTextAttributes.get()) },
        { "shown", {
                       { "backgroundColor", jsonOrNull(background) },
                       { "titleTextAttributes", jsonOrNull(titleAttributes) },
                       { "shadowHidden", shadowHidden },
                       { "opaque", opaque },
                   } },
    };
}

void UINavigationBar::registerRuntimeClass()
{
    Class cls = objc::defineClass<UINavigationBar>("UINavigationBar", UIView::staticClass());
    objc::addMethod(cls, "layoutSubviews", &layoutSubviewsImp);
    objc::addMethod(cls, "setBarTintColor:", +[](UINavigationBar* self, SEL, id color) { self->setBarTintColor(objc_cast<UIColor>(color)); });
    objc::addMethod(cls, "setShadowImage:", +[](UINavigationBar* self, SEL, id image) { self->setShadowImage(objc_cast<UIImage>(image)); });
    // setTintColor: is UIView's own message.
    objc::addMethod(cls, "setTranslucent:", +[](UINavigationBar* self, SEL, bool translucent) { self->setTranslucent(translucent); });
    objc::addMethod(cls, "setTitleTextAttributes:", +[](UINavigationBar* self, SEL, id attributes) {
        self->setTitleTextAttributes(objc_cast<NSDictionary>(attributes));
    });
}
