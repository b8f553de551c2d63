#include "lib/StringQueue.h"

#include <atomic>
#include <chrono>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace {

std::string ReadOne(StringQueue& queue) {
    std::string line;
    EXPECT_TRUE(queue.Read(line));
    return line;
}

std::vector<std::string> TakeAll(StringQueue& queue, std::vector<std::string>& slots) {
    std::size_t first = 0;
    const std::size_t count = queue.ReadAll(slots, first);
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < count; ++i) lines.push_back(slots[(first + i) % slots.size()]);
    return lines;
}

}  // namespace

TEST(StringQueueTest, FullQueueDiscardsOldest) {
    StringQueue queue(2);
    EXPECT_TRUE(queue.Put("one"));
    EXPECT_TRUE(queue.Put("two"));
    EXPECT_TRUE(queue.Put("three"));  // capacity + 1 lines fit
    EXPECT_FALSE(queue.Put("four"));
    ASSERT_EQ(queue.Size(), 3u);
    for (const char* line : {"two", "three", "four"}) EXPECT_EQ(ReadOne(queue), line);

    StringQueue single(0);
    EXPECT_TRUE(single.Put("a"));
    EXPECT_FALSE(single.Put("b"));
    EXPECT_EQ(single.Size(), 1u);
    EXPECT_EQ(ReadOne(single), "b");
}

// The ring handed back by ReadAll is reused; order and bound must hold on every round.
TEST(StringQueueTest, ReadAllTakesEverythingOldestFirst) {
    StringQueue queue(10);
    std::vector<std::string> slots;
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        std::vector<std::string> expected;
        for (int i = 0; i < 14; ++i) {
            const std::string line = i == 5 ? "" : std::to_string(round) + "-" + std::to_string(i);
            EXPECT_EQ(queue.Put(line), i < 11);
            if (i >= 3) expected.push_back(line);
        }
        EXPECT_EQ(TakeAll(queue, slots), expected);
        EXPECT_EQ(queue.Size(), 0u);
    }
}

// Reads in between make the ring wrap before it has to grow; order must survive the growth.
TEST(StringQueueTest, KeepsOrderWhenTheRingGrowsWrapped) {
    StringQueue queue(1000);
    int next = 0;
    int expected = 0;
    for (int round = 0; round < 6; ++round) {
        for (int i = 0; i < 7 + round * 9; ++i) ASSERT_TRUE(queue.Put(std::to_string(next++)));
        for (int i = 0; i < 5 + round * 4; ++i) {
            ASSERT_EQ(ReadOne(queue), std::to_string(expected++));
        }
    }
    while (expected < next) ASSERT_EQ(ReadOne(queue), std::to_string(expected++));
}

// A reader started on an empty queue can only return the line put afterwards.
TEST(StringQueueTest, ReadWaitsForAPutFromAnotherThread) {
    StringQueue queue(4);
    auto reader = std::async(std::launch::async, [&] { return ReadOne(queue); });
    EXPECT_EQ(reader.wait_for(std::chrono::milliseconds(20)), std::future_status::timeout);
    queue.Put("late");
    ASSERT_EQ(reader.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_EQ(reader.get(), "late");

    auto batchReader = std::async(std::launch::async, [&] {
        std::vector<std::string> slots;
        return TakeAll(queue, slots);
    });
    queue.Put("x");
    ASSERT_EQ(batchReader.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_EQ(batchReader.get(), std::vector<std::string>{"x"});
}

// Producers outrun the reader: every line is either read, in its producer's order, or paid for
// by a false Put.
TEST(StringQueueTest, OverrunByManyProducersLosesOnlyReportedLines) {
    constexpr int kProducers = 4;
    constexpr int kLines = 5000;
    StringQueue queue(8);
    std::atomic<int> lost{0};
    std::vector<std::thread> producers;
    for (int p = 0; p < kProducers; ++p) {
        producers.emplace_back([&, p] {
            for (int i = 0; i < kLines; ++i) {
                if (!queue.Put(std::to_string(p) + " " + std::to_string(i))) ++lost;
            }
        });
    }
    std::thread closer([&] {
        for (auto& t : producers) t.join();
        if (!queue.Put("end")) ++lost;
    });
    std::vector<int> last(kProducers, -1);
    int read = 0;
    std::vector<std::string> slots;
    for (bool end = false; !end;) {
        for (const auto& line : TakeAll(queue, slots)) {
            end = line == "end";
            if (end) break;  // nothing follows it
            const int p = std::stoi(line);
            const int i = std::stoi(line.substr(line.find(' ') + 1));
            EXPECT_GT(i, last[p]) << line;
            last[p] = i;
            ++read;
        }
    }
    closer.join();
    EXPECT_EQ(read + lost.load(), kProducers * kLines);
}
