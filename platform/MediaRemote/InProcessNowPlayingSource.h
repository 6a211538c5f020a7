#pragma once
// The now-playing source for a single-process run and for tests: the application lives
// in this process and the source calls it directly. Commands still reach it at the next
// turn of the run loop (same instant), as they would from another process.

#include "NowPlayingApplication.h"
#include "NowPlayingSource.h"

#include <memory>

namespace platform {

class InProcessNowPlayingSource final : public NowPlayingSource {
public:
    // Borrows the application, which must outlive the source.
    explicit InProcessNowPlayingSource(NowPlayingApplication&);
    ~InProcessNowPlayingSource() override;

    // Plays through any track end due by `now` first, so the record never describes a
    // track that is already over.
    std::optional<NowPlayingRecord> record(double now) override;
    void advanceTo(double now) override;
    // Needs a main run loop; without one the command is not delivered.
    bool sendCommand(MRMediaRemoteCommand, std::optional<double> skipInterval) override;

private:
    NowPlayingApplication& m_application;
    NowPlayingApplication::ListenerId m_listener;
    // Commands still queued when the source goes away find this expired and do nothing.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

} // namespace platform
