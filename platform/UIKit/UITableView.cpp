#include "UITableView.h"

#include "NSStringDrawing.h"
#include "UILabel.h"

#include <cmath>

namespace {

// Lines a footer takes at `width`: its one-line width over the room, as measured for
// drawing; the renderer wraps the text at word boundaries inside the room this leaves.
long footerLines(const NSString* text, CGFloat width)
{
    if (!text || !text->length() || width <= 0)
        return 0;
    CGFloat textWidth = NSStringSizeWithSystemFont(text, UITableView::kFooterFontSize).width;
    return std::max(1L, static_cast<long>(std::ceil(textWidth / width)));
}

} // namespace

UITableView* UITableView::initWithFrame(CGRect frame, UITableViewStyle style)
{
    return static_cast<UITableView*>(objc_msgSend<id>(this, "initWithFrame:style:"_sel, frame, static_cast<long>(style)));
}

UITableView* UITableView::initWithFrameStyleImp(UITableView* self, SEL, CGRect frame, long style)
{
    self->UIView::initWithFrame(frame);
    self->m_style = static_cast<UITableViewStyle>(style);
    if (self->m_style != UITableViewStylePlain)
        self->setBackgroundColor(UIColor::systemGroupedBackgroundColor().get());
    return self;
}

void UITableView::sendSetTableHeaderView(UIView* view)
{
    objc_msgSend(this, "setTableHeaderView:"_sel, static_cast<id>(view));
}

void UITableView::setTableHeaderViewImp(UITableView* self, SEL, id view)
{
    self->setTableHeaderView(objc_cast<UIView>(view));
}

void UITableView::setTableHeaderView(UIView* view)
{
    if (view == m_tableHeaderView.get())
        return;
    if (m_tableHeaderView)
        m_tableHeaderView->removeFromSuperview();
    m_tableHeaderView = view;
    if (view)
        addSubview(view);
    layoutRows();
}

NSString* UITableView::askForTitle(SEL selector, long section) const
{
    NSObject* dataSource = m_dataSource.get();
    if (!dataSource || !dataSource->respondsToSelector(selector))
        return nullptr;
    return objc_cast<NSString>(objc_msgSend<id>(dataSource, selector, static_cast<id>(const_cast<UITableView*>(this)), section));
}

void UITableView::reloadData()
{
    objc::RefPtr<UITableView> protectedThis(this);
    for (auto& section : m_sections) {
        for (auto& cell : section.cells)
            cell->removeFromSuperview();
    }
    m_sections.clear();
    m_loaded = true;
    auto dataSource = m_dataSource.strong();
    if (!dataSource) {
        layoutRows();
        return;
    }
    id table = this;
    long sectionCount = 1;
    if (dataSource->respondsToSelector("numberOfSectionsInTableView:"_sel))
        sectionCount = objc_msgSend<long>(dataSource.get(), "numberOfSectionsInTableView:"_sel, table);
    std::vector<Section> sections(static_cast<std::size_t>(std::max(0L, sectionCount)));
    for (long index = 0; index < sectionCount; ++index) {
        Section& section = sections[index];
        section.headerTitle = askForTitle("tableView:titleForHeaderInSection:"_sel, index);
        section.footerTitle = askForTitle("tableView:titleForFooterInSection:"_sel, index);
        long rows = objc_msgSend<long>(dataSource.get(), "tableView:numberOfRowsInSection:"_sel, table, index);
        for (long row = 0; row < rows; ++row) {
            auto indexPath = NSIndexPath::indexPathForRow(row, index);
            id cell = objc_msgSend<id>(dataSource.get(), "tableView:cellForRowAtIndexPath:"_sel, table, static_cast<id>(indexPath.get()));
            auto tableCell = objc_cast<UITableViewCell>(cell);
            if (!tableCell) {
                platform::raiseException("NSInternalInconsistencyException",
                    std::string("UITableView dataSource returned a nil cell for row ") + std::to_string(row) + " in section " + std::to_string(index));
            }
            section.cells.push_back(tableCell);
        }
    }
    m_sections = std::move(sections);
    for (auto& section : m_sections) {
        for (auto& cell : section.cells)
            addSubview(cell.get());
    }
    layoutRows();
}

long UITableView::numberOfRowsInSection(long section) const
{
    if (section < 0 || section >= numberOfSections())
        return 0;
    return static_cast<long>(m_sections[section].cells.size());
}

UITableViewCell* UITableView::cellForRowAtIndexPath(const NSIndexPath* indexPath) const
{
    if (!indexPath || indexPath->row() < 0 || indexPath->row() >= numberOfRowsInSection(indexPath->section()))
        return nullptr;
    return m_sections[indexPath->section()].cells[indexPath->row()].get();
}

