#include "NowPlayingApplication.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>

namespace platform {

NowPlayingApplication::ListenerId NowPlayingApplication::addListener(Listener listener)
{
    ListenerId id = m_nextListenerId++;
    m_listeners.push_back({ id, std::make_shared<Listener>(std::move(listener)) });
    return id;
}

void NowPlayingApplication::removeListener(ListenerId id)
{
    std::erase_if(m_listeners, [id](const Registration& registration) { return registration.id == id; });
}

void NowPlayingApplication::report(bool playingStateChanged)
{
    Change change { playingStateChanged };
    // A listener may add or remove listeners (its own included): walk a copy, and skip
    // whoever was removed meanwhile. The shared function outlives its own removal.
    auto listeners = m_listeners;
    for (auto& registration : listeners) {
        bool stillRegistered = std::any_of(m_listeners.begin(), m_listeners.end(),
            [&](const Registration& current) { return current.id == registration.id; });
        if (stillRegistered)
            (*registration.listener)(change);
    }
}

double NowPlayingApplication::position(double now) const
{
    if (!hasRecord())
        return 0;
    return playbackPosition(m_elapsed, m_timestamp, m_playing ? 1 : 0, currentDuration(), now);
}

void NowPlayingApplication::resample(double now)
{
    moveTo(position(now), now);
}

void NowPlayingApplication::moveTo(double elapsed, double at)
{
    double duration = currentDuration();
    m_elapsed = std::max(0.0, duration > 0 ? std::min(elapsed, duration) : elapsed);
    m_timestamp = at;
}

std::optional<double> NowPlayingApplication::trackEndTime() const
{
    double duration = currentDuration();
    if (!hasRecord() || !m_playing || duration <= 0)
        return std::nullopt;
    return m_timestamp + (duration - m_elapsed);
}

void NowPlayingApplication::advanceTo(double now)
{
    if (m_advancing)
        return;
    m_advancing = true;
    // Every pass either moves to a later track or stops playing, so the queue's length
    // bounds the passes.
    for (std::size_t pass = 0; pass <= m_queue.size(); ++pass) {
        auto end = trackEndTime();
        if (!end || *end > now)
            break;
        if (m_index + 1 < m_queue.size()) {
            ++m_index;
            moveTo(0, *end);
            report(false);
            continue;
        }
        m_playing = false;
        moveTo(0, *end);
        report(true);
        break;
    }
    m_advancing = false;
}

void NowPlayingApplication::appendTrack(NowPlayingTrack track, double now)
{
    advanceTo(now);
    if (!std::isfinite(track.duration) || track.duration < 0)
        track.duration = 0;
    bool wasEmpty = m_queue.empty();
    if (!wasEmpty)
        resample(now);
    m_queue.push_back(std::move(track));
    if (wasEmpty) {
        m_index = 0;
        moveTo(0, now);
    }
    // The queue is part of what the application publishes; a stopped one publishes nothing.
    if (hasRecord())
        report(false);
}

void NowPlayingApplication::play(double now)
{
    advanceTo(now);
    if (m_queue.empty() || m_playing)
        return;
    if (m_stopped) {
        m_stopped = false;
        moveTo(0, now);
    } else
        resample(now);
    m_playing = true;
    report(true);
}

void NowPlayingApplication::pause(double now)
{
    advanceTo(now);
    if (!m_playing)
        return;
    resample(now);
    m_playing = false;
    report(true);
}

void NowPlayingApplication::togglePlayPause(double now)
{
    advanceTo(now);
    if (m_playing)
        pause(now);
    else
        play(now);
}

void NowPlayingApplication::next(double now)
{
    advanceTo(now);
    if (!hasRecord())
        return;
    if (m_index + 1 < m_queue.size()) {
        ++m_index;
        moveTo(0, now);
        report(false);
        return;
    }
    // Nothing after the last track: as if it had played to its end.
    bool wasPlaying = std::exchange(m_playing, false);
    moveTo(0, now);
    report(wasPlaying);
}

void NowPlayingApplication::previous(double now)
{
    advanceTo(now);
    if (!hasRecord())
        return;
    if (position(now) <= kRestartThreshold && m_index > 0)
        --m_index;
    moveTo(0, now);
    report(false);
}

void NowPlayingApplication::seek(double seconds, double now)
{
    advanceTo(now);
    if (!hasRecord() || !std::isfinite(seconds))
        return;
    moveTo(seconds, now);
    report(false);
}

void NowPlayingApplication::skip(double seconds, double now)
{
    advanceTo(now);
    if (!hasRecord() || !std::isfinite(seconds))
        return;
    moveTo(position(now) + seconds, now);
    report(false);
}

void NowPlayingApplication::stop(double now)
{
    advanceTo(now);
    if (!hasRecord())
        return;
    bool wasPlaying = std::exchange(m_playing, false);
    m_stopped = true;
    moveTo(0, now);
    report(wasPlaying);
}

bool NowPlayingApplication::handleCommand(MRMediaRemoteCommand command, std::optional<double> skipInterval, double now)
{
    auto interval = [&]() -> std::optional<double> {
        double seconds = skipInterval.value_or(kDefaultSkipInterval);
        if (!std::isfinite(seconds) || seconds <= 0)
            return std::nullopt;
        return seconds;
    };
    switch (command) {
    case kMRPlay:
        play(now);
        return true;
    case kMRPause:
        pause(now);
        return true;
    case kMRTogglePlayPause:
        togglePlayPause(now);
        return true;
    case kMRNextTrack:
        next(now);
        return true;
    case kMRPreviousTrack:
        previous(now);
        return true;
    case kMRSkipForward:
    case kMRSkipBackward: {
        auto seconds = interval();
        if (!seconds)
            return false;
        skip(command == kMRSkipForward ? *seconds : -*seconds, now);
        return true;
    }
    default:
        return false;
    }
}

std::optional<NowPlayingRecord> NowPlayingApplication::record() const
{
    const NowPlayingTrack* track = currentTrack();
    if (!track)
        return std::nullopt;
    NowPlayingRecord record;
    record.title = track->title;
    record.artist = track->artist;
    record.album = track->album;
    record.duration = track->duration;
    record.elapsedTime = m_elapsed;
    record.playbackRate = m_playing ? 1 : 0;
    record.timestamp = m_timestamp;
    record.artworkData = track->artwork;
    record.artworkMIMEType = track->artworkMIMEType();
    return record;
}

nlohmann::json NowPlayingApplication::nowPlayingEvent(double now) const
{
    nlohmann::json event = {
        { "type", "nowplaying" },
        { "playing", m_playing },
        { "title", nullptr },
        { "artist", nullptr },
        { "elapsed", 0.0 },
        { "duration", 0.0 },
    };
    if (const NowPlayingTrack* track = currentTrack()) {
        if (track->title)
            event["title"] = *track->title;
        if (track->artist)
            event["artist"] = *track->artist;
        event["elapsed"] = position(now);
        event["duration"] = track->duration;
    }
    return event;
}

nlohmann::json NowPlayingApplication::toJSON() const
{
    return toJSON(0);
}

nlohmann::json NowPlayingApplication::toJSON(std::size_t firstTrack) const
{
    firstTrack = std::min(firstTrack, m_queue.size());
    nlohmann::json queue = nlohmann::json::array();
    for (std::size_t i = firstTrack; i < m_queue.size(); ++i)
        queue.push_back(m_queue[i].toJSON());
    return {
        { "firstTrack", firstTrack },
        { "queue", std::move(queue) },
        { "index", m_index },
        { "playing", m_playing },
        { "stopped", m_stopped },
        { "elapsed", m_elapsed },
        { "timestamp", m_timestamp },
    };
}

std::optional<NowPlayingApplication> NowPlayingApplication::fromJSON(const nlohmann::json& json)
{
    return fromJSON(json, {});
}

std::optional<NowPlayingApplication> NowPlayingApplication::fromJSON(const nlohmann::json& json, const std::vector<NowPlayingTrack>& heldTracks)
{
    if (!json.is_object())
        return std::nullopt;
    auto queue = json.find("queue");
    auto index = json.find("index");
    auto playing = json.find("playing");
    auto stopped = json.find("stopped");
    auto elapsed = json.find("elapsed");
    auto timestamp = json.find("timestamp");
    if (queue == json.end() || !queue->is_array() || index == json.end() || !index->is_number_unsigned()
        || playing == json.end() || !playing->is_boolean() || stopped == json.end() || !stopped->is_boolean()
        || elapsed == json.end() || !elapsed->is_number() || timestamp == json.end() || !timestamp->is_number())
        return std::nullopt;

    std::size_t firstTrack = 0;
    if (auto first = json.find("firstTrack"); first != json.end()) {
        if (!first->is_number_unsigned() || first->get<std::size_t>() > heldTracks.size())
            return std::nullopt;
        firstTrack = first->get<std::size_t>();
    }

    NowPlayingApplication application;
    application.m_queue.reserve(firstTrack + queue->size());
    application.m_queue.assign(heldTracks.begin(), heldTracks.begin() + static_cast<std::ptrdiff_t>(firstTrack));
    for (auto& item : *queue) {
        auto track = NowPlayingTrack::fromJSON(item);
        if (!track)
            return std::nullopt;
        application.m_queue.push_back(std::move(*track));
    }
    application.m_index = index->get<std::size_t>();
    application.m_playing = playing->get<bool>();
    application.m_stopped = stopped->get<bool>();
    double sampledElapsed = elapsed->get<double>();
    double sampledAt = timestamp->get<double>();
    bool indexFits = application.m_queue.empty() ? application.m_index == 0 : application.m_index < application.m_queue.size();
    // Only an application with a record can be playing.
    if (!indexFits || (application.m_playing && !application.hasRecord()) || !std::isfinite(sampledElapsed) || !std::isfinite(sampledAt))
        return std::nullopt;
    application.moveTo(sampledElapsed, sampledAt);
    return application;
}

} // namespace platform
