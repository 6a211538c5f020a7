#pragma once
// The page's server: routes and checks requests, answers from PhoneState, and passes
// the page's lines to the phone. It never waits for the phone beyond a bounded time and
// the phone never waits for it: a slow browser gets the newest frame when it asks.
//
// Endpoints (all but the page's files answer JSON unless said otherwise):
//   GET  /, /page.js, /page.css,     the page
//        /favicon.svg
//   GET  /events                     server-sent events: frame {n, t, type, image}, status {...},
//                                    log {version}; with ?pieces=1 also piece {n, t, type, x, y,
//                                    width, height, image}: the part of the screen that changed
//   GET  /frame                      the newest frame whole (image/jpeg; X-Frame-Number)
//   GET  /api/status                 phone, music, Settings, clock, speed, recorder
//   GET  /api/inspect                {"frame", "t", "screen", "players"} of the newest frame
//   GET  /api/log?since=N            the event log in words
//   GET  /api/artwork/N              track N's artwork
//   GET  /api/recording              the recorded session as a .scenario download
//   POST /api/action                 body: one scenario line; 200 with its outcome, 400 refused
//   POST /api/clock                  body: pause | 1 | 10 | 60
//   POST /api/device                 body: a device name; restarts the phone on it
//   POST /api/record                 body: start | stop

#include "PhoneLink.h"
#include "PhoneState.h"
#include "RequestGuard.h"

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>

namespace sim {

class HttpFront {
public:
    HttpFront(PhoneState&, PhoneLink&, std::filesystem::path outputFolder);

    // Binds (port 0: any free port); the port bound, or -1 with bindProblem() saying why.
    int bind(const std::string& host, int port);
    const std::string& bindProblem() const { return m_bindProblem; }
    // Serves until stop() (call from another thread).
    void serve();
    void stop();

    // Request bodies larger than this are refused (413).
    static constexpr std::size_t kMaximumBody = 4096;
    // Pages following the phone at once; more are refused (503, and the page says so and
    // tries again) so streams cannot take every worker thread.
    static constexpr int kMaximumStreams = 8;
    // Worker threads: every stream holds one, and so does every connection being read or
    // kept alive; idle or slow connections by the dozen still leave most of them free.
    static constexpr int kWorkers = 160;
    // How long a stream holds status and log news back for the frame of a line being run.
    static constexpr std::chrono::milliseconds kLongestHeldStatus { 50 };

private:
    void route();
    void streamEvents(const httplib::Request&, httplib::Response&);
    void postAction(const httplib::Request&, httplib::Response&);
    bool flushRecording();

    PhoneState& m_state;
    PhoneLink& m_link;
    std::filesystem::path m_outputFolder;
    std::optional<RequestGuard> m_guard;
    std::string m_bindProblem;
    httplib::Server m_server;
    std::atomic<int> m_streams { 0 };
    std::atomic<int> m_linesInFlight { 0 };
};

} // namespace sim
