// One V7 message through every reader; the first byte is the message length.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "lib/IdentV7.h"
#include "lib/Sost.h"
#include "lib/SostSens.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The message claims data[0] bytes; a shorter input is zero-padded, as in a packet buffer.
    unsigned char raw[256] = {};
    if (size > 0) std::memcpy(raw, data, size > 256 ? 256 : size);
    CMsgV7 m(raw);
    CMsgV7::StatusLU lu{};
    CMsgV7::StatusLift lift{};
    CMsgV7::LogDisp log{};
    CSostDev sost;
    CSostSens sens;
    unsigned char b = 0;
    long long v[5];
    unsigned w[4];
    int i = 0;
    const int t = m.TypMes();
    const int results[] = {
        m.GetStatusLU(lu),
        m.GetStatusLift(lift),
        m.GetStatusRelay(sost),
        m.GetSensorRelay(sens, b),
        m.GetCallCommand(v[0], v[1], v[2], v[3], v[4]),
        m.GetWorkStatistic(w[0], w[1], w[2], w[3]),
        m.GetTimeStamp(v[0], i),
        m.GetLogDisp(log, sost),
    };
    const int types[] = {0, 1, 2, 3, 4, 5, 6, 11};
    for (int k = 0; k < 8; ++k)
        if (results[k] != 0 && types[k] != t) abort();  // a reader only takes its own type
    m.FrsParse();
    unsigned char buf[8];
    int got = 0;
    while (m.Get(buf, 1 + got % 8)) ++got;
    if (got > 256) abort();
    return 0;
}
