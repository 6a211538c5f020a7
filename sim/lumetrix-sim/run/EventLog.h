#pragma once
// The run's event log: one JSON object a line, appended by whichever process is running
// (the device, SpringBoard, the Settings app). Only one of them runs at a time, and each
// line goes out in a single write to a file opened for appending, so the lines stay in
// the order things happened, across processes, with nothing buffered in between.
//
// Every event gets "t": virtual seconds since the run began (to the microsecond, so
// repeated runs print the same numbers).

#include <nlohmann/json.hpp>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace sim {

class EventLog {
public:
    // Opens `path` for appending, emptying it first. The descriptor survives fork(), so
    // child processes write through the same log.
    explicit EventLog(const std::string& path);
    // A log in a file with no name (gone when the last process holding it ends, however
    // it ends), for runs that only read it back for expect-events.
    static std::unique_ptr<EventLog> unnamed();
    ~EventLog();
    EventLog(const EventLog&) = delete;
    EventLog& operator=(const EventLog&) = delete;

    const std::string& path() const { return m_path; }

    // Seconds since the run began, as "t" and dumps give them.
    static double runSeconds(double absoluteTime, double runStart);

    // Every event from here on carries "file": the scenario it came from (set before the
    // processes of that scenario are forked; empty: none).
    void setFile(std::string file) { m_file = std::move(file); }

    // Appends the event with its "t".
    void write(nlohmann::json event, double runSeconds);

    // Where the log ends now: a mark for eventsSince.
    std::uint64_t endOffset() const;
    // The events written after `offset`, in order.
    std::vector<nlohmann::json> eventsSince(std::uint64_t offset) const;

    // A second file that gets every event and, in between, the scenario's own steps
    // ({"t", "type": "step", "line", "text"}), for the demo's timeline. Never part of the
    // event log itself.
    void openTranscript(const std::string& path);
    void writeStep(int line, const std::string& text, double runSeconds);

private:
    static void writeLine(int fd, const std::string& line);

    EventLog() = default;

    std::string m_path;
    std::string m_file;
    int m_fd = -1;
    int m_transcriptFd = -1;
};

} // namespace sim
