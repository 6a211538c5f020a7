// Scenario text as a user (or the live page, line by line) hands it to the simulator:
// every input is either a scenario or a refusal that names FILE:LINE; nothing may crash,
// hang or escape as another kind of error.

#include "sim/lumetrix-sim/scenario/ScenarioParser.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    try {
        // A base folder that does not exist: relative artwork paths are refused, not read.
        sim::scenario::parseScenarioText(text, "fuzz.scenario", "/nonexistent-lumetrix-fuzz");
    } catch (const sim::scenario::ScenarioError& error) {
        if (std::string(error.what()).rfind("fuzz.scenario:", 0) != 0) {
            std::fprintf(stderr, "a refusal without FILE:LINE: %s\n", error.what());
            std::abort();
        }
    }
    return 0;
}
