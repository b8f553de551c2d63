// CRC-16 throughput and the channel codings in packets per second.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <benchmark/benchmark.h>

#include "lib/PackV7.h"

namespace {

std::vector<unsigned char> Data(int n) {
    std::vector<unsigned char> d(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        d[static_cast<std::size_t>(i)] = static_cast<unsigned char>(i * 131 + 7);
    return d;
}

// The definition, bit by bit: the baseline the table-driven form must beat and equal.
unsigned short BitCrc16(const unsigned char* p, int n) {
    unsigned crc = 0;
    for (int i = 0; i < n; ++i) {
        crc ^= static_cast<unsigned>(p[i]) << 8;
        for (int b = 0; b < 8; ++b) crc = (crc & 0x8000) ? ((crc << 1) ^ 0x1021) : (crc << 1);
    }
    return static_cast<unsigned short>(crc);
}

// The yardstick of the same method: a plain slice-by-8 CRC-16/XMODEM as commonly written, tables
// filled at start-up, eight bytes read as one little-endian word.
class PlainSlice8 {
public:
    PlainSlice8() {
        for (unsigned x = 0; x < 256; ++x) {
            unsigned c = x << 8;
            for (int b = 0; b < 8; ++b) c = (c & 0x8000) ? ((c << 1) ^ 0x1021) : (c << 1);
            m_t[0][x] = static_cast<std::uint16_t>(c);
        }
        for (int k = 1; k < 8; ++k)
            for (unsigned x = 0; x < 256; ++x)
                m_t[k][x] =
                    static_cast<std::uint16_t>((m_t[k - 1][x] << 8) ^ m_t[0][m_t[k - 1][x] >> 8]);
    }
    unsigned short operator()(const unsigned char* p, std::size_t n) const {
        std::uint32_t crc = 0;
        for (; n >= 8; n -= 8, p += 8) {
            std::uint64_t w;
            std::memcpy(&w, p, 8);
            crc = m_t[7][((crc >> 8) ^ w) & 0xFF] ^ m_t[6][(crc ^ (w >> 8)) & 0xFF] ^
                  m_t[5][(w >> 16) & 0xFF] ^ m_t[4][(w >> 24) & 0xFF] ^ m_t[3][(w >> 32) & 0xFF] ^
                  m_t[2][(w >> 40) & 0xFF] ^ m_t[1][(w >> 48) & 0xFF] ^ m_t[0][w >> 56];
        }
        for (; n > 0; --n, ++p) crc = ((crc << 8) & 0xFFFF) ^ m_t[0][(crc >> 8) ^ *p];
        return static_cast<unsigned short>(crc);
    }

private:
    std::uint16_t m_t[8][256];
};

void BM_Crc16Slice8Plain(benchmark::State& state) {
    static const PlainSlice8 crc;
    const auto d = Data(static_cast<int>(state.range(0)));
    if (crc(d.data(), d.size()) != BitCrc16(d.data(), static_cast<int>(d.size())))
        state.SkipWithError("the yardstick differs from the bitwise definition");
    for (auto _ : state) benchmark::DoNotOptimize(crc(d.data(), d.size()));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_Crc16Slice8Plain)->Arg(64)->Arg(1022)->Arg(65536);

void BM_Crc16(benchmark::State& state) {
    const auto d = Data(static_cast<int>(state.range(0)));
    if (CPackV7::CalcCrc16(d.data(), static_cast<int>(d.size())) !=
        BitCrc16(d.data(), static_cast<int>(d.size())))
        state.SkipWithError("table-driven CRC-16 differs from the bitwise definition");
    for (auto _ : state)
        benchmark::DoNotOptimize(CPackV7::CalcCrc16(d.data(), static_cast<int>(d.size())));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_Crc16)->Arg(64)->Arg(1022)->Arg(65536);

void BM_Crc16Bitwise(benchmark::State& state) {
    const auto d = Data(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(BitCrc16(d.data(), static_cast<int>(d.size())));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_Crc16Bitwise)->Arg(1022);

// A class-4 packet of the given total length.
CPackV7 Packet(int len) {
    const auto d = Data(len - CPackV7::HeadSize);
    CPackV7 p(CIdentV7(123456, 1), CIdentV7(10000001, 0));
    p.SetData(CPackV7::tpMsgV7, d.data(), len - CPackV7::HeadSize);
    return p;
}

const unsigned char kKey[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
const unsigned char kBlock[16] = {7};

enum Coding { kChan, kCloud, kPro };

int Cod(CPackV7& p, unsigned char* out, int size, Coding c) {
    switch (c) {
        case kChan:
            return p.ChanCod(out, size, kKey);
        case kCloud:
            return p.ChanCloudCod(out, size);
        default:
            return p.ChanCloudProCod(out, size, kBlock);
    }
}

int Decod(CPackV7& p, const unsigned char* in, int n, Coding c) {
    unsigned char block[16];
    switch (c) {
        case kChan:
            return p.ChanDecod(in, n, kKey);
        case kCloud:
            return p.ChanCloudDecod(in, n);
        default:
            return p.ChanCloudProDecod(in, n, block);
    }
}

template <Coding C>
void BM_Cod(benchmark::State& state) {
    CPackV7 p = Packet(static_cast<int>(state.range(0)));
    unsigned char out[1100];
    for (auto _ : state) benchmark::DoNotOptimize(Cod(p, out, sizeof out, C));
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}

template <Coding C>
void BM_Decod(benchmark::State& state) {
    CPackV7 p = Packet(static_cast<int>(state.range(0)));
    unsigned char out[1100];
    const int n = Cod(p, out, sizeof out, C);
    CPackV7 back;
    if (n <= 0 || !Decod(back, out, n, C)) state.SkipWithError("frame does not decode");
    for (auto _ : state) benchmark::DoNotOptimize(Decod(back, out, n, C));
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}

// 1009 bytes for the scramblers; the IDEA frame takes packets up to 1004 bytes.
BENCHMARK_TEMPLATE(BM_Cod, kChan)->Arg(64)->Arg(1009);
BENCHMARK_TEMPLATE(BM_Decod, kChan)->Arg(64)->Arg(1009);
BENCHMARK_TEMPLATE(BM_Cod, kCloud)->Arg(64)->Arg(1009);
BENCHMARK_TEMPLATE(BM_Decod, kCloud)->Arg(64)->Arg(1009);
BENCHMARK_TEMPLATE(BM_Cod, kPro)->Arg(64)->Arg(1004);
BENCHMARK_TEMPLATE(BM_Decod, kPro)->Arg(64)->Arg(1004);

}  // namespace

BENCHMARK_MAIN();
