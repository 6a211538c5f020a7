#pragma once
// The dumps' shape as this build makes them, for checking `expect` paths and setting keys
// before a run: a short-lived process loads the built tweak into SpringBoard as a run
// would, reads its exported variables and settings table, and dumps one node of each
// kind the dumper knows. The process that asks stays as clean as it was (the Settings
// app is forked from it later). The build gathers the samples once, beside the device
// package (share/lumetrix/dump-shape.json, by lumetrix-dump-shape); a payload without
// them is probed at each run.

#include "sim/lumetrix-sim/scenario/DumpShape.h"

#include <nlohmann/json.hpp>

#include <filesystem>

namespace sim {

// The samples' file in the payload's data folder.
inline constexpr const char* kDumpShapeFileName = "dump-shape.json";

// The shape from the payload's file, or from a probe when the payload has none.
scenario::DumpShape dumpShapeOfThisBuild();

// The shape from a probe. Throws std::runtime_error when the probe cannot run (the tweak
// does not load).
scenario::DumpShape probeDumpShape();

// The samples themselves (DumpShape::fromSamples), gathered in this process with a
// device laid out in `rootFolder`: it becomes SpringBoard, so call it only in a process
// of its own.
nlohmann::json gatherDumpShapeSamples(const std::filesystem::path& rootFolder);

} // namespace sim
