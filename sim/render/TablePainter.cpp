#include "TablePainter.h"

#include "RenderColor.h"
#include "TextLayout.h"

#include "Foundation/NSIndexPath.h"
#include "UIKit/UITableView.h"

#include <cctype>

namespace sim::render {

namespace {

constexpr CGFloat kInsetGroupedCornerRadius = 10;

std::string uppercased(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

} // namespace

void paintTableSections(const PaintContext& paint, const UITableView* table)
{
    cairo_t* cr = paint.context;
    bool grouped = table->style() != UITableViewStylePlain;
    CGFloat radius = table->style() == UITableViewStyleInsetGrouped ? kInsetGroupedCornerRadius : 0;
    // The platform's dynamic colours, resolved for the appearance being drawn.
    auto card = UIColor::secondarySystemGroupedBackgroundColor();
    auto secondaryLabel = UIColor::secondaryLabelColor();
    cairo_save(cr);
    for (long section = 0; section < table->numberOfSections(); ++section) {
        CGRect rows = table->rectForRowsInSection(section);
        if (grouped && !CGRectIsEmpty(rows)) {
            setSourceColor(cr, card.get());
            addRoundedRect(cr, rows, radius);
            cairo_fill(cr);
        }
        // Headers read in capitals, as grouped tables show them.
        NSString* header = table->headerTitleForSection(section);
        CGRect headerFrame = table->rectForHeaderInSection(section);
        if (header && !CGRectIsEmpty(headerFrame)) {
            setSourceColor(cr, secondaryLabel.get());
            TextLayout layout(cr, uppercased(header->string()), { UITableView::kFooterFontSize, FontWeight::Regular });
            layout.setSingleLine(headerFrame.size.width);
            layout.draw(cr, { headerFrame.origin.x, CGRectGetMaxY(headerFrame) - layout.size().height });
        }
        NSString* footer = table->footerTitleForSection(section);
        CGRect footerFrame = table->rectForFooterInSection(section);
        if (!footer || CGRectIsEmpty(footerFrame))
            continue;
        // Set for real here: the table only estimated the lines it needs, so the text is
        // wrapped to the width and may run a little past the estimate rather than be cut.
        setSourceColor(cr, secondaryLabel.get());
        TextLayout layout(cr, footer->string(), { UITableView::kFooterFontSize, FontWeight::Regular });
        layout.setWidth(footerFrame.size.width);
        layout.draw(cr, footerFrame.origin);
    }
    cairo_restore(cr);
}

void paintTableSeparators(const PaintContext& paint, const UITableView* table)
{
    cairo_t* cr = paint.context;
    // One device pixel, the hairline UIKit draws.
    CGFloat thickness = 1 / std::max<CGFloat>(1, paint.pixelsPerPoint);
    cairo_save(cr);
    setSourceColor(cr, UIColor::separatorColor().get());
    for (long section = 0; section < table->numberOfSections(); ++section) {
        long rows = table->numberOfRowsInSection(section);
        // Between rows only: a grouped section's card has no line at its top or bottom.
        for (long row = 0; row + 1 < rows; ++row) {
            auto indexPath = NSIndexPath::indexPathForRow(row, section);
            CGRect frame = table->rectForRowAtIndexPath(indexPath.get());
            CGFloat left = frame.origin.x + kSeparatorLeadingInset;
            cairo_rectangle(cr, left, CGRectGetMaxY(frame) - thickness, CGRectGetMaxX(frame) - left, thickness);
        }
    }
    cairo_fill(cr);
    cairo_restore(cr);
}

} // namespace sim::render
