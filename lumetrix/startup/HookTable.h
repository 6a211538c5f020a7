#pragma once

namespace lumetrix {

// Replaces and adds every method of the tweak, in its fixed order. Runs once, at load,
// and only when the master switch is on.
void installHooks();

} // namespace lumetrix
