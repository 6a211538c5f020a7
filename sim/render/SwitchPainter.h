#pragma once
// A switch as iOS draws it: a 51 x 31 pill, green (or its on-tint) when on and a light
// grey outline when off, with a white round knob at the end it is switched to.

#include "PaintContext.h"

class UISwitch;

namespace sim::render {

void paintSwitch(const PaintContext&, const UISwitch*);

} // namespace sim::render
