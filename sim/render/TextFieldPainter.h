#pragma once
// A text field's one line: its text in its font, colour and alignment, centred
// vertically and cut to the field with an ellipsis; an empty field shows its placeholder
// (if it has one) in the placeholder colour instead.

#include "PaintContext.h"

class UITextField;

namespace sim::render {

void paintTextField(const PaintContext&, const UITextField*);

} // namespace sim::render
