#pragma once
// The blend modes bitmap contexts here composite: Normal (source over), Copy and Clear.
// Anything else stops the process, naming the call, rather than drawing as Normal.

#include "CGContext.h"

// Whether drawing in `mode` is modelled.
bool CGBlendModeIsModelled(CGBlendMode);
// Stops the process with "<call>: blend mode N (name)" unless the mode is modelled.
void CGRequireModelledBlendMode(CGBlendMode, const char* call);
