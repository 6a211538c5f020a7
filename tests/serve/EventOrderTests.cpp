// What a page following `lumetrix-sim serve` hears after a click, and in what order: the
// frame the click made comes before the news that its line is running, so the page,
// the network and the phone are not busy with that news while the frame is on its way.
#include "tests/support/EventStream.h"
#include "tests/support/ServedPhone.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using nlohmann::json;
using namespace std::chrono_literals;

namespace {

// Events as they arrive on a stream that takes pieces, as the page's does.
class HeardEvents {
public:
    explicit HeardEvents(const std::string& host)
    {
        m_thread = std::thread([this, host] {
            testing_support::readEventStream(host, "/events?pieces=1", 10s, [this](const std::string& name, const std::string& data) {
                std::lock_guard lock(m_mutex);
                m_events.emplace_back(name, json::parse(data, nullptr, false));
                return !m_stopping;
            });
        });
    }
    ~HeardEvents()
    {
        m_stopping = true;
        m_thread.join();
    }
    std::vector<std::pair<std::string, json>> since(std::size_t first)
    {
        std::lock_guard lock(m_mutex);
        return { m_events.begin() + static_cast<std::ptrdiff_t>(std::min(first, m_events.size())), m_events.end() };
    }
    std::size_t count()
    {
        std::lock_guard lock(m_mutex);
        return m_events.size();
    }

private:
    std::thread m_thread;
    std::atomic<bool> m_stopping { false };
    std::mutex m_mutex;
    std::vector<std::pair<std::string, json>> m_events;
};

bool isPicture(const std::string& name) { return name == "frame" || name == "piece"; }

TEST(Serve_EventOrder, AClicksFrameComesBeforeTheNewsOfItsLine)
{
    // Removed however the test ends, a failed assertion included.
    struct Work {
        fs::path path = fs::temp_directory_path() / ("lumetrix-serve-order-" + std::to_string(getpid()));
        Work() { fs::create_directories(path); }
        ~Work() { fs::remove_all(path); }
    } scratch;
    const fs::path& work = scratch.path;
    std::ofstream(work / "phone.scenario") << "pref dynamicenabled true\ntrack \"Daybreak\" \"The Lumen Trio\" 214 artwork \"" << LUMETRIX_SCENARIO_MEDIA
                                           << "/daybreak.png\"\nplay\nboot\nwait 2\n";
    ServedPhone server(LUMETRIX_SIM, { "--out", (work / "out").string(), (work / "phone.scenario").string() });
    ASSERT_TRUE(server.waitUntilLive(20)) << "the phone never came up";
    httplib::Client client(server.host());
    // Paused, only the clicks change the screen; recording, each line that runs shows in
    // the status as one more recorded line.
    ASSERT_TRUE(client.Post("/api/clock", "pause", "text/plain"));
    ASSERT_TRUE(client.Post("/api/record", "start", "text/plain"));
    HeardEvents heard(server.host());
    for (int tries = 0; tries < 100 && heard.count() < 3; ++tries)
        std::this_thread::sleep_for(20ms);

    for (int click = 0; click < 4; ++click) {
        int linesBefore = server.status()["recording"]["lines"].get<int>();
        std::size_t from = heard.count();
        auto answer = client.Post("/api/action", "tap lockscreen 50", "text/plain");
        ASSERT_TRUE(answer);
        ASSERT_EQ(answer->status, 200) << answer->body;
        std::this_thread::sleep_for(300ms);
        auto events = heard.since(from);
        auto picture = std::find_if(events.begin(), events.end(), [](const std::pair<std::string, json>& event) { return isPicture(event.first); });
        ASSERT_NE(picture, events.end()) << "click " << click << " made a frame";
        auto news = std::find_if(events.begin(), events.end(), [&](const std::pair<std::string, json>& event) {
            return event.first == "status" && event.second["recording"]["lines"].get<int>() > linesBefore;
        });
        ASSERT_NE(news, events.end()) << "the status tells of click " << click << "'s line";
        EXPECT_LT(picture - events.begin(), news - events.begin()) << "click " << click << "'s frame comes first";
    }
    server.stop();
}

} // namespace
