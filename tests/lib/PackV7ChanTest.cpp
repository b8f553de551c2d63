#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "lib/PackV7.h"

namespace {

using Bytes = std::vector<unsigned char>;

Bytes Of(const CPackV7& p) { return Bytes(p.GetBuf(), p.GetBuf() + p.GetLen()); }

// Class 4, numbers 1 and 2, identifiers 0x123456.7 and 123456.2, byte 11 0x5A, request C1.
const Bytes kPlain = {4, 1, 2, 7, 0x56, 0x34, 0x12, 2, 0x40, 0xE2, 1, 0x5A, 3, 0xC1};
const unsigned char kKey[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
const unsigned char kBlock[16] = {9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 0xF0, 0xE0, 0xD0, 0xC0, 0xB0, 0xA0};

using Cod = std::function<int(CPackV7&, unsigned char*, int)>;
using Decod = std::function<int(CPackV7&, const unsigned char*, int)>;
const Cod kChan = [](CPackV7& p, unsigned char* o, int n) { return p.ChanCod(o, n, kKey); };
const Cod kCloud = [](CPackV7& p, unsigned char* o, int n) { return p.ChanCloudCod(o, n); };

// maxLen: the longest packet whose coded form the decoders take back; the IDEA frame must also
// carry its block back: 2 + length + 2 + 16 fits 128 blocks up to 1004.
const struct {
    const char* name;
    int maxLen;
    Cod cod;
    Decod decod;
} kCodings[] = {
    {"ChanCod", 1021, kChan,
     [](CPackV7& p, const unsigned char* i, int n) { return p.ChanDecod(i, n, kKey); }},
    {"ChanCloudCod", 1021, kCloud,
     [](CPackV7& p, const unsigned char* i, int n) { return p.ChanCloudDecod(i, n); }},
    {"ChanCloudProCod", 1004,
     [](CPackV7& p, unsigned char* o, int n) { return p.ChanCloudProCod(o, n, kBlock); },
     [](CPackV7& p, const unsigned char* i, int n) {
         unsigned char block[16] = {};
         return p.ChanCloudProDecod(i, n, block) && std::memcmp(block, kBlock, 16) == 0 ? 1 : 0;
     }},
};

CPackV7 Random(int cls, int len, std::mt19937& gen) {
    Bytes raw(static_cast<size_t>(len));
    for (auto& b : raw) b = static_cast<unsigned char>(gen());
    raw[0] = static_cast<unsigned char>(cls);
    return CPackV7(len, raw.data());
}

}  // namespace

// Frames worked out by hand from the wire definition for srand(7), whose first rand() has the
// low byte 0xF5: the CRC-16 of the packet is DEA4. An outSize of length + 2 gives the forward
// chain alone, without trailer.
TEST(CPackV7ChanTest, ScramblingsGiveHandWorkedFrames) {
    Bytes cloudPlain = kPlain;
    cloudPlain.insert(cloudPlain.end(), {0xDE, 0xAD, 0xBE, 0xEF, 0x01, 0x02});
    auto check = [](const Cod& cod, const Bytes& plain, int outSize, const Bytes& frame) {
        CPackV7 p(static_cast<int>(plain.size()), plain.data());
        Bytes out(64, 0xEE), expect = frame;
        expect.resize(64, 0xEE);
        std::srand(7);
        EXPECT_EQ(cod(p, out.data(), outSize), static_cast<int>(frame.size()));
        EXPECT_EQ(out, expect);
    };
    const Bytes chan = {0x9D, 0x27, 0x56, 0xEA, 0xDB, 0x42, 0xB9, 0x7D, 0x36,
                        0xA2, 0x04, 0x6D, 0xDA, 0xE0, 0x43, 0x11, 0x11};
    check(kChan, kPlain, 64, chan);
    check(kChan, kPlain, 17, chan);  // just room for the trailer
    check(kChan, kPlain, 16,
          {0xF9, 0xFB, 0xFF, 0xF4, 0xA5, 0x90, 0x87, 0x8E, 0xD7, 0x2C, 0x2A, 0x72, 0x79, 0xB7, 0x11,
           0xC5});
    check(kCloud, cloudPlain, 64,
          {0x0F, 0xE4, 0xA7, 0x82, 0x4D, 0x05, 0xDC, 0xA8, 0x02, 0xA1, 0x38, 0x9F,
           0xB1, 0x3D, 0x4B, 0xEC, 0xDB, 0x06, 0x99, 0x68, 0xFE, 0x13, 0x67});
    check(kChan, kPlain, 0, {});
}

// Every coding round-trips every length that fits, over stale content; any changed byte, a cut
// frame and short or malformed input are refused (the IDEA frame's random tail carries nothing).
TEST(CPackV7ChanTest, RoundTripsAndRejectsDamage) {
    std::mt19937 gen(2);
    for (const auto& c : kCodings) {
        SCOPED_TRACE(c.name);
        const bool idea = c.maxLen == 1004;
        for (int len = 13; len <= c.maxLen; ++len) {
            CPackV7 p = Random(len % 2 == 0 ? 3 : 8, len, gen);
            unsigned char out[1100];
            const int n = c.cod(p, out, sizeof out);
            CPackV7 back = Random(3, 40, gen);
            ASSERT_TRUE(n > 0 && n <= CPackV7::BufSize + 3 && c.decod(back, out, n)) << len;
            ASSERT_EQ(Of(p), Of(back)) << len;
        }
        for (int cls : {4, 5}) {
            CPackV7 p = Random(cls, 64, gen);
            unsigned char out[200], bad[200];
            const int n = c.cod(p, out, sizeof out);
            CPackV7 back;
            EXPECT_EQ(cls != 5, c.decod(back, out, n) == 1);  // class 5 never passes
            for (int i = 0; i < (idea ? n / 8 * 8 : n); ++i) {
                std::memcpy(bad, out, static_cast<size_t>(n));
                bad[i] ^= static_cast<unsigned char>(1 + gen() % 255);
                EXPECT_EQ(0, c.decod(back, bad, n)) << i;
            }
            EXPECT_EQ(0, c.decod(back, out, idea ? n / 8 * 8 - 8 : n - 1));
        }
        const unsigned char junk[40] = {1, 2, 3};
        for (int n : {-1, 0, 2, 3, 23}) {
            CPackV7 stale = Random(4, 20, gen);  // reset first: nothing of it may remain
            EXPECT_EQ(0, c.decod(stale, junk, n)) << n;
            EXPECT_EQ(n < 3 || idea ? 0 : n - 3, stale.GetLen()) << n;
        }
        CPackV7 none;
        EXPECT_EQ(0, c.decod(none, nullptr, 40));
    }
    std::vector<unsigned char> many(8 * 129, 0);
    unsigned char block[16];
    EXPECT_EQ(0, CPackV7().ChanCloudProDecod(many.data(), 8 * 129, block));
}

// 1022 bytes would scramble to 1025, one more than any decoder takes; the IDEA frame refuses
// above 1004 bytes (129 blocks) and when the blocks do not fit the output.
TEST(CPackV7ChanTest, OversizedPacketsAreRefused) {
    std::vector<unsigned char> data(1009, 0x5A), out(1200, 0xEE);
    CPackV7 p;
    ASSERT_EQ(1, p.SetLink(CPackV7::tpNone, data.data(), 1009));
    for (const auto& c : kCodings) EXPECT_EQ(0, c.cod(p, out.data(), 1200)) << c.name;
    EXPECT_EQ(0xEE, out[0]);
    p.SetLink(CPackV7::tpNone, data.data(), 992);
    EXPECT_EQ(0, p.ChanCloudProCod(out.data(), 1200, kBlock));
    p.SetLink(CPackV7::tpNone, data.data(), 991);
    const int n = p.ChanCloudProCod(out.data(), 1200, kBlock);
    EXPECT_TRUE(n >= 1024 && n <= 1027) << n;
    EXPECT_EQ(0, p.ChanCloudProCod(out.data(), 1023, kBlock));
}
