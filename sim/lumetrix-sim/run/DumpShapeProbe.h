#pragma once
// The dumps' shape as this build makes them, for checking `expect` paths and setting keys
// before a run: a short-lived process loads the built tweak into SpringBoard as a run
// would, reads its exported variables and settings table, and dumps one node of each
// kind the dumper knows. The process that asks stays as clean as it was (the Settings
// app is forked from it later).

#include "sim/lumetrix-sim/scenario/DumpShape.h"

#include <nlohmann/json.hpp>

#include <filesystem>

namespace sim {

// Throws std::runtime_error when the probe cannot run (the tweak does not load).
scenario::DumpShape probeDumpShape();

// The samples themselves (DumpShape::fromSamples), gathered in this process with a
// device laid out in `rootFolder`: it becomes SpringBoard, so call it only in a process
// of its own.
nlohmann::json gatherDumpShapeSamples(const std::filesystem::path& rootFolder);

} // namespace sim
