// libsimserve.so's entry, which lumetrix-sim looks up when it serves (LoadedServe.h).

#include "ServeCommand.h"

#include "sim/lumetrix-sim/LoadedServe.h"

extern "C" int lumetrixServeLivePhone(const sim::ServeOptions* options)
{
    return sim::serveLivePhone(*options);
}
