// Procedures that throw between other entries: the lists and the pool carry on and stop at once.
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "lib/BaseListTimers.h"
#include "lib/BasePoolThread.h"
#include "tests/lib/TraceLines.h"

namespace {

template <class Base>
class Traced final : public Base {
public:
    template <class... Args>
    explicit Traced(TraceLines& lines, Args... args) : Base(args...), m_Lines(lines) {}
    ~Traced() override { this->Stop(); }
    void PutLog(const std::string& text) override { m_Lines.Add(text); }

private:
    TraceLines& m_Lines;
};

bool Count(void* param) {
    static_cast<CallCounter*>(param)->Hit();
    return true;
}

bool Throw(void* param) {
    static_cast<CallCounter*>(param)->Hit();
    throw std::runtime_error("boom");
}

TEST(ThrowingProcTest, TimerEntryThatThrowsIsDroppedAndTheListGoesOn) {
    TraceLines lines;
    CallCounter before, thrower, after, immediate;
    Traced<BaseListTimers> list(lines);
    list.AddProcTimer("Before", &Count, &before);
    list.AddProcTimer("Thrower", &Throw, &thrower);
    list.AddProcTimer("After", &Count, &after);
    list.Start("List", 0, 5, false);
    ASSERT_TRUE(after.WaitFor(3));
    EXPECT_EQ(thrower.Count(), 1);
    EXPECT_EQ(lines.Count("exception in Thrower: boom"), 1);
    EXPECT_EQ(list.Size(), 2u);
    list.DelProcTimer(&Count, &before);
    list.AddProcTimer("Again", &Count, &immediate);
    EXPECT_TRUE(immediate.WaitFor(2));
    list.Stop();
    EXPECT_EQ(list.Size(), 0u);

    // Run at once inside AddProcTimer: the exception stays inside, the entry is not kept.
    Traced<BaseListTimersSecond> second(lines);
    EXPECT_NO_THROW(second.AddProcTimer("Now", &Throw, &thrower, 0, 1));
    EXPECT_EQ(second.Size(), 0u);
    EXPECT_EQ(lines.Count("exception in Now(0,1): boom"), 1);
}

TEST(ThrowingProcTest, PoolWorkerOfAThrowingProcBecomesIdle) {
    TraceLines lines;
    CallCounter before, thrower, after, again;
    Traced<BasePoolThread> pool(lines, "P", false);
    pool.StartProc("Before", &Count, &before, 0, 5);
    pool.StartProc("Thrower", &Throw, &thrower, 0, 5);
    pool.StartProc("After", &Count, &after, 0, 5);
    ASSERT_TRUE(thrower.WaitFor(1));
    pool.StopProc(&Throw, &thrower);
    EXPECT_EQ(lines.Count("exception in Thrower: boom"), 1);
    pool.StartProc("Again", &Count, &again, 0, 0);
    EXPECT_TRUE(again.WaitFor(1));
    EXPECT_EQ(pool.Size(), 3u);  // the thrower's worker was reused
    EXPECT_TRUE(after.WaitFor(after.Count() + 2));
    EXPECT_EQ(thrower.Count(), 1);
    pool.Stop();
    EXPECT_EQ(pool.Size(), 0u);
}

}  // namespace
