#include "Foundation/NSLog.h"
#include "Foundation/NSString.h"
#include "Foundation/RunLoop.h"
#include "Platform/Platform.h"

#include "PlatformTestValues.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using platform::RunLoop;

namespace platform {
void registerFoundationClasses();
}

namespace {

using platform_test::kStart;

class Foundation_Log : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::registerFoundationClasses();
        previousProcessName = platform::processName();
        platform::setProcessName("LogTest");
        platform::setEventSink([this](const nlohmann::json& event) { events.push_back(event); });
        loop = std::make_unique<RunLoop>();
    }
    void TearDown() override
    {
        platform::setEventSink(nullptr);
        platform::setProcessName(previousProcessName);
        NSLogSetStderrEnabled(true);
    }

    // What `log` writes to standard error.
    template<typename Log>
    std::string captureStderr(Log log)
    {
        char path[] = "/tmp/lumetrix-logtest-XXXXXX";
        int file = mkstemp(path);
        EXPECT_GE(file, 0);
        std::fflush(stderr);
        int saved = dup(STDERR_FILENO);
        dup2(file, STDERR_FILENO);
        log();
        std::fflush(stderr);
        dup2(saved, STDERR_FILENO);
        close(saved);
        close(file);
        std::ifstream in(path);
        std::stringstream text;
        text << in.rdbuf();
        unlink(path);
        return text.str();
    }

    std::unique_ptr<RunLoop> loop;
    std::vector<nlohmann::json> events;
    std::string previousProcessName;
};

TEST_F(Foundation_Log, LineCarriesTheClockProcessAndIds)
{
    loop->runFor(1.5);
    std::string line = captureStderr([] { NSLog("KAKAPIPI HALLL "); });
    // (Read with sscanf, not <regex>: GCC 12 under the sanitizers warns inside <regex>.)
    int process = 0, thread = 0, length = 0;
    ASSERT_EQ(std::sscanf(line.c_str(), "2026-01-01 00:00:01.500 LogTest[%d:%d] KAKAPIPI HALLL \n%n", &process, &thread, &length), 2) << line;
    EXPECT_EQ(static_cast<std::size_t>(length), line.size()) << line;
    EXPECT_EQ(process, getpid());
    EXPECT_EQ(thread, gettid());
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0], nlohmann::json::parse(R"({"type":"log","text":"KAKAPIPI HALLL "})"));
}

TEST_F(Foundation_Log, FormatsArgumentsIncludingObjectHandles)
{
    std::string line = captureStderr([] {
        NSLog("[Orva] %@ %d %.2f %s", "{{0, 1}, {2, 3}}"_ns, 42, 1.5f, "end");
    });
    EXPECT_NE(line.find("] [Orva] {{0, 1}, {2, 3}} 42 1.50 end\n"), std::string::npos) << line;
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0]["text"], "[Orva] {{0, 1}, {2, 3}} 42 1.50 end");
}

TEST_F(Foundation_Log, NewlineAddedOnlyWhenMissing)
{
    std::string text = captureStderr([] {
        NSLog("one\n");
        NSLog("two");
    });
    // Two lines, each ending with its message and one newline.
    std::size_t first = text.find('\n');
    ASSERT_NE(first, std::string::npos) << text;
    EXPECT_TRUE(text.substr(0, first).ends_with(" one")) << text;
    EXPECT_TRUE(text.substr(first + 1).ends_with(" two\n")) << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2) << text;
}

TEST_F(Foundation_Log, TimestampRounding)
{
    struct Case {
        double offset;
        const char* expected;
    };
    for (auto c : std::vector<Case> {
             { 0, "2026-01-01 00:00:00.000 " },
             { 0.0004, "2026-01-01 00:00:00.000 " },
             { 0.9996, "2026-01-01 00:00:01.000 " },
             { 86399.25, "2026-01-01 23:59:59.250 " },
             { 86400 + 31 * 86400 + 3723.042, "2026-02-02 01:02:03.042 " },
         }) {
        loop->runUntil(kStart + c.offset);
        std::string line = captureStderr([] { NSLog("x"); });
        EXPECT_EQ(line.substr(0, 24), c.expected) << c.offset;
    }
}

TEST_F(Foundation_Log, StderrCanBeSilencedWhileEventsContinue)
{
    NSLogSetStderrEnabled(false);
    std::string text = captureStderr([] { NSLog("quiet %d", 1); });
    EXPECT_EQ(text, "");
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0]["text"], "quiet 1");
}

} // namespace
