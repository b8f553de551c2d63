#include <cstring>
#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "lib/IdentV7.h"
#include "lib/Sost.h"
#include "lib/SostSens.h"

namespace {

// A message of the given type whose length byte is len and whose fields are body (cut to fit).
CMsgV7 Msg(int type, const std::vector<unsigned char>& body, int len) {
    unsigned char raw[256] = {};
    raw[0] = static_cast<unsigned char>(len);
    raw[1] = static_cast<unsigned char>(type);
    for (std::size_t i = 0; i < body.size() && i + 2 < 256; ++i) raw[i + 2] = body[i];
    return CMsgV7(raw);
}

int Full(const std::vector<unsigned char>& body) { return static_cast<int>(body.size()) + 2; }

}  // namespace

TEST(CMsgV7Test, TypeValidityAndRawGet) {
    EXPECT_EQ(-1, Msg(3, {}, 1).TypMes());
    EXPECT_FALSE(Msg(3, {}, 1).IsValid());
    EXPECT_EQ(3, Msg(3, {}, 2).TypMes());
    EXPECT_TRUE(Msg(11, {}, 2).IsValid());
    EXPECT_FALSE(Msg(12, {}, 2).IsValid());

    CMsgV7 m = Msg(9, {0xAA, 0xBB, 0xCC}, 5);
    EXPECT_EQ(9, m.FrsParse());
    unsigned char out[4] = {};
    EXPECT_EQ(0, m.Get(out, 4));  // 2 + 4 > 5
    EXPECT_EQ(1, m.Get(out, 2));
    EXPECT_EQ(0xAA, out[0]);
    EXPECT_EQ(0xBB, out[1]);
    EXPECT_EQ(0, m.Get(out, 2));
    EXPECT_EQ(1, m.Get(out, 1));
    EXPECT_EQ(0xCC, out[0]);
    EXPECT_EQ(0, m.Get(out, 1));

    CMsgV7 empty;
    EXPECT_EQ(-1, empty.FrsParse());
    EXPECT_EQ(0, empty.Get(out, 1));
}

// Every reader: the full message gives 1 (or the state word's result), any shorter length 0;
// a message of another type is refused.
TEST(CMsgV7Test, ReadersRefuseEveryShortLength) {
    const std::vector<unsigned char> body0 = {0x34, 0x12, 1,  2,  3,  4,  5, 0xFF,
                                              0xFF, 10,   11, 12, 13, 14, 15};
    const std::vector<unsigned char> body1 = {0x85, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0x02, 0x01, 7, 8, 9};
    const std::vector<unsigned char> body2 = {0xFF, 0x00, 0xAA, 0x55, 0x0F};
    const std::vector<unsigned char> body4(40, 0x11);
    const std::vector<unsigned char> body5(16, 0x22);
    const std::vector<unsigned char> body6 = {0x10, 0x00, 0x00, 0x00, 42, 9};
    // Fields up to byte 15, then the relay bytes of body2 (written out: GCC 12 misreads an
    // insert here as out of bounds).
    const std::vector<unsigned char> body11 = {1,    2,    3,  4,  0x06, 0x07, 8,    9,    10,  11,
                                               0xFF, 0xFF, 14, 15, 0xFF, 0x00, 0xAA, 0x55, 0x0F};

    struct Reader {
        const char* name;
        int type;
        std::vector<unsigned char> body;
        int needed;  // shortest length that reads every mandatory field
        std::function<int(CMsgV7&)> read;
    };
    const Reader readers[] = {
        {"StatusLU", 0, body0, 17,
         [](CMsgV7& m) {
             CMsgV7::StatusLU o{};
             return m.GetStatusLU(o);
         }},
        {"StatusLift", 1, body1, 17,
         [](CMsgV7& m) {
             CMsgV7::StatusLift o{};
             return m.GetStatusLift(o);
         }},
        {"StatusRelay", 2, body2, 7,
         [](CMsgV7& m) {
             CSostDev s;
             return m.GetStatusRelay(s);
         }},
        {"SensorRelay",
         3,
         {1, 2, 3},
         5,
         [](CMsgV7& m) {
             CSostSens s;
             unsigned char b = 0;
             return m.GetSensorRelay(s, b);
         }},
        {"CallCommand", 4, body4, 42,
         [](CMsgV7& m) {
             long long v[5];
             return m.GetCallCommand(v[0], v[1], v[2], v[3], v[4]);
         }},
        {"WorkStatistic", 5, body5, 18,
         [](CMsgV7& m) {
             unsigned v[4];
             return m.GetWorkStatistic(v[0], v[1], v[2], v[3]);
         }},
        {"TimeStamp", 6, body6, 8,
         [](CMsgV7& m) {
             long long ms = 0;
             int b = 0;
             return m.GetTimeStamp(ms, b);
         }},
        {"LogDisp", 11, body11, 21,
         [](CMsgV7& m) {
             CMsgV7::LogDisp o{};
             CSostDev s;
             return m.GetLogDisp(o, s);
         }},
    };
    for (const auto& r : readers) {
        SCOPED_TRACE(r.name);
        for (int len = 0; len < r.needed; ++len) {
            SCOPED_TRACE(len);
            CMsgV7 m = Msg(r.type, r.body, len);
            EXPECT_EQ(0, r.read(m));
        }
        CMsgV7 full = Msg(r.type, r.body, r.needed);
        EXPECT_NE(0, r.read(full));
        CMsgV7 other = Msg(r.type == 7 ? 8 : 7, r.body, Full(r.body));
        EXPECT_EQ(0, r.read(other));
    }
}

