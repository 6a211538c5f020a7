#include "MprisNowPlayingSource.h"
#include "MprisSourceFactory.h"

extern "C" platform::NowPlayingSource* lumetrixNewMprisNowPlayingSource(const sim::MusicOption* option)
{
    return new sim::MprisNowPlayingSource(*option);
}
