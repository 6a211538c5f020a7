#pragma once
// What colouring costs without any start-up: the platform's decode and the tweak's
// averageColor in this process, with the tweak loaded once beforehand, timed per file in
// CPU time. The sum over many files is what one process colouring them all should come
// close to.

#include <string>
#include <vector>

namespace startup_bench {

// The CPU seconds spent colouring each file (reading it is not counted). Throws when the
// tweak does not load or a file gives no colour.
double inProcessColourSeconds(const std::vector<std::string>& files);

} // namespace startup_bench
