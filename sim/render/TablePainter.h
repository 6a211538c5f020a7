#pragma once
// What a grouped table draws around its cells, as the Settings app shows it: each
// section's rows on one card of the secondary grouped background (corners rounded in an inset-grouped table), hairline
// separators between the rows of a section, inset from the rows' leading edge like the
// cells' text, and each section's footer text under it, in the secondary label colour at
// the footer size, wrapped to the footer's width; a section's header title in capitals
// above its rows, in the same colour and size. A plain table has no cards.

#include "PaintContext.h"

class UITableView;

namespace sim::render {

// UIKit's separator inset: where the cells' text starts.
constexpr CGFloat kSeparatorLeadingInset = 16;

// Under the cells: the sections' cards and the footers.
void paintTableSections(const PaintContext&, const UITableView*);
// Over the cells: the separators.
void paintTableSeparators(const PaintContext&, const UITableView*);

} // namespace sim::render
