#pragma once
// Libraries that are loaded only when their work comes up (the text stack, the renderer)
// live in the same folder as libplatform.so, wherever that was built or installed.

#include <string>

namespace platform {

// dlopen of `fileName` in libplatform.so's folder, falling back to the library search
// path. Null with `failure` set when neither loads.
void* openLibraryBesidePlatform(const std::string& fileName, int dlopenFlags, std::string& failure);

} // namespace platform
