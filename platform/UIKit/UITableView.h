#pragma once
// UITableView: rows in sections, filled by a data source, with an optional header view
// above them. The table asks its data source for every cell when it reloads (tables
// here are short, so there is no reuse queue and no scrolling); a header keeps its own
// height and takes the table's width, as in UIKit. A grouped table lies on the grouped
// background colour; an inset-grouped one keeps its rows off the table's sides by the
// standard margin. A section's footer text goes under its rows, as many lines as it
// takes at the footer font's size.
//
// Data-source and delegate methods are sent through the runtime by their UIKit names:
// numberOfSectionsInTableView: (optional, one section without it),
// tableView:numberOfRowsInSection:, tableView:cellForRowAtIndexPath:,
// tableView:titleForHeaderInSection: and tableView:titleForFooterInSection: (optional),
// and the delegate's tableView:didSelectRowAtIndexPath: (optional).

#include "Foundation/NSIndexPath.h"
#include "Foundation/NSString.h"
#include "UITableViewCell.h"
#include "UIView.h"

#include <vector>

enum UITableViewStyle : long {
    UITableViewStylePlain = 0,
    UITableViewStyleGrouped = 1,
    UITableViewStyleInsetGrouped = 2,
};

class UITableView : public UIView {
    OBJC_INTERFACE(UITableView)
public:
    UITableView() = default;

    static constexpr CGFloat kSectionSpacing = 35;
    static constexpr CGFloat kFooterLineHeight = 18;
    static constexpr CGFloat kFooterFontSize = 13;
    // Between a section's last row and its footer's first line.
    static constexpr CGFloat kFooterTopPadding = 6;
    // How far an inset-grouped table keeps its rows and footers from its sides.
    static constexpr CGFloat kInsetGroupedMargin = 16;
    // How far footer text is indented from the rows' leading edge.
    static constexpr CGFloat kFooterTextInset = 16;
    // A header title's line and its distance above the rows.
    static constexpr CGFloat kHeaderLineHeight = 18;
    static constexpr CGFloat kHeaderBottomPadding = 7;

    // -initWithFrame:style: (through the runtime). Returns the receiver.
    UITableView* initWithFrame(CGRect, UITableViewStyle);

    UITableViewStyle style() const { return m_style; }
    // Neither is retained, as in UIKit.
    NSObject* dataSource() const { return m_dataSource.get(); }
    void setDataSource(NSObject* dataSource) { m_dataSource = dataSource; }
    NSObject* delegate() const { return m_delegate.get(); }
    void setDelegate(NSObject* delegate) { m_delegate = delegate; }

    UIView* tableHeaderView() const { return m_tableHeaderView.get(); }
    // -setTableHeaderView: (through the runtime): replaces the header (setting the same
    // view again changes nothing) and lays the table out again.
    void sendSetTableHeaderView(UIView*);
    void setTableHeaderView(UIView*);

    // Asks the data source for everything again and lays the rows out.
    void reloadData();
    bool hasLoadedData() const { return m_loaded; }
    long numberOfSections() const { return static_cast<long>(m_sections.size()); }
    long numberOfRowsInSection(long section) const;
    // The cell now shown at `indexPath` (the data source is not asked), or null.
    UITableViewCell* cellForRowAtIndexPath(const NSIndexPath*) const;
    NSString* footerTitleForSection(long section) const;
    NSString* headerTitleForSection(long section) const;
    // Where the rows of the content lie, in the table's coordinates.
    CGRect rectForRowAtIndexPath(const NSIndexPath*) const;
    // Where a section's footer text lies (empty without one), in the table's coordinates.
    CGRect rectForFooterInSection(long section) const;
    // Where a section's header title lies (empty without one): one line at the bottom of
    // the spacing above the section's rows.
    CGRect rectForHeaderInSection(long section) const;
    // The rows of a section together (empty for a section without rows).
    CGRect rectForRowsInSection(long section) const;

    // What a user's tap on a row does: the delegate hears tableView:didSelectRowAtIndexPath:.
    void selectRowByUser(const NSIndexPath*);

    static void registerRuntimeClass();

private:
    struct Section {
        objc::RefPtr<NSString> headerTitle;
        objc::RefPtr<NSString> footerTitle;
        std::vector<objc::RefPtr<UITableViewCell>> cells;
        std::vector<CGRect> rowFrames;
        CGRect footerFrame = CGRectZero;
        CGRect headerFrame = CGRectZero;
    };

    static UITableView* initWithFrameStyleImp(UITableView*, SEL, CGRect, long style);
    static void setTableHeaderViewImp(UITableView*, SEL, id view);
    static void layoutSubviewsImp(UITableView*, SEL);

    NSString* askForTitle(SEL, long section) const;
    void layoutRows();

    UITableViewStyle m_style = UITableViewStylePlain;
    objc::WeakPtr<NSObject> m_dataSource;
    objc::WeakPtr<NSObject> m_delegate;
    objc::RefPtr<UIView> m_tableHeaderView;
    std::vector<Section> m_sections;
    bool m_loaded = false;
};