TEST(CMsgV7Test, StatusLUFieldsAndFfffAsZero) {
    CMsgV7 m = Msg(0, {0x34, 0x12, 1, 2, 3, 4, 5, 0xFF, 0xFF, 10, 11, 12, 13, 14, 15}, 17);
    CMsgV7::StatusLU o{};
    ASSERT_EQ(1, m.GetStatusLU(o));
    EXPECT_EQ(0x1234, o.value);
    EXPECT_EQ(1, o.trio[0]);
    EXPECT_EQ(3, o.trio[2]);
    EXPECT_EQ(4, o.byte7);
    EXPECT_EQ(5, o.byte8);
    EXPECT_EQ(0, o.value9);
    EXPECT_EQ(10, o.six[0]);
    EXPECT_EQ(15, o.six[5]);

    // Length 3: below the minimum of 4.
    CMsgV7 shortMsg = Msg(0, {0x34}, 3);
    EXPECT_EQ(0, shortMsg.GetStatusLU(o));
}

TEST(CMsgV7Test, StatusLiftSplitsFlagAndNumber) {
    CMsgV7 m = Msg(1, {0x85, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0xFE, 0xFF, 7, 8, 9}, 17);
    CMsgV7::StatusLift o{};
    ASSERT_EQ(1, m.GetStatusLift(o));
    EXPECT_TRUE(o.flag);
    EXPECT_EQ(5, o.number);
    EXPECT_EQ(9, o.nine[8]);
    EXPECT_EQ(0xFFFE, o.value12);
    EXPECT_EQ(7, o.byte14);
    EXPECT_EQ(9, o.byte16);
}

// Relay bytes FF 00 AA 55 0F (and a zero) in 6-bit units: 3F 03 20 2A 15 3D 00 00.
TEST(CMsgV7Test, StatusRelayLoadsSixBitUnits) {
    CMsgV7 m = Msg(2, {0xFF, 0x00, 0xAA, 0x55, 0x0F}, 7);
    CSostDev s;
    ASSERT_NE(0, m.GetStatusRelay(s));
    const int units[8] = {0x3F, 0x03, 0x20, 0x2A, 0x15, 0x3D, 0, 0};
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(units[i], s[i]);
    }
}

// Sensor bytes 12 34 56 in units: 12 10 23 15.
TEST(CMsgV7Test, SensorRelayLoadsUnitsAndOptionalByte) {
    CSostSens s;
    unsigned char b5 = 0x77;
    CMsgV7 without = Msg(3, {0x12, 0x34, 0x56}, 5);
    ASSERT_NE(0, without.GetSensorRelay(s, b5));
    EXPECT_EQ(0x77, b5);
    EXPECT_TRUE(s.tstBit(1));  // unit 0 = 010010
    EXPECT_TRUE(s.tstBit(4));
    EXPECT_FALSE(s.tstBit(0));
    EXPECT_TRUE(s.tstBit(10));  // unit 1 = 010000
    EXPECT_TRUE(s.tstBit(18));  // unit 3 = 010101
    EXPECT_TRUE(s.tstBit(20));
    EXPECT_FALSE(s.tstBit(19));

    CMsgV7 with = Msg(3, {0x12, 0x34, 0x56, 0x99}, 6);
    ASSERT_NE(0, with.GetSensorRelay(s, b5));
    EXPECT_EQ(0x99, b5);
}

