#include "PreferenceLoaderEntries.h"

#include "Foundation/PropertyList.h"
#include "Platform/Platform.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace sim {

namespace {

constexpr const char* kEntriesFolder = "/Library/PreferenceLoader/Preferences";
constexpr const char* kBundlesFolder = "/Library/PreferenceBundles";

std::string stringFrom(const NSDictionary* dictionary, const char* key)
{
    auto value = objc_cast<NSString>(dictionary->objectForKey(key));
    return value ? value->string() : std::string();
}

} // namespace

std::vector<PreferenceLoaderEntry> loadPreferenceLoaderEntries(std::vector<std::string>* problems)
{
    std::vector<PreferenceLoaderEntry> entries;
    std::error_code error;
    fs::directory_iterator files(platform::devicePath(kEntriesFolder), error);
    if (error)
        return entries;
    std::vector<fs::path> paths;
    for (const auto& file : files) {
        if (file.path().extension() == ".plist")
            paths.push_back(file.path());
    }
    std::sort(paths.begin(), paths.end());
    for (const auto& path : paths) {
        std::string devicePath = std::string(kEntriesFolder) + "/" + path.filename().string();
        auto report = [&](const std::string& problem) {
            if (problems)
                problems->push_back(devicePath + ": " + problem);
        };
        auto plist = platform::readPropertyList(path.string());
        auto root = objc_cast<NSDictionary>(plist.value.get());
        auto entry = root ? objc_cast<NSDictionary>(root->objectForKey("entry")) : nullptr;
        if (!entry) {
            report(plist.value ? "has no \"entry\" dictionary" : plist.error);
            continue;
        }
        std::string bundleName = stringFrom(entry, "bundle");
        std::string label = stringFrom(entry, "label");
        std::string detail = stringFrom(entry, "detail");
        if (bundleName.empty() || label.empty()) {
            report("the entry needs a \"bundle\" and a \"label\"");
            continue;
        }
        NSBundle* bundle = NSBundle::bundleWithPath(std::string(kBundlesFolder) + "/" + bundleName + ".bundle");
        if (!bundle) {
            report("no bundle " + bundleName + ".bundle in " + kBundlesFolder);
            continue;
        }
        auto specifier = PSSpecifier::preferenceSpecifierNamed(NSString::create(label).get(), nullptr, nullptr, nullptr, nullptr, PSLinkCell, nullptr);
        for (auto& [key, value] : entry->entries())
            specifier->properties()->setObject(value.get(), key.get());
        specifier->setIdentifier(NSString::create(label).get());
        entries.push_back({ specifier, bundle, detail, devicePath });
    }
    std::sort(entries.begin(), entries.end(), [](const PreferenceLoaderEntry& a, const PreferenceLoaderEntry& b) {
        return a.specifier->name()->string() < b.specifier->name()->string();
    });
    return entries;
}

std::string prepareEntryForOpening(PreferenceLoaderEntry& entry)
{
    if (!entry.bundle->load())
        return entry.bundle->loadError();
    std::string className = entry.detailClassName;
    if (className.empty()) {
        if (auto principal = objc_cast<NSString>(entry.bundle->objectForInfoDictionaryKey("NSPrincipalClass")))
            className = principal->string();
    }
    Class cls = className.empty() ? nullptr : objc_getClass(className.c_str());
    if (!cls)
        return entry.bundle->bundlePath() + ": no controller class \"" + className + "\" after loading the bundle";
    entry.specifier->setDetailControllerClass(cls);
    return {};
}

} // namespace sim
