#include "lib/StringQueue.h"

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
    EXPECT_EQ(queue.Size(), 3u);
    EXPECT_FALSE(queue.Put("four"));
    ASSERT_EQ(queue.Size(), 3u);
    EXPECT_EQ(ReadOne(queue), "two");
    EXPECT_EQ(ReadOne(queue), "three");
    EXPECT_EQ(ReadOne(queue), "four");
    EXPECT_EQ(queue.Size(), 0u);
}

TEST(StringQueueTest, ZeroCapacityKeepsTheNewestLine) {
    StringQueue queue(0);
    EXPECT_TRUE(queue.Put("a"));
    EXPECT_FALSE(queue.Put("b"));
    EXPECT_FALSE(queue.Put("c"));
    EXPECT_EQ(queue.Size(), 1u);
    EXPECT_EQ(ReadOne(queue), "c");
}

TEST(StringQueueTest, ReadAllTakesEverythingOldestFirst) {
    StringQueue queue(10);
    for (const char* line : {"a", "", "c"}) queue.Put(line);
    std::vector<std::string> slots;
    EXPECT_EQ(TakeAll(queue, slots), (std::vector<std::string>{"a", "", "c"}));
    EXPECT_EQ(queue.Size(), 0u);
    // The ring handed back is reused and still keeps order and the bound.
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        std::vector<std::string> expected;
        for (int i = 0; i < 14; ++i) {
            const std::string line = std::to_string(round) + "-" + std::to_string(i);
            EXPECT_EQ(queue.Put(line), i < 11);
            if (i >= 3) expected.push_back(line);
        }
        EXPECT_EQ(TakeAll(queue, slots), expected);
    }
}

// Reads in between make the ring wrap before it has to grow; order must survive the growth.
TEST(StringQueueTest, KeepsOrderWhenTheRingGrowsWrapped) {
    StringQueue queue(1000);
    int next = 0;
    int expected = 0;
    for (int round = 0; round < 6; ++round) {
        for (int i = 0; i < 7 + round * 9; ++i) ASSERT_TRUE(queue.Put(std::to_string(next++)));
        for (int i = 0; i < 5 + round * 4; ++i)
            ASSERT_EQ(ReadOne(queue), std::to_string(expected++));
    }
    ASSERT_EQ(queue.Size(), static_cast<std::size_t>(next - expected));
    while (expected < next) ASSERT_EQ(ReadOne(queue), std::to_string(expected++));
}

// The reader starts on an empty queue; it can only return the line put afterwards.
TEST(StringQueueTest, ReadWaitsForAPutFromAnotherThread) {
    StringQueue queue(4);
    std::promise<void> started;
    auto reader = std::async(std::launch::async, [&] {
        started.set_value();
        return ReadOne(queue);
    });
    started.get_future().wait();
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

// Every line is either read or reported as the cost of a false Put, and each producer's lines
// arrive in the order it put them.
TEST(StringQueueTest, ConcurrentProducersLoseOnlyReportedLines) {
    constexpr int kProducers = 4;
    constexpr int kLines = 5000;
    StringQueue queue(16);
    std::vector<int> discarded(kProducers, 0);
    std::vector<std::thread> producers;
    for (int p = 0; p < kProducers; ++p) {
        producers.emplace_back([&, p] {
            for (int i = 0; i < kLines; ++i) {
                if (!queue.Put(std::to_string(p) + " " + std::to_string(i))) ++discarded[p];
            }
        });
    }
    int endLost = 0;
    std::thread closer([&] {
        for (auto& t : producers) t.join();
        if (!queue.Put("end")) ++endLost;
    });
    std::vector<int> last(kProducers, -1);
    bool ordered = true;
    int read = 0;
    std::vector<std::string> slots;
    for (bool end = false; !end;) {
        for (const auto& line : TakeAll(queue, slots)) {
            if (line == "end") {
                end = true;
                break;  // nothing follows it
            }
            const int p = std::stoi(line);
            const int i = std::stoi(line.substr(line.find(' ') + 1));
            if (i <= last[p]) ordered = false;
            last[p] = i;
            ++read;
        }
    }
    closer.join();
    int lost = endLost;
    for (int d : discarded) lost += d;
    EXPECT_TRUE(ordered);
    EXPECT_EQ(read + lost, kProducers * kLines);
}
