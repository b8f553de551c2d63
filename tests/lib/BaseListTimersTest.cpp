#include "lib/BaseListTimers.h"

#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/lib/TraceLines.h"

namespace {

// The tick is driven by hand through the list procedure: no real minutes pass. A throw counts as
// false, also inside AddProcTimer.
TEST(BaseListTimersMinuteTest, EntryCountdownRunsOnExpectedTicks) {
    const struct {
        int first, period, falseAt, throwAt;
        std::string ticks;  // 0: inside AddProcTimer
        size_t kept;
    } cases[] = {
        {0, 5, 0, 0, "0 5 10 15", 1},
        {0, 0, 0, 0, "0", 0},            // once, not added
        {2, 3, 0, 0, "3 6 9 12 15", 1},  // first on the third tick
        {1, 1, 0, 0, "2 3 4 5 6 7 8 9 10 11 12 13 14 15", 1},
        {-3, 2, 0, 0, "0 2 4 6 8 10 12 14", 1},  // negative first: at once, as 0
        {0, 2, 2, 0, "0 2", 0},                  // false on the second call removes it
        {0, 3, 1, 0, "0", 0},                    // false at once: never added
        {0, 2, 0, 2, "0 2", 0},                  // a throw removes it
        {0, 3, 0, 1, "0", 0},                    // a throw at once: never added
        {4, 0, 0, 0, "5", 0},                    // delayed single run, then removed
        {0, 1, 0, 0, "0", 0},                    // deleted (twice) after its first run
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.first << "/" << c.period << " false at " << c.falseAt);
        BaseListTimersMinute list;
        Job job;
        job.falseAt = c.falseAt;
        job.throwAt = c.throwAt;
        list.AddProcTimer("Job", &JobProc, &job, c.first, c.period);
        if (c.ticks.size() == 1 && c.period == 1)
            for (int i = 0; i < 2; ++i) list.DelProcTimer(&JobProc, &job);
        for (job.tick = 1; job.tick <= 15; ++job.tick) BaseListTimersMinute::ListTimersProc(&list);
        std::string ticks;
        for (const auto& tick : job.calls.Lines()) ticks += (ticks.empty() ? "" : " ") + tick;
        EXPECT_EQ(ticks, c.ticks);
        EXPECT_EQ(list.Size(), c.kept);
    }
}

// Every entry runs on every tick, a pair is added once, false or a throw removes an entry (the
// list lock is not left held); Stop ends the worker, even in an overrun, and empties the list.
TEST(BaseListTimersTest, EveryEntryOnEveryTickUntilFalseOrThrow) {
    TraceLines lines;
    Job before, thrower, after, slow;
    before.falseAt = 2;
    thrower.throwAt = 1;
    Traced<BaseListTimers> list(lines);
    list.AddProcTimer("Before", &JobProc, &before);
    list.AddProcTimer("Thrower", &JobProc, &thrower);
    list.AddProcTimer("After", &JobProc, &after);
    list.AddProcTimer("After2", &JobProc, &after);
    for (int i = 0; i < 3; ++i) BaseListTimers::ListTimersProc(&list);
    const std::vector<int> calls{before.calls.Count(), thrower.calls.Count(), after.calls.Count()};
    EXPECT_EQ(calls, (std::vector<int>{2, 1, 3}));
    EXPECT_EQ(lines.Count("exception in Thrower: boom"), 1);
    slow.slowMs = 60;
    list.AddProcTimer("Slow", &JobProc, &slow);
    list.Start("List", 0, 20, true);
    ASSERT_TRUE(slow.calls.WaitFor(1));
    list.Stop();  // the listing after the overrun must yield to the stop
    EXPECT_FALSE(list.IsRunning() || list.Size() > 0);
}

// The minute list first ticks at the next whole minute of local time (whole minutes off UTC), the
// second list at once.
TEST(BaseListTimersMinuteTest, StartSchedulesTheFirstTick) {
    const auto secondNow = [] { return static_cast<int>(std::time(nullptr) % 60); };
    BaseListTimersMinute minute;
    BaseListTimersSecond second;
    const int before = secondNow();
    minute.Start("Min", false);
    const int after = secondNow();
    second.Start("Sec", false);
    int delay = -1, interval = -1, delay2 = -1, interval2 = -1;
    ASSERT_EQ(std::sscanf(minute.Name().c_str(), "Min(%d,%d)", &delay, &interval), 2);
    ASSERT_EQ(std::sscanf(second.Name().c_str(), "Sec(%d,%d)", &delay2, &interval2), 2);
    EXPECT_TRUE(delay == (60 - before) * 1000 || delay == (60 - after) * 1000) << delay;
    EXPECT_EQ(std::vector<int>({interval, delay2, interval2}), std::vector<int>({60000, 0, 1000}));
}

}  // namespace
