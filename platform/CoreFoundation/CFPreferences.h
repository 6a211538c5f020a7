#pragma once
// The preferences store as files: each domain (an app's or tweak's identifier) keeps its
// values in one property list under /var/mobile/Library/Preferences, which every process
// of the device reads and writes. HBPreferences and the Settings pages both go through
// here, so they agree on where a domain lives and on how a bad file is treated.

#include <string>

class NSDictionary;

namespace platform {

// The host path of `domain`'s file in the device root.
std::string preferencesFilePath(const std::string& domain);

// Writes `values` as the domain's whole file. When the file there could not be read
// (`overUnreadableFile`), it is first kept beside it as "<file>.unreadable" (numbered
// ".unreadable.2", ".3", ... when an earlier copy is still there), so settings a reader
// did not understand are never lost. `writer` names the caller in log lines; why a write
// failed goes to `problem` as well.
bool writePreferencesFile(const std::string& domain, const NSDictionary* values, bool overUnreadableFile, const char* writer,
    std::string* problem = nullptr);

} // namespace platform
