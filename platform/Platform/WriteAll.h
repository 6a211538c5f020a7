#pragma once
// Writing every byte to a descriptor: write(2) may take fewer than it is given (a pipe, a
// signal), and an interrupted call is tried again.

#include <string_view>

namespace platform {

// Writes all of `bytes` to `descriptor` at its offset; false with errno set when it cannot
// (EIO when the descriptor takes no more and says no error).
bool writeAll(int descriptor, std::string_view bytes);

} // namespace platform
