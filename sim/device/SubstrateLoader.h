#pragma once
// The substrate loader: at a process's launch, loads every library in
// /Library/MobileSubstrate/DynamicLibraries whose filter plist names the process.

#include <string>
#include <vector>

namespace sim {

struct LoadedTweak {
    std::string name; // "lumetrix"
    std::string path; // host path of the .dylib
    void* handle = nullptr;
};

// Loads the matching tweaks into this process (their constructors run now) and returns
// them in load order (alphabetical, as the loader does). Libraries whose filter does not
// name `bundleIdentifier` are skipped; a library that fails to load is reported on
// standard error and skipped.
std::vector<LoadedTweak> loadTweaks(const std::string& bundleIdentifier);

} // namespace sim
