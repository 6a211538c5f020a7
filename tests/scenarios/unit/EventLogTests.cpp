// The event log: lines in the order they were written, from whichever process wrote
// them, times rounded so repeated runs print the same numbers, and the window that
// expect-events counts in.

#include "sim/lumetrix-sim/run/EventLog.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

class TemporaryFile {
public:
    TemporaryFile()
    {
        std::string pattern = (fs::temp_directory_path() / "lumetrix-eventlog-XXXXXX").string();
        int fd = mkstemp(pattern.data());
        close(fd);
        m_path = pattern;
    }
    ~TemporaryFile() { fs::remove(m_path); }
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

} // namespace

TEST(Sim_EventLog, RunSecondsAreRoundedToTheMicrosecond)
{
    constexpr double start = 788918400.0;
    // Far from zero, a tenth of a second is not a tenth when subtracted back out.
    EXPECT_NE(start + 0.1 - start, 0.1);
    EXPECT_EQ(sim::EventLog::runSeconds(start + 0.1, start), 0.1);
    EXPECT_EQ(sim::EventLog::runSeconds(start + 86400.4, start), 86400.4);
    EXPECT_EQ(sim::EventLog::runSeconds(start, start), 0);
}

TEST(Sim_EventLog, EventsSinceAMarkAcrossProcesses)
{
    TemporaryFile file;
    std::ofstream(file.path()) << "left over from an earlier run\n";
    sim::EventLog log(file.path());
    EXPECT_EQ(log.endOffset(), 0u);
    log.write({ { "type", "boot" } }, 0);
    std::uint64_t mark = log.endOffset();
    EXPECT_GT(mark, 0u);

    // A child process writes through the descriptor it inherited; its lines land after
    // everything written before it ran, and before what is written after it ended.
    pid_t child = fork();
    if (child == 0) {
        log.write({ { "type", "log" }, { "text", "from SpringBoard" } }, 1.5);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    log.write({ { "type", "sound" }, { "id", 1520 } }, 2);

    auto events = log.eventsSince(mark);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0], json({ { "t", 1.5 }, { "type", "log" }, { "text", "from SpringBoard" } }));
    EXPECT_EQ(events[1]["type"], "sound");
    EXPECT_EQ(log.eventsSince(0).size(), 3u);
    EXPECT_TRUE(log.eventsSince(log.endOffset()).empty());
}

TEST(Sim_EventLog, StrayBytesInATextDoNotStopTheLog)
{
    TemporaryFile file;
    sim::EventLog log(file.path());
    log.write({ { "type", "log" }, { "text", std::string("caf\xC3", 4) } }, 0);
    auto events = log.eventsSince(0);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0]["text"].get<std::string>().rfind("caf", 0), 0u);
}

TEST(Sim_EventLog, TheTranscriptInterleavesStepsWithEvents)
{
    TemporaryFile file;
    TemporaryFile transcript;
    sim::EventLog log(file.path());
    log.openTranscript(transcript.path());
    log.writeStep(3, "tap lockscreen 50", 4);
    log.write({ { "type", "sound" }, { "id", 1520 } }, 4);

    std::ifstream in(transcript.path());
    std::string first, second;
    std::getline(in, first);
    std::getline(in, second);
    EXPECT_EQ(json::parse(first), json({ { "t", 4 }, { "type", "step" }, { "line", 3 }, { "text", "tap lockscreen 50" } }));
    EXPECT_EQ(json::parse(second)["type"], "sound");
    // The steps are the transcript's alone.
    EXPECT_EQ(log.eventsSince(0).size(), 1u);
}
