#pragma once
// The simulated now-playing application: a queue of tracks, a playing state, and the
// playhead sampled at the instant of the last change.
//
// Plain C++ with no runtime objects, so whichever process plays the music owns it and can
// carry it across a SpringBoard restart (toJSON / fromJSON). Time is passed in with each
// call (CFAbsoluteTime): the model has no clock of its own, and its owner keeps track
// ends on time with a NowPlayingPlaybackTimer.
//
// Behaviour a listener can count on:
// - Every change of the record takes a fresh sample (elapsed time, timestamp = the
//   instant of the change) and is reported once to every listener. A call that changes
//   nothing (play while playing, pause while paused) reports nothing.
// - There is a record while the queue has a track and the application is not stopped.
//   The first track appended becomes the current one, paused at 0. Every append is a
//   change (the queue is part of what the application publishes), except while stopped.
// - next and previous keep the playing state. previous restarts the current track once
//   it has played more than kRestartThreshold seconds (and on the first track), as the
//   Music app does; otherwise it goes to the track before.
// - At the end of a track while playing, the next track starts at the instant the last
//   one ended. After the last track of the queue (by playing through it or by next) the
//   application pauses on it, rewound to its start, so a later play plays it again.
// - stop leaves no record until play (or toggle) starts the current track from 0; other
//   commands are ignored meanwhile.
// - seek and skip keep the position within 0..duration. A playing track moved to its
//   very end ends at once: at the next call, or when the playback timer fires.

#include "MediaRemoteCommand.h"
#include "NowPlayingChange.h"
#include "NowPlayingRecord.h"
#include "NowPlayingTrack.h"

#include <nlohmann/json_fwd.hpp>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace platform {

class NowPlayingApplication {
public:
    using Change = NowPlayingChange;
    using Listener = std::function<void(const Change&)>;
    using ListenerId = std::uint64_t;

    static constexpr double kRestartThreshold = 3;
    // What a skip command moves by when its options carry no interval.
    static constexpr double kDefaultSkipInterval = 15;

    NowPlayingApplication() = default;
    NowPlayingApplication(NowPlayingApplication&&) = default;
    NowPlayingApplication& operator=(NowPlayingApplication&&) = default;

    // Listeners hear every change, in the order they were added. One removed during a
    // report is not called for the rest of it.
    ListenerId addListener(Listener);
    void removeListener(ListenerId);

    // The application's own controls.
    void appendTrack(NowPlayingTrack, double now);
    void play(double now);
    void pause(double now);
    void togglePlayPause(double now);
    void next(double now);
    void previous(double now);
    void seek(double seconds, double now);
    // Moves the playhead by `seconds` (negative: back).
    void skip(double seconds, double now);
    void stop(double now);

    // A command from the now-playing service. Obeys play, pause, toggle, next, previous
    // and the two skips (skipInterval: the option's value, kDefaultSkipInterval when
    // absent; a skip whose interval is not a positive number is refused). Returns
    // whether the command was one it obeys.
    bool handleCommand(MRMediaRemoteCommand, std::optional<double> skipInterval, double now);

    // Plays through every track end due by `now`. Every other call does this first.
    void advanceTo(double now);
    // When the current track will end if nothing else happens; nothing unless it is
    // playing a track of known length.
    std::optional<double> trackEndTime() const;

    bool hasRecord() const { return !m_queue.empty() && !m_stopped; }
    bool isPlaying() const { return m_playing; }
    bool isStopped() const { return m_stopped; }
    const std::vector<NowPlayingTrack>& queue() const { return m_queue; }
    std::size_t currentIndex() const { return m_index; }
    const NowPlayingTrack* currentTrack() const { return hasRecord() ? &m_queue[m_index] : nullptr; }
    double position(double now) const;

    // The record as sampled at the last change; nothing when nothing is playing.
    std::optional<NowPlayingRecord> record() const;
    // The simulator's "nowplaying" event for the state at `now`:
    // {"type": "nowplaying", "playing", "title", "artist", "elapsed", "duration"}, with
    // null for a missing title or artist (and for both when there is no record).
    nlohmann::json nowPlayingEvent(double now) const;

    // The whole state but the listeners. fromJSON gives nothing for JSON that is not an
    // application (wrong types, an index outside the queue).
    nlohmann::json toJSON() const;
    static std::optional<NowPlayingApplication> fromJSON(const nlohmann::json&);
    // The same with the queue from `firstTrack` on ("firstTrack" says where it starts),
    // for a reader that holds the tracks before it already: a process forked from the
    // one that owns the application hands back only what it appended, not the whole
    // queue. fromJSON takes those first tracks from `heldTracks`, and gives nothing when
    // it holds fewer than the JSON leaves out.
    nlohmann::json toJSON(std::size_t firstTrack) const;
    static std::optional<NowPlayingApplication> fromJSON(const nlohmann::json&, const std::vector<NowPlayingTrack>& heldTracks);

private:
    struct Registration {
        ListenerId id;
        std::shared_ptr<Listener> listener;
    };

    double currentDuration() const { return m_queue.empty() ? 0 : m_queue[m_index].duration; }
    // Takes the sample: the position now becomes the elapsed time, now its timestamp.
    void resample(double now);
    // Puts the playhead at `elapsed` of the current track, sampled at `at`.
    void moveTo(double elapsed, double at);
    void report(bool playingStateChanged);

    std::vector<NowPlayingTrack> m_queue;
    std::size_t m_index = 0;
    bool m_playing = false;
    bool m_stopped = false;
    double m_elapsed = 0;
    double m_timestamp = 0;
    // A listener that asks for the record runs advanceTo again; the outer call finishes
    // the work.
    bool m_advancing = false;

    std::vector<Registration> m_listeners;
    ListenerId m_nextListenerId = 1;
};

} // namespace platform
