#pragma once
// The system symbols this platform has: the names systemImageNamed: answers. On a phone an
// unknown or misspelt name gives nil (and nothing in the log), so the catalogue is a closed
// list, and it is exactly the list of symbols the simulator's renderer can draw: a name is
// added here together with its drawing.

#include "CoreGraphics/CGGeometry.h"

#include <string>
#include <vector>

struct UISymbolCatalogueEntry {
    const char* name;
    // The image's size at a point size, in ems of that size. Every symbol here is drawn
    // into a square em box, so it scales with the point size alone and keeps its shape.
    CGFloat widthInEms;
    CGFloat heightInEms;

    CGSize sizeAtPointSize(CGFloat pointSize) const { return { widthInEms * pointSize, heightInEms * pointSize }; }
};

// Every symbol, in no particular order.
const std::vector<UISymbolCatalogueEntry>& UISymbolCatalogue();
// The entry for `name`, or null for a name the platform does not have.
const UISymbolCatalogueEntry* UISymbolCatalogueLookup(const std::string& name);
