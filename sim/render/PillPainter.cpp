#include "PillPainter.h"

#include "RenderColor.h"

#include "UIKit/UIView.h"

#include <cstdint>

namespace sim::render {

double backdropLuminance(const PaintContext& paint, CGRect bounds)
{
    PixelRect area = PixelRect::covering(bounds.origin.x, bounds.origin.y, bounds.size.width, bounds.size.height, paint.toCanvas)
                         .intersection(paint.layers.canvasRect());
    if (area.isEmpty())
        return 0;
    cairo_surface_t* backdrop = paint.layers.flatten(area);
    const unsigned char* data = cairo_image_surface_get_data(backdrop);
    int stride = cairo_image_surface_get_stride(backdrop);
    double total = 0;
    for (int y = 0; y < area.height; ++y) {
        auto* row = reinterpret_cast<const std::uint32_t*>(data + y * stride);
        for (int x = 0; x < area.width; ++x) {
            // Premultiplied: a transparent pixel counts as black, which is what the
            // screen shows there.
            std::uint32_t p = row[x];
            total += 0.2126 * ((p >> 16) & 0xff) + 0.7152 * ((p >> 8) & 0xff) + 0.0722 * (p & 0xff);
        }
    }
    cairo_surface_destroy(backdrop);
    return total / (255.0 * area.width * area.height);
}

void paintLumaDodgePill(const PaintContext& paint, const UIView* pill, const UIColor* overrideColor)
{
    CGRect bounds = pill->bounds();
    if (CGRectIsEmpty(bounds))
        return;
    cairo_t* cr = paint.context;
    cairo_save(cr);
    if (overrideColor)
        setSourceColor(cr, overrideColor);
    else if (backdropLuminance(paint, bounds) > 0.5)
        cairo_set_source_rgba(cr, 0, 0, 0, 0.8);
    else
        cairo_set_source_rgba(cr, 1, 1, 1, 0.85);
    addRoundedRect(cr, bounds, bounds.size.height / 2);
    cairo_fill(cr);
    cairo_restore(cr);
}

} // namespace sim::render
