#include <chrono>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "lib/PackV7.h"

namespace {

// Producer p's packet i: producer in byte 11, sequence in the first identifier's node.
CPackV7 Numbered(int producer, int i) {
    CPackV7 p(CIdentV7(i, 0), CIdentV7(producer, 0));
    p.SetByte11(producer);
    const unsigned char body[3] = {static_cast<unsigned char>(i), 0xAB, 0xCD};
    p.SetData(CPackV7::tpMes, body, 3);
    return p;
}

}  // namespace

// Four producers and one consumer: every packet arrives once, each producer's in order; an
// empty queue reads nothing and leaves the argument alone.
TEST(InpQueuePackV7Test, ConcurrentProducersLoseNothingAndKeepOrder) {
    constexpr int kProducers = 4;
    constexpr int kEach = 5000;
    InpQueuePackV7 q;
    CPackV7 pk = Numbered(9, 9);
    EXPECT_EQ(0, q.Read(pk));
    EXPECT_EQ(9, pk.GetByte11());
    std::vector<std::thread> producers;
    for (int p = 0; p < kProducers; ++p)
        producers.emplace_back([&q, p] {
            for (int i = 1; i <= kEach; ++i) EXPECT_EQ(1, q.Put(Numbered(p, i)));
        });
    std::vector<int> last(kProducers, 0);
    int received = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (received < kProducers * kEach && std::chrono::steady_clock::now() < deadline) {
        if (!q.Read(pk)) {
            std::this_thread::yield();
            continue;
        }
        const int p = pk.GetByte11();
        const int seq = pk.GetFirst().GetNode();
        // Failures break out so that the producers are still joined.
        if (p < 0 || p >= kProducers || seq != last[p] + 1 || pk.GetLen() != 16 ||
            pk.GetBuf()[13] != static_cast<unsigned char>(seq)) {
            ADD_FAILURE() << "producer " << p << " sent " << seq << " after " << last[p];
            break;
        }
        last[p] = seq;
        ++received;
    }
    for (auto& t : producers) t.join();
    EXPECT_EQ(kProducers * kEach, received);
    EXPECT_EQ(0, q.Read(pk));
}
