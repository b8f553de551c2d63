// Received V7 packets: parse, walk the messages, read them, and code them back through every
// channel coding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "lib/Mes.h"
#include "lib/PackV7.h"
#include "lib/Sost.h"
#include "lib/SostSens.h"

namespace {

void ReadAll(CMsgV7& m) {
    CMsgV7::StatusLU lu{};
    CMsgV7::StatusLift lift{};
    CMsgV7::LogDisp log{};
    CSostDev sost;
    CSostSens sens;
    unsigned char b = 0;
    long long v[5];
    unsigned w[4];
    int i = 0;
    m.GetStatusLU(lu);
    m.GetStatusLift(lift);
    m.GetStatusRelay(sost);
    m.GetSensorRelay(sens, b);
    m.GetCallCommand(v[0], v[1], v[2], v[3], v[4]);
    m.GetWorkStatistic(w[0], w[1], w[2], w[3]);
    m.GetTimeStamp(v[0], i);
    m.GetLogDisp(log, sost);
}

void RoundTrip(const CPackV7& p) {
    const auto same = [&p](const CPackV7& q) {
        return q.GetLen() == p.GetLen() &&
               std::memcmp(q.GetBuf(), p.GetBuf(), static_cast<size_t>(p.GetLen())) == 0;
    };
    const bool sound = p.GetLen() > 12 && (p.GetClassPack() == 3 || p.GetClassPack() == 4 ||
                                           p.GetClassPack() == 7 || p.GetClassPack() == 8);
    static unsigned char out[1100];
    static const unsigned char block[16] = {1, 2, 3};
    CPackV7 c = p;
    CPackV7 back;
    int n = c.ChanCod(out, sizeof out, CPackV7::DefaultKey);
    if (p.GetLen() > CPackV7::MaxChanLen) {
        if (n != 0) abort();
    } else if (back.ChanDecod(out, n, CPackV7::DefaultKey) != (sound ? 1 : 0) ||
               (sound && !same(back))) {
        abort();
    }
    n = c.ChanCloudCod(out, sizeof out);
    if (n > 0 && back.ChanCloudDecod(out, n) == 1 && !same(back)) abort();
    if (sound && n > 0 && !back.ChanCloudDecod(out, n)) abort();
    n = c.ChanCloudProCod(out, sizeof out, block);
    unsigned char got[16] = {};
    if (n > 0 && sound &&
        (!back.ChanCloudProDecod(out, n, got) || !same(back) || std::memcmp(got, block, 16) != 0))
        abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int n = size > 2048 ? 2048 : static_cast<int>(size);
    CPackV7 p(n, data);
    if (p.GetLen() > CPackV7::BufSize || (p.GetLen() < 13 && p.IsValid())) abort();
    CMsgV7 m;
    int read = 0;
    p.BegGet();
    while (p.GetMes(m)) {
        if (m.Length() < 2 || !m.IsValid() || p.GetPos() > p.GetLen()) abort();
        if (++read > CPackV7::BufSize / 2) abort();
        ReadAll(m);
    }
    CMes mes;
    p.GetMes(mes);
    CIdentV7 id;
    p.IsCloseLink(id);
    p.IsOnOffGGS();
    p.IsRestart();
    if (!p.IsEQ(p) && p.GetLen() > 13) abort();
    CPackV7 c = p;
    c.CalcCrc();
    if (c.GetLen() <= CPackV7::BufSize - 2 &&
        c.TestCRC() != (c.GetClassPack() == 3 || c.GetClassPack() == 4 || c.GetClassPack() == 7 ||
                        c.GetClassPack() == 8))
        abort();
    RoundTrip(p);
    return 0;
}
