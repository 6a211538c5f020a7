#pragma once
// What the server knows of the live phone, as the phone last reported it: the newest
// frame, the view dumps it was made with, the phone, music and Settings state, the event
// log in words, the recording, and the outcome of each line the page sent.
//
// One thread (the pipe reader) writes; the HTTP threads read. Everything a reader gets is
// a copy or an immutable shared buffer, so a slow connection holds no lock while it
// sends, and the reader never waits for the network.

#include "FrameComposer.h"
#include "LogInWords.h"
#include "Recording.h"

#include <nlohmann/json.hpp>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace sim {

class PhoneState {
public:
    PhoneState(std::filesystem::path outputFolder, std::filesystem::path startupFolder);

    // A report from the phone (PhonePipes).
    void apply(const nlohmann::json& report);
    // A line the phone's processes printed on standard error: the last few since the
    // phone started are what the page shows when it stops.
    void phoneSaid(const std::string& line);
    // The server is stopping: nobody waits for the phone any more.
    void close();

    struct Frame {
        std::uint64_t number = 0;
        double time = 0;
        std::string type;
        std::shared_ptr<const std::string> image;
        // The same image in base64, as the event stream pushes it to the page.
        std::shared_ptr<const std::string> base64;
    };
    // The newest frame whole (pieces since the last whole frame painted over it).
    std::optional<Frame> frame() const;

    // A frame that changed part of the screen: its image is that part alone, at (x, y)
    // in the whole frame's pixels.
    struct Piece {
        Frame frame;
        int x = 0, y = 0, width = 0, height = 0;
    };
    // The pieces that bring a page showing frame `shown` up to the newest frame, in
    // order; nothing when pieces cannot (the page shows none yet, or one from before the
    // last whole frame): then it takes the whole frame.
    std::optional<std::vector<Piece>> piecesSince(std::uint64_t shown) const;
    // Pieces kept since the last whole frame; beyond this they are painted into a new
    // whole frame at once.
    static constexpr std::size_t kPiecesKept = 120;
    // {"frame", "t", "points", "screen", "players"} as of the newest frame. A frame's
    // dumps come just after it: until they do (at most kLongestWaitForDumps), this waits.
    std::shared_ptr<const std::string> inspection() const;
    static constexpr std::chrono::milliseconds kLongestWaitForDumps { 200 };
    // The phone, music, Settings, clock, speed and recorder, for the page's controls.
    nlohmann::json status() const;
    // The event log in words from entry `since` on: {"next", "entries": [{"t", "text", "kind"}]}.
    nlohmann::json logSince(std::size_t since) const;
    // A track's artwork bytes and type, when the phone sent them.
    std::optional<std::pair<std::string, std::shared_ptr<const std::string>>> artwork(std::size_t index) const;

    // Changes a stream tells the page about.
    struct Versions {
        std::uint64_t frame = 0;
        std::uint64_t status = 0;
        std::uint64_t log = 0;
        bool operator==(const Versions&) const = default;
    };
    Versions versions() const;
    // Returns once something is newer than `known`, or after `timeout`.
    Versions waitForChange(const Versions& known, std::chrono::milliseconds timeout) const;
    // While a page's line runs, the frame it makes is what the page waits for: returns
    // once the frame is newer than `known`, no line is running, or after `longest`.
    Versions waitForFrameWhileALineRuns(const Versions& known, std::chrono::milliseconds longest) const;

    // Lines the page sent: a number for each, and their outcome once the phone reports it
    // ({"id", "line", "wait", "t", "failures"} or {"id", "error"}).
    int newRequestId();
    std::optional<nlohmann::json> waitForOutcome(int id, std::chrono::milliseconds timeout);
    std::size_t outstandingRequests() const;

    void setSpeed(double);
    void startRecording();
    void stopRecording();
    std::string recordingText() const;

    // Whether a phone is running and has taken its start-up lines.
    bool isLive() const;
    void markRestarting();

    // Lines of standard error kept for the page.
    static constexpr std::size_t kLinesKept = 4;

private:
    void settle(int id, nlohmann::json outcome);
    void changed(std::uint64_t& version);

    std::filesystem::path m_outputFolder;
    std::filesystem::path m_startupFolder;

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    Versions m_versions;

    void composeWholeFrame();

    // The newest frame's number and time; m_whole is the last whole frame (composed from
    // pieces when someone asked) and m_pieces the pieces after it.
    Frame m_frame;
    mutable Frame m_whole;
    mutable std::vector<Piece> m_pieces;
    nlohmann::json m_framePoints;
    std::shared_ptr<const std::string> m_inspection;
    std::uint64_t m_inspectionFrame = 0;
    nlohmann::json m_phone;
    nlohmann::json m_music;
    nlohmann::json m_settings;
    nlohmann::json m_clock;
    nlohmann::json m_ended;
    std::map<std::size_t, std::pair<std::string, std::shared_ptr<const std::string>>> m_artwork;
    double m_speed = 1;
    bool m_live = false;
    bool m_restarting = true;
    bool m_closing = false;
    std::deque<std::string> m_said;

    LogInWords m_log;

    Recording m_recording;

    int m_lastRequestId = 0;
    std::map<int, nlohmann::json> m_accepted;
    std::map<int, std::size_t> m_recordedAt;
    std::map<int, nlohmann::json> m_outcomes;
};

} // namespace sim
