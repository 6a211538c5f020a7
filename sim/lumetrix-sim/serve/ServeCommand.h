#pragma once
// `lumetrix-sim serve`: the live phone behind a local web page.

#include "ServeOptions.h"

namespace sim {

// Serves until SIGINT or SIGTERM; the exit status (2 for a malformed scenario or an
// address that cannot be used).
int serveLivePhone(const ServeOptions&);

} // namespace sim
