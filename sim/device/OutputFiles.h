#pragma once
// Where the files a scenario line names (dumps, pictures) are written. `run` writes them
// where the scenario says, as host paths: its user wrote the scenario. The live phone's
// output folder takes lines from a web page instead, so there every such file is opened
// beneath the folder by the kernel, and a link in it (to a folder or to a file outside)
// cannot carry a write out.

#include <cstdio>
#include <filesystem>
#include <string>

namespace sim {

// From now on, in this process and those it forks, files inside `folder` are opened
// beneath it. An empty path confines nothing.
void confineOutputFilesTo(std::filesystem::path folder);

// Opens `hostPath` for writing, emptied, its missing parent folders made; null with
// `error` saying why. A regular file only: a FIFO or a device in its place is refused.
std::FILE* openOutputFile(const std::string& hostPath, std::string* error);

// Writes `contents` to `hostPath` as openOutputFile opens it.
bool writeOutputFile(const std::string& hostPath, const std::string& contents, std::string* error);

} // namespace sim
