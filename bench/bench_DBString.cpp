// UTF-8 decoding and encoding, formatting and hashing of DBString.
#include <string>

#include <benchmark/benchmark.h>

#include "dblib/DBString.h"

namespace {

constexpr size_t kTextBytes = 64 * 1024;

// About 64 KiB of UTF-8 built by repeating a sentence.
std::string Repeat(const std::string& sentence) {
    std::string out;
    while (out.size() + sentence.size() <= kTextBytes) out += sentence;
    return out;
}

// Mostly Cyrillic, with the blanks, digits and punctuation of ordinary Russian text.
const std::string& CyrillicText() {
    static const std::string text = Repeat(
        "\xD0\x9B\xD0\xB8\xD1\x84\xD1\x82 \xE2\x84\x96 12 \xD0\xBE\xD1\x81\xD1\x82\xD0\xB0"
        "\xD0\xBD\xD0\xBE\xD0\xB2\xD0\xBB\xD0\xB5\xD0\xBD \xD0\xBD\xD0\xB0 \xD1\x8D\xD1\x82"
        "\xD0\xB0\xD0\xB6\xD0\xB5 5, \xD0\xB4\xD0\xB2\xD0\xB5\xD1\x80\xD0\xB8 \xD0\xB7\xD0\xB0"
        "\xD0\xBA\xD1\x80\xD1\x8B\xD1\x82\xD1\x8B. ");
    return text;
}

const std::string& AsciiText() {
    static const std::string text =
        Repeat("Lift No 12 stopped at floor 5, doors closed, console 3 notified. ");
    return text;
}

void DecodeUtf8(benchmark::State& state, const std::string& text) {
    for (auto _ : state) {
        DBString s(text);
        benchmark::DoNotOptimize(s.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(text.size()));
}

void EncodeUtf8(benchmark::State& state, const std::string& text) {
    const DBString wide(text);
    for (auto _ : state) {
        std::string s = wide.ToStr();
        benchmark::DoNotOptimize(s.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(text.size()));
}

void BM_DecodeUtf8Cyrillic(benchmark::State& state) { DecodeUtf8(state, CyrillicText()); }
void BM_DecodeUtf8Ascii(benchmark::State& state) { DecodeUtf8(state, AsciiText()); }
void BM_EncodeUtf8Cyrillic(benchmark::State& state) { EncodeUtf8(state, CyrillicText()); }
void BM_EncodeUtf8Ascii(benchmark::State& state) { EncodeUtf8(state, AsciiText()); }

void BM_FormatLogLine(benchmark::State& state) {
    const DBString name(L"\x41B\x438\x444\x442");
    DBString s;
    for (auto _ : state) {
        s.Format(L"%02d.%02d.%04d %02d:%02d:%02d %ls %d %08X", 6, 12, 2026, 1, 2, 3, name.c_str(),
                 42, 0xBEEFu);
        benchmark::DoNotOptimize(s.data());
    }
}

void BM_Md5HashShort(benchmark::State& state) {
    const DBString password(L"\x43F\x430\x440\x43E\x43B\x44C-2026");
    for (auto _ : state) {
        DBString h = password.Md5Hash();
        benchmark::DoNotOptimize(h.data());
    }
}

}  // namespace

BENCHMARK(BM_DecodeUtf8Cyrillic);
BENCHMARK(BM_DecodeUtf8Ascii);
BENCHMARK(BM_EncodeUtf8Cyrillic);
BENCHMARK(BM_EncodeUtf8Ascii);
BENCHMARK(BM_FormatLogLine);
BENCHMARK(BM_Md5HashShort);

BENCHMARK_MAIN();
