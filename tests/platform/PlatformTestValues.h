#pragma once
// Values several platform tests share, defined once so that the test files can be
// compiled together.

#include "Foundation/RunLoop.h"
#include "support/PlistText.h"

#include <cstdint>
#include <string>
#include <vector>

namespace platform_test {

// Where the main run loop's virtual clock starts.
inline constexpr double kStart = platform::RunLoop::kDefaultStartTime;

// The first bytes of a PNG file: enough for the bytes to be taken for one.
inline const std::vector<std::uint8_t> kPNGBytes { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n', 0, 0, 0, 13 };

// A property-list file whose top-level dictionary holds the given body.
using testing_support::plist;

} // namespace platform_test
