#include "Foundation/RunLoop.h"
#include "Platform/Platform.h"
#include "dispatch/dispatch.h"
#include "notify/notify.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

using platform::RunLoop;

namespace {

// Each test gets a device root of its own, so stale FIFOs of other runs never matter.
class Notify_Delivery : public ::testing::Test {
protected:
    void SetUp() override
    {
        previousRoot = platform::deviceRoot();
        char pattern[] = "/tmp/lumetrix-notifytest-XXXXXX";
        ASSERT_TRUE(mkdtemp(pattern));
        root = pattern;
        platform::setDeviceRoot(root);
        loop = std::make_unique<RunLoop>();
    }
    void TearDown() override
    {
        for (int token : tokens)
            notify_cancel(token);
        loop.reset();
        platform::setDeviceRoot(previousRoot);
        std::filesystem::remove_all(root);
    }

    int listen(const char* name, std::vector<std::string>* log, const char* label)
    {
        int token = -1;
        EXPECT_EQ(notify_register_dispatch(name, &token, dispatch_get_main_queue(), [log, label](int) { log->push_back(label); }), NOTIFY_STATUS_OK);
        tokens.push_back(token);
        return token;
    }
    std::string fifoOf(pid_t pid) const { return platform::devicePath("/var/run/lumetrix-notifyd/" + std::to_string(pid) + ".fifo"); }

