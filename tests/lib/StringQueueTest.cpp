#include "lib/StringQueue.h"

#include <atomic>
#include <chrono>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace {

using Strings = std::vector<std::string>;

Strings TakeAll(StringQueue& queue) {
    static thread_local Strings slots;  // the ring handed back is reused, as the writer does
    std::size_t first = 0;
    const std::size_t count = queue.ReadAll(slots, first);
    Strings lines;
    for (std::size_t i = 0; i < count; ++i) lines.push_back(slots[(first + i) % slots.size()]);
    return lines;
}

}  // namespace

// capacity + 1 lines fit; a full queue drops its oldest line and says so.
TEST(StringQueueTest, FullQueueDiscardsOldest) {
    StringQueue single(0), queue(10);
    EXPECT_TRUE(single.Put("a"));
    EXPECT_FALSE(single.Put("b"));
    std::string line;
    EXPECT_TRUE(single.Read(line));
    EXPECT_EQ(line, "b");
    for (int round = 0; round < 3; ++round) {
        Strings expected;
        for (int i = 0; i < 14; ++i) {
            const std::string text = i == 5 ? "" : std::to_string(round) + "-" + std::to_string(i);
            EXPECT_EQ(queue.Put(text), i < 11) << i;
            if (i >= 3) expected.push_back(text);
        }
        EXPECT_EQ(queue.Size(), 11u);
        EXPECT_EQ(TakeAll(queue), expected);
        EXPECT_EQ(queue.Size(), 0u);
    }
    // Reads in between make the ring wrap before it has to grow; order must survive the growth.
    StringQueue big(1000);
    int next = 0, expected = 0;
    for (int round = 0; round < 6; ++round) {
        for (int i = 0; i < 7 + round * 9; ++i) ASSERT_TRUE(big.Put(std::to_string(next++)));
        for (int i = 0; i < 5 + round * 4; ++i) {
            ASSERT_TRUE(big.Read(line));
            ASSERT_EQ(line, std::to_string(expected++));
        }
    }
    while (expected < next && big.Read(line)) ASSERT_EQ(line, std::to_string(expected++));
    EXPECT_EQ(expected, next);
}

// A reader started on an empty queue can only return the line put afterwards.
TEST(StringQueueTest, ReadWaitsForAPutFromAnotherThread) {
    StringQueue queue(4);
    auto reader = std::async(std::launch::async, [&] {
        std::string line;
        queue.Read(line);
        return line;
    });
    EXPECT_EQ(reader.wait_for(std::chrono::milliseconds(20)), std::future_status::timeout);
    queue.Put("late");
    ASSERT_EQ(reader.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_EQ(reader.get(), "late");
    auto batch = std::async(std::launch::async, [&] { return TakeAll(queue); });
    queue.Put("x");
    ASSERT_EQ(batch.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_EQ(batch.get(), Strings{"x"});
}

// Producers outrun the reader: every line is either read, in its producer's order, or paid for
// by a false Put.
TEST(StringQueueTest, OverrunByManyProducersLosesOnlyReportedLines) {
    constexpr int kProducers = 4, kLines = 5000;
    StringQueue queue(8);
    std::atomic<int> lost{0};
    std::vector<std::thread> producers;
    for (int p = 0; p < kProducers; ++p) {
        producers.emplace_back([&, p] {
            for (int i = 0; i < kLines; ++i)
                lost += !queue.Put(std::to_string(p) + " " + std::to_string(i));
        });
    }
    std::thread closer([&] {
        for (auto& t : producers) t.join();
        lost += !queue.Put("end");
    });
    std::vector<int> last(kProducers, -1);
    int read = 0;
    for (bool end = false; !end;) {
        for (const auto& line : TakeAll(queue)) {
            if ((end = line == "end")) break;  // nothing follows it
            const int p = std::stoi(line), i = std::stoi(line.substr(line.find(' ') + 1));
            EXPECT_GT(i, last[static_cast<size_t>(p)]) << line;
            last[static_cast<size_t>(p)] = i;
            ++read;
        }
    }
    closer.join();
    EXPECT_EQ(read + lost.load(), kProducers * kLines);
}
