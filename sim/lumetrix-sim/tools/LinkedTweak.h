#pragma once
// The tweak as lumetrix-colour's worker carries it: linked into libsimcolour.so, its
// initialisers held back (LinkedTweak.ld) until the worker loads it.

#include <string>

namespace sim::tools {

// Runs the tweak's initialisers once, as the substrate loader does when it loads the
// tweak into SpringBoard: the platform's classes must be registered and the device root
// set first. False, with `why`, when the worker was linked without them.
bool loadLinkedTweak(std::string& why);

} // namespace sim::tools
