#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "lib/PackV7.h"

namespace {

// ---- reference coders written from the wire definition, byte by byte ----

unsigned char Crc8(const unsigned char* p, int n) {
    unsigned c = 0;
    for (int i = 0; i < n; ++i) {
        c ^= p[i];
        for (int b = 0; b < 8; ++b) c = ((c & 0x80) ? ((c << 1) ^ 0x43) : (c << 1)) & 0xFF;
    }
    return static_cast<unsigned char>(c);
}

unsigned char T8(unsigned char b) { return Crc8(&b, 1); }

std::vector<unsigned char> WithCrc(std::vector<unsigned char> pk) {
    unsigned crc = 0;
    for (unsigned char byte : pk) {
        crc ^= static_cast<unsigned>(byte) << 8;
        for (int b = 0; b < 8; ++b)
            crc = ((crc & 0x8000) ? ((crc << 1) ^ 0x1021) : (crc << 1)) & 0xFFFF;
    }
    pk.push_back(static_cast<unsigned char>(crc));
    pk.push_back(static_cast<unsigned char>(crc >> 8));
    return pk;
}

std::vector<unsigned char> RefChanCod(const std::vector<unsigned char>& pk,
                                      unsigned r,
                                      const unsigned char* key) {
    const auto in = WithCrc(pk);
    const int n = static_cast<int>(in.size());
    std::vector<unsigned char> out(n + 1);
    unsigned k = (((r << 2) | (r >> 6)) & 0xFF) & 15;
    unsigned x = r;
    for (int i = 0; i < n; ++i) {
        x ^= in[i];
        out[i] = static_cast<unsigned char>(key[k] ^ x);
        k = (out[i] + 1u) & 15;
    }
    out[n] = static_cast<unsigned char>(Crc8(out.data(), n) ^ r);
    unsigned s = 1;
    k = 4;
    for (int p = n; p >= 0; --p) {
        s ^= out[p];
        out[p] = static_cast<unsigned char>(T8(key[k]) ^ s);
        k = (k + 1) & 15;
    }
    return out;
}

std::vector<unsigned char> RefCloudCod(const std::vector<unsigned char>& pk, unsigned r) {
    const unsigned char* key = CPackV7::CloudKey;
    const auto in = WithCrc(pk);
    const int n = static_cast<int>(in.size());
    std::vector<unsigned char> out(n + 1);
    unsigned h[11];
    for (int i = 0; i < 11; ++i) h[i] = T8(in[i]);
    unsigned k = (((r << 2) | (r >> 6)) & 0xFF) & 15;
    unsigned x = r;
    for (int i = 0; i <= 10; ++i) {
        x ^= in[i];
        out[i] = static_cast<unsigned char>(key[k] ^ x);
        k = (out[i] + 1u) & 15;
    }
    unsigned a[10];
    a[0] = ((r + 19) & 0xFF) ^ h[0];
    for (int i = 1; i < 10; ++i) a[i] = ((a[i - 1] + r) & 0xFF) ^ h[i];
    unsigned x2 = ((a[9] + r) & 0xFF) ^ h[10];
    unsigned s = r ^ 0x87;
    for (int i = 0; i < 10; ++i) s = ((s + a[i]) & 0xFF) ^ (h[i] ^ r);
    s = ((s + x2) & 0xFF) ^ h[10];
    unsigned k2 = s & 15;
    for (int p = 11; p < n; ++p) {
        x ^= in[p];
        const unsigned y = key[k] ^ x;
        out[p] = static_cast<unsigned char>(y);
        k = (y + 1) & 15;
        if (p < n - 2) {
            x2 ^= y;
            const unsigned z = key[k2] ^ x2;
            out[p] = static_cast<unsigned char>(z);
            k2 = (z + 3) & 15;
        }
    }
    const unsigned c = Crc8(out.data(), n) ^ r;
    out[n] = static_cast<unsigned char>(c ^ 0xCB);
    s = c ^ 1;
    k = 5;
    for (int p = n - 1; p >= 0; --p) {
        s ^= out[p];
        out[p] = static_cast<unsigned char>(T8(key[k]) ^ s);
        k = (k + 1) & 15;
    }
    return out;
}

// ---- packets of every class ----

CPackV7 Make(int cls, int len, std::mt19937& gen) {
    std::uniform_int_distribution<int> byte(0, 255);
    std::vector<unsigned char> raw(static_cast<std::size_t>(len));
    for (auto& b : raw) b = static_cast<unsigned char>(byte(gen));
    raw[0] = static_cast<unsigned char>(cls);
    return CPackV7(len, raw.data());
}

std::vector<unsigned char> Bytes(const CPackV7& p) {
    return std::vector<unsigned char>(p.GetBuf(), p.GetBuf() + p.GetLen());
}

struct Coding {
    const char* name;
    int maxLen;  // longest packet whose coded form the decoders take back
    std::function<int(CPackV7&, unsigned char*, int, const unsigned char*)> cod;
    std::function<int(CPackV7&, const unsigned char*, int, const unsigned char*)> decod;
};

const unsigned char kBlock[16] = {9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 0xF0, 0xE0, 0xD0, 0xC0, 0xB0, 0xA0};

std::vector<Coding> Codings() {
    return {
        {"ChanCod", 1021,
         [](CPackV7& p, unsigned char* o, int n, const unsigned char* k) {
             return p.ChanCod(o, n, k);
         },
         [](CPackV7& p, const unsigned char* i, int n, const unsigned char* k) {
             return p.ChanDecod(i, n, k);
         }},
        {"ChanCloudCod", 1021,
         [](CPackV7& p, unsigned char* o, int n, const unsigned char*) {
             return p.ChanCloudCod(o, n);
         },
         [](CPackV7& p, const unsigned char* i, int n, const unsigned char*) {
             return p.ChanCloudDecod(i, n);
         }},
        // 2 + length + 2 + 16 must fit 128 blocks of 8 bytes.
        {"ChanCloudProCod", 1004,
         [](CPackV7& p, unsigned char* o, int n, const unsigned char*) {
             return p.ChanCloudProCod(o, n, kBlock);
         },
         [](CPackV7& p, const unsigned char* i, int n, const unsigned char*) {
             unsigned char block[16] = {};
             const int ok = p.ChanCloudProDecod(i, n, block);
             if (ok && std::memcmp(block, kBlock, 16) != 0) return 0;
             return ok;
         }},
    };
}

}  // namespace

