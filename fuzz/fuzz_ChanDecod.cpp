// Scrambled frames under a key: the first 16 input bytes are the key, the rest the frame.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "lib/PackV7.h"

namespace {

bool Same(const CPackV7& a, const CPackV7& b) {
    return a.GetLen() == b.GetLen() &&
           std::memcmp(a.GetBuf(), b.GetBuf(), static_cast<size_t>(a.GetLen())) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 16) return 0;
    const unsigned char* key = data;
    const int n = size - 16 > 2048 ? 2048 : static_cast<int>(size - 16);
    CPackV7 p;
    if (!p.ChanDecod(data + 16, n, key)) return 0;
    // A sound frame gives a sound packet that codes and decodes to itself.
    if (!p.TestCRC() || p.GetLen() != (n > 1024 ? 1024 : n) - 3) abort();
    static unsigned char out[1100];
    const int m = p.ChanCod(out, sizeof out, key);
    CPackV7 back;
    if (m != p.GetLen() + 3 || !back.ChanDecod(out, m, key) || !Same(back, p)) abort();
    return 0;
}
