#include "MprisNowPlayingSource.h"

#include "Foundation/RunLoop.h"
#include "MediaRemote/NowPlayingApplication.h"
#include "Platform/Platform.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdio>

namespace sim {

namespace {

// Re-read positions differ from the carried-on ones by the time the read took; less than
// this is the same position.
constexpr double kPositionTolerance = 0.25;

bool isPlaying(const std::optional<platform::NowPlayingRecord>& record)
{
    return record && record->playbackRate > 0;
}

nlohmann::json nowPlayingEvent(const std::optional<platform::NowPlayingRecord>& record, double now)
{
    nlohmann::json event = {
        { "type", "nowplaying" },
        { "playing", isPlaying(record) },
        { "title", nullptr },
        { "artist", nullptr },
        { "elapsed", 0.0 },
        { "duration", 0.0 },
    };
    if (record) {
        if (record->title)
            event["title"] = *record->title;
        if (record->artist)
            event["artist"] = *record->artist;
        event["elapsed"] = record->positionAt(now);
        event["duration"] = record->duration;
    }
    return event;
}

} // namespace

std::optional<platform::NowPlayingRecord> recordForPlayer(const PlayerState& player, double now, double steadyNow)
{
    if (player.status == PlayerState::Status::Stopped)
        return std::nullopt;
    platform::NowPlayingRecord record;
    record.title = player.title;
    record.artist = player.artist;
    record.duration = player.length;
    bool playing = player.status == PlayerState::Status::Playing;
    record.playbackRate = playing ? player.rate : 0;
    double sinceRead = player.positionReadAt > 0 ? std::max(0.0, steadyNow - player.positionReadAt) : 0;
    record.elapsedTime = platform::playbackPosition(player.position, 0, record.playbackRate, record.duration, sinceRead);
    record.timestamp = now;
    if (player.art && player.art->size()) {
        record.artworkData = player.art;
        record.artworkMIMEType = platform::imageMIMEType(*player.art);
    }
    return record;
}

bool recordChanged(const std::optional<platform::NowPlayingRecord>& previous, const std::optional<platform::NowPlayingRecord>& next, double now)
{
    if (!previous || !next)
        return previous.has_value() != next.has_value();
    if (previous->title != next->title || previous->artist != next->artist || previous->duration != next->duration
        || previous->playbackRate != next->playbackRate || previous->artworkData != next->artworkData)
        return true;
    return std::fabs(previous->positionAt(now) - next->positionAt(now)) > kPositionTolerance;
}

MprisNowPlayingSource::MprisNowPlayingSource(MusicOption option)
    : m_bridge(std::make_unique<MprisBridge>(std::move(option)))
{
    platform::RunLoop::main()->addReadSource(m_bridge->wakeFd(), [this] { takeUpdates(); });
}

MprisNowPlayingSource::~MprisNowPlayingSource()
{
    if (auto* loop = platform::RunLoop::main())
        loop->removeReadSource(m_bridge->wakeFd());
}

std::optional<platform::NowPlayingRecord> MprisNowPlayingSource::record(double)
{
    return m_record;
}

bool MprisNowPlayingSource::sendCommand(MRMediaRemoteCommand command, std::optional<double> skipInterval)
{
    double interval = skipInterval.value_or(platform::NowPlayingApplication::kDefaultSkipInterval);
    auto seek = [&](double sign) {
        if (!(interval > 0) || !std::isfinite(interval))
            return false;
        m_bridge->send(MprisBridge::Command::Seek, static_cast<std::int64_t>(std::llround(sign * interval * 1e6)));
        return true;
    };
    switch (command) {
    case kMRPlay:
        m_bridge->send(MprisBridge::Command::Play);
        return true;
    case kMRPause:
        m_bridge->send(MprisBridge::Command::Pause);
        return true;
    case kMRTogglePlayPause:
        m_bridge->send(MprisBridge::Command::PlayPause);
        return true;
    case kMRNextTrack:
        m_bridge->send(MprisBridge::Command::Next);
        return true;
    case kMRPreviousTrack:
        m_bridge->send(MprisBridge::Command::Previous);
        return true;
    case kMRSkipForward:
    case kMRSkipFifteenSeconds:
        return seek(1);
    case kMRSkipBackward:
    case kMRGoBackFifteenSeconds:
        return seek(-1);
    default:
        return false;
    }
}

void MprisNowPlayingSource::takeUpdates()
{
    for (auto& update : m_bridge->takeUpdates())
        apply(update);
}

void MprisNowPlayingSource::apply(const MprisBridge::Update& update)
{
    for (auto& message : update.messages) {
        std::fprintf(stderr, "lumetrix-sim: music: %s\n", message.c_str());
        platform::emitEvent({ { "type", "music" }, { "text", message } });
    }
    if (!update.hasState)
        return;
    auto* loop = platform::RunLoop::main();
    double now = loop->now();
    m_busName = update.player ? update.busName : std::string();
    auto next = update.player ? recordForPlayer(*update.player, now, MprisBridge::steadyNow()) : std::nullopt;
    if (!recordChanged(m_record, next, now))
        return;
    bool playingStateChanged = isPlaying(m_record) != isPlaying(next);
    m_record = std::move(next);
    platform::emitEvent(nowPlayingEvent(m_record, now));
    announceChange({ playingStateChanged });
}

} // namespace sim
