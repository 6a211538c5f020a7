#pragma once
// Where a call asks for something the stand-in platform does not model. A phone would do
// it; quietly doing something simpler here (drawing Normal for Multiply, treating an
// inequality as an equality) would let a fault pass every test and show only on a phone,
// so the process stops instead, naming the call. README.md, "Platform limits", lists what
// is not modelled.

#include <string>

namespace platform {

// Stops the process: "*** <call>: <what> is not modelled by the stand-in platform".
[[noreturn]] void notModelled(const std::string& call, const std::string& what);

} // namespace platform
