#include <cstring>
#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "lib/IdentV7.h"
#include "lib/Sost.h"
#include "lib/SostSens.h"

namespace {

using Bytes = std::vector<unsigned char>;
using Fields = std::vector<long long>;

// A message of the given type whose length byte is len and whose fields are
// body.
CMsgV7 Msg(int type, const Bytes &body, int len) {
    unsigned char raw[256] = {};
    raw[0] = static_cast<unsigned char>(len);
    raw[1] = static_cast<unsigned char>(type);
    for (size_t i = 0; i < body.size(); ++i) raw[i + 2] = body[i];
    return CMsgV7(raw);
}

template <class State>
Fields Units(Fields head, const State &s, int count) {
    for (int i = 0; i < count; ++i) head.push_back(s[i]);
    return head;
}

}  // namespace

TEST(CMsgV7Test, TypeValidityAndRawGet) {
    EXPECT_EQ((Fields{Msg(3, {}, 1).TypMes(), Msg(3, {}, 1).IsValid(), Msg(3, {}, 2).TypMes(),
                      Msg(0, {}, 2).IsValid(), Msg(11, {}, 2).IsValid(), Msg(12, {}, 2).IsValid()}),
              (Fields{-1, 0, 3, 1, 1, 0}));

    CMsgV7 m = Msg(9, {0xAA, 0xBB, 0xCC}, 5);
    EXPECT_EQ(9, m.FrsParse());
    unsigned char out[4] = {};
    CMsgV7 empty;
    // 2 + 4 > 5, then the reads move on
    EXPECT_EQ((Fields{m.Get(out, 4), m.Get(out, 2), m.Get(out + 2, 2), m.Get(out + 2, 1),
                      m.Get(out, 1), empty.FrsParse(), empty.Get(out, 1)}),
              (Fields{0, 1, 0, 1, 0, -1, 0}));
    EXPECT_EQ(Bytes(out, out + 3), (Bytes{0xAA, 0xBB, 0xCC}));
    m.Set(Bytes{2, 7}.data());  // a new message is read again from its length byte
    EXPECT_TRUE(m.Get(out, 2) && out[0] == 2 && out[1] == 7);
}

