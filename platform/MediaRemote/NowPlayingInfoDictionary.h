#pragma once
// The now-playing record as MediaRemote hands it to its callers: an NSDictionary under
// the kMRMediaRemoteNowPlayingInfo keys.

#include "NowPlayingRecord.h"

#include "objc/RefPtr.h"

class NSDictionary;

namespace platform {

// Texts and artwork only when present; numbers as doubles; the timestamp as an NSDate.
objc::RefPtr<NSDictionary> makeNowPlayingInfoDictionary(const NowPlayingRecord&);

} // namespace platform
