#pragma once
// A player's mpris:artUrl read into artwork bytes, which then go through the same
// decoder and limits as any artwork. Only what is already on this machine is read: a
// file:// URL naming a regular file, or a data: URL in base64. Nothing is fetched from
// the network, however the player asks.

#include "Foundation/SharedBytes.h"

#include <optional>
#include <string>

namespace sim {

struct CoverArt {
    std::optional<platform::SharedBytes> bytes;
    // Why there are none, for the log; empty when there are.
    std::string problem;
};

// At most UIImageDecoder's limit for encoded bytes is read; a larger file is refused
// without reading it whole.
CoverArt loadCoverArt(const std::string& url);

} // namespace sim
