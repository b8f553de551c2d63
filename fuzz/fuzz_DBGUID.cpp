// Feeds arbitrary bytes to the narrow and wide GUID text readers. Buffers are sized exactly, so
// AddressSanitizer catches any read past the terminating zero.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "dblib/DBGUID.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

// The printed form re-read gives the same 16 bytes, wide and narrow.
void CheckRoundTrip(const DBGUID& g) {
    const DBString text = g.ToString();
    Check(text.size() == 32);
    DBGUID wide;
    wide = text.c_str();
    Check(wide == g);
    std::unique_ptr<char[]> narrowText(new char[33]);
    for (size_t i = 0; i < 32; ++i) narrowText[i] = static_cast<char>(text[i]);
    narrowText[32] = '\0';
    DBGUID narrow;
    narrow = narrowText.get();
    Check(narrow == g);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::unique_ptr<char[]> narrowText(new char[size + 1]);
    if (size) std::memcpy(narrowText.get(), data, size);
    narrowText[size] = '\0';
    DBGUID narrow;
    narrow = narrowText.get();
    CheckRoundTrip(narrow);

    // Each byte widened to one character: the same text, so the same result when it is ASCII.
    std::unique_ptr<wchar_t[]> wideText(new wchar_t[size + 1]);
    bool ascii = true;
    for (size_t i = 0; i < size; ++i) {
        wideText[i] = static_cast<wchar_t>(data[i]);
        ascii = ascii && data[i] < 0x80;
    }
    wideText[size] = L'\0';
    DBGUID wide;
    wide = wideText.get();
    CheckRoundTrip(wide);
    if (ascii) Check(wide == narrow);

    // Every four bytes as one wchar_t, any value, including ones that are no code point.
    const size_t units = size / sizeof(wchar_t);
    std::unique_ptr<wchar_t[]> rawText(new wchar_t[units + 1]);
    if (units) std::memcpy(rawText.get(), data, units * sizeof(wchar_t));
    rawText[units] = L'\0';
    DBGUID raw;
    raw = rawText.get();
    CheckRoundTrip(raw);
    return 0;
}
