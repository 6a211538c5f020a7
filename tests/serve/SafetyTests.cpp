// The safety rules of `lumetrix-sim serve`, against a running server: another site's
// page, a name that is not the server's, an oversized request and a malformed line are
// all refused, and none of them changes the phone.
#include "tests/support/ServedPhone.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <atomic>
#include <thread>
#include <vector>
#include <unistd.h>

namespace fs = std::filesystem;
using nlohmann::json;
using namespace std::chrono_literals;

namespace {

class Serve_Safety : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        output = fs::temp_directory_path() / ("lumetrix-serve-safety-" + std::to_string(getpid()));
        fs::remove_all(output);
        server = new ServedPhone(LUMETRIX_SIM, { "--out", output.string() });
        port = server->port();
        ASSERT_TRUE(server->waitUntilLive(15)) << "the phone never came up";
        httplib::Client(host()).Post("/api/clock", "pause", "text/plain");
    }

    static void TearDownTestSuite()
    {
        EXPECT_EQ(server->stop(), 143) << "serve shuts down cleanly on SIGTERM, with the status of a command it stopped";
        delete server;
        fs::remove_all(output);
    }

    static std::string host() { return "127.0.0.1:" + std::to_string(port); }
    static json status() { return server->status(); }
    static std::uintmax_t transcriptSize() { return fs::file_size(output / "transcript.jsonl"); }

    static httplib::Result postLine(const std::string& line, httplib::Headers headers = {})
    {
        return httplib::Client(host()).Post("/api/action", headers, line, "text/plain");
    }

    static inline ServedPhone* server = nullptr;
    static inline int port = 0;
    static inline fs::path output;
};

TEST_F(Serve_Safety, AnotherSitesPageCannotDriveThePhone)
{
    auto before = status();
    for (auto headers : { httplib::Headers { { "Origin", "http://evil.example" } }, httplib::Headers { { "Origin", "null" } },
             httplib::Headers { { "Sec-Fetch-Site", "cross-site" } } }) {
        auto response = postLine("unlock", headers);
        ASSERT_TRUE(response);
        EXPECT_EQ(response->status, 403);
        EXPECT_NE(response->body.find("another site"), std::string::npos);
    }
    EXPECT_EQ(status()["phone"]["locked"], true);
    EXPECT_EQ(status()["recording"]["lines"], before["recording"]["lines"]);
}

TEST_F(Serve_Safety, ANameThatIsNotTheServersIsRefused)
{
    httplib::Client client(host());
    client.set_default_headers({ { "Host", "rebound.evil.example:" + std::to_string(port) } });
    for (const char* path : { "/", "/api/status", "/frame" }) {
        auto response = client.Get(path);
        ASSERT_TRUE(response) << path;
        EXPECT_EQ(response->status, 403) << path;
    }
    // An event stream let through would never end: stop reading at its first bytes.
    std::string streamed;
    auto events = client.Get("/events", [&](const char* data, std::size_t size) {
        streamed.append(data, size);
        return streamed.find("event:") == std::string::npos;
    });
    ASSERT_TRUE(events) << "the stream was opened for a foreign name";
    EXPECT_EQ(events->status, 403);
    auto response = client.Post("/api/action", "unlock", "text/plain");
    ASSERT_TRUE(response);
    EXPECT_EQ(response->status, 403);
    EXPECT_EQ(status()["phone"]["locked"], true);
}

TEST_F(Serve_Safety, OversizedRequestsAreRefused)
{
    auto size = transcriptSize();
    auto body = postLine("pref note \"" + std::string(8000, 'x') + "\"");
    ASSERT_TRUE(body);
    EXPECT_EQ(body->status, 413);
    auto line = postLine("pref note \"" + std::string(2000, 'x') + "\"");
    ASSERT_TRUE(line);
    EXPECT_EQ(line->status, 400) << "one line is at most 1024 bytes";
    auto uri = httplib::Client(host()).Get(("/api/log?since=" + std::string(10000, '1')).c_str());
    ASSERT_TRUE(uri);
    EXPECT_EQ(uri->status, 414);
    EXPECT_EQ(transcriptSize(), size);
}

TEST_F(Serve_Safety, AMalformedLineAnswers400WithTheParsersMessageAndNothingRuns)
{
    auto before = status();
    auto size = transcriptSize();
    auto response = postLine("tap lockscreen");
    ASSERT_TRUE(response);
    EXPECT_EQ(response->status, 400);
    EXPECT_EQ(json::parse(response->body)["error"], "expected `tap lockscreen X [Y]`, `tap app APP X [Y]` or `tap screen X Y`");
    fs::remove(output.parent_path() / "escaped.json");
    auto escape = postLine("dump players ../escaped.json");
    ASSERT_TRUE(escape);
    EXPECT_EQ(escape->status, 400);
    EXPECT_FALSE(fs::exists(output.parent_path() / "escaped.json"));
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(transcriptSize(), size) << "no line ran";
    EXPECT_EQ(status()["recording"]["lines"], before["recording"]["lines"]);
}

