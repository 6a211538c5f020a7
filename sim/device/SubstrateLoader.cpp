#include "SubstrateLoader.h"

#include "Foundation/NSArray.h"
#include "Foundation/NSDictionary.h"
#include "Foundation/NSString.h"
#include "Foundation/PropertyList.h"
#include "Platform/Platform.h"

#include <algorithm>
#include <cstdio>
#include <dlfcn.h>
#include <filesystem>

namespace fs = std::filesystem;

namespace sim {

namespace {

bool filterNames(const fs::path& filterPath, const std::string& bundleIdentifier)
{
    auto result = platform::readPropertyList(filterPath.string());
    auto root = objc_cast<NSDictionary>(result.value.get());
    auto filter = root ? objc_cast<NSDictionary>(root->objectForKey("Filter")) : nullptr;
    auto bundles = filter ? objc_cast<NSArray>(filter->objectForKey("Bundles")) : nullptr;
    if (!bundles)
        return false;
    for (auto& entry : bundles->objects()) {
        auto name = objc_cast<NSString>(entry.get());
        if (name && name->string() == bundleIdentifier)
            return true;
    }
    return false;
}

} // namespace

std::vector<LoadedTweak> loadTweaks(const std::string& bundleIdentifier)
{
    fs::path folder = platform::devicePath("/Library/MobileSubstrate/DynamicLibraries");
    std::vector<fs::path> libraries;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        if (entry.path().extension() == ".dylib")
            libraries.push_back(entry.path());
    }
    std::sort(libraries.begin(), libraries.end());

    std::vector<LoadedTweak> loaded;
    for (const auto& library : libraries) {
        fs::path filter = library;
        filter.replace_extension(".plist");
        if (!filterNames(filter, bundleIdentifier))
            continue;
        void* handle = dlopen(library.c_str(), RTLD_NOW | RTLD_GLOBAL);
        if (!handle) {
            std::fprintf(stderr, "MS:Error: cannot load %s: %s\n", library.c_str(), dlerror());
            continue;
        }
        loaded.push_back({ library.stem().string(), library.string(), handle });
    }
    return loaded;
}

} // namespace sim
