#include "lib/BaseListTimers.h"

#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/lib/TraceLines.h"

namespace {

// Records the tick of every call; returns false on call number falseAt (1-based).
struct Recorder {
    int tick = 0;
    int falseAt = 0;
    std::vector<int> calls;
};

bool Record(void* param) {
    auto* r = static_cast<Recorder*>(param);
    r->calls.push_back(r->tick);
    return static_cast<int>(r->calls.size()) != r->falseAt;
}

// The tick is driven by hand through the list procedure: no real minutes pass.
TEST(BaseListTimersMinuteTest, EntryCountdownRunsOnExpectedTicks) {
    const struct {
        int first, period, falseAt;
        std::vector<int> ticks;  // 0: inside AddProcTimer
        size_t kept;
    } cases[] = {
        {0, 5, 0, {0, 5, 10, 15}, 1},
        {0, 0, 0, {0}, 0},                // once, not added
        {2, 3, 0, {3, 6, 9, 12, 15}, 1},  // first on the third tick
        {1, 1, 0, {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}, 1},
        {0, 1, 0, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}, 1},
        {-3, 2, 0, {0, 2, 4, 6, 8, 10, 12, 14}, 1},  // negative first: at once, as 0
        {0, 2, 2, {0, 2}, 0},                        // false on the second call removes it
        {0, 3, 1, {0}, 0},                           // false at once: never added
        {4, 0, 0, {5}, 0},                           // delayed single run, then removed
        {0, 1, 0, {0}, 0},                           // deleted (twice) after its first run
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.first << "/" << c.period << " false at " << c.falseAt);
        BaseListTimersMinute list;
        Recorder r;
        r.falseAt = c.falseAt;
        list.AddProcTimer("Job", &Record, &r, c.first, c.period);
        if (c.ticks.size() == 1 && c.period == 1)
            for (int i = 0; i < 2; ++i) list.DelProcTimer(&Record, &r);
        for (r.tick = 1; r.tick <= 15; ++r.tick) BaseListTimersMinute::ListTimersProc(&list);
        EXPECT_EQ(r.calls, c.ticks);
        EXPECT_EQ(list.Size(), c.kept);
    }
}

TEST(BaseListTimersMinuteTest, StartWaitsForNextWholeMinuteSecondsTickForReal) {
    BaseListTimersMinute list;
    const auto secondNow = [] {
        std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        return local.tm_sec;
    };
    const int before = secondNow();
    list.Start("Min", false);
    const int after = secondNow();
    int delay = -1, interval = -1;
    ASSERT_EQ(std::sscanf(list.Name().c_str(), "Min(%d,%d)", &delay, &interval), 2) << list.Name();
    EXPECT_EQ(interval, 60000);
    EXPECT_TRUE(delay == (60 - before) * 1000 || delay == (60 - after) * 1000) << delay;
    list.Stop();  // long first wait: ends at once
    EXPECT_FALSE(list.IsRunning());
    // Seconds tick for real; an entry with no delay runs at once inside AddProcTimer.
    Job each;
    BaseListTimersSecond seconds;
    seconds.Start("Sec", false);
    seconds.AddProcTimer("Each", &JobProc, &each, 0, 1);
    EXPECT_EQ(each.calls.Count(), 1);
    EXPECT_TRUE(each.calls.WaitFor(3));
    seconds.Stop();
    EXPECT_EQ(seconds.Size(), 0u);
}

}  // namespace