TEST_F(Serve_Safety, AWellFormedLineRunsAndIsRecorded)
{
    // Starting a recording writes the time so far as a wait of its own; paused since,
    // the next line comes with no wait before it.
    auto recording = httplib::Client(host()).Post("/api/record", "start", "text/plain");
    ASSERT_TRUE(recording);
    ASSERT_EQ(recording->status, 200);
    auto before = status();
    auto response = postLine("unlock");
    ASSERT_TRUE(response);
    ASSERT_EQ(response->status, 200) << response->body;
    EXPECT_EQ(json::parse(response->body)["line"], "unlock");
    for (int tries = 0; tries < 100 && status()["phone"]["locked"] == true; ++tries)
        std::this_thread::sleep_for(20ms);
    EXPECT_EQ(status()["phone"]["locked"], false);
    EXPECT_EQ(status()["recording"]["lines"], before["recording"]["lines"].get<int>() + 1) << "paused: no wait before it";
}

TEST_F(Serve_Safety, EveryAnswerSaysWhatItIs)
{
    httplib::Client client(host());
    auto wrapped = client.Get("/api/log?since=-1");
    ASSERT_TRUE(wrapped);
    EXPECT_EQ(wrapped->status, 400) << "-1 is not a whole number, not the largest one";
    auto wrongMethod = client.Get("/api/action");
    ASSERT_TRUE(wrongMethod);
    EXPECT_EQ(wrongMethod->status, 405);
    EXPECT_EQ(wrongMethod->get_header_value("Allow"), "POST");
    auto postToPage = client.Post("/api/status", "", "text/plain");
    ASSERT_TRUE(postToPage);
    EXPECT_EQ(postToPage->status, 405);
    EXPECT_EQ(postToPage->get_header_value("Allow"), "GET");
    auto missing = client.Get("/no-such-thing");
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->status, 404);
    EXPECT_EQ(missing->get_header_value("Content-Type"), "application/json");
    EXPECT_TRUE(json::parse(missing->body).contains("error"));
    auto tooLarge = postLine(std::string(8000, 'x'));
    ASSERT_TRUE(tooLarge);
    EXPECT_EQ(tooLarge->status, 413);
    EXPECT_EQ(tooLarge->get_header_value("Content-Type"), "application/json");
    auto icon = client.Get("/favicon.svg");
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->status, 200);
    EXPECT_EQ(icon->get_header_value("Content-Type").rfind("image/svg+xml", 0), 0u);
}

TEST_F(Serve_Safety, ALineWithANulIsRefusedWhole)
{
    auto before = status();
    auto response = postLine(std::string("unlock\0lock", 11));
    ASSERT_TRUE(response);
    EXPECT_EQ(response->status, 400);
    EXPECT_NE(json::parse(response->body)["error"].get<std::string>().find("control character"), std::string::npos);
    EXPECT_EQ(status()["recording"]["lines"], before["recording"]["lines"]);
}

TEST_F(Serve_Safety, ArtworkIsNotCachedAcrossPhones)
{
    // A track's number names another picture on the next phone or server.
    fs::copy_file(fs::path(LUMETRIX_SCENARIO_MEDIA) / "daybreak.png", output / "cover.png", fs::copy_options::overwrite_existing);
    auto added = postLine("track \"Cover\" \"Artist\" 100 artwork cover.png");
    ASSERT_TRUE(added);
    ASSERT_EQ(added->status, 200) << added->body;
    auto shown = [] {
        json tracks = status()["music"].value("tracks", json::array());
        return !tracks.empty() && tracks.back().value("artworkShown", false);
    };
    for (int tries = 0; tries < 100 && !shown(); ++tries)
        std::this_thread::sleep_for(20ms);
    ASSERT_TRUE(shown());
    std::size_t index = status()["music"]["tracks"].size() - 1;
    auto artwork = httplib::Client(host()).Get(("/api/artwork/" + std::to_string(index)).c_str());
    ASSERT_TRUE(artwork);
    ASSERT_EQ(artwork->status, 200);
    EXPECT_EQ(artwork->get_header_value("Cache-Control"), "no-store");
}

TEST_F(Serve_Safety, PagesBeyondTheLimitAreToldWhyAndWhenToRetry)
{
    // Each open stream is a page following the phone; stop reading one to let it go.
    std::atomic<bool> release { false };
    std::atomic<int> open { 0 };
    std::vector<std::thread> pages;
    for (int i = 0; i < 8; ++i) {
        pages.emplace_back([&] {
            httplib::Client client(host());
            bool counted = false;
            client.Get("/events", [&](const char*, std::size_t) {
                if (!counted)
                    ++open;
                counted = true;
                return !release;
            });
        });
    }
    for (int tries = 0; tries < 200 && open < 8; ++tries)
        std::this_thread::sleep_for(20ms);
    ASSERT_EQ(open, 8);
    auto refused = httplib::Client(host()).Get("/events");
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->status, 503);
    EXPECT_FALSE(refused->get_header_value("Retry-After").empty());
    EXPECT_NE(json::parse(refused->body)["error"].get<std::string>().find("Too many pages"), std::string::npos);
    release = true;
    for (auto& page : pages)
        page.join();
}

} // namespace
