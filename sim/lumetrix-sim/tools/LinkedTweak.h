#pragma once
// The tweak as lumetrix-colour's worker carries it: linked into libsimcolour.so for its
// UIImage category, which the worker attaches itself (LinkedTweak.ld), the tweak's
// initialiser left out.

#include <string>

namespace sim::tools {

// Attaches the tweak's categories once, as the runtime does when it loads the tweak: the
// platform's classes must be registered first. False, with `why`, when the worker was
// linked without them.
bool attachLinkedTweakCategories(std::string& why);

} // namespace sim::tools
