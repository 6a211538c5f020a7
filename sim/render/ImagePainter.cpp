#include "ImagePainter.h"

#include "RenderColor.h"
#include "SymbolGlyphs.h"

#include "UIKit/UIImage.h"
#include "UIKit/UIImageView.h"

#include <algorithm>
#include <cstdint>

namespace sim::render {

CGRect imageRectForContentMode(UIViewContentMode mode, CGSize imageSize, CGRect bounds)
{
    CGFloat midX = CGRectGetMidX(bounds);
    CGFloat midY = CGRectGetMidY(bounds);
    auto centred = [&](CGFloat width, CGFloat height) { return CGRectMake(midX - width / 2, midY - height / 2, width, height); };
    if (imageSize.width <= 0 || imageSize.height <= 0)
        return centred(0, 0);
    switch (mode) {
    case UIViewContentModeCenter:
        return centred(imageSize.width, imageSize.height);
    case UIViewContentModeScaleAspectFit:
    case UIViewContentModeScaleAspectFill: {
        CGFloat scaleX = bounds.size.width / imageSize.width;
        CGFloat scaleY = bounds.size.height / imageSize.height;
        CGFloat scale = mode == UIViewContentModeScaleAspectFit ? std::min(scaleX, scaleY) : std::max(scaleX, scaleY);
        return centred(imageSize.width * scale, imageSize.height * scale);
    }
    default:
        return bounds;
    }
}

cairo_surface_t* surfaceForBitmap(const CGImage& bitmap)
{
    int width = static_cast<int>(bitmap.width);
    int height = static_cast<int>(bitmap.height);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, std::max(1, width), std::max(1, height));
    if (bitmap.pixels.size() < bitmap.bytesPerRow() * bitmap.height)
        return surface;
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    // Both are premultiplied; cairo keeps a pixel as one native 32-bit ARGB word.
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + y * stride);
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = bitmap.pixel(x, y);
            row[x] = (std::uint32_t(p[3]) << 24) | (std::uint32_t(p[0]) << 16) | (std::uint32_t(p[1]) << 8) | p[2];
        }
    }
    cairo_surface_mark_dirty(surface);
    return surface;
}

void paintImageView(const PaintContext& paint, const UIImageView* view)
{
    UIImage* image = view->image();
    if (!image)
        return;
    cairo_t* cr = paint.context;
    CGRect rect = imageRectForContentMode(view->contentMode(), image->size(), view->bounds());
    if (CGRectIsEmpty(rect))
        return;
    if (image->isSymbolImage()) {
        cairo_save(cr);
        setSourceColor(cr, effectiveTint(view));
        drawSymbol(cr, image->symbolName(), rect);
        cairo_restore(cr);
        return;
    }
    const CGImageRef& bitmap = image->CGImage();
    if (!bitmap || !bitmap->width || !bitmap->height)
        return;
    cairo_surface_t* surface = surfaceForBitmap(*bitmap);
    cairo_save(cr);
    cairo_rectangle(cr, rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
    cairo_clip(cr);
    cairo_translate(cr, rect.origin.x, rect.origin.y);
    // The decoded bitmap may be smaller than the image's size (very large images are
    // decoded reduced): scale the pixels to the image's rectangle.
    cairo_scale(cr, rect.size.width / bitmap->width, rect.size.height / bitmap->height);
    cairo_set_source_surface(cr, surface, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_surface_destroy(surface);
}

} // namespace sim::render
