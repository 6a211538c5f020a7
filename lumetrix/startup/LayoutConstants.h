#pragma once

namespace lumetrix {

// Picks the standard or the companion layout set, by whether a companion library
// (which moves the home bar itself) is installed, and writes it to the five constants.
void chooseLayoutConstants();

} // namespace lumetrix
