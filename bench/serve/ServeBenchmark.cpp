// The live phone as the page sees it: how long after a click the new frame reaches the
// page, how many frames a second come while the control row fades in and while its
// title scrolls, and how much CPU the server and the phone's processes use while the
// phone stands still with a page open.
//
//   serve_bench [--taps N] [--scale S] [--sim PATH]
//
// --sim runs another build's lumetrix-sim (an older tree, for a before and after).
// Older servers announce a frame and let the page fetch it; the figure is then the time
// to the announcement. The stream is asked for pieces (the part of the screen that
// changed) as the page asks; a server that sends only whole frames counts those.
//
// Click to frame shown in the page is measured by the page itself in a headless
// Chromium (clicks-in-page.mjs beside this file, with the browser tests' Playwright);
// where node, Chromium or Playwright is missing that row says so and the rest is
// measured as ever.
//
// Starts `lumetrix-sim serve` on a phone playing music, listens to its event stream as
// the page does, and drives it with the page's own requests.

#include "bench/BenchArguments.h"
#include "tests/support/EventStream.h"
#include "tests/support/ServedPhone.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using nlohmann::json;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

namespace {

double secondsSince(Clock::time_point start, Clock::time_point end)
{
    return std::chrono::duration<double>(end - start).count();
}

// Frames and pieces as they arrive on the event stream.
class FrameListener {
public:
    explicit FrameListener(std::string host)
        : m_host(std::move(host))
    {
        m_thread = std::thread([this] {
            testing_support::readEventStream(m_host, "/events?pieces=1", 60s, [this](const std::string& name, const std::string& data) {
                if (name == "frame" || name == "piece") {
                    auto number = json::parse(data)["n"].get<std::uint64_t>();
                    std::lock_guard lock(m_mutex);
                    m_frames.push_back({ Clock::now(), number });
                    m_arrived.notify_all();
                }
                return !m_stopping;
            });
        });
    }
    ~FrameListener()
    {
        m_stopping = true;
        m_thread.join();
    }

    std::uint64_t newest()
    {
        std::lock_guard lock(m_mutex);
        return m_frames.empty() ? 0 : m_frames.back().second;
    }
    // When the first frame newer than `after` arrived.
    std::optional<Clock::time_point> waitForFrameAfter(std::uint64_t after, std::chrono::milliseconds timeout)
    {
        std::unique_lock lock(m_mutex);
        auto found = [&]() -> std::optional<Clock::time_point> {
            for (auto& [when, number] : m_frames) {
                if (number > after)
                    return when;
            }
            return std::nullopt;
        };
        m_arrived.wait_for(lock, timeout, [&] { return found().has_value(); });
        return found();
    }
    // Frames a second among those that arrived between `from` and `to`: the intervals
    // between the first and the last of them, so a frame just either side of the window
    // does not count as a whole frame more or less.
    double rateBetween(Clock::time_point from, Clock::time_point to)
    {
        std::lock_guard lock(m_mutex);
        std::vector<Clock::time_point> arrived;
        for (auto& frame : m_frames) {
            if (frame.first >= from && frame.first <= to)
                arrived.push_back(frame.first);
        }
        if (arrived.size() < 2)
            return 0;
        return static_cast<double>(arrived.size() - 1) / secondsSince(arrived.front(), arrived.back());
    }

private:
    std::string m_host;
    std::thread m_thread;
    std::atomic<bool> m_stopping { false };
    std::mutex m_mutex;
    std::condition_variable m_arrived;
    std::vector<std::pair<Clock::time_point, std::uint64_t>> m_frames;
};

// CPU seconds used so far by `root` and every process below it that is still running.
double cpuSecondsOfTree(pid_t root)
{
    std::map<pid_t, pid_t> parents;
    std::map<pid_t, double> seconds;
    double tick = static_cast<double>(sysconf(_SC_CLK_TCK));
    for (auto& entry : fs::directory_iterator("/proc")) {
        std::string name = entry.path().filename();
        if (name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::ifstream in(entry.path() / "stat");
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        auto close = text.rfind(')');
        if (close == std::string::npos)
            continue;
        std::istringstream fields(text.substr(close + 2));
        std::string field;
        std::vector<std::string> values;
        while (fields >> field && values.size() < 13)
            values.push_back(field);
        if (values.size() < 13)
            continue;
        pid_t pid = std::stoi(name);
        parents[pid] = std::stoi(values[1]);
        seconds[pid] = (std::stod(values[11]) + std::stod(values[12])) / tick;
    }
    double total = 0;
    for (auto& [pid, used] : seconds) {
        for (pid_t at = pid; at > 1; at = parents.count(at) ? parents[at] : 0) {
            if (at == root) {
                total += used;
                break;
            }
        }
    }
    return total;
}

// The page's own click-to-frame line, from clicks-in-page.mjs run against `address`, or
// why there is none.
std::string clicksInPage(const std::string& address, int clicks)
{
    std::string command = "node '" LUMETRIX_CLICKS_IN_PAGE "' --address http://" + address + "/ --clicks " + std::to_string(clicks) + " 2>&1";
    FILE* output = popen(command.c_str(), "r");
    if (!output)
        return "click to frame shown in the page: not measured (cannot run node)";
    std::string text;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, output))
        text += buffer;
    int status = pclose(output);
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (code == 0)
        return text;
    if (code == 77 || code == 127)
        return "click to frame shown in the page: skipped (" + (code == 127 ? std::string("no node") : text) + ")";
    return "click to frame shown in the page: failed:\n" + text;
}

double percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5)];
}

} // namespace

int main(int argc, char** argv)
{
    int taps = 20;
    int pageClicks = 40;
    std::string scale = "2";
    std::string simulator = LUMETRIX_SIM;
    bench::Arguments("serve_bench",
        "usage: serve_bench [--taps N] [--page-clicks C] [--scale S] [--sim PATH]\n\n"
        "Starts `lumetrix-sim serve` on a phone playing music and reports how long after a click\n"
        "the new frame is announced (median and 90th percentile over N taps, at least 2) and\n"
        "shown in a page in headless Chromium (C clicks, 0 for none; skipped where Chromium is\n"
        "missing), the frames a second while the control row fades and while a long title\n"
        "scrolls, and the CPU the server uses while the phone is still with a page open; S is the\n"
        "picture scale serve is given, PATH another lumetrix-sim to measure (an older build, for a\n"
        "comparison).",
        argc, argv)
        .read([&](bench::Arguments& arguments) {
        if (arguments.is("--taps"))
            taps = static_cast<int>(arguments.whole(2, 100000));
        else if (arguments.is("--page-clicks"))
            pageClicks = static_cast<int>(arguments.whole(0, 100000));
        else if (arguments.is("--scale")) {
            char text[32];
            std::snprintf(text, sizeof text, "%g", arguments.number(0.1, 10));
            scale = text;
        } else if (arguments.is("--sim"))
            simulator = arguments.text();
        else
            return false;
        return true;
    });
    fs::path work = fs::temp_directory_path() / ("lumetrix-serve-bench-" + std::to_string(getpid()));
    fs::create_directories(work);
    // A playing phone whose row stays one second after a tap, so it fades out soon, with
    // a title long enough to scroll.
    std::ofstream(work / "bench.scenario") << "pref fadeoutspeed 1\npref dynamicenabled true\n"
                                           << "track \"Daybreak over the Lumen River (extended morning mix)\" \"The Lumen Trio\" 214 artwork \""
                                           << LUMETRIX_SCENARIO_MEDIA << "/daybreak.png\"\n"
                                           << "play\nboot\nwait 3.5\n";

    std::optional<ServedPhone> server;
    try {
        server.emplace(simulator, std::vector<std::string> { "--scale", scale, "--out", (work / "out").string(), (work / "bench.scenario").string() });
    } catch (const std::exception& error) {
        std::fprintf(stderr, "serve_bench: %s\n", error.what());
        return 1;
    }
    server->waitUntilLive(20);
    std::string host = server->host();
    httplib::Client client(host);
    FrameListener frames(host);
    std::this_thread::sleep_for(500ms);

    // Click to frame: paused, so only the click changes the screen (the first shows the
    // row, the others toggle play and pause on it).
    client.Post("/api/clock", "pause", "text/plain");
    std::this_thread::sleep_for(300ms);
    std::vector<double> latencies;
    for (int i = 0; i < taps; ++i) {
        std::uint64_t before = frames.newest();
        auto sent = Clock::now();
        auto reply = client.Post("/api/action", "tap lockscreen 50", "text/plain");
        if (!reply || reply->status != 200) {
            std::fprintf(stderr, "serve_bench: the tap was refused\n");
            break;
        }
        if (auto arrived = frames.waitForFrameAfter(before, 5s))
            latencies.push_back(secondsSince(sent, *arrived) * 1000);
        std::this_thread::sleep_for(100ms);
    }

    // The same in a real page, still paused; the browser is gone before the frame rates
    // and the idle CPU are measured.
    std::string inPage = pageClicks > 0 ? clicksInPage(host, pageClicks) : "click to frame shown in the page: not asked for";

    // Frames while the row fades in (0.4 s at real time) after a tap, and out again.
    client.Post("/api/clock", "1", "text/plain");
    std::this_thread::sleep_for(2500ms);
    // The title scrolls while the row is up, after the fade in and before the fade out.
    std::vector<double> rates;
    std::vector<double> marquee;
    for (int i = 0; i < 5; ++i) {
        auto sent = Clock::now();
        auto reply = client.Post("/api/action", "tap lockscreen 50", "text/plain");
        std::this_thread::sleep_for(950ms);
        if (reply && reply->status == 200) {
            // The fade starts as the tap runs.
            rates.push_back(frames.rateBetween(sent, sent + 400ms));
            marquee.push_back(frames.rateBetween(sent + 450ms, sent + 950ms));
        }
        std::this_thread::sleep_for(2500ms);
    }

    // Still: music paused, the row faded out, the clock running, this page following.
    client.Post("/api/action", "pause", "text/plain");
    std::this_thread::sleep_for(3s);
    std::uint64_t framesBefore = frames.newest();
    double cpuBefore = cpuSecondsOfTree(server->pid());
    auto idleFrom = Clock::now();
    std::this_thread::sleep_for(10s);
    double idleCpu = (cpuSecondsOfTree(server->pid()) - cpuBefore) / secondsSince(idleFrom, Clock::now());
    std::uint64_t idleFrames = frames.newest() - framesBefore;

    server->stop();
    fs::remove_all(work);

    if (latencies.empty() || rates.empty() || marquee.empty()) {
        std::fprintf(stderr, "serve_bench: no frames measured\n");
        return 1;
    }
    auto mean = [](const std::vector<double>& values) {
        double sum = 0;
        for (double value : values)
            sum += value;
        return sum / static_cast<double>(values.size());
    };
    std::printf("%s, frames at %s px per point\n", simulator.c_str(), scale.c_str());
    std::printf("click to frame at the page: median %.1f ms, 90th percentile %.1f ms, max %.1f ms (%zu clicks)\n",
        percentile(latencies, 0.5), percentile(latencies, 0.9), percentile(latencies, 1.0), latencies.size());
    std::printf("%s\n", inPage.c_str());
    std::printf("frames per second while the row fades in: mean %.1f, lowest %.1f (%zu fades of 0.4 s)\n", mean(rates),
        *std::min_element(rates.begin(), rates.end()), rates.size());
    std::printf("frames per second while the title scrolls: mean %.1f, lowest %.1f (%zu times 0.5 s)\n", mean(marquee),
        *std::min_element(marquee.begin(), marquee.end()), marquee.size());
    std::printf("still phone with a page open: %.2f %% of a core (server and phone processes), %llu frames in 10 s\n",
        idleCpu * 100, static_cast<unsigned long long>(idleFrames));
    return 0;
}
