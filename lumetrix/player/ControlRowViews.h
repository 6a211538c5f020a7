#pragma once
// The control row both players build: the rounded, blurred row with its three glyphs, and
// the title label on its own backdrop just above it. The two players differ in when the
// row is hidden and in what they build around it; this is the part they share.

#include "objc/objc.h"

class UIView;

namespace lumetrix {

enum class HideRow {
    AtCreation,
    Later
};

// Builds `subView`, the glyphs, `labelbg` and `label` on the host's `view` and stores them
// in the host's properties, with the visibility `alwaysshow` asks for (the row itself is
// hidden here only with HideRow::AtCreation; the caller hides it otherwise).
void buildControlRow(id host, UIView* view, HideRow);

} // namespace lumetrix
