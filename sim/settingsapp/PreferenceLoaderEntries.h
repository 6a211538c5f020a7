#pragma once
// The Settings app's list of installed panes, as PreferenceLoader makes it: one link
// row for each /Library/PreferenceLoader/Preferences/<name>.plist whose "entry" names a
// bundle in /Library/PreferenceBundles. The bundle is loaded only when its row is
// opened, as on a device.

#include "Foundation/NSBundle.h"
#include "Preferences/PSSpecifier.h"

#include <string>
#include <vector>

namespace sim {

struct PreferenceLoaderEntry {
    objc::RefPtr<PSSpecifier> specifier; // a PSLinkCell named by the entry's label
    NSBundle* bundle = nullptr; // lives as long as the process
    std::string detailClassName; // the pane's root controller class
    std::string plistPath; // device path of the entry
};

// The entries found, sorted by label; entries that cannot be used are reported in
// `problems` and left out.
std::vector<PreferenceLoaderEntry> loadPreferenceLoaderEntries(std::vector<std::string>* problems);

// Loads the entry's bundle and resolves its controller class into the specifier.
// Returns an empty string, or why the pane cannot open.
std::string prepareEntryForOpening(PreferenceLoaderEntry&);

} // namespace sim
