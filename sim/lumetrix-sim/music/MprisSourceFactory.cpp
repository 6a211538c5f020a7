// The bridge linked in (tests and benchmarks).

#include "MprisSourceFactory.h"

namespace sim {

std::unique_ptr<platform::NowPlayingSource> makeMprisNowPlayingSource(const MusicOption& option)
{
    return std::unique_ptr<platform::NowPlayingSource>(lumetrixNewMprisNowPlayingSource(&option));
}

} // namespace sim
