// IDEA in ECB order: this library against Crypto++ in the same program.
#include <cstring>
#include <vector>

#include <benchmark/benchmark.h>

#include "lib/Idea.h"

#ifdef WITH_CRYPTOPP
#include <crypto++/idea.h>
#include <crypto++/modes.h>
#endif

namespace {

const unsigned char kKey[16] = {0x2B, 0xD6, 0x45, 0x9F, 0x82, 0xC5, 0xB3, 0x00,
                                0x95, 0x2C, 0x49, 0x10, 0x48, 0x81, 0xFF, 0x48};

void BM_IdeaEcb(benchmark::State& state) {
    const int blocks = static_cast<int>(state.range(0)) / 8;
    std::vector<unsigned char> buf(static_cast<std::size_t>(blocks) * 8, 0x5A);
    const CIdeaCtx ctx(kKey);
    for (auto _ : state) {
        ctx.Encrypt(buf.data(), buf.data(), blocks);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_IdeaEcb)->Arg(64)->Arg(1024)->Arg(16384);

void BM_IdeaEcbDecrypt(benchmark::State& state) {
    const int blocks = static_cast<int>(state.range(0)) / 8;
    std::vector<unsigned char> buf(static_cast<std::size_t>(blocks) * 8, 0x5A);
    const CIdeaCtx ctx(kKey);
    for (auto _ : state) {
        ctx.Decrypt(buf.data(), buf.data(), blocks);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_IdeaEcbDecrypt)->Arg(64)->Arg(1024)->Arg(16384);

#ifdef WITH_CRYPTOPP
void BM_CryptoppIdeaEcb(benchmark::State& state) {
    std::vector<unsigned char> buf(static_cast<std::size_t>(state.range(0)), 0x5A);
    CryptoPP::ECB_Mode<CryptoPP::IDEA>::Encryption enc(kKey, sizeof kKey);
    // Same cipher: the first block must agree with ours.
    unsigned char a[8] = {}, b[8] = {};
    enc.ProcessData(a, b, 8);
    CIdeaCtx ctx(kKey);
    unsigned char c[8] = {};
    ctx.Encrypt(c, c, 1);
    if (std::memcmp(a, c, 8) != 0) state.SkipWithError("Crypto++ and CIdeaCtx disagree");
    for (auto _ : state) {
        enc.ProcessData(buf.data(), buf.data(), buf.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_CryptoppIdeaEcb)->Arg(64)->Arg(1024)->Arg(16384);

void BM_CryptoppIdeaEcbDecrypt(benchmark::State& state) {
    std::vector<unsigned char> buf(static_cast<std::size_t>(state.range(0)), 0x5A);
    CryptoPP::ECB_Mode<CryptoPP::IDEA>::Decryption dec(kKey, sizeof kKey);
    unsigned char a[8] = {}, b[8] = {};
    dec.ProcessData(a, b, 8);
    CIdeaCtx ctx(kKey);
    unsigned char c[8] = {};
    ctx.Decrypt(c, c, 1);
    if (std::memcmp(a, c, 8) != 0) state.SkipWithError("Crypto++ and CIdeaCtx disagree");
    for (auto _ : state) {
        dec.ProcessData(buf.data(), buf.data(), buf.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_CryptoppIdeaEcbDecrypt)->Arg(64)->Arg(1024)->Arg(16384);
#endif

}  // namespace

BENCHMARK_MAIN();