TEST(CPackV7ChanTest, ScramblingsMatchWireDefinition) {
    std::mt19937 gen(1);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int len : {13, 14, 20, 64, 300, 1021}) {
        for (int cls : {3, 4, 7, 8}) {
            SCOPED_TRACE(testing::Message() << "len " << len << " class " << cls);
            unsigned char key[16];
            for (auto& b : key) b = static_cast<unsigned char>(byte(gen));
            CPackV7 p = Make(cls, len, gen);
            const auto plain = Bytes(p);
            const unsigned seed = static_cast<unsigned>(len * 10 + cls);
            std::srand(seed);
            const unsigned r = static_cast<unsigned>(std::rand()) & 0xFF;
            std::vector<unsigned char> out(1100);
            std::srand(seed);
            ASSERT_EQ(len + 3, p.ChanCod(out.data(), 1100, key));
            out.resize(static_cast<std::size_t>(len + 3));
            EXPECT_EQ(RefChanCod(plain, r, key), out);

            out.assign(1100, 0);
            std::srand(seed);
            ASSERT_EQ(len + 3, p.ChanCloudCod(out.data(), 1100));
            out.resize(static_cast<std::size_t>(len + 3));
            EXPECT_EQ(RefCloudCod(plain, r), out);
        }
    }
}

// Every class, every length whose coded form fits the decoders' 1024 bytes, many keys and R.
TEST(CPackV7ChanTest, EveryCodingRoundTripsEveryLength) {
    std::mt19937 gen(2);
    std::uniform_int_distribution<int> byte(0, 255);
    std::srand(3);
    for (const auto& c : Codings()) {
        SCOPED_TRACE(c.name);
        for (int len = 13; len <= c.maxLen; ++len) {
            const int cls = (len % 4 == 0) ? 3 : (len % 4 == 1) ? 4 : (len % 4 == 2) ? 7 : 8;
            unsigned char key[16];
            for (auto& b : key) b = static_cast<unsigned char>(byte(gen));
            CPackV7 p = Make(cls, len, gen);
            const auto plain = Bytes(p);
            unsigned char out[1100];
            const int n = c.cod(p, out, sizeof out, key);
            ASSERT_GT(n, 0) << len;
            ASSERT_LE(n, CPackV7::BufSize + 3) << len;
            CPackV7 back;
            ASSERT_EQ(1, c.decod(back, out, n, key)) << len;
            ASSERT_EQ(plain, Bytes(back)) << len;
            ASSERT_EQ(cls, back.GetClassPack());
            ASSERT_TRUE(back.IsValid());
        }
    }
}

