// Frames of the cloud scrambling.
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
    if (!p.ChanCloudDecod(data, n)) return 0;
    if (!p.TestCRC() || p.GetLen() != (n > 1024 ? 1024 : n) - 3) abort();
    static unsigned char out[1100];
    const int m = p.ChanCloudCod(out, sizeof out);
    CPackV7 back;
    if (m != p.GetLen() + 3 || !back.ChanCloudDecod(out, m) || !Same(back, p)) abort();
    return 0;
}
