// How quickly the phone follows a real player: from a change made to mpv over D-Bus
// (seek, track change, play, pause) to the phone's record (the live phone's log moves
// on with the new now-playing state) and to the next frame the live phone announces.
//
//   music_follow_bench [--changes N]
//
// Starts a private bus, mpv with the mpv-mpris plugin on two generated tones, and
// `lumetrix-sim serve --music mpris:mpv`, then makes N changes (default 20) a few
// hundred milliseconds apart and prints the median and worst of each latency.

#include "tests/music/ChildProcess.h"
#include "tests/music/PrivateBus.h"
#include "tests/support/EventStream.h"
#include "tests/support/ServedPhone.h"

#include <httplib.h>
#include <nlohmann/json.hpp>
#include <sdbus-c++/sdbus-c++.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;
using namespace musictest;

namespace {

// Frame and log announcements of the live phone, as the page hears them.
class Announcements {
public:
    explicit Announcements(std::string host)
        : m_host(std::move(host))
    {
        m_thread = std::thread([this] {
            testing_support::readEventStream(m_host, "/events", 120s, [this](const std::string& name, const std::string&) {
                std::lock_guard lock(m_mutex);
                if (name == "frame")
                    m_frames.push_back(Clock::now());
                else if (name == "log")
                    m_logs.push_back(Clock::now());
                m_arrived.notify_all();
                return !m_stopping;
            });
        });
    }
    ~Announcements()
    {
        m_stopping = true;
        m_thread.detach();
    }

    // Seconds from `since` to the first announcement of the kind after it; nothing
    // within `limit`.
    std::optional<double> firstFrameAfter(Clock::time_point since, double limit) { return firstAfter(m_frames, since, limit); }
    std::optional<double> firstLogAfter(Clock::time_point since, double limit) { return firstAfter(m_logs, since, limit); }

private:
    std::optional<double> firstAfter(const std::vector<Clock::time_point>& times, Clock::time_point since, double limit)
    {
        std::unique_lock lock(m_mutex);
        std::optional<double> found;
        m_arrived.wait_for(lock, std::chrono::duration<double>(limit), [&] {
            auto it = std::find_if(times.begin(), times.end(), [&](auto time) { return time > since; });
            if (it != times.end())
                found = std::chrono::duration<double>(*it - since).count();
            return found.has_value();
        });
        return found;
    }

    std::string m_host;
    std::mutex m_mutex;
    std::condition_variable m_arrived;
    std::vector<Clock::time_point> m_frames;
    std::vector<Clock::time_point> m_logs;
    std::atomic<bool> m_stopping { false };
    std::thread m_thread;
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

void report(const char* what, const std::vector<double>& values, int asked)
{
    double worst = values.empty() ? 0 : *std::max_element(values.begin(), values.end());
    std::printf("%-34s median %7.1f ms   worst %7.1f ms   (%zu of %d changes)\n", what, median(values) * 1000, worst * 1000, values.size(), asked);
}

} // namespace

int main(int argc, char** argv)
{
    int changes = 20;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--changes" && i + 1 < argc)
            changes = std::max(1, std::atoi(argv[++i]));
        else {
            std::fprintf(stderr, "usage: music_follow_bench [--changes N]\n");
            return 2;
        }
    }
    if (!findProgram("mpv") || !findProgram("ffmpeg") || !findProgram("dbus-daemon")) {
        std::fprintf(stderr, "music_follow_bench: needs mpv, ffmpeg and dbus-daemon (scripts/setup installs them)\n");
        return 1;
    }
    fs::path folder = fs::temp_directory_path() / ("lumetrix-music-bench-" + std::to_string(getpid()));
    fs::create_directories(folder / "one");
    fs::create_directories(folder / "two");
    for (auto [name, frequency] : { std::pair { "one", 440 }, std::pair { "two", 660 } })
        runForOutput({ "ffmpeg", "-loglevel", "error", "-y", "-f", "lavfi", "-i", "sine=frequency=" + std::to_string(frequency) + ":duration=120",
                         "-metadata", std::string("title=Tone ") + name, "-metadata", "artist=Bench", (folder / name / "tone.flac").string() },
            {}, 30);
    runForOutput({ "ffmpeg", "-loglevel", "error", "-y", "-f", "lavfi", "-i", "color=c=0x2a7bd4:s=64x64", "-frames:v", "1", (folder / "one" / "cover.jpg").string() });

    auto bus = PrivateBus::start();
    if (!bus) {
        std::fprintf(stderr, "music_follow_bench: the private bus did not start\n");
        return 1;
    }
    setenv("DBUS_SESSION_BUS_ADDRESS", bus->address().c_str(), 1);
    ChildProcess mpv({ "mpv", "--no-config", "--no-video", "--ao=null", "--really-quiet", "--pause", "--script=" LUMETRIX_MPV_MPRIS_PLUGIN,
        (folder / "one" / "tone.flac").string(), (folder / "two" / "tone.flac").string() });
    auto connection = sdbus::createSessionBusConnection();
    auto player = sdbus::createProxy(*connection, "org.mpris.MediaPlayer2.mpv", "/org/mpris/MediaPlayer2");
    auto call = [&](const char* method, std::optional<std::int64_t> offset = std::nullopt) {
        auto message = player->createMethodCall("org.mpris.MediaPlayer2.Player", method);
        if (offset)
            message << *offset;
        player->callMethod(message, 2'000'000);
    };
    bool ready = false;
    for (int i = 0; i < 100 && !ready; ++i) {
        try {
            call("Pause");
            ready = true;
        } catch (const sdbus::Error&) {
            std::this_thread::sleep_for(50ms);
        }
    }
    if (!ready) {
        std::fprintf(stderr, "music_follow_bench: mpv did not appear on the bus\n");
        return 1;
    }

    std::vector<double> toRecord, toFrame;
    {
        ServedPhone phone(LUMETRIX_SIM, { "--music", "mpris:mpv", "--out", (folder / "serve").string() });
        if (!phone.waitUntilLive(60)) {
            std::fprintf(stderr, "music_follow_bench: the live phone did not come up\n");
            return 1;
        }
        Announcements announcements(phone.host());
        // The lock-screen strip is built 3 s after boot; changes before it draw nothing.
        std::this_thread::sleep_for(4s);
        const std::vector<std::pair<const char*, std::optional<std::int64_t>>> cycle {
            { "Seek", 5'000'000 }, { "Next", std::nullopt }, { "Seek", 10'000'000 }, { "Previous", std::nullopt }, { "Play", std::nullopt }, { "Pause", std::nullopt }
        };
        for (int i = 0; i < changes; ++i) {
            auto& [method, offset] = cycle[static_cast<std::size_t>(i) % cycle.size()];
            // Let the frames of the last change go by first.
            std::this_thread::sleep_for(400ms);
            auto start = Clock::now();
            call(method, offset);
            if (auto seconds = announcements.firstLogAfter(start, 2))
                toRecord.push_back(*seconds);
            if (auto seconds = announcements.firstFrameAfter(start, 2))
                toFrame.push_back(*seconds);
        }
    }
    std::printf("music_follow_bench: %d changes to mpv (seek, next, seek, previous, play, pause, ...)\n", changes);
    report("player change -> phone's record", toRecord, changes);
    report("player change -> strip's next frame", toFrame, changes);
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    return 0;
}
