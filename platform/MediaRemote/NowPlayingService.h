#pragma once
// SpringBoard's end of the now-playing service: it reads the record from a
// NowPlayingSource, answers MRMediaRemoteGetNowPlayingInfo and MRMediaRemoteSendCommand,
// and tells the process of every change the source announces.
//
// On each change, in this order:
//   1. the media-controller updater (registered by SpringBoard's host, which passes the
//      dictionary on to SBMediaController's setNowPlayingInfo:) gets the fresh
//      dictionary, or nil when nothing is playing;
//   2. kMRMediaRemoteNowPlayingInfoDidChangeNotification is posted;
//   3. kMRMediaRemoteNowPlayingApplicationIsPlayingDidChangeNotification is posted, only
//      when the playing state changed.
// The updater goes first so that SpringBoard's own view of the player (isPlaying, which
// observers of the notifications read) is already current when they hear of it.
//
// One service per process, made by the host (or a test fixture) and destroyed with it;
// while it lives it is the one the MediaRemote functions use.

#include "MediaRemoteCommand.h"
#include "NowPlayingRecord.h"
#include "NowPlayingSource.h"

#include "objc/RefPtr.h"

#include <functional>
#include <memory>
#include <optional>

class NSDictionary;

namespace platform {

class NowPlayingService {
public:
    using MediaControllerUpdater = std::function<void(NSDictionary* info)>;

    // Takes the source over and listens to it. Stops the process if a service exists.
    explicit NowPlayingService(std::unique_ptr<NowPlayingSource>);
    ~NowPlayingService();
    NowPlayingService(const NowPlayingService&) = delete;
    NowPlayingService& operator=(const NowPlayingService&) = delete;

    // The live service, or null.
    static NowPlayingService* current();

    NowPlayingSource& source() { return *m_source; }
    void setMediaControllerUpdater(MediaControllerUpdater);

    // The record at the current time (CFAbsoluteTimeGetCurrent), and as a dictionary.
    // The dictionary is a snapshot, as the real service hands out: built once per change
    // of the record and the same immutable object for every request until the next.
    std::optional<NowPlayingRecord> record();
    objc::RefPtr<NSDictionary> nowPlayingInfo();

    // Reads the skip interval from the options (a number under
    // kMRMediaRemoteOptionSkipInterval) and hands the command to the source.
    bool sendCommand(MRMediaRemoteCommand, NSDictionary* options);

private:
    void sourceDidChange(const NowPlayingChange&);

    std::unique_ptr<NowPlayingSource> m_source;
    MediaControllerUpdater m_mediaControllerUpdater;
    // The dictionary of the record as at its last change (null: nothing playing), valid
    // until the source announces another.
    objc::RefPtr<NSDictionary> m_snapshot;
    bool m_snapshotIsCurrent = false;
};

} // namespace platform