    // Runs `child` in a forked process and returns its exit status.
    template<typename Child>
    int inChild(Child child)
    {
        pid_t pid = fork();
        if (!pid)
            _exit(child());
        int status = 0;
        waitpid(pid, &status, 0);
        childPid = pid;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string previousRoot;
    std::string root;
    std::unique_ptr<RunLoop> loop;
    std::vector<int> tokens;
    pid_t childPid = 0;
};

TEST_F(Notify_Delivery, PostInTheSameProcessArrivesWhenTheLoopRuns)
{
    std::vector<std::string> log;
    listen("com.example/ReloadPrefs", &log, "first");
    listen("com.example/Other", &log, "other");
    listen("com.example/ReloadPrefs", &log, "second");
    EXPECT_EQ(notify_post("com.example/ReloadPrefs"), NOTIFY_STATUS_OK);
    EXPECT_TRUE(log.empty()) << "handlers run on the main queue, never inside the post";
    double before = loop->now();
    loop->runFor(0);
    EXPECT_EQ(log, (std::vector<std::string> { "first", "second" }));
    EXPECT_EQ(loop->now(), before);
}

// The loop does not look at its sources before every task, so a post made by a task in
// the middle of a long run must still be heard at that instant, not when the run ends.
TEST_F(Notify_Delivery, PostMadeDuringARunArrivesAtTheSameInstant)
{
    std::vector<std::string> log;
    std::vector<double> heardAt;
    int token = -1;
    ASSERT_EQ(notify_register_dispatch("com.example/ReloadPrefs", &token, dispatch_get_main_queue(),
                  [&](int) { heardAt.push_back(loop->now()); }),
        NOTIFY_STATUS_OK);
    tokens.push_back(token);
    double postedAt = loop->now() + 5;
    loop->schedule(postedAt, [] { notify_post("com.example/ReloadPrefs"); });
    // Later work, so the run has somewhere to move the clock on to.
    loop->schedule(postedAt + 10, [&] { log.push_back("later"); });
    loop->runFor(3600);
    ASSERT_EQ(heardAt.size(), 1u);
    EXPECT_EQ(heardAt[0], postedAt);
    EXPECT_EQ(log.size(), 1u);
}

TEST_F(Notify_Delivery, PostFromAnotherProcessIsDeliveredAtTheNextRun)
{
    std::vector<std::string> log;
    int token = listen("com.example/ReloadPrefs", &log, "parent");
    std::vector<int> receivedTokens;
    tokens.push_back(0);
    notify_register_dispatch("com.example/ReloadPrefs", &tokens.back(), dispatch_get_main_queue(), [&](int t) { receivedTokens.push_back(t); });

    EXPECT_EQ(inChild([] { return notify_post("com.example/ReloadPrefs") == NOTIFY_STATUS_OK ? 0 : 1; }), 0);
    EXPECT_TRUE(log.empty());
    loop->runFor(0);
    EXPECT_EQ(log, std::vector<std::string> { "parent" });
    EXPECT_EQ(receivedTokens, std::vector<int> { tokens.back() });
    EXPECT_NE(token, tokens.back());

    loop->runFor(1);
    EXPECT_EQ(log.size(), 1u) << "delivered once";
}

TEST_F(Notify_Delivery, ChildRegistrationLeavesTheParentListening)
{
    std::vector<std::string> log;
    listen("ping", &log, "parent");
    ASSERT_TRUE(std::filesystem::exists(fifoOf(getpid())));

    int childResult = inChild([this] {
        // The child listens on its own FIFO, hears its own post, and never touches the
        // parent's.
        std::vector<std::string> childLog;
        int token = -1;
        if (notify_register_dispatch("ping", &token, dispatch_get_main_queue(), [&](int) { childLog.push_back("child"); }) != NOTIFY_STATUS_OK)
            return 1;
        notify_post("ping");
        loop->runFor(0);
        return childLog == std::vector<std::string> { "child" } ? 0 : 2;
    });
    EXPECT_EQ(childResult, 0);
    EXPECT_TRUE(std::filesystem::exists(fifoOf(getpid())));
    loop->runFor(0);
    EXPECT_EQ(log, std::vector<std::string> { "parent" }) << "the child's post reached the parent too";

    // The child has gone: its FIFO is swept away by the next post.
    EXPECT_TRUE(std::filesystem::exists(fifoOf(childPid)));
    notify_post("ping");
    EXPECT_FALSE(std::filesystem::exists(fifoOf(childPid)));
    loop->runFor(0);
    EXPECT_EQ(log.size(), 2u);
}

TEST_F(Notify_Delivery, ChildRunningItsLoopDoesNotStealTheParentsMessages)
{
    std::vector<std::string> log;
    listen("ping", &log, "parent");
    // Posted before the fork: the message waits in the parent's FIFO, which the child
    // inherits a descriptor of.
    notify_post("ping");
    EXPECT_EQ(inChild([this] {
        loop->runFor(1);
        return 0;
    }),
        0);
    loop->runFor(0);
    EXPECT_EQ(log, std::vector<std::string> { "parent" });
}

TEST_F(Notify_Delivery, CancelledRegistrationsHearNothing)
{
    std::vector<std::string> log;
    int early = listen("ping", &log, "early");
    int late = listen("ping", &log, "late");
    EXPECT_EQ(notify_cancel(early), NOTIFY_STATUS_OK);
    EXPECT_EQ(notify_cancel(early), NOTIFY_STATUS_INVALID_TOKEN);
    notify_post("ping");
    // Arrived, but cancelled before its handler's turn.
    loop->schedule(loop->now(), [late] { notify_cancel(late); });
    loop->runFor(0);
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(std::filesystem::exists(fifoOf(getpid()))) << "no registrations left: no longer listening";
}

TEST_F(Notify_Delivery, RegistrationMadeBeforeTheRunLoopIsWatchedByIt)
{
    loop.reset();
    std::vector<std::string> log;
    listen("ping", &log, "early");
    loop = std::make_unique<RunLoop>();
    notify_post("ping");
    loop->runFor(0);
    EXPECT_EQ(log, std::vector<std::string> { "early" });
}

TEST_F(Notify_Delivery, RejectsWhatItCannotDeliver)
{
    int token = -1;
    EXPECT_EQ(notify_post(nullptr), NOTIFY_STATUS_INVALID_NAME);
    EXPECT_EQ(notify_post("two\nlines"), NOTIFY_STATUS_INVALID_NAME);
    EXPECT_EQ(notify_post(std::string(8192, 'x').c_str()), NOTIFY_STATUS_INVALID_NAME);
    EXPECT_EQ(notify_register_dispatch("ping", &token, nullptr, [](int) { }), NOTIFY_STATUS_INVALID_REQUEST);
    EXPECT_EQ(notify_register_dispatch(nullptr, &token, dispatch_get_main_queue(), [](int) { }), NOTIFY_STATUS_INVALID_NAME);
    EXPECT_EQ(notify_post("nobody-listens"), NOTIFY_STATUS_OK);
}

} // namespace