// Every reader: the result and fields of a message of length len; every length
// below needed gives 0, and so does a message of another type.
TEST(CMsgV7Test, ReadersTakeTheirFieldsAndRefuseShortMessages) {
    Bytes call(40, 0);
    call[0] = 0x01;
    call[7] = 0x80;  // 0x8000000000000001, negative as signed
    for (size_t i = 8; i < 16; ++i) call[i] = 0xFF;
    call[16] = 0x02;
    const Bytes log = {1,    2,    3,  4,  0x06, 0x07, 8,    9,    10,  11,
                       0xFF, 0xFF, 14, 15, 0xFF, 0x00, 0xAA, 0x55, 0x0F};
    Bytes logLong = log;
    for (unsigned char b = 21; b <= 25; ++b) logLong.push_back(b);
    auto lu = [](CMsgV7 &m) {
        CMsgV7::StatusLU o{};
        return Fields{m.GetStatusLU(o), o.value,  o.trio[0], o.trio[2], o.byte7,
                      o.byte8,          o.value9, o.six[0],  o.six[5]};
    };
    auto lift = [](CMsgV7 &m) {
        CMsgV7::StatusLift o{};
        return Fields{m.GetStatusLift(o), o.flag,   o.number, o.nine[8],
                      o.value12,          o.byte14, o.byte16};
    };
    auto relay = [](CMsgV7 &m) {
        CSostDev s;
        return Units({m.GetStatusRelay(s)}, s, 8);
    };
    auto sensor = [](CMsgV7 &m) {
        CSostSens s;
        unsigned char b5 = 0x77;
        return Units({m.GetSensorRelay(s, b5), b5}, s, 4);
    };
    auto command = [](CMsgV7 &m) {
        long long v[5] = {};
        return Fields{m.GetCallCommand(v[0], v[1], v[2], v[3], v[4]), v[0], v[1], v[2], v[3]};
    };
    auto statistic = [](CMsgV7 &m) {
        unsigned w[4] = {};
        return Fields{m.GetWorkStatistic(w[0], w[1], w[2], w[3]), w[0], w[1], w[2], w[3]};
    };
    auto timeStamp = [](CMsgV7 &m) {
        long long ms = -1;
        int b7 = -1;
        return Fields{m.GetTimeStamp(ms, b7), ms, b7};
    };
    auto logDisp = [](CMsgV7 &m) {
        CMsgV7::LogDisp o{};
        std::memset(o.extra, 0xEE, sizeof o.extra);
        CSostDev s;
        const int r = m.GetLogDisp(o, s);
        Fields f{r, o.byte2, o.byte5, o.value6, o.byte11, o.value12, o.byte15, s[5]};
        for (unsigned char b : o.extra) f.push_back(b);
        return f;
    };
    // needed: the shortest length that reads every mandatory field; fields:
    // result first
    auto check = [](int type, int needed, int len, const std::function<Fields(CMsgV7 &)> &read,
                    const Fields &fields, const Bytes &body) {
        SCOPED_TRACE(testing::Message() << "type " << type << " length " << len);
        CMsgV7 full = Msg(type, body, len), other = Msg(type == 7 ? 8 : 7, body, len);
        EXPECT_EQ(read(full), fields);
        EXPECT_EQ(0, read(other)[0]);
        for (int n = 0; n < needed; ++n) {
            CMsgV7 m = Msg(type, body, n);
            EXPECT_EQ(0, read(m)[0]) << n;
        }
    };
    check(0, 17, 17, lu, {1, 0x1234, 1, 3, 4, 5, 0, 10, 15},
          {0x34, 0x12, 1, 2, 3, 4, 5, 0xFF, 0xFF, 10, 11, 12, 13, 14, 15});
    check(1, 17, 17, lift, {1, 1, 5, 9, 0xFFFE, 7, 9},
          {0x85, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0xFE, 0xFF, 7, 8, 9});
    // FF 00 AA 55 0F and a zero in 6-bit units: 3F 03 20 2A 15 3D 00 00
    check(2, 7, 7, relay, {8, 0x3F, 0x03, 0x20, 0x2A, 0x15, 0x3D, 0, 0},
          {0xFF, 0x00, 0xAA, 0x55, 0x0F});
    // 12 34 56 in units: 12 10 23 15; the optional byte 5 absent, then present
    check(3, 5, 5, sensor, {8, 0x77, 0x12, 0x10, 0x23, 0x15}, {0x12, 0x34, 0x56});
    check(3, 5, 6, sensor, {8, 0x99, 0x12, 0x10, 0x23, 0x15}, {0x12, 0x34, 0x56, 0x99});
    check(4, 42, 42, command, {1, static_cast<long long>(0x8000000000000001ULL), -1, 2, 0}, call);
    check(5, 18, 18, statistic, {1, 0x12345678, 0xFFFFFFFF, 1, 0x01000000},
          {0x78, 0x56, 0x34, 0x12, 0xFF, 0xFF, 0xFF, 0xFF, 1, 0, 0, 0, 0, 0, 0, 1});
    check(6, 8, 8, timeStamp, {1, -1000 + 50, 3}, {0xFF, 0xFF, 0xFF, 0xFF, 5, 3});
    // seconds and hundredths are kept when byte 7 is missing
    check(6, 0, 7, timeStamp, {0, 10000420, -1}, {0x10, 0x27, 0, 0, 42});
    check(11, 21, 21, logDisp, {8, 1, 4, 0x0706, 11, 0, 15, 0x3D, 0, 0, 0, 0, 0}, log);
    check(11, 21, 26, logDisp, {8, 1, 4, 0x0706, 11, 0, 15, 0x3D, 21, 22, 23, 24, 25}, logLong);
}
