#pragma once
// A picture reduced to a width, as the contact sheet shows it, and its form for the trip
// between processes: pictures are taken in SpringBoard or the Settings app, the sheet is
// put together in the device process, from these reductions kept in memory rather than
// by decoding the full-size files again.

#include "Canvas.h"

#include <nlohmann/json_fwd.hpp>

namespace sim::render {

// `picture` scaled to `width` pixels across (the height keeps its proportions), with the
// filter the contact sheet has always used. Empty when the picture is.
Canvas makeThumbnail(const Canvas& picture, int width);

// {"width", "height", "pixels": base64 of the premultiplied 32-bit pixels, row by row}.
nlohmann::json thumbnailToJSON(const Canvas&);
// An empty canvas for anything that is not such a thumbnail.
Canvas thumbnailFromJSON(const nlohmann::json&);

} // namespace sim::render
