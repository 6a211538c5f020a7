// The bridge loaded (lumetrix-sim): libsimmusic.so, beside libplatform.so, at the first
// `--music mpris` source.

#include "MprisSourceFactory.h"

#include "Platform/BesidePlatform.h"

#include <stdexcept>
#include <string>

namespace sim {

std::unique_ptr<platform::NowPlayingSource> makeMprisNowPlayingSource(const MusicOption& option)
{
    static const auto entry = [] {
        std::string failure;
        auto found = reinterpret_cast<decltype(&lumetrixNewMprisNowPlayingSource)>(
            platform::entryBesidePlatform("libsimmusic.so", "lumetrixNewMprisNowPlayingSource", failure));
        if (!found)
            throw std::runtime_error("cannot follow desktop players, the music bridge does not load: " + failure);
        return found;
    }();
    return std::unique_ptr<platform::NowPlayingSource>(entry(&option));
}

} // namespace sim
