// The settings file as every process reads it: bytes that any app (or a broken disk) may
// have left in the preferences folder, through the same reader HBPreferences and the
// Settings pages use. Whatever is accepted must also be writable again and read back
// the same, or one odd value would block every later write or change on the way.

#include "Foundation/NSObject.h"
#include "Foundation/PropertyList.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace platform {
void registerFoundationClasses();
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    platform::registerFoundationClasses();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    objc::AutoreleasePool pool;
    std::vector<std::uint8_t> bytes(data, data + size);
    std::string error;
    auto value = platform::propertyListFromData(bytes, &error);
    if (!value)
        return 0;
    std::string xml = platform::xmlPropertyList(value.get(), &error);
    if (xml.empty()) {
        std::fprintf(stderr, "read but cannot be written again: %s\n", error.c_str());
        std::abort();
    }
    auto reread = platform::propertyListFromData(std::vector<std::uint8_t>(xml.begin(), xml.end()), &error);
    if (!reread) {
        std::fprintf(stderr, "written but cannot be read again: %s\n%s\n", error.c_str(), xml.c_str());
        std::abort();
    }
    // Written again, it is the same text: nothing changed on its way through a write (a
    // date squeezed into 32 bits would have).
    std::string again = platform::xmlPropertyList(reread.get(), &error);
    if (again != xml) {
        std::fprintf(stderr, "a value changed on its way through a write\n%s\n---\n%s\n", xml.c_str(), again.c_str());
        std::abort();
    }
    return 0;
}