TEST(CPackV7ChanTest, CorruptedByteIsRejected) {
    std::mt19937 gen(4);
    std::srand(5);
    const unsigned char key[16] = {0x10, 0x32, 0x54, 0x76, 0x98, 0xBA, 0xDC, 0xFE,
                                   0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};
    for (const auto& c : Codings()) {
        SCOPED_TRACE(c.name);
        for (int cls : {3, 4, 7}) {
            CPackV7 p = Make(cls, 64, gen);
            unsigned char out[200];
            const int n = c.cod(p, out, sizeof out, key);
            ASSERT_GT(n, 0);
            // The IDEA frame's random tail bytes carry nothing; only the blocks count. Its CRC
            // does not cover the 16-byte block, which the decoding lambda compares.
            const bool idea = std::string(c.name) == "ChanCloudProCod";
            const int covered = idea ? n / 8 * 8 : n;
            for (int i = 0; i < covered; ++i) {
                SCOPED_TRACE(i);
                unsigned char bad[200];
                std::memcpy(bad, out, static_cast<std::size_t>(n));
                bad[i] ^= static_cast<unsigned char>(1 + gen() % 255);
                CPackV7 back;
                EXPECT_EQ(0, c.decod(back, bad, n, key));
            }
            CPackV7 back;
            EXPECT_EQ(0, c.decod(back, out, idea ? n / 8 * 8 - 8 : n - 1, key));  // truncated
        }
    }
}

// A SetLink with 1009 bytes makes a 1022-byte packet: scrambled it would be 1025 bytes, one more
// than any decoder takes, so the scramblers refuse it; the IDEA frame refuses above 1004.
TEST(CPackV7ChanTest, OversizedPacketsAreRefused) {
    std::vector<unsigned char> data(1009, 0x5A);
    CPackV7 p;
    ASSERT_EQ(1, p.SetLink(CPackV7::tpNone, data.data(), 1009));
    std::vector<unsigned char> out(1200, 0xEE);
    const unsigned char key[16] = {};
    EXPECT_EQ(0, p.ChanCod(out.data(), 1200, key));
    EXPECT_EQ(0, p.ChanCloudCod(out.data(), 1200));
    EXPECT_EQ(0, p.ChanCloudProCod(out.data(), 1200, kBlock));
    EXPECT_EQ(0xEE, out[0]);

    ASSERT_EQ(1, p.SetLink(CPackV7::tpNone, data.data(), 1008));  // 1021 bytes
    EXPECT_EQ(1024, p.ChanCod(out.data(), 1200, key));
    ASSERT_EQ(1, p.SetLink(CPackV7::tpNone, data.data(), 992));  // 1005 bytes: 129 blocks
    EXPECT_EQ(0, p.ChanCloudProCod(out.data(), 1200, kBlock));
    ASSERT_EQ(1, p.SetLink(CPackV7::tpNone, data.data(), 991));
    const int n = p.ChanCloudProCod(out.data(), 1200, kBlock);
    EXPECT_GE(n, 1024);
    EXPECT_LE(n, 1027);
    EXPECT_EQ(0, p.ChanCloudProCod(out.data(), 1023, kBlock));  // no room for the blocks
}

TEST(CPackV7ChanTest, ShortOutputGetsForwardChainOnly) {
    std::mt19937 gen(6);
    const unsigned char key[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    CPackV7 p = Make(4, 40, gen);
    const auto plain = Bytes(p);
    std::srand(77);
    const unsigned r = static_cast<unsigned>(std::rand()) & 0xFF;
    std::srand(77);
    unsigned char out[64];
    std::memset(out, 0xEE, sizeof out);
    ASSERT_EQ(42, p.ChanCod(out, 42, key));
    EXPECT_EQ(0xEE, out[42]);
    // Without the backward pass the bytes are the first chain of the full form's definition.
    const auto in = WithCrc(plain);
    unsigned k = (((r << 2) | (r >> 6)) & 0xFF) & 15;
    unsigned x = r;
    for (int i = 0; i < 42; ++i) {
        x ^= in[static_cast<std::size_t>(i)];
        ASSERT_EQ(key[k] ^ x, out[i]) << i;
        k = (out[i] + 1u) & 15;
    }
    EXPECT_EQ(0, p.ChanCod(out, 0, key));
}

TEST(CPackV7ChanTest, DecodersRejectShortAndMalformedInput) {
    const unsigned char key[16] = {};
    const unsigned char junk[40] = {1, 2, 3};
    CPackV7 p;
    for (int n : {-1, 0, 1, 2, 3, 15}) {
        SCOPED_TRACE(n);
        EXPECT_EQ(0, p.ChanDecod(junk, n, key));
        EXPECT_EQ(0, p.ChanCloudDecod(junk, n));
    }
    unsigned char block[16];
    for (int n : {0, 8, 16, 23, 24 + 7}) {
        SCOPED_TRACE(n);
        EXPECT_EQ(0, p.ChanCloudProDecod(junk, n, block));
    }
    std::vector<unsigned char> many(8 * 129, 0);
    EXPECT_EQ(0, p.ChanCloudProDecod(many.data(), 8 * 129, block));
    EXPECT_EQ(0, p.ChanDecod(nullptr, 10, key));
    EXPECT_EQ(0, p.ChanCloudProDecod(nullptr, 40, block));
}
