#pragma once
// Shared pieces of the Settings tests: a fresh device root with the built deliverables,
// the settings file read back as JSON, and running a function in a forked process (each
// SpringBoard lifetime and each Settings app is its own process, as on a device).

#include "support/TemporaryDevice.h"

#include "Foundation/PropertyList.h"
#include "Platform/Platform.h"
#include "objc/runtime.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <array>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace settings_testing {

inline constexpr const char* kSettingsFile = "/var/mobile/Library/Preferences/com.orvanta.lumetrix.plist";

// The settings file as JSON ({} when there is none).
inline nlohmann::json storedSettings(const testing_support::TemporaryDevice& device)
{
    platform::registerClasses();
    auto result = platform::readPropertyList(device.root().resolve(kSettingsFile).string());
    return result.value ? result.value->jsonValue() : nlohmann::json::object();
}

// Runs `body` in a child process and returns what it wrote to its pipe. The child's
// failures show as a missing or different reply, and its exit status is checked.
inline std::string runInChild(const std::function<std::string()>& body)
{
    int fds[2];
    if (pipe(fds) != 0)
        return "pipe failed";
    std::fflush(nullptr);
    pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        std::string reply = body();
        for (std::size_t written = 0; written < reply.size();) {
            ssize_t count = write(fds[1], reply.data() + written, reply.size() - written);
            if (count <= 0)
                break;
            written += static_cast<std::size_t>(count);
        }
        close(fds[1]);
        std::fflush(nullptr);
        _exit(0);
    }
    close(fds[1]);
    std::string reply;
    std::array<char, 4096> buffer;
    ssize_t count;
    while ((count = read(fds[0], buffer.data(), buffer.size())) > 0)
        reply.append(buffer.data(), static_cast<std::size_t>(count));
    close(fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the child process failed";
    return reply;
}

// lumetrix-host's report for a SpringBoard started on the device as it is.
inline nlohmann::json bootSpringBoardAndReport(const testing_support::TemporaryDevice& device)
{
    std::string command = std::string(LUMETRIX_HOST) + " --no-install --root '" + device.path() + "' 2>/dev/null";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::string output;
    std::array<char, 4096> buffer;
    while (std::size_t count = fread(buffer.data(), 1, buffer.size(), pipe.get()))
        output.append(buffer.data(), count);
    return nlohmann::json::parse(output, nullptr, false);
}

} // namespace settings_testing
