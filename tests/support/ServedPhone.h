#pragma once
// A `lumetrix-sim serve` of its own for a test or a benchmark: started on a free port,
// its address read from what it prints, its phone waited for, and stopped with SIGTERM
// as a user's Ctrl-C would.

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <csignal>
#include <optional>
#include <cctype>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

class ServedPhone {
public:
    // `arguments` follow `serve --port 0`.
    ServedPhone(const std::string& simulator, std::vector<std::string> arguments)
    {
        int out[2];
        if (pipe(out) != 0)
            throw std::runtime_error("no pipe");
        arguments.insert(arguments.begin(), { simulator, "serve", "--port", "0" });
        m_pid = fork();
        if (m_pid == 0) {
            dup2(out[1], STDOUT_FILENO);
            close(out[0]);
            std::vector<char*> argv;
            for (auto& argument : arguments)
                argv.push_back(argument.data());
            argv.push_back(nullptr);
            execv(simulator.c_str(), argv.data());
            _exit(127);
        }
        close(out[1]);
        std::string text;
        // The address line, `http://127.0.0.1:PORT/` (found by hand: GCC 12 under the
        // sanitizers warns inside <regex>).
        const std::string prefix = "http://127.0.0.1:";
        auto portIn = [&](const std::string& t) -> int {
            for (std::size_t at = t.find(prefix); at != std::string::npos; at = t.find(prefix, at + 1)) {
                std::size_t digits = at + prefix.size(), end = digits;
                while (end < t.size() && std::isdigit(static_cast<unsigned char>(t[end])))
                    ++end;
                if (end > digits && end < t.size() && t[end] == '/')
                    return std::stoi(t.substr(digits, end - digits));
            }
            return 0;
        };
        char buffer[256];
        while (!portIn(text)) {
            ssize_t count = read(out[0], buffer, sizeof(buffer));
            if (count <= 0) {
                close(out[0]);
                throw std::runtime_error("serve stopped before it listened: " + text);
            }
            text.append(buffer, static_cast<std::size_t>(count));
        }
        close(out[0]);
        m_port = portIn(text);
    }
    ~ServedPhone()
    {
        if (m_pid > 0)
            stop();
    }

    int port() const { return m_port; }
    pid_t pid() const { return m_pid; }
    std::string host() const { return "127.0.0.1:" + std::to_string(m_port); }

    nlohmann::json status() const
    {
        auto response = httplib::Client(host()).Get("/api/status");
        return response && response->status == 200 ? nlohmann::json::parse(response->body) : nlohmann::json::object();
    }
    // Whether the phone came up (its start-up lines ran) within `seconds`.
    bool waitUntilLive(double seconds) const
    {
        for (int tries = 0; tries < seconds * 20; ++tries) {
            if (status().value("live", false))
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

    // SIGTERM (or `signal`), then the exit status.
    int stop(int signal = SIGTERM)
    {
        kill(m_pid, signal);
        int status = 0;
        waitpid(m_pid, &status, 0);
        m_pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

private:
    pid_t m_pid = -1;
    int m_port = 0;
};
