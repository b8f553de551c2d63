// MD5 throughput: this library against OpenSSL in the same program.
#include <cstring>
#include <vector>

#include <benchmark/benchmark.h>

#include "dblib/md5.h"

#ifdef WITH_OPENSSL
#include <openssl/evp.h>
#endif

namespace {

std::vector<unsigned char> Data(benchmark::State& state) {
    std::vector<unsigned char> data(static_cast<size_t>(state.range(0)));
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<unsigned char>(i * 131 + 7);
    return data;
}

void Md5(std::vector<unsigned char>& data, unsigned char* digest) {
    md5::md5_context ctx;
    md5::md5_starts(&ctx);
    md5::md5_update(&ctx, data.data(), static_cast<unsigned int>(data.size()));
    md5::md5_finish(&ctx, digest);
}

void BM_Md5(benchmark::State& state) {
    auto data = Data(state);
    unsigned char digest[16];
    for (auto _ : state) {
        Md5(data, digest);
        benchmark::DoNotOptimize(digest);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_Md5)->Arg(64)->Arg(1024)->Arg(1 << 20);

#ifdef WITH_OPENSSL
void BM_OpensslMd5(benchmark::State& state) {
    auto data = Data(state);
    unsigned char digest[16];
    unsigned char ours[16];
    Md5(data, ours);
    EVP_Digest(data.data(), data.size(), digest, nullptr, EVP_md5(), nullptr);
    if (std::memcmp(digest, ours, 16) != 0) state.SkipWithError("OpenSSL and md5 disagree");
    for (auto _ : state) {
        EVP_Digest(data.data(), data.size(), digest, nullptr, EVP_md5(), nullptr);
        benchmark::DoNotOptimize(digest);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_OpensslMd5)->Arg(64)->Arg(1024)->Arg(1 << 20);
#endif

}  // namespace

BENCHMARK_MAIN();
