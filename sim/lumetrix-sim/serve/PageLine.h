#pragma once
// A line the page sends, read as the live phone will run it: by the scenario parser, as
// a line that follows `boot` (the page talks to a phone that is on), with relative files
// in the session's output folder. What the parser refuses, and anything that would read
// or write a file outside that folder or the device root, is refused with the message
// the page shows; nothing runs.

#include "sim/lumetrix-sim/scenario/Command.h"

#include <filesystem>
#include <stdexcept>
#include <string>

namespace sim {

class PageLineRefused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The longest line the page may send.
inline constexpr std::size_t kMaximumPageLine = 1024;

// The command, named "page:NUMBER" in messages about it. Throws PageLineRefused.
scenario::Command readPageLine(const std::string& line, const std::filesystem::path& outputFolder, int number);

// A path a line names may be used when it stays inside the folder it is relative to:
// not absolute, no "..", not empty.
bool staysInsideFolder(const std::string& relativePath);

} // namespace sim
