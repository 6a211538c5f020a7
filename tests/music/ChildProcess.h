#pragma once
// A program the test starts in a process group of its own, killed with its whole group
// when the object goes, however the test ends.

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace musictest {

class ChildProcess {
public:
    // Starts `argv` with `environment` added to this process's; with `captureOutput` its
    // standard output is readable through readLine().
    ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& environment = {}, bool captureOutput = false);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return m_pid; }
    // A line of the child's output, waiting at most `seconds`.
    std::optional<std::string> readLine(double seconds);
    // Its exit status once it ends within `seconds`; nothing if it is still running.
    std::optional<int> waitForExit(double seconds);
    void kill();

private:
    pid_t m_pid = -1;
    int m_output = -1;
    std::string m_buffered;
    std::optional<int> m_status;
};

// The path of `program` on PATH, or nothing.
std::optional<std::string> findProgram(const std::string& program);
// Runs a program to its end and returns its standard output (trimmed), nothing when it
// fails or takes longer than `seconds`.
std::optional<std::string> runForOutput(const std::vector<std::string>& argv, const std::vector<std::string>& environment = {}, double seconds = 5);

} // namespace musictest
