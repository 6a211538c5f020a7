#include "TextFieldPainter.h"

#include "RenderColor.h"
#include "TextLayout.h"

#include "UIKit/UITextField.h"

namespace sim::render {

void paintTextField(const PaintContext& paint, const UITextField* field)
{
    NSString* text = field->text();
    bool empty = !text || text->length() == 0;
    NSString* shown = empty ? field->placeholder() : text;
    if (!shown || shown->length() == 0)
        return;
    UIColorComponents color = UIColor::placeholderTextColor()->components();
    if (!empty)
        color = field->textColor() ? resolvedComponents(field->textColor()) : defaultTextComponents();
    if (color.alpha <= 0)
        return;
    cairo_t* cr = paint.context;
    CGRect bounds = field->bounds();

    cairo_save(cr);
    addRoundedRect(cr, bounds, 0);
    cairo_clip(cr);
    setSourceColor(cr, color);
    TextLayout layout(cr, shown->string(), fontSpecFor(field->font()));
    layout.setSingleLine(bounds.size.width);
    layout.setAlignment(field->textAlignment());
    layout.draw(cr, { bounds.origin.x, bounds.origin.y + (bounds.size.height - layout.size().height) / 2 });
    cairo_restore(cr);
}

} // namespace sim::render
