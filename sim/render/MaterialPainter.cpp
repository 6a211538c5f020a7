#include "MaterialPainter.h"

#include "BoxBlur.h"
#include "RenderColor.h"

#include <algorithm>
#include <cmath>

namespace sim::render {

namespace {

// Recipes: 1 notifications, 2 widget hosts; anything else looks like a widget platter.
constexpr long kNotificationsRecipe = 1;

} // namespace

MaterialLook materialLookForRecipe(long recipe, CGFloat weighting, UIUserInterfaceStyle style)
{
    CGFloat strength = std::isfinite(weighting) ? std::clamp<CGFloat>(weighting, 0, 1) : 0;
    bool dark = style == UIUserInterfaceStyle::Dark;
    MaterialLook look;
    if (recipe == kNotificationsRecipe) {
        look.blurRadius = 14;
        look.tint = dark ? UIColorComponents { 0.12, 0.12, 0.13, 0.62 } : UIColorComponents { 0.96, 0.96, 0.97, 0.62 };
    } else {
        look.blurRadius = 12;
        look.tint = dark ? UIColorComponents { 0.08, 0.08, 0.09, 0.38 } : UIColorComponents { 1, 1, 1, 0.38 };
    }
    look.blurRadius *= strength;
    look.tint.alpha *= strength;
    return look;
}

MaterialLook materialLookForBlurStyle(UIBlurEffectStyle blurStyle, UIUserInterfaceStyle style)
{
    bool dark = style == UIUserInterfaceStyle::Dark;
    const UIColorComponents light { 1, 1, 1, 0.35 };
    const UIColorComponents smoky { 0.11, 0.11, 0.12, 0.6 };
    switch (blurStyle) {
    case UIBlurEffectStyleExtraLight:
        return { 15, { 1, 1, 1, 0.7 } };
    case UIBlurEffectStyleLight:
        return { 15, light };
    case UIBlurEffectStyleDark:
        return { 15, smoky };
    case UIBlurEffectStyleProminent:
        return { 15, dark ? UIColorComponents { 0.08, 0.08, 0.09, 0.78 } : UIColorComponents { 0.98, 0.98, 0.98, 0.72 } };
    case UIBlurEffectStyleRegular:
    default:
        return { 15, dark ? smoky : light };
    }
}

void paintMaterial(const PaintContext& paint, CGRect bounds, CGFloat cornerRadius, const MaterialLook& look)
{
    if (CGRectIsEmpty(bounds))
        return;
    cairo_t* cr = paint.context;
    PixelRect target = PixelRect::covering(bounds.origin.x, bounds.origin.y, bounds.size.width, bounds.size.height, paint.toCanvas)
                           .intersection(paint.layers.clipExtents())
                           .intersection(paint.layers.canvasRect());
    if (target.isEmpty())
        return;
    int radius = static_cast<int>(std::lround(look.blurRadius * paint.pixelsPerPoint));
    // The backdrop is sampled under the material only, its edges repeated outwards, as a
    // backdrop layer captures its own bounds: a small row over a coloured background
    // stays that colour instead of taking in the wallpaper around it.
    PixelRect sample = PixelRect::covering(bounds.origin.x, bounds.origin.y, bounds.size.width, bounds.size.height, paint.toCanvas)
                           .intersection(paint.layers.canvasRect());
    cairo_surface_t* backdrop = paint.layers.flatten(sample);
    boxBlur(backdrop, radius);

    cairo_save(cr);
    addRoundedRect(cr, bounds, cornerRadius);
    cairo_clip(cr);
    cairo_matrix_t canvasPixels;
    cairo_matrix_init_identity(&canvasPixels);
    paint.layers.setMatrix(canvasPixels);
    cairo_set_source_surface(cr, backdrop, sample.x, sample.y);
    cairo_paint(cr);
    setSourceColor(cr, look.tint);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_surface_destroy(backdrop);
}

} // namespace sim::render
