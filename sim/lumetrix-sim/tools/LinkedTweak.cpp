#include "LinkedTweak.h"

namespace {

using Attachment = void (*)();

} // namespace

// Placed by LinkedTweak.ld around the tweak's category attachments.
extern "C" const Attachment lumetrix_tweak_categories_start[];
extern "C" const Attachment lumetrix_tweak_categories_end[];

namespace sim::tools {

bool attachLinkedTweakCategories(std::string& why)
{
    static bool attached = false;
    if (attached)
        return true;
    // The tweak has at least averageColor: none means the linker script matched none of
    // the tweak's objects, and the loader would have attached them before the platform
    // had a UIImage class.
    const Attachment* first = lumetrix_tweak_categories_start;
    const Attachment* end = lumetrix_tweak_categories_end;
    if (first == end) {
        why = "the worker was linked without the tweak's categories";
        return false;
    }
    attached = true;
    for (const Attachment* attachment = first; attachment != end; ++attachment)
        (*attachment)();
    return true;
}

} // namespace sim::tools
