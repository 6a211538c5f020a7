#pragma once
// Whether anything on screen moves by itself between two dumps that read the same: a
// scrolling title that the user can see. A label scrolls on inside a hidden row or
// behind an opaque view, but that draws nothing new, so it must not make frames.

#include <nlohmann/json.hpp>

namespace sim {

// `screen`: the tree `dump screen` gives (frames in screen points).
bool aVisibleTitleScrolls(const nlohmann::json& screen);

// Whether a view is on its way to another alpha (its presentation value is not yet its
// own): the next frames differ even when this one matched the last.
bool aFadeIsUnderWay(const nlohmann::json& screen);

} // namespace sim
