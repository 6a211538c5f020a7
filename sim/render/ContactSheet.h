#pragma once
// A contact sheet: several pictures on one page, in rows, each reduced to the same width
// with its caption under it, and a title above, so a whole story reads at a glance.

#include "Canvas.h"

#include <string>
#include <vector>

namespace sim::render {

struct ContactSheetEntry {
    std::string imagePath; // a PNG; one that does not read shows as an empty frame
    std::string caption;
    // The picture already reduced to the layout's thumbnail width (makeThumbnail), kept
    // in memory by whoever took it; the file is read only when there is none.
    const Canvas* thumbnail = nullptr;
};

struct ContactSheetLayout {
    int columns = 4;
    int thumbnailWidth = 270; // pixels
};

Canvas makeContactSheet(const std::string& title, const std::vector<ContactSheetEntry>&, ContactSheetLayout = {});

} // namespace sim::render
