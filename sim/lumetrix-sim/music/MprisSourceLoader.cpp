// The bridge loaded (lumetrix-sim): libsimmusic.so, beside libplatform.so, at the first
// `--music mpris` source.

#include "MprisSourceFactory.h"

#include "Platform/BesidePlatform.h"

#include <dlfcn.h>
#include <stdexcept>
#include <string>

namespace sim {

std::unique_ptr<platform::NowPlayingSource> makeMprisNowPlayingSource(const MusicOption& option)
{
    static const auto entry = []() -> decltype(&lumetrixNewMprisNowPlayingSource) {
        std::string failure;
        void* library = platform::openLibraryBesidePlatform("libsimmusic.so", RTLD_NOW | RTLD_LOCAL, failure);
        if (!library)
            throw std::runtime_error("cannot follow desktop players, the music bridge does not load: " + failure);
        auto found = reinterpret_cast<decltype(&lumetrixNewMprisNowPlayingSource)>(dlsym(library, "lumetrixNewMprisNowPlayingSource"));
        if (!found)
            throw std::runtime_error(std::string("cannot follow desktop players, the music bridge does not load: ") + dlerror());
        return found;
    }();
    return std::unique_ptr<platform::NowPlayingSource>(entry(&option));
}

} // namespace sim
