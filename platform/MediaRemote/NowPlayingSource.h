#pragma once
// Where SpringBoard's now-playing service gets the record from and sends commands to:
// the now-playing application, in this process (InProcessNowPlayingSource) or behind a
// proxy to the process that plays the music.
//
// A proxy implements the two calls over its channel and calls announceChange when the
// other side reports a change. Both calls are made on the main thread; sendCommand only
// delivers the command, and its effect, with the change it causes, arrives later (never
// inside the call), as it would from another process.

#include "MediaRemoteCommand.h"
#include "NowPlayingChange.h"
#include "NowPlayingRecord.h"

#include <functional>
#include <optional>

namespace platform {

class NowPlayingSource {
public:
    using ChangeHandler = std::function<void(const NowPlayingChange&)>;

    virtual ~NowPlayingSource();

    // The application's record as at `now` (CFAbsoluteTime), nothing when nothing is
    // playing.
    virtual std::optional<NowPlayingRecord> record(double now) = 0;
    // Brings the source up to `now` without reading the record: whatever that changes
    // (a track that has ended by then) is announced before it returns. The record only
    // ever changes with an announcement, so a reader may keep what it built from the
    // last one until the next. Nothing by default.
    virtual void advanceTo(double now);
    // Whether the command went out (not whether the application will obey it).
    virtual bool sendCommand(MRMediaRemoteCommand, std::optional<double> skipInterval) = 0;

    // The service listens here; one handler at a time.
    void setChangeHandler(ChangeHandler);

protected:
    // For implementations: the record changed.
    void announceChange(const NowPlayingChange&);

private:
    ChangeHandler m_changeHandler;
};

} // namespace platform
