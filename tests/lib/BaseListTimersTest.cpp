#include "lib/BaseListTimers.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>
#include <thread>
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

// Every entry runs on every tick, a pair is added once, and false removes an entry.
TEST(BaseListTimersTest, EveryEntryRunsOnEveryTickUntilFalse) {
    BaseListTimers list;
    Recorder a, b;
    b.falseAt = 2;
    list.AddProcTimer("A", &Record, &a);
    list.AddProcTimer("A2", &Record, &a);
    list.AddProcTimer("B", &Record, &b);
    EXPECT_EQ(list.Size(), 2u);
    for (a.tick = 1; a.tick <= 3; ++a.tick) BaseListTimers::ListTimersProc(&list);
    EXPECT_EQ(a.calls, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(b.calls.size(), 2u);
    EXPECT_EQ(list.Size(), 1u);
}

TEST(BaseListTimersMinuteTest, StartWaitsForNextWholeMinute) {
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
}

// Real ticks of 1 s and 10 ms; Stop empties the list and no call follows it.
TEST(BaseListTimersTest, RealTicks) {
    Job each, ten;
    BaseListTimersSecond seconds;
    seconds.Start("Sec", false);
    seconds.AddProcTimer("Each", &JobProc, &each, 0, 1);
    EXPECT_EQ(each.calls.Count(), 1);  // run at once inside AddProcTimer
    BaseListTimers list;
    list.AddProcTimer("Ten", &JobProc, &ten);
    list.Start("L", 0, 10, false);
    EXPECT_TRUE(ten.calls.WaitFor(10));
    EXPECT_TRUE(each.calls.WaitFor(3));
    seconds.Stop();
    list.Stop();
    const int stopped = ten.calls.Count();
    EXPECT_EQ(list.Size() + seconds.Size(), 0u);
    EXPECT_FALSE(list.IsRunning() || seconds.IsRunning());
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(ten.calls.Count(), stopped);
}

// A tick that comes due while Stop holds the list lock must not hold Stop up.
TEST(BaseListTimersTest, StopRightAfterStartNeverWaitsForDueTick) {
    const int baseline = ThreadCount();
    Job calls;
    const auto before = std::chrono::steady_clock::now();
    for (int i = 0; i < 200; ++i) {
        BaseListTimers list;
        list.AddProcTimer("Due", &JobProc, &calls);
        list.Start("Race", 0, 1, false);
        list.Stop();
        EXPECT_FALSE(list.IsRunning());
    }
    // Without the early break a single lost race costs the 30-second abort.
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(25));
    EXPECT_EQ(ThreadCount(), baseline);
}

}  // namespace
