#include "UIKit/SystemFontLayout.h"

#include <algorithm>

namespace platform {

namespace {

constexpr const char* kFamily = "DejaVu Sans";

PangoWeight pangoWeight(UIFontWeight weight)
{
    if (weight >= UIFontWeightBold)
        return PANGO_WEIGHT_BOLD;
    if (weight >= UIFontWeightSemibold)
        return PANGO_WEIGHT_SEMIBOLD;
    return PANGO_WEIGHT_NORMAL;
}

} // namespace

void configureSystemFontLayout(PangoLayout* layout, CGFloat pointSize, UIFontWeight weight)
{
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    pango_cairo_context_set_font_options(pango_layout_get_context(layout), options);
    cairo_font_options_destroy(options);
    pango_layout_context_changed(layout);

    PangoFontDescription* description = pango_font_description_new();
    pango_font_description_set_family(description, kFamily);
    pango_font_description_set_weight(description, pangoWeight(weight));
    pango_font_description_set_absolute_size(description, std::max<CGFloat>(pointSize, 0.1) * PANGO_SCALE);
    pango_layout_set_font_description(layout, description);
    pango_font_description_free(description);
}

} // namespace platform
