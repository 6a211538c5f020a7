#pragma once
// MediaRemote, the private framework through which SpringBoard reads what is playing and
// sends the player commands. Apple's names, in the global namespace.
//
// The string constants are NSStrings whose value is their own name, made when the
// platform registers its frameworks (platform::registerMediaRemoteConstants, right after
// Foundation's classes) and kept for the life of the process; before that they are nil.

#include "MediaRemoteCommand.h"

#include "dispatch/dispatch.h"

#include <functional>

class NSDictionary;
class NSString;

// Keys of the now-playing dictionary.
extern NSString* kMRMediaRemoteNowPlayingInfoTitle;
extern NSString* kMRMediaRemoteNowPlayingInfoArtist;
extern NSString* kMRMediaRemoteNowPlayingInfoAlbum;
extern NSString* kMRMediaRemoteNowPlayingInfoDuration;
extern NSString* kMRMediaRemoteNowPlayingInfoElapsedTime;
extern NSString* kMRMediaRemoteNowPlayingInfoPlaybackRate;
extern NSString* kMRMediaRemoteNowPlayingInfoTimestamp;
extern NSString* kMRMediaRemoteNowPlayingInfoArtworkData;
extern NSString* kMRMediaRemoteNowPlayingInfoArtworkMIMEType;

// Command options: the skip commands' interval, a positive number of seconds.
extern NSString* kMRMediaRemoteOptionSkipInterval;

// Posted on the default notification centre, object nil.
extern NSString* kMRMediaRemoteNowPlayingInfoDidChangeNotification;
extern NSString* kMRMediaRemoteNowPlayingApplicationIsPlayingDidChangeNotification;

// Calls `block` once, later (never inside this call), on `queue`, with the now-playing
// dictionary as it is then; nil when nothing is playing or there is no now-playing
// service in the process. The dictionary holds title, artist and album only when the
// application gave them, the duration, the elapsed time with the timestamp (an NSDate)
// it was sampled at, the playback rate (1 playing, 0 paused), and the artwork with its
// MIME type when there is artwork.
void MRMediaRemoteGetNowPlayingInfo(dispatch_queue_t, std::function<void(NSDictionary* info)> block);

// Sends `command` to the now-playing application; the skip commands read
// kMRMediaRemoteOptionSkipInterval from `options`. Every call is logged as a "command"
// event with the options. Returns whether the command went out (false without a
// now-playing service), not whether the application obeyed it.
bool MRMediaRemoteSendCommand(MRMediaRemoteCommand, NSDictionary* options);

namespace platform {
// Makes the string constants above. Called by registerClasses() after Foundation's
// classes; safe to call again (tests that register Foundation alone call it too).
void registerMediaRemoteConstants();
} // namespace platform