CGRect UITableView::rectForRowAtIndexPath(const NSIndexPath* indexPath) const
{
    if (!cellForRowAtIndexPath(indexPath))
        return CGRectZero;
    return m_sections[indexPath->section()].rowFrames[indexPath->row()];
}

CGRect UITableView::rectForFooterInSection(long section) const
{
    return section >= 0 && section < numberOfSections() ? m_sections[section].footerFrame : CGRectZero;
}

CGRect UITableView::rectForHeaderInSection(long section) const
{
    return section >= 0 && section < numberOfSections() ? m_sections[section].headerFrame : CGRectZero;
}

CGRect UITableView::rectForRowsInSection(long section) const
{
    if (numberOfRowsInSection(section) == 0)
        return CGRectZero;
    // Rows are stacked top to bottom, all as wide as each other.
    auto& frames = m_sections[section].rowFrames;
    CGRect first = frames.front();
    return CGRectMake(first.origin.x, first.origin.y, first.size.width, CGRectGetMaxY(frames.back()) - first.origin.y);
}

NSString* UITableView::footerTitleForSection(long section) const
{
    return section >= 0 && section < numberOfSections() ? m_sections[section].footerTitle.get() : nullptr;
}

NSString* UITableView::headerTitleForSection(long section) const
{
    return section >= 0 && section < numberOfSections() ? m_sections[section].headerTitle.get() : nullptr;
}

void UITableView::selectRowByUser(const NSIndexPath* indexPath)
{
    if (!cellForRowAtIndexPath(indexPath))
        return;
    objc::RefPtr<UITableView> protectedThis(this);
    auto delegate = m_delegate.strong();
    if (delegate && delegate->respondsToSelector("tableView:didSelectRowAtIndexPath:"_sel))
        objc_msgSend(delegate.get(), "tableView:didSelectRowAtIndexPath:"_sel, static_cast<id>(this), static_cast<id>(const_cast<NSIndexPath*>(indexPath)));
}

// Pass 1: the header at the top, as tall as it is, as wide as the table.
// Pass 2: each section below it: the spacing, its rows, then its footer's lines.
void UITableView::layoutRows()
{
    CGFloat width = bounds().size.width;
    CGFloat inset = m_style == UITableViewStyleInsetGrouped ? kInsetGroupedMargin : 0;
    CGFloat rowWidth = std::max<CGFloat>(0, width - 2 * inset);
    CGFloat y = 0;
    if (m_tableHeaderView) {
        CGFloat height = m_tableHeaderView->untransformedFrame().size.height;
        m_tableHeaderView->setFrame(CGRectMake(0, 0, width, height));
        y = height;
    }
    for (auto& section : m_sections) {
        y += kSectionSpacing;
        section.headerFrame = CGRectZero;
        if (section.headerTitle && section.headerTitle->length()) {
            section.headerFrame = CGRectMake(inset + kFooterTextInset, y - kHeaderBottomPadding - kHeaderLineHeight,
                std::max<CGFloat>(0, rowWidth - 2 * kFooterTextInset), kHeaderLineHeight);
        }
        section.rowFrames.clear();
        for (auto& cell : section.cells) {
            CGRect frame = CGRectMake(inset, y, rowWidth, UITableViewCell::kDefaultHeight);
            cell->setFrame(frame);
            section.rowFrames.push_back(frame);
            y += UITableViewCell::kDefaultHeight;
        }
        section.footerFrame = CGRectZero;
        CGFloat footerWidth = std::max<CGFloat>(0, rowWidth - 2 * kFooterTextInset);
        if (long lines = footerLines(section.footerTitle.get(), footerWidth)) {
            section.footerFrame = CGRectMake(inset + kFooterTextInset, y + kFooterTopPadding, footerWidth, lines * kFooterLineHeight);
            y += kFooterTopPadding + lines * kFooterLineHeight;
        }
    }
}

void UITableView::layoutSubviewsImp(UITableView* self, SEL cmd)
{
    objc_msgSendSuper(UIView::staticClass(), self, cmd);
    self->layoutRows();
}

void UITableView::registerRuntimeClass()
{
    Class cls = objc::defineClass<UITableView>("UITableView", UIView::staticClass());
    objc::addMethod(cls, "initWithFrame:style:", &initWithFrameStyleImp);
    objc::addMethod(cls, "setTableHeaderView:", &setTableHeaderViewImp);
    objc::addMethod(cls, "tableHeaderView", +[](UITableView* self, SEL) -> id { return self->tableHeaderView(); });
    objc::addMethod(cls, "layoutSubviews", &layoutSubviewsImp);
    objc::addMethod(cls, "reloadData", +[](UITableView* self, SEL) { self->reloadData(); });
}
