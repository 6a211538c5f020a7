// What passes between the simulator's processes: JSON messages over pipes, and the run
// state a SpringBoard process hands back to the device process.

#include "sim/lumetrix-sim/run/LineChannel.h"
#include "sim/lumetrix-sim/run/RunState.h"

#include <gtest/gtest.h>

#include <unistd.h>

using nlohmann::json;

TEST(Sim_LineChannel, MessagesArriveWholeAndInOrderThenTheEnd)
{
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    sim::LineChannel reader(pipeFds[0], -1);
    sim::LineChannel writer(-1, pipeFds[1]);

    // One message larger than a pipe's atomic write (but within its buffer, as nothing
    // reads yet), then one split across two writes.
    std::string big(20000, 'x');
    writer.send({ { "big", big } });
    std::string halves = json { { "at", 7 } }.dump() + "\n";
    ASSERT_EQ(write(pipeFds[1], halves.data(), 5), 5);
    ASSERT_EQ(write(pipeFds[1], halves.data() + 5, halves.size() - 5), static_cast<ssize_t>(halves.size() - 5));

    auto first = reader.receive();
    ASSERT_TRUE(first);
    EXPECT_EQ((*first)["big"].get<std::string>().size(), big.size());
    auto second = reader.receive();
    ASSERT_TRUE(second);
    EXPECT_EQ((*second)["at"], 7);

    writer.close();
    EXPECT_FALSE(reader.receive());
    reader.close();
}

TEST(Sim_RunState, SurvivesTheTripBetweenProcesses)
{
    sim::RunState state;
    state.nextCommand = 42;
    state.now = 788918400.0 + 86400.25;
    state.runStart = 788918400.0;
    state.application = { { "queue", json::array() }, { "index", 0 } };
    state.failures = 3;
    state.mark = 123456789012ull;
    state.nodeCounters = { { "UIView", 17 } };
    state.device = "iPhone 14 Pro";
    state.dark = true;
    state.openURLAfterBoot = "prefs:root=Lumetrix";

    auto copy = sim::RunState::fromJSON(json::parse(state.toJSON().dump()));
    EXPECT_EQ(copy.nextCommand, 42u);
    EXPECT_EQ(copy.now, state.now);
    EXPECT_EQ(copy.runStart, state.runStart);
    EXPECT_EQ(copy.application, state.application);
    EXPECT_EQ(copy.failures, 3);
    EXPECT_EQ(copy.mark, state.mark);
    EXPECT_EQ(copy.nodeCounters, state.nodeCounters);
    EXPECT_EQ(copy.device, "iPhone 14 Pro");
    EXPECT_TRUE(copy.dark);
    EXPECT_EQ(copy.openURLAfterBoot, "prefs:root=Lumetrix");

    state.openURLAfterBoot.reset();
    EXPECT_FALSE(sim::RunState::fromJSON(state.toJSON()).openURLAfterBoot);
}
