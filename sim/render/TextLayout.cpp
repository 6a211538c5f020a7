#include "TextLayout.h"

#include "UIKit/SystemFontLayout.h"

namespace sim::render {

FontSpec fontSpecFor(const UIFont* font)
{
    if (!font)
        return {};
    return { font->pointSize(), font->isBold() ? FontWeight::Semibold : FontWeight::Regular };
}

void TextLayout::setSingleLine(CGFloat width)
{
    setWidth(width);
    setMaximumLines(1);
    setEllipsize(PANGO_ELLIPSIZE_END);
}

void TextLayout::setAlignment(NSTextAlignment alignment)
{
    if (alignment == NSTextAlignmentCenter)
        setAlignment(PANGO_ALIGN_CENTER);
    else if (alignment == NSTextAlignmentRight)
        setAlignment(PANGO_ALIGN_RIGHT);
}

namespace {

UIFontWeight fontWeight(FontWeight weight)
{
    switch (weight) {
    case FontWeight::Regular:
        return UIFontWeightRegular;
    case FontWeight::Semibold:
        return UIFontWeightSemibold;
    case FontWeight::Bold:
        return UIFontWeightBold;
    }
    return UIFontWeightRegular;
}

} // namespace

TextLayout::TextLayout(cairo_t* context, const std::string& text, FontSpec font)
    : m_layout(pango_cairo_create_layout(context))
{
    // The font setup UIKit measures with, so the pictures set text where UIKit placed it.
    platform::configureSystemFontLayout(m_layout, font.pointSize, fontWeight(font.weight));
    pango_layout_set_text(m_layout, text.c_str(), static_cast<int>(text.size()));
}

TextLayout::~TextLayout()
{
    g_object_unref(m_layout);
}

CGSize TextLayout::size() const
{
    PangoRectangle logical;
    pango_layout_get_extents(m_layout, nullptr, &logical);
    return { static_cast<CGFloat>(logical.width) / PANGO_SCALE, static_cast<CGFloat>(logical.height) / PANGO_SCALE };
}

void TextLayout::setWidth(CGFloat width)
{
    pango_layout_set_width(m_layout, static_cast<int>(std::max<CGFloat>(width, 0) * PANGO_SCALE));
    pango_layout_set_wrap(m_layout, PANGO_WRAP_WORD_CHAR);
}

void TextLayout::setMaximumLines(long lines)
{
    // Pango counts a negative height in lines.
    pango_layout_set_height(m_layout, lines > 0 ? -static_cast<int>(lines) : -1000);
}

void TextLayout::setEllipsize(PangoEllipsizeMode mode)
{
    pango_layout_set_ellipsize(m_layout, mode);
}

void TextLayout::setAlignment(PangoAlignment alignment)
{
    pango_layout_set_alignment(m_layout, alignment);
}

void TextLayout::draw(cairo_t* context, CGPoint origin) const
{
    cairo_save(context);
    cairo_translate(context, origin.x, origin.y);
    pango_cairo_update_layout(context, m_layout);
    pango_cairo_show_layout(context, m_layout);
    cairo_restore(context);
}

void drawCenteredText(cairo_t* context, const std::string& text, FontSpec font, CGRect rect)
{
    TextLayout layout(context, text, font);
    CGSize size = layout.size();
    layout.draw(context, { rect.origin.x + (rect.size.width - size.width) / 2, rect.origin.y + (rect.size.height - size.height) / 2 });
}

} // namespace sim::render
