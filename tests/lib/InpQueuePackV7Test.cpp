#include <chrono>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "lib/PackV7.h"

// Four producers and one consumer: every packet arrives once, each producer's in order; an
// empty queue reads nothing and leaves the argument alone.
TEST(InpQueuePackV7Test, ConcurrentProducersLoseNothingAndKeepOrder) {
    constexpr int kProducers = 4, kEach = 5000;
    InpQueuePackV7 q;
    CPackV7 pk(CIdentV7(1, 0), CIdentV7(9, 0));
    EXPECT_TRUE(q.Read(pk) == 0 && pk.GetSecond().GetNode() == 9);
    std::vector<std::thread> producers;
    for (int p = 0; p < kProducers; ++p)  // the sequence in the first node, the producer second
        producers.emplace_back([&q, p] {
            for (int i = 1; i <= kEach; ++i) q.Put(CPackV7(CIdentV7(i, 0), CIdentV7(p, 0)));
        });
    std::vector<int> last(kProducers, 0);
    int received = 0, wrong = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (received < kProducers * kEach && wrong == 0 &&
           std::chrono::steady_clock::now() < deadline) {
        if (!q.Read(pk)) {
            std::this_thread::yield();
            continue;
        }
        const int p = pk.GetSecond().GetNode();
        const bool ok = p >= 0 && p < kProducers && pk.GetFirst().GetNode() == last[p] + 1;
        (ok ? received : wrong)++;
        if (ok) last[p]++;
    }
    for (auto& t : producers) t.join();
    EXPECT_EQ(kProducers * kEach, received);
    EXPECT_EQ(0, q.Read(pk));
}
