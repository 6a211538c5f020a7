#include "BesidePlatform.h"

#include <dlfcn.h>

namespace platform {

void* openLibraryBesidePlatform(const std::string& fileName, int dlopenFlags, std::string& failure)
{
    failure.clear();
    Dl_info self;
    if (dladdr(reinterpret_cast<void*>(&openLibraryBesidePlatform), &self) && self.dli_fname) {
        std::string path = self.dli_fname;
        auto slash = path.rfind('/');
        path = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + fileName;
        if (void* library = dlopen(path.c_str(), dlopenFlags))
            return library;
        failure = dlerror();
    }
    if (void* library = dlopen(fileName.c_str(), dlopenFlags))
        return library;
    if (failure.empty())
        failure = dlerror();
    return nullptr;
}

void* entryBesidePlatform(const std::string& fileName, const char* symbol, std::string& failure)
{
    void* library = openLibraryBesidePlatform(fileName, RTLD_NOW | RTLD_LOCAL, failure);
    if (!library)
        return nullptr;
    void* entry = dlsym(library, symbol);
    if (!entry) {
        const char* why = dlerror();
        failure = why ? why : fileName + " has no " + symbol;
    }
    return entry;
}

} // namespace platform
