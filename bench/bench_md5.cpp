// MD5 throughput over a large buffer.
#include <vector>

#include <benchmark/benchmark.h>

#include "dblib/md5.h"

namespace {

void BM_Md5(benchmark::State& state) {
    std::vector<unsigned char> data(static_cast<size_t>(state.range(0)));
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<unsigned char>(i * 131 + 7);
    unsigned char digest[16];
    for (auto _ : state) {
        md5::md5_context ctx;
        md5::md5_starts(&ctx);
        md5::md5_update(&ctx, data.data(), static_cast<unsigned int>(data.size()));
        md5::md5_finish(&ctx, digest);
        benchmark::DoNotOptimize(digest);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}

}  // namespace

BENCHMARK(BM_Md5)->Arg(64)->Arg(1 << 20);

BENCHMARK_MAIN();
