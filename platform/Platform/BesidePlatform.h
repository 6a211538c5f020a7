#pragma once
// Libraries that are loaded only when their work comes up (the text stack, the renderer)
// live in the same folder as libplatform.so, wherever that was built or installed.

#include <string>

namespace platform {

// dlopen of `fileName` in libplatform.so's folder, falling back to the library search
// path. Null with `failure` set when neither loads.
void* openLibraryBesidePlatform(const std::string& fileName, int dlopenFlags, std::string& failure);

// The address of `symbol` (a library's entry) in `fileName` beside libplatform.so, loaded
// with RTLD_NOW | RTLD_LOCAL. Null with `failure` set when the library does not load or
// has no such symbol.
void* entryBesidePlatform(const std::string& fileName, const char* symbol, std::string& failure);

} // namespace platform
