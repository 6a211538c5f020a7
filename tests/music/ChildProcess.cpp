#include "ChildProcess.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace musictest {

namespace {

double seconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

} // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& environment, bool captureOutput)
{
    int output[2] = { -1, -1 };
    if (captureOutput && pipe(output) != 0)
        return;
    m_pid = fork();
    if (m_pid == 0) {
        setpgid(0, 0);
        if (captureOutput) {
            dup2(output[1], STDOUT_FILENO);
            close(output[0]);
            close(output[1]);
        }
        for (auto& variable : environment)
            putenv(const_cast<char*>(variable.c_str()));
        std::vector<char*> arguments;
        for (auto& argument : argv)
            arguments.push_back(const_cast<char*>(argument.c_str()));
        arguments.push_back(nullptr);
        execvp(arguments[0], arguments.data());
        _exit(127);
    }
    // Set from both sides, so a kill right after the fork finds the group.
    if (m_pid > 0)
        setpgid(m_pid, m_pid);
    if (captureOutput) {
        close(output[1]);
        m_output = output[0];
    }
}

ChildProcess::~ChildProcess()
{
    kill();
    if (m_output >= 0)
        close(m_output);
}

void ChildProcess::kill()
{
    if (m_pid <= 0 || m_status)
        return;
    ::kill(-m_pid, SIGTERM);
    if (!waitForExit(2)) {
        ::kill(-m_pid, SIGKILL);
        int status = 0;
        waitpid(m_pid, &status, 0);
        m_status = status;
    }
    // Whatever the group started and left behind goes too.
    ::kill(-m_pid, SIGKILL);
}

std::optional<std::string> ChildProcess::readLine(double limit)
{
    double deadline = seconds() + limit;
    for (;;) {
        auto newline = m_buffered.find('\n');
        if (newline != std::string::npos) {
            std::string line = m_buffered.substr(0, newline);
            m_buffered.erase(0, newline + 1);
            return line;
        }
        double left = deadline - seconds();
        if (m_output < 0 || left <= 0)
            return std::nullopt;
        pollfd fd { m_output, POLLIN, 0 };
        if (poll(&fd, 1, static_cast<int>(left * 1000) + 1) <= 0)
            return std::nullopt;
        char chunk[4096];
        ssize_t got = read(m_output, chunk, sizeof chunk);
        if (got <= 0)
            return std::nullopt;
        m_buffered.append(chunk, static_cast<std::size_t>(got));
    }
}

std::optional<int> ChildProcess::waitForExit(double limit)
{
    if (m_status)
        return m_status;
    if (m_pid <= 0)
        return -1;
    double deadline = seconds() + limit;
    do {
        int status = 0;
        if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_status = status;
            return m_status;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    } while (seconds() < deadline);
    return std::nullopt;
}

std::optional<std::string> findProgram(const std::string& program)
{
    const char* path = std::getenv("PATH");
    std::string directories = path ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= directories.size()) {
        std::size_t end = directories.find(':', start);
        if (end == std::string::npos)
            end = directories.size();
        std::string candidate = directories.substr(start, end - start) + "/" + program;
        if (access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = end + 1;
    }
    return std::nullopt;
}

std::optional<std::string> runForOutput(const std::vector<std::string>& argv, const std::vector<std::string>& environment, double limit)
{
    ChildProcess child(argv, environment, true);
    std::string output;
    while (auto line = child.readLine(limit))
        output += *line + "\n";
    auto status = child.waitForExit(limit);
    if (!status || !WIFEXITED(*status) || WEXITSTATUS(*status) != 0)
        return std::nullopt;
    while (!output.empty() && (output.back() == '\n' || output.back() == ' '))
        output.pop_back();
    return output;
}

} // namespace musictest
