// IDEA frames of the protected cloud channel.
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
    const int n = size > 2048 ? 2048 : static_cast<int>(size);
    CPackV7 p;
    unsigned char block[16] = {};
    if (!p.ChanCloudProDecod(data, n, block)) return 0;
    if (!p.TestCRC() || p.GetLen() > 1004) abort();
    static unsigned char out[1100];
    const int m = p.ChanCloudProCod(out, sizeof out, block);
    CPackV7 back;
    unsigned char got[16] = {};
    if (m < 24 || !back.ChanCloudProDecod(out, m, got) || !Same(back, p) ||
        std::memcmp(got, block, 16) != 0)
        abort();
    return 0;
}
