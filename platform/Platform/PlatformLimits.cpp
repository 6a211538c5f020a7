#include "PlatformLimits.h"

#include <cstdio>
#include <cstdlib>

namespace platform {

void notModelled(const std::string& call, const std::string& what)
{
    std::fprintf(stderr, "*** %s: %s is not modelled by the stand-in platform (README.md, Platform limits)\n", call.c_str(), what.c_str());
    std::fflush(stderr);
    std::abort();
}

} // namespace platform
