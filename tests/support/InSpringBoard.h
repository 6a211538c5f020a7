#pragma once
// Runs a test body inside a fresh SpringBoard process: the tweak is loaded from a device
// root the real way, so every test starts from an unhooked runtime, as after a respring.
// GoogleTest's assertions work inside the body; the child's failures fail the test.

#include "TemporaryDevice.h"

#include "sim/springboardprocess/SpringBoardSession.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>

namespace testing_support {

inline void inSpringBoard(const TemporaryDevice& device, const std::function<void(sim::SpringBoardSession&)>& body,
    platform::NowPlayingApplication application = {})
{
    std::fflush(nullptr);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        {
            sim::SpringBoardSession session(device.path(), sim::SpringBoardProcess::kDefaultStartTime, std::move(application));
            body(session);
        }
        std::fflush(nullptr);
        _exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << (WIFSIGNALED(status) ? "SpringBoard died with a signal" : "the SpringBoard process reported failures (above)");
}

} // namespace testing_support
