#pragma once
// The now-playing source that follows a desktop player: SpringBoard's service reads the
// record and sends commands through it exactly as through the scripted application, and
// cannot tell them apart. The bus is the bridge thread's (MprisBridge); this side, on
// SpringBoard's thread, takes the bridge's updates when the run loop finds its
// descriptor readable, turns them into records and announces each change, as the
// scripted application's owner does: a "nowplaying" event, then the service's
// notifications. The bridge's messages go to the event log as "music" events.

#include "MprisBridge.h"
#include "MusicOption.h"

#include "MediaRemote/NowPlayingSource.h"

#include <memory>
#include <optional>
#include <string>

namespace sim {

class MprisNowPlayingSource final : public platform::NowPlayingSource {
public:
    // Needs the main run loop, which must outlive the source.
    explicit MprisNowPlayingSource(MusicOption);
    ~MprisNowPlayingSource() override;

    std::optional<platform::NowPlayingRecord> record(double now) override;
    // Play, pause, toggle, next, previous and the skips; any other command is refused.
    bool sendCommand(MRMediaRemoteCommand, std::optional<double> skipInterval) override;

    // The bus name of the player followed now, empty while none is.
    const std::string& followedPlayer() const { return m_busName; }

private:
    void takeUpdates();
    void apply(const MprisBridge::Update&);

    std::unique_ptr<MprisBridge> m_bridge;
    std::optional<platform::NowPlayingRecord> m_record;
    std::string m_busName;
};

// The record a player's state stands for at `now` (run-loop time), nothing when it is
// stopped: the position read by the bridge carried on to this instant at the player's
// rate, and the cover's bytes as they came.
std::optional<platform::NowPlayingRecord> recordForPlayer(const PlayerState&, double now, double steadyNow);

// Whether `next` says anything `previous` (carried on to `now`) does not: a listener
// hears only of real changes, not of every position the bridge re-reads.
bool recordChanged(const std::optional<platform::NowPlayingRecord>& previous, const std::optional<platform::NowPlayingRecord>& next, double now);

} // namespace sim
