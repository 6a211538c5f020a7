#include "NowPlayingInfoDictionary.h"

#include "MediaRemote.h"

#include "Foundation/NSData.h"
#include "Foundation/NSDate.h"
#include "Foundation/NSDictionary.h"
#include "Foundation/NSNumber.h"
#include "Foundation/NSString.h"

namespace platform {

objc::RefPtr<NSDictionary> makeNowPlayingInfoDictionary(const NowPlayingRecord& record)
{
    registerMediaRemoteConstants();
    std::vector<NSDictionary::Entry> entries;
    auto add = [&entries](NSString* key, objc::RefPtr<NSObject> value) { entries.emplace_back(key, std::move(value)); };
    auto addText = [&add](NSString* key, const std::optional<std::string>& text) {
        if (text)
            add(key, NSString::create(*text));
    };
    addText(kMRMediaRemoteNowPlayingInfoTitle, record.title);
    addText(kMRMediaRemoteNowPlayingInfoArtist, record.artist);
    addText(kMRMediaRemoteNowPlayingInfoAlbum, record.album);
    add(kMRMediaRemoteNowPlayingInfoDuration, NSNumber::numberWithDouble(record.duration));
    add(kMRMediaRemoteNowPlayingInfoElapsedTime, NSNumber::numberWithDouble(record.elapsedTime));
    add(kMRMediaRemoteNowPlayingInfoPlaybackRate, NSNumber::numberWithDouble(record.playbackRate));
    add(kMRMediaRemoteNowPlayingInfoTimestamp, NSDate::dateWithTimeIntervalSinceReferenceDate(record.timestamp));
    if (record.artworkData)
        add(kMRMediaRemoteNowPlayingInfoArtworkData, NSData::dataWithBytesNoCopy(*record.artworkData));
    addText(kMRMediaRemoteNowPlayingInfoArtworkMIMEType, record.artworkMIMEType);
    return NSDictionary::create(std::move(entries));
}

} // namespace platform
