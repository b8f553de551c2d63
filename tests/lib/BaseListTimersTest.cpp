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

template <class List>
class Traced final : public List {
public:
    explicit Traced(TraceLines& lines) : m_Lines(lines) {}
    ~Traced() override { List::Stop(); }
    void PutLog(const std::string& text) override { m_Lines.Add(text); }

private:
    TraceLines& m_Lines;
};

struct AllLog {
    AllLog() { BaseThread::s_IsAllLog = true; }
    ~AllLog() { BaseThread::s_IsAllLog = false; }
};

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
        int first;
        int period;
        int falseAt;
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
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.first) + "/" + std::to_string(c.period) + " false at " +
                     std::to_string(c.falseAt));
        BaseListTimersMinute list;
        Recorder r;
        r.falseAt = c.falseAt;
        list.AddProcTimer("Job", &Record, &r, c.first, c.period);
        for (r.tick = 1; r.tick <= 15; ++r.tick) BaseListTimersMinute::ListTimersProc(&list);
        EXPECT_EQ(r.calls, c.ticks);
        EXPECT_EQ(list.Size(), c.kept);
    }
}

TEST(BaseListTimersMinuteTest, AddDelAndRemovalTraces) {
    AllLog all;
    TraceLines lines;
    Traced<BaseListTimersSecond> list(lines);
    Recorder once;
    Recorder repeat;
    Recorder later;
    Recorder ending;
    ending.falseAt = 2;
    list.AddProcTimer("Once", &Record, &once, 0, 0);
    list.AddProcTimer("Repeat", &Record, &repeat, 0, 5);
    list.AddProcTimer("Later", &Record, &later, 2, 3);
    list.AddProcTimer("Ending", &Record, &ending, 1, 1);
    list.DelProcTimer(&Record, &repeat);
    list.DelProcTimer(&Record, &repeat);
    for (int i = 0; i < 3; ++i) BaseListTimersSecond::ListTimersProc(&list);
    const std::vector<std::string> expected = {
        "AddProcTimer to   (0,0) Once(0,0): executed immediately and not added because no "
        "repeat needed",
        "AddProcTimer to   (0,0) Repeat(0,5): executed immediately and added",
        "AddProcTimer to   (0,0) Later(2,3): added",
        "AddProcTimer to   (0,0) Ending(1,1): added",
        "DelProcTimer from (0,0) Repeat(0,5) deleted",
        "DelProcTimer from (0,0) does not exist",
        "AvtoEndProcTimer  (0,0) Ending(1,1)",
    };
    EXPECT_EQ(lines.Lines(), expected);
    EXPECT_EQ(repeat.calls.size(), 1u);
    EXPECT_EQ(later.calls.size(), 1u);
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
    const std::string name = list.Name();
    int delay = -1;
    int interval = -1;
    ASSERT_EQ(std::sscanf(name.c_str(), "Min(%d,%d)", &delay, &interval), 2) << name;
    EXPECT_EQ(interval, 60000);
    EXPECT_TRUE(delay == (60 - before) * 1000 || delay == (60 - after) * 1000) << delay;
    list.Stop();  // long first wait: ends at once
    EXPECT_FALSE(list.IsRunning());
}

TEST(BaseListTimersSecondTest, RealRunTicksEverySecond) {
    BaseListTimersSecond list;
    CallCounter calls;
    auto proc = [](void* p) {
        static_cast<CallCounter*>(p)->Hit();
        return true;
    };
    list.Start("Sec", false);
    list.AddProcTimer("Each", proc, &calls, 0, 1);
    EXPECT_GE(calls.Count(), 1);  // run at once inside AddProcTimer
    EXPECT_TRUE(calls.WaitFor(3, std::chrono::seconds(10)));
    list.Stop();
    EXPECT_EQ(list.Size(), 0u);
    EXPECT_FALSE(list.IsRunning());
}

