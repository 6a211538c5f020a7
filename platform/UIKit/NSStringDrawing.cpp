#include "NSStringDrawing.h"

#include "Foundation/NSString.h"
#include "SystemFontLayout.h"
#include "UIFont.h"

#include <algorithm>

namespace {

constexpr CGFloat kDefaultFontSize = 17;

} // namespace

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

// One pango context for measuring, made at first use and kept: fonts are loaded once per
// process, as the renderer's are.
PangoContext* measuringContext()
{
    static PangoContext* context = pango_font_map_create_context(pango_cairo_font_map_get_default());
    return context;
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

CGSize NSStringSizeWithSystemFont(const NSString* text, CGFloat pointSize, UIFontWeight weight)
{
    if (!text || !text->length())
        return CGSizeZero;
    const std::string& string = text->string();
    PangoLayout* layout = pango_layout_new(platform::measuringContext());
    platform::configureSystemFontLayout(layout, pointSize, weight);
    pango_layout_set_text(layout, string.c_str(), static_cast<int>(string.size()));
    PangoRectangle logical;
    pango_layout_get_extents(layout, nullptr, &logical);
    g_object_unref(layout);
    return { static_cast<CGFloat>(logical.width) / PANGO_SCALE, static_cast<CGFloat>(logical.height) / PANGO_SCALE };
}

CGSize NSStringSizeWithFont(const NSString* text, const UIFont* font)
{
    if (!font)
        return NSStringSizeWithSystemFont(text, kDefaultFontSize);
    return NSStringSizeWithSystemFont(text, font->pointSize(), font->isBold() ? UIFontWeightSemibold : UIFontWeightRegular);
}
