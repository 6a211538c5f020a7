#pragma once
// A navigation bar as the Settings app shows it: the bar's background, reaching up behind
// the status bar (whose clock is drawn there), in the shown item's look (its appearance's
// background, else the bar tint, else the system's bar colour), a little see-through when
// the bar is translucent; the hairline under it unless hidden; the back button (chevron
// and the previous page's title) and the right bar button (its image or title) in their
// tints; and the top item's title when it has no title view. A title view is a subview of
// the bar and is drawn like any view.

#include "PaintContext.h"

class UINavigationBar;

namespace sim::render {

// What a translucent bar lets through of the page under it.
constexpr double kTranslucentBarAlpha = 0.82;

void paintNavigationBar(const PaintContext&, const UINavigationBar*);

} // namespace sim::render