TEST(BaseListTimersTest, EveryEntryRunsOnEveryTickAndPairsAreUnique) {
    AllLog all;
    TraceLines lines;
    Traced<BaseListTimers> list(lines);
    Recorder a;
    Recorder b;
    list.AddProcTimer("A", &Record, &a);
    list.AddProcTimer("A2", &Record, &a);
    list.AddProcTimer("B", &Record, &b);
    EXPECT_EQ(list.Size(), 2u);
    for (a.tick = 1; a.tick <= 3; ++a.tick) BaseListTimers::ListTimersProc(&list);
    EXPECT_EQ(a.calls, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(b.calls.size(), 3u);
    EXPECT_EQ(lines.Count("AddProcTimer to   (0,0) A2: already exists"), 1);
    EXPECT_EQ(lines.Count("AddProcTimer to   (0,0) B: added"), 1);
}

TEST(BaseListTimersTest, FalseRemovesEntry) {
    AllLog all;
    TraceLines lines;
    Traced<BaseListTimers> list(lines);
    Recorder r;
    r.falseAt = 2;
    list.AddProcTimer("Two", &Record, &r);
    for (int i = 0; i < 5; ++i) BaseListTimers::ListTimersProc(&list);
    EXPECT_EQ(r.calls.size(), 2u);
    EXPECT_EQ(list.Size(), 0u);
    EXPECT_EQ(lines.Count("AvtoEndProcTimer  (0,0) Two"), 1);
}

TEST(BaseListTimersTest, RealTenMillisecondTicks) {
    BaseListTimers list;
    CallCounter calls;
    auto proc = [](void* p) {
        static_cast<CallCounter*>(p)->Hit();
        return true;
    };
    list.AddProcTimer("Ten", proc, &calls);
    list.Start("L", 0, 10, false);
    EXPECT_TRUE(calls.WaitFor(10));
    list.Stop();
    const int stopped = calls.Count();
    EXPECT_EQ(list.Size(), 0u);
    EXPECT_EQ(calls.Count(), stopped);
}

// A tick that comes due while Stop holds the list lock must not hold Stop up.
TEST(BaseListTimersTest, StopRightAfterStartNeverWaitsForDueTick) {
    const int baseline = ThreadCount();
    CallCounter calls;
    auto proc = [](void* p) {
        static_cast<CallCounter*>(p)->Hit();
        return true;
    };
    const auto before = std::chrono::steady_clock::now();
    for (int i = 0; i < 200; ++i) {
        BaseListTimers list;
        list.AddProcTimer("Due", proc, &calls);
        list.Start("Race", 0, 1, false);
        list.Stop();
        EXPECT_FALSE(list.IsRunning());
    }
    // Without the early break a single lost race costs the 30-second abort.
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(25));
    EXPECT_EQ(ThreadCount(), baseline);
}

TEST(BaseListTimersTest, OverrunPrintsTheList) {
    TraceLines lines;
    Traced<BaseListTimers> list(lines);
    struct Slow {
        CallCounter calls;
    } slow;
    auto proc = [](void* p) {
        if (static_cast<Slow*>(p)->calls.Hit() == 1)
            std::this_thread::sleep_for(std::chrono::milliseconds(60));  // the entry's own work
        return true;
    };
    list.AddProcTimer("Slow", proc, &slow);
    list.Start("Over", 0, 20, true);
    ASSERT_TRUE(lines.WaitFor("PrintListProc 1 entries"));
    list.Stop();
    EXPECT_GE(lines.Count("Duration of procedure is longer than timer interval Over(0,20) PID: "),
              1);
    const int at = lines.IndexOf("  Slow ");
    ASSERT_GE(at, 0);
    const std::string line = lines.Lines()[static_cast<size_t>(at)];
    int ms = -1;
    char unit[4] = {};
    EXPECT_EQ(std::sscanf(line.c_str(), "  Slow %d %3s", &ms, unit), 2) << line;
    EXPECT_GE(ms, 60);  // the first call's own work
    EXPECT_STREQ(unit, "ms");
}

}  // namespace
