#include "LinkedTweak.h"

namespace {

using Initialiser = void (*)();

} // namespace

// Placed by LinkedTweak.ld around the tweak's initialiser arrays.
extern "C" const Initialiser lumetrix_tweak_init_start[];
extern "C" const Initialiser lumetrix_tweak_init_end[];

namespace sim::tools {

bool loadLinkedTweak(std::string& why)
{
    static bool loaded = false;
    if (loaded)
        return true;
    // At least the tweak's own initialiser is always there: none means the linker script
    // matched none of the tweak's objects, and the tweak would have run before main.
    const Initialiser* first = lumetrix_tweak_init_start;
    const Initialiser* end = lumetrix_tweak_init_end;
    if (first == end) {
        why = "the program was linked without the tweak's initialisers";
        return false;
    }
    loaded = true;
    for (const Initialiser* initialiser = first; initialiser != end; ++initialiser)
        (*initialiser)();
    return true;
}

} // namespace sim::tools
