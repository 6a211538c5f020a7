#include "PagePrefault.h"

#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>

namespace platform {

void prefaultPages(void* start, std::size_t length)
{
#ifdef MADV_POPULATE_WRITE
    static const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    auto address = reinterpret_cast<std::uintptr_t>(start);
    auto first = (address + page - 1) & ~(page - 1);
    auto end = (address + length) & ~(page - 1);
    if (end > first)
        madvise(reinterpret_cast<void*>(first), end - first, MADV_POPULATE_WRITE);
#else
    (void)start;
    (void)length;
#endif
}

} // namespace platform
