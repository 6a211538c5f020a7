#pragma once
// Making a fresh buffer's pages in one call. A buffer of more than a few pages that is about
// to be written whole would otherwise take one page fault for each 4 KiB page on first touch,
// and a fault costs far more than the bytes it makes (most of all in a virtual machine).

#include <cstddef>

namespace platform {

// Asks the kernel for the whole pages of [start, start + length) at once. A kernel that
// cannot (before Linux 5.14) leaves them to be faulted in as they are written.
void prefaultPages(void* start, std::size_t length);

} // namespace platform
