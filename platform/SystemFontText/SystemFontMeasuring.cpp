#include "UIKit/SystemFontLayout.h"
#include "UIKit/SystemFontMeasuring.h"

namespace {

// One pango context for measuring, made at first use and kept: fonts are loaded once per
// process, as the renderer's are.
PangoContext* measuringContext()
{
    static PangoContext* context = pango_font_map_create_context(pango_cairo_font_map_get_default());
    return context;
}

} // namespace

extern "C" void platformMeasureSystemFontText(const char* utf8, std::size_t length, CGFloat pointSize, UIFontWeight weight, CGSize* extents)
{
    PangoLayout* layout = pango_layout_new(measuringContext());
    platform::configureSystemFontLayout(layout, pointSize, weight);
    pango_layout_set_text(layout, utf8, static_cast<int>(length));
    PangoRectangle logical;
    pango_layout_get_extents(layout, nullptr, &logical);
    g_object_unref(layout);
    *extents = { static_cast<CGFloat>(logical.width) / PANGO_SCALE, static_cast<CGFloat>(logical.height) / PANGO_SCALE };
}