TEST(CMsgV7Test, CallCommandAndStatisticAreLittleEndian) {
    std::vector<unsigned char> body(40, 0);
    body[0] = 0x01;
    body[7] = 0x80;                               // value 0: 0x8000000000000001, negative as signed
    for (int i = 8; i < 16; ++i) body[i] = 0xFF;  // value 1: -1
    body[16] = 0x02;
    CMsgV7 m = Msg(4, body, 42);
    long long v[5] = {};
    ASSERT_EQ(1, m.GetCallCommand(v[0], v[1], v[2], v[3], v[4]));
    EXPECT_EQ(static_cast<long long>(0x8000000000000001ULL), v[0]);
    EXPECT_EQ(-1, v[1]);
    EXPECT_EQ(2, v[2]);

    CMsgV7 s = Msg(5, {0x78, 0x56, 0x34, 0x12, 0xFF, 0xFF, 0xFF, 0xFF, 1, 0, 0, 0, 0, 0, 0, 1}, 18);
    unsigned w[4] = {};
    ASSERT_EQ(1, s.GetWorkStatistic(w[0], w[1], w[2], w[3]));
    EXPECT_EQ(0x12345678u, w[0]);
    EXPECT_EQ(0xFFFFFFFFu, w[1]);
    EXPECT_EQ(1u, w[2]);
    EXPECT_EQ(0x01000000u, w[3]);
}

TEST(CMsgV7Test, TimeStampFailsAfterSecondsWhenByteSevenIsMissing) {
    long long ms = -1;
    int b7 = -1;
    CMsgV7 shortMsg = Msg(6, {0x10, 0x27, 0, 0, 42}, 7);  // 10000 s, 42 hundredths
    EXPECT_EQ(0, shortMsg.GetTimeStamp(ms, b7));
    EXPECT_EQ(10000 * 1000LL + 420, ms);
    EXPECT_EQ(-1, b7);

    CMsgV7 full = Msg(6, {0xFF, 0xFF, 0xFF, 0xFF, 5, 3}, 8);  // -1 s, signed
    EXPECT_EQ(1, full.GetTimeStamp(ms, b7));
    EXPECT_EQ(-1000 + 50, ms);
    EXPECT_EQ(3, b7);
}

TEST(CMsgV7Test, LogDispWithAndWithoutTrailingBytes) {
    std::vector<unsigned char> body = {1,    2,    3,  4,  0x06, 0x07, 8,    9,    10,  11,
                                       0xFF, 0xFF, 14, 15, 0xFF, 0x00, 0xAA, 0x55, 0x0F};
    CMsgV7::LogDisp o{};
    std::memset(o.extra, 0xEE, sizeof o.extra);
    CSostDev s;
    CMsgV7 m = Msg(11, body, 21);
    ASSERT_NE(0, m.GetLogDisp(o, s));
    EXPECT_EQ(1, o.byte2);
    EXPECT_EQ(4, o.byte5);
    EXPECT_EQ(0x0706, o.value6);
    EXPECT_EQ(11, o.byte11);
    EXPECT_EQ(0, o.value12);
    EXPECT_EQ(15, o.byte15);
    EXPECT_EQ(0x3D, s[5]);
    for (unsigned char b : o.extra) EXPECT_EQ(0, b);  // zero-filled when absent

    const std::vector<unsigned char> longBody = {1,    2,    3,    4,    0x06, 0x07, 8,    9,
                                                 10,   11,   0xFF, 0xFF, 14,   15,   0xFF, 0x00,
                                                 0xAA, 0x55, 0x0F, 21,   22,   23,   24,   25};
    CMsgV7 longer = Msg(11, longBody, 26);
    ASSERT_NE(0, longer.GetLogDisp(o, s));
    EXPECT_EQ(21, o.extra[0]);
    EXPECT_EQ(25, o.extra[4]);
}
