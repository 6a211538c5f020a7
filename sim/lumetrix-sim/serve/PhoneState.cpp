#include "PhoneState.h"

#include "FrameMaker.h"
#include "LivePhoneProcess.h"

#include "MediaRemote/Base64.h"
#include "UIKit/UIDeviceProfile.h"

using nlohmann::json;
namespace fs = std::filesystem;

namespace sim {

namespace {

json deviceNames()
{
    json names = json::array();
    for (auto& profile : UIDeviceProfile::all())
        names.push_back(profile.name);
    return names;
}

} // namespace

PhoneState::PhoneState(fs::path outputFolder, fs::path startupFolder)
    : m_outputFolder(std::move(outputFolder))
    , m_startupFolder(std::move(startupFolder))
    , m_log(m_outputFolder / kLiveTranscriptFile)
{
}

void PhoneState::changed(std::uint64_t& version)
{
    ++version;
    m_changed.notify_all();
}

void PhoneState::settle(int id, json outcome)
{
    m_accepted.erase(id);
    m_recordedAt.erase(id);
    outcome["id"] = id;
    m_outcomes[id] = std::move(outcome);
    // Outcomes nobody came for (a page that went away) are not kept for ever.
    while (m_outcomes.size() > 256)
        m_outcomes.erase(m_outcomes.begin());
}

void PhoneState::apply(const json& report)
{
    std::lock_guard lock(m_mutex);
    if (report.contains("frame")) {
        auto& frame = report["frame"];
        auto base64 = std::make_shared<const std::string>(frame.value("image", std::string()));
        auto image = platform::decodeBase64(*base64);
        if (!image)
            return;
        auto piece = frame.find("piece");
        bool isPiece = piece != frame.end() && piece->is_object();
        // A piece needs a whole frame under it (every phone process starts with one).
        if (isPiece && !m_whole.image)
            return;
        m_frame.number += 1;
        m_frame.time = frame.value("t", 0.0);
        m_frame.type = frame.value("type", std::string("image/png"));
        Frame made = m_frame;
        made.base64 = std::move(base64);
        made.image = std::make_shared<const std::string>(image->begin(), image->end());
        if (isPiece) {
            m_pieces.push_back({ made, piece->value("x", 0), piece->value("y", 0), piece->value("width", 0), piece->value("height", 0) });
            if (m_pieces.size() > kPiecesKept)
                composeWholeFrame();
        } else {
            m_whole = made;
            m_pieces.clear();
        }
        double scale = frame.value("scale", 1.0);
        m_framePoints = { frame.value("width", 0) / scale, frame.value("height", 0) / scale };
        changed(m_versions.frame);
    } else if (report.contains("frame-dumps")) {
        // The dumps of the frame just before (they follow it, so it is not held up).
        auto& dumps = report["frame-dumps"];
        json inspection = { { "frame", m_frame.number }, { "t", m_frame.time }, { "points", m_framePoints }, { "screen", dumps["screen"] },
            { "players", dumps["players"] } };
        m_inspection = std::make_shared<const std::string>(inspection.dump(-1, ' ', false, json::error_handler_t::replace));
        m_inspectionFrame = m_frame.number;
        m_changed.notify_all();
    } else if (report.contains("phone-start")) {
        auto& start = report["phone-start"];
        std::vector<std::string> lines;
        for (auto& line : start["lines"])
            lines.push_back(line.get<std::string>());
        m_recording.startPhone(lines, m_startupFolder);
        m_live = false;
        m_restarting = false;
        m_ended = nullptr;
        m_said.clear();
        m_music = m_settings = m_phone = nullptr;
        m_artwork.clear();
        m_log.restart("The phone starts" + (start["device"].is_string() ? " on the " + start["device"].get<std::string>() : std::string()));
        changed(m_versions.log);
        changed(m_versions.status);
    } else if (report.contains("live")) {
        m_live = true;
        // Lines that ended their SpringBoard process (a respring) are done once the next
        // one is up.
        for (auto accepted = m_accepted; auto& [id, outcome] : accepted)
            settle(id, outcome);
        changed(m_versions.status);
    } else if (report.contains("ran")) {
        auto& ran = report["ran"];
        std::string wait = ran.value("wait", std::string());
        if (!wait.empty())
            m_recording.addLine("wait " + wait, m_outputFolder);
        int id = ran.value("id", 0);
        if (ran.contains("line")) {
            std::size_t recorded = m_recording.addLine(ran["line"].get<std::string>(), m_outputFolder);
            m_accepted[id] = ran;
            m_recordedAt[id] = recorded;
        } else {
            settle(id, ran);
        }
        changed(m_versions.status);
    } else if (report.contains("done")) {
        auto& done = report["done"];
        int id = done.value("id", 0);
        json outcome = m_accepted.count(id) ? m_accepted[id] : json::object();
        outcome["failures"] = done.value("failures", 0);
        // A value the pane refused changed nothing, and would fail the replay.
        std::string line = outcome.value("line", std::string());
        if (outcome["failures"] != 0 && line.rfind("settings set ", 0) == 0 && m_recordedAt.count(id))
            m_recording.setAside(m_recordedAt[id], "the pane refused this value");
        settle(id, outcome);
        changed(m_versions.status);
    } else if (report.contains("refused")) {
        auto& refused = report["refused"];
        settle(refused.value("id", 0), { { "error", refused.value("error", std::string("refused")) } });
        changed(m_versions.status);
    } else if (report.contains("phone")) {
        m_phone = report["phone"];
        changed(m_versions.status);
    } else if (report.contains("music")) {
        m_music = report["music"];
        changed(m_versions.status);
    } else if (report.contains("artwork")) {
        for (auto& item : report["artwork"]) {
            if (auto bytes = platform::decodeBase64(item.value("data", std::string())))
                m_artwork[item.value("index", std::size_t(0))] = { item.value("type", std::string()), std::make_shared<const std::string>(bytes->begin(), bytes->end()) };
        }
        changed(m_versions.status);
    } else if (report.contains("settings")) {
        m_settings = report["settings"];
        changed(m_versions.status);
    } else if (report.contains("clock")) {
        m_clock = report["clock"];
        changed(m_versions.status);
    } else if (report.contains("log")) {
        if (m_log.readUpTo(report["log"].get<std::uint64_t>()))
            changed(m_versions.log);
    } else if (report.contains("ended")) {
        m_ended = report["ended"];
        m_live = false;
        for (auto accepted = m_accepted; auto& [id, outcome] : accepted)
            settle(id, outcome);
        changed(m_versions.status);
    }
}

void PhoneState::phoneSaid(const std::string& line)
{
    std::lock_guard lock(m_mutex);
    if (line.empty())
        return;
    m_said.push_back(line.size() > 500 ? line.substr(0, 500) + "..." : line);
    while (m_said.size() > kLinesKept)
        m_said.pop_front();
    // Printed as the phone stopped, it may come after the word that it did.
    if (!m_ended.is_null())
        changed(m_versions.status);
}

void PhoneState::close()
{
    std::lock_guard lock(m_mutex);
    m_closing = true;
    m_changed.notify_all();
}

namespace {

// `whole` with `pieces` painted over it, as the newest of them; `whole` itself when they
// cannot be painted.
PhoneState::Frame paintedOver(const PhoneState::Frame& whole, const std::vector<PhoneState::Piece>& pieces)
{
    std::vector<FramePiece> painted;
    for (auto& piece : pieces)
        painted.push_back({ piece.x, piece.y, piece.width, piece.height, piece.frame.image });
    auto composed = composeFrame(*whole.image, painted, FrameMaker::kJPEGQuality);
    if (!composed)
        return whole;
    PhoneState::Frame result = pieces.back().frame;
    result.image = std::make_shared<const std::string>(std::move(*composed));
    result.base64 = std::make_shared<const std::string>(platform::encodeBase64(std::vector<std::uint8_t>(result.image->begin(), result.image->end())));
    return result;
}

} // namespace

void PhoneState::composeWholeFrame()
{
    if (m_pieces.empty() || !m_whole.image)
        return;
    m_whole = paintedOver(m_whole, m_pieces);
    // Pieces that could not be painted are dropped with the rest.
    m_pieces.clear();
}

std::optional<PhoneState::Frame> PhoneState::frame() const
{
    Frame whole;
    std::vector<Piece> pieces;
    {
        std::lock_guard lock(m_mutex);
        if (!m_whole.image)
            return std::nullopt;
        if (m_pieces.empty())
            return m_whole;
        whole = m_whole;
        pieces = m_pieces;
    }
    // Painted without the lock: the phone's reports and the other pages go on meanwhile.
    Frame composed = paintedOver(whole, pieces);
    std::lock_guard lock(m_mutex);
    if (m_whole.number == whole.number) {
        std::uint64_t upTo = pieces.back().frame.number;
        m_whole = composed;
        std::erase_if(m_pieces, [&](const Piece& piece) { return piece.frame.number <= upTo; });
    }
    return composed;
}

std::optional<std::vector<PhoneState::Piece>> PhoneState::piecesSince(std::uint64_t shown) const
{
    std::lock_guard lock(m_mutex);
    if (!m_whole.image || shown < m_whole.number || shown > m_frame.number)
        return std::nullopt;
    std::vector<Piece> pieces;
    for (auto& piece : m_pieces) {
        if (piece.frame.number > shown)
            pieces.push_back(piece);
    }
    return pieces;
}

std::shared_ptr<const std::string> PhoneState::inspection() const
{
    std::unique_lock lock(m_mutex);
    m_changed.wait_for(lock, kLongestWaitForDumps, [&] { return m_closing || m_inspectionFrame == m_frame.number; });
    return m_inspection;
}

json PhoneState::status() const
{
    std::lock_guard lock(m_mutex);
    json music = m_music;
    if (music.is_object()) {
        for (std::size_t i = 0; i < music["tracks"].size(); ++i)
            music["tracks"][i]["artworkShown"] = m_artwork.count(i) != 0;
    }
    json ended = m_ended;
    if (ended.is_object())
        ended["said"] = m_said;
    return {
        { "live", m_live },
        { "restarting", m_restarting },
        { "ended", ended },
        { "phone", m_phone },
        { "music", music },
        { "settings", m_settings },
        { "clock", m_clock },
        { "speed", m_speed },
        { "frame", m_frame.number },
        { "recording", { { "active", m_recording.isRecording() }, { "lines", m_recording.lineCount() } } },
        { "log", m_log.count() },
        { "devices", deviceNames() },
    };
}

json PhoneState::logSince(std::size_t since) const
{
    std::lock_guard lock(m_mutex);
    return m_log.since(since);
}

std::optional<std::pair<std::string, std::shared_ptr<const std::string>>> PhoneState::artwork(std::size_t index) const
{
    std::lock_guard lock(m_mutex);
    auto found = m_artwork.find(index);
    if (found == m_artwork.end())
        return std::nullopt;
    return found->second;
}

PhoneState::Versions PhoneState::versions() const
{
    std::lock_guard lock(m_mutex);
    return m_versions;
}

PhoneState::Versions PhoneState::waitForChange(const Versions& known, std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(m_mutex);
    m_changed.wait_for(lock, timeout, [&] { return m_closing || !(m_versions == known); });
    return m_versions;
}

PhoneState::Versions PhoneState::waitForFrameWhileALineRuns(const Versions& known, std::chrono::milliseconds longest) const
{
    std::unique_lock lock(m_mutex);
    m_changed.wait_for(lock, longest, [&] { return m_closing || m_accepted.empty() || m_versions.frame != known.frame; });
    return m_versions;
}

int PhoneState::newRequestId()
{
    std::lock_guard lock(m_mutex);
    return ++m_lastRequestId;
}

std::optional<json> PhoneState::waitForOutcome(int id, std::chrono::milliseconds timeout)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait_for(lock, timeout, [&] { return m_closing || m_outcomes.count(id) != 0; });
    auto found = m_outcomes.find(id);
    if (found == m_outcomes.end())
        return std::nullopt;
    json outcome = std::move(found->second);
    m_outcomes.erase(found);
    return outcome;
}

std::size_t PhoneState::outstandingRequests() const
{
    std::lock_guard lock(m_mutex);
    return m_accepted.size();
}

void PhoneState::setSpeed(double speed)
{
    std::lock_guard lock(m_mutex);
    m_speed = speed;
    changed(m_versions.status);
}

void PhoneState::startRecording()
{
    std::lock_guard lock(m_mutex);
    m_recording.startRecording();
    changed(m_versions.status);
}

void PhoneState::stopRecording()
{
    std::lock_guard lock(m_mutex);
    m_recording.stopRecording();
    changed(m_versions.status);
}

std::string PhoneState::recordingText() const
{
    std::lock_guard lock(m_mutex);
    return m_recording.scenarioText();
}

bool PhoneState::isLive() const
{
    std::lock_guard lock(m_mutex);
    return m_live;
}

void PhoneState::markRestarting()
{
    std::lock_guard lock(m_mutex);
    m_restarting = true;
    m_live = false;
    changed(m_versions.status);
}

} // namespace sim
