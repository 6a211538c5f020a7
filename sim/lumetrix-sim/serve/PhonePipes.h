#pragma once
// The two pipes between the page's server and the live phone, and the speed they share.
//
// Requests go down one pipe as JSON lines and are read by whichever simulator process is
// running the phone at the time (the device process between phones, a SpringBoard
// process while one runs), so each reader takes exactly one line at a time: what it
// leaves in the pipe belongs to the process after it. Reports come back up the other
// pipe, from any of them; one thread of the server reads them all.
//
// The clock's speed is not a request: the server writes it into memory shared with
// every simulator process, so it holds across SpringBoard restarts without a message.

#include <nlohmann/json.hpp>

#include <atomic>

namespace sim {

struct LiveControls {
    // The clock's speed in thousandths (0: paused, 1000: real time).
    std::atomic<long long> speedThousandths { 1000 };

    double speed() const { return static_cast<double>(speedThousandths.load()) / 1000.0; }
    void setSpeed(double speed) { speedThousandths.store(static_cast<long long>(speed * 1000)); }

    // Memory every process forked after this call shares (never freed: it lives as long
    // as the server).
    static LiveControls* makeShared();
};

enum class PipeRead {
    Message,
    Nothing,
    Closed
};

// Waits up to `timeoutSeconds` for a request, then reads exactly one line of it.
PipeRead readRequest(int fd, double timeoutSeconds, nlohmann::json& message);

// Writes one report (a whole line); false once the server has gone.
bool sendReport(int fd, const nlohmann::json& message);

} // namespace sim
