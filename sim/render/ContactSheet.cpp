#include "ContactSheet.h"

#include "RenderColor.h"
#include "TextLayout.h"
#include "Thumbnail.h"

#include <algorithm>
#include <cmath>

namespace sim::render {

namespace {

constexpr int kMargin = 24;
constexpr int kGap = 20;
constexpr int kTitleHeight = 56;
constexpr int kCaptionHeight = 62;

} // namespace

Canvas makeContactSheet(const std::string& title, const std::vector<ContactSheetEntry>& entries, ContactSheetLayout layout)
{
    int columns = std::max(1, std::min<int>(layout.columns, std::max<std::size_t>(1, entries.size())));
    int rows = static_cast<int>((entries.size() + columns - 1) / columns);

    // Each picture reduced to the thumbnail width; each row as tall as its tallest, so a
    // row of close-ups is not as tall as a row of whole screens.
    std::vector<Canvas> reduced;
    std::vector<const Canvas*> pictures;
    std::vector<int> heights;
    reduced.reserve(entries.size());
    for (auto& entry : entries) {
        const Canvas* picture = entry.thumbnail;
        if (!picture || !picture->isValid() || picture->width() != layout.thumbnailWidth) {
            reduced.push_back(makeThumbnail(Canvas::readPNG(entry.imagePath), layout.thumbnailWidth));
            picture = &reduced.back();
        }
        pictures.push_back(picture);
        heights.push_back(picture->isValid() ? picture->height() : layout.thumbnailWidth / 2);
    }
    std::vector<int> rowHeights(std::max(1, rows), 0);
    for (std::size_t index = 0; index < entries.size(); ++index)
        rowHeights[index / columns] = std::max(rowHeights[index / columns], heights[index]);
    std::vector<int> rowTops;
    int top = kMargin + kTitleHeight;
    for (int height : rowHeights) {
        rowTops.push_back(top);
        top += height + kCaptionHeight + kGap;
    }
    int width = 2 * kMargin + columns * layout.thumbnailWidth + (columns - 1) * kGap;
    int height = top - kGap + kMargin;

    Canvas sheet(CGRectMake(0, 0, width, height), 1);
    cairo_t* cr = cairo_create(sheet.surface());
    cairo_set_source_rgb(cr, 0.12, 0.12, 0.13);
    cairo_paint(cr);
    cairo_set_source_rgb(cr, 0.95, 0.95, 0.96);
    {
        TextLayout heading(cr, title, { 26, FontWeight::Bold });
        heading.draw(cr, { double(kMargin), double(kMargin) });
    }

    for (std::size_t index = 0; index < entries.size(); ++index) {
        int column = static_cast<int>(index % columns);
        int row = static_cast<int>(index / columns);
        double x = kMargin + column * (layout.thumbnailWidth + kGap);
        double y = rowTops[row];
        const Canvas& picture = *pictures[index];
        cairo_save(cr);
        cairo_rectangle(cr, x, y, layout.thumbnailWidth, heights[index]);
        cairo_clip(cr);
        if (picture.isValid()) {
            cairo_set_source_surface(cr, picture.surface(), x, y);
            cairo_paint(cr);
        } else {
            cairo_set_source_rgb(cr, 0.3, 0.3, 0.32);
            cairo_paint(cr);
        }
        cairo_restore(cr);

        cairo_set_source_rgb(cr, 0.85, 0.85, 0.87);
        TextLayout caption(cr, std::to_string(index + 1) + ". " + entries[index].caption, { 14, FontWeight::Regular });
        caption.setWidth(layout.thumbnailWidth);
        // Three lines: the demo tells what each step shows in a sentence.
        caption.setMaximumLines(3);
        caption.setEllipsize(PANGO_ELLIPSIZE_END);
        caption.draw(cr, { x, y + heights[index] + 6 });
    }
    cairo_destroy(cr);
    cairo_surface_flush(sheet.surface());
    return sheet;
}

} // namespace sim::render
