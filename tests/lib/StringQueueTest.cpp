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
    std::deque<std::string> batch;
    EXPECT_EQ(queue.ReadAll(batch), 3u);
    EXPECT_EQ(batch, (std::deque<std::string>{"a", "", "c"}));
    EXPECT_EQ(queue.Size(), 0u);
    // Lines already held by the caller stay in front.
    queue.Put("d");
    EXPECT_EQ(queue.ReadAll(batch), 1u);
    EXPECT_EQ(batch.back(), "d");
    EXPECT_EQ(batch.size(), 4u);
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
        std::deque<std::string> batch;
        queue.ReadAll(batch);
        return batch;
    });
    queue.Put("x");
    ASSERT_EQ(batchReader.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_EQ(batchReader.get().front(), "x");
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
    std::deque<std::string> batch;
    for (bool end = false; !end; batch.clear()) {
        queue.ReadAll(batch);
        for (const auto& line : batch) {
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
