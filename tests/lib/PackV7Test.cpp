#include "lib/PackV7.h"

#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "lib/Mes.h"

namespace {

std::vector<unsigned char> Bytes(const CPackV7& p) {
    return std::vector<unsigned char>(p.GetBuf(), p.GetBuf() + p.GetLen());
}

// A 13-byte header laid out by hand.
std::vector<unsigned char> Header(int cls, int num, int repl, int typ) {
    return {static_cast<unsigned char>(cls),
            static_cast<unsigned char>(num),
            static_cast<unsigned char>(repl),
            0x07,
            0x56,
            0x34,
            0x12,  // 0x123456.7
            0x02,
            0x40,
            0xE2,
            0x01,  // 123456.2
            0x5A,
            static_cast<unsigned char>(typ)};
}

// Bitwise CRC-16/XMODEM straight from its definition.
unsigned BitCrc16(const unsigned char* p, int n) {
    unsigned crc = 0;
    for (int i = 0; i < n; ++i) {
        crc ^= static_cast<unsigned>(p[i]) << 8;
        for (int b = 0; b < 8; ++b) crc = (crc & 0x8000) ? ((crc << 1) ^ 0x1021) : (crc << 1);
        crc &= 0xFFFF;
    }
    return crc;
}

}  // namespace

TEST(CPackV7Test, CrcsMatchCatalogueAndDefinition) {
    const unsigned char check[] = "123456789";
    EXPECT_EQ(0x31C3, CPackV7::CalcCrc16(check, 9));
    EXPECT_EQ(0, CPackV7::CalcCrc16(check, 0));
    EXPECT_EQ(0x43, CPackV7::Step3[1]);
    EXPECT_EQ(0x86, CPackV7::Step3[2]);
    EXPECT_EQ(0, CPackV7::Step3[0]);
    EXPECT_EQ(0, CPackV7::CalcCrc(check, 0));
    // Every table entry is the CRC-8 (polynomial 0x43) of its index.
    for (unsigned b = 0; b < 256; ++b) {
        unsigned c = b;
        for (int i = 0; i < 8; ++i) c = ((c & 0x80) ? ((c << 1) ^ 0x43) : (c << 1)) & 0xFF;
        ASSERT_EQ(c, CPackV7::Step3[b]) << b;
    }
    // The sliced CRC-16 against the bitwise one at every length around the 8-byte steps.
    std::vector<unsigned char> data(200);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<unsigned char>(i * 37 + 11);
    for (int n = 1; n <= 200; ++n)
        ASSERT_EQ(BitCrc16(data.data(), n), CPackV7::CalcCrc16(data.data(), n)) << n;
}

TEST(CPackV7Test, DefaultStateAndParseOfHandBuiltHeader) {
    const CPackV7 empty;
    EXPECT_EQ(0, empty.GetLen());
    EXPECT_EQ(-1, empty.GetTypAsk());
    EXPECT_EQ(1, empty.GetTypDirAsk());
    EXPECT_EQ(-1, empty.GetMesTyp());
    EXPECT_EQ(-1, empty.GetMesDev());
    EXPECT_EQ(0, empty.GetMesExt());
    EXPECT_TRUE(empty.IsValid());

    auto raw = Header(4, 9, 8, 0x83);  // bit 7 of the type is masked off
    raw.push_back(0x82);               // restart, direction bit set
    const CPackV7 p(static_cast<int>(raw.size()), raw.data());
    EXPECT_TRUE(p.IsValid());
    EXPECT_EQ(4, p.GetClassPack());
    EXPECT_EQ(9, p.GetIdent());
    EXPECT_EQ(8, p.GetRepl());
    EXPECT_TRUE(p.GetFirst().FullEQ(CIdentV7(0x123456, 7)));
    EXPECT_TRUE(p.GetSecond().FullEQ(CIdentV7(123456, 2)));
    EXPECT_EQ(0x5A, p.GetByte11());
    EXPECT_EQ(3, p.GetTypPack());
    EXPECT_EQ(2, p.GetTypAsk());
    EXPECT_EQ(1, p.GetTypDirAsk());
    EXPECT_TRUE(p.IsRestart());
    EXPECT_EQ(14, p.GetPos());

    const CPackV7 shortPack(12, raw.data());
    EXPECT_FALSE(shortPack.IsValid());

    // Class 4 type 1 needs 18 bytes.
    auto mes = Header(4, 0, 0, 1);
    mes.insert(mes.end(), {58, 0x32, 0, 0});
    EXPECT_FALSE(CPackV7(17, mes.data()).IsValid());
    mes.push_back(0);
    const CPackV7 m18(18, mes.data());
    EXPECT_TRUE(m18.IsValid());
    // Type 58 with address bytes 3A 32: number 0xE8|3 = 0xEB > 127 -> device 0x6B, extension 18.
    EXPECT_EQ(58, m18.GetMesTyp());
    EXPECT_EQ(0x6B, m18.GetMesDev());
    EXPECT_EQ(18, m18.GetMesExt());

    // A byte image longer than the buffer is cut to it.
    std::vector<unsigned char> big(2000, 4);
    EXPECT_EQ(1024, CPackV7(2000, big.data()).GetLen());
}

TEST(CPackV7Test, BuildersWriteHeaderAndBody) {
    CPackV7 p(CIdentV7(0x123456, 7), CIdentV7(123456, 2));
    p.SetIdent(9);
    EXPECT_EQ(1, p.AddRepl(8));
    EXPECT_EQ(0, p.AddRepl(5));  // reply already set
    EXPECT_EQ(8, p.GetRepl());
    p.SetByte11(0x5A);
    const unsigned char data[] = {0xDE, 0xAD};
    ASSERT_EQ(1, p.SetLink(CPackV7::tpCloseLink, data, 2));
    auto expect = Header(3, 9, 8, 4);
    expect.insert(expect.end(), {0xDE, 0xAD});
    EXPECT_EQ(expect, Bytes(p));
    EXPECT_TRUE(p.IsCloseLink());

    ASSERT_EQ(1, p.SetAsk(CPackV7::tpAsk, CPackV7::taGGSOn, 1, data, 2));
    expect = Header(4, 9, 8, 3);
    expect.insert(expect.end(), {0xC1, 0xDE, 0xAD});
    EXPECT_EQ(expect, Bytes(p));
    EXPECT_TRUE(p.IsOnOffGGS());
    EXPECT_FALSE(p.IsRestart());

    ASSERT_EQ(1, p.SetAskData(nullptr, 5));  // header only
    EXPECT_EQ(14, p.GetLen());
    ASSERT_EQ(1, p.SetAsk(CPackV7::tpAsk, CPackV7::taGGSOff, 0, nullptr, 0));
    EXPECT_EQ(0x42, p.GetBuf()[13]);
    EXPECT_FALSE(p.IsOnOffGGS());  // no direction bit

    p.DelIdent();
    p.Pack();
    EXPECT_EQ(13, p.GetLen());
    EXPECT_EQ(0, p.GetBuf()[1]);

    unsigned char voice[96];
    for (int i = 0; i < 96; ++i) voice[i] = static_cast<unsigned char>(i);
    ASSERT_EQ(1, p.SetVoiceToLU(voice));
    EXPECT_EQ(110, p.GetLen());
    EXPECT_EQ(7, p.GetBuf()[0]);
    EXPECT_EQ(1, p.GetBuf()[12]);
    EXPECT_EQ(95, p.GetBuf()[108]);
    EXPECT_EQ(0x5F, p.GetBuf()[109]);
}

// Header, data and CRC within 1024 bytes: 1009 data bytes for link and voice, 1008 otherwise.
TEST(CPackV7Test, BuildersKeepDataLimits) {
    const std::vector<unsigned char> data(1010, 0x33);
    const struct {
        const char* name;
        int limit;
        int head;
        int (*build)(CPackV7&, const unsigned char*, int);
    } cases[] = {
        {"SetLink", 1009, 13,
         [](CPackV7& p, const unsigned char* d, int n) {
             return p.SetLink(CPackV7::tpNone, d, n);
         }},
        {"SetVoice", 1009, 13,
         [](CPackV7& p, const unsigned char* d, int n) {
             return p.SetVoice(CPackV7::tpNone, d, n);
         }},
        {"SetData", 1008, 13,
         [](CPackV7& p, const unsigned char* d, int n) {
             return p.SetData(CPackV7::tpNone, d, n);
         }},
        {"SetAsk", 1008, 14,
         [](CPackV7& p, const unsigned char* d, int n) {
             return p.SetAsk(CPackV7::tpAsk, CPackV7::taRestart, 1, d, n);
         }},
        {"SetAskData", 1008, 14,
         [](CPackV7& p, const unsigned char* d, int n) { return p.SetAskData(d, n); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CPackV7 p;
        ASSERT_EQ(1, c.build(p, data.data(), 5));
        const auto before = Bytes(p);
        EXPECT_EQ(0, c.build(p, data.data(), c.limit + 1));
        EXPECT_EQ(before, Bytes(p));
        ASSERT_EQ(1, c.build(p, data.data(), c.limit));
        EXPECT_EQ(c.head + c.limit, p.GetLen());
        EXPECT_LE(p.GetLen() + 2, CPackV7::BufSize);
    }
}

TEST(CPackV7Test, SubscriptionHoldsEightEntries) {
    CPackV7 p;
    const unsigned char data[20] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17};
    ASSERT_EQ(1, p.AddSubscription(CIdentV7(0x010203, 4), 0x11, 0x22, 0x33, CPackV7::cpData,
                                   CPackV7::tpMsgV7, 20, data));
    EXPECT_EQ(43, p.GetLen());
    std::vector<unsigned char> expect = {4,    0,    0, 0, 0,    0, 0,    0,    0,
                                         0,    0,    0, 7, 0x81, 1, 0xFF, 0xFF, 0x11,
                                         0x22, 0x33, 4, 3, 2,    1, 4,    10,   16};
    for (int i = 1; i <= 16; ++i) expect.push_back(static_cast<unsigned char>(i));  // cut to 16
    EXPECT_EQ(expect, Bytes(p));

    for (int i = 2; i <= 8; ++i) {
        SCOPED_TRACE(i);
        ASSERT_EQ(1, p.AddSubscription(CIdentV7(i, 0), i, 0, 0, CPackV7::cpLink, CPackV7::tpNone, 2,
                                       data));
        EXPECT_EQ(15 + 28 * i, p.GetLen());
        EXPECT_EQ(i, p.GetBuf()[14]);
    }
    EXPECT_EQ(239, p.GetLen());
    // The second entry: two data bytes, zero-filled to 16.
    const unsigned char* e = p.GetBuf() + 43;
    EXPECT_EQ(0xFF, e[0]);
    EXPECT_EQ(2, e[2]);
    EXPECT_EQ(2, e[6]);
    EXPECT_EQ(3, e[9]);
    EXPECT_EQ(2, e[11]);
    EXPECT_EQ(2, e[13]);
    EXPECT_EQ(0, e[14]);
    EXPECT_EQ(0, p.AddSubscription(CIdentV7(9, 0), 0, 0, 0, CPackV7::cpData, CPackV7::tpNone, 0,
                                   nullptr));
    EXPECT_EQ(239, p.GetLen());

    CPackV7 notList;
    notList.SetData(CPackV7::tpMes, data, 5);
    EXPECT_EQ(0, notList.AddSubscription(CIdentV7(1, 0), 0, 0, 0, CPackV7::cpData, CPackV7::tpNone,
                                         0, nullptr));
}

TEST(CPackV7Test, MessageRequestAndSubscriptionConstructors) {
    CMsgV7::typMsgv7 types[40];
    for (int i = 0; i < 40; ++i) types[i] = static_cast<CMsgV7::typMsgv7>(i % 12);
    types[0] = static_cast<CMsgV7::typMsgv7>(300);  // clamped to 255
    types[1] = static_cast<CMsgV7::typMsgv7>(-5);   // clamped to 0
    const CPackV7 ask(40, types);
    ASSERT_EQ(14 + 32, ask.GetLen());
    EXPECT_EQ(4, ask.GetBuf()[0]);
    EXPECT_EQ(10, ask.GetBuf()[12]);
    EXPECT_EQ(0x80, ask.GetBuf()[13]);
    EXPECT_EQ(255, ask.GetBuf()[14]);
    EXPECT_EQ(0, ask.GetBuf()[15]);
    EXPECT_EQ(31 % 12, ask.GetBuf()[45]);

    const CPackV7 sub(CIdentV7(77, 1), 5, 6, 20, types + 2);
    ASSERT_EQ(43, sub.GetLen());
    const unsigned char* e = sub.GetBuf() + 15;
    const unsigned char head[] = {0xFF, 0xFF, 2, 5, 6, 1, 77, 0, 0, 4, 10, 16, 0x80};
    EXPECT_EQ(0, std::memcmp(e, head, sizeof head));
    EXPECT_EQ(2, e[13]);        // first type
    EXPECT_EQ(16 % 12, e[27]);  // the 15th type ends the entry
}

// A body of V7 messages: lengths 3 and 2, then a message whose length byte is 1.
TEST(CPackV7Test, GetMesWalksMessagesAndStopsAtBadLength) {
    auto raw = Header(4, 0, 0, 10);
    raw.insert(raw.end(), {0x00, 3, 7, 0xAB, 2, 11, 1, 9});
    CPackV7 p(static_cast<int>(raw.size()), raw.data());
    ASSERT_EQ(0, p.GetTypAsk());
    ASSERT_EQ(0, p.GetTypDirAsk());
    p.BegGet();
    CMsgV7 m;
    ASSERT_EQ(1, p.GetMes(m));
    EXPECT_EQ(7, m.TypMes());
    EXPECT_EQ(3, m.Length());
    ASSERT_EQ(1, p.GetMes(m));
    EXPECT_EQ(11, m.TypMes());
    EXPECT_EQ(0, p.GetMes(m));
    EXPECT_EQ(0, m.Length());  // cleared

    // A message that runs past the packet, and one of type 12.
    raw.resize(22);
    raw[19] = 4;  // 19 + 4 > 22
    CPackV7 past(static_cast<int>(raw.size()), raw.data());
    past.BegGet();
    ASSERT_EQ(1, past.GetMes(m));
    ASSERT_EQ(1, past.GetMes(m));
    EXPECT_EQ(0, past.GetMes(m));
    raw = Header(4, 0, 0, 10);
    raw.insert(raw.end(), {0x00, 2, 12});
    CPackV7 bad(static_cast<int>(raw.size()), raw.data());
    EXPECT_EQ(0, bad.GetMes(m));

    // Only the message sequence (direction bit clear) is read.
    raw[13] = 0x80;
    CPackV7 request(static_cast<int>(raw.size()), raw.data());
    EXPECT_EQ(0, request.GetMes(m));
}

TEST(CPackV7Test, MessageRecordRoundTrip) {
    unsigned char rec[10] = {1, 2, 3, 4, 0, 48, 6, 7, 8, 9};  // type 48: intercom on or off
    CMes mes;
    ASSERT_EQ(1, mes.SetDann(10, rec));
    const CPackV7 p(mes);
    ASSERT_EQ(24, p.GetLen());
    EXPECT_EQ(4, p.GetBuf()[0]);
    EXPECT_EQ(1, p.GetBuf()[12]);
    EXPECT_EQ(11, p.GetBuf()[13]);
    EXPECT_EQ(0, std::memcmp(p.GetBuf() + 14, rec, 10));
    EXPECT_TRUE(p.IsOnOffGGS());
    EXPECT_TRUE(p.IsInIdent());

    CMes back;
    ASSERT_EQ(1, p.GetMes(back));
    ASSERT_EQ(10, back.GetLen());
    EXPECT_EQ(0, std::memcmp(back.GetData(), rec, 10));

    // Byte 13 must agree with the length.
    auto raw = Bytes(p);
    raw[13] = 12;
    EXPECT_EQ(0, CPackV7(static_cast<int>(raw.size()), raw.data()).GetMes(back));
    rec[5] = 47;
    mes.SetDann(10, rec);
    EXPECT_FALSE(CPackV7(mes).IsOnOffGGS());
}

TEST(CPackV7Test, CloseLinkEqualityAndCrcTest) {
    auto raw = Header(3, 1, 2, 4);
    raw.insert(raw.end(), {9, 0x78, 0x56, 0x34});
    CPackV7 p(static_cast<int>(raw.size()), raw.data());
    CIdentV7 id;
    ASSERT_TRUE(p.IsCloseLink(id));
    EXPECT_TRUE(id.FullEQ(CIdentV7(0x345678, 9)));

    // Numbers and byte 11 are not compared.
    auto other = raw;
    other[1] = 7;
    other[2] = 7;
    other[11] = 7;
    EXPECT_TRUE(p.IsEQ(CPackV7(static_cast<int>(other.size()), other.data())));
    other[15] ^= 1;
    EXPECT_FALSE(p.IsEQ(CPackV7(static_cast<int>(other.size()), other.data())));
    EXPECT_FALSE(CPackV7(13, raw.data()).IsEQ(CPackV7(13, raw.data())));  // not above 13

    EXPECT_FALSE(p.TestCRC());
    const unsigned crc = p.CalcCrc();
    EXPECT_EQ(BitCrc16(raw.data(), static_cast<int>(raw.size())), crc);
    EXPECT_TRUE(p.TestCRC());
    EXPECT_EQ(crc & 0xFF, p.GetBuf()[17]);
    EXPECT_EQ(crc >> 8, p.GetBuf()[18]);

    // Class 5 with a correct CRC is refused; class 8 accepted.
    for (int cls : {5, 8}) {
        SCOPED_TRACE(cls);
        raw[0] = static_cast<unsigned char>(cls);
        CPackV7 q(static_cast<int>(raw.size()), raw.data());
        q.CalcCrc();
        EXPECT_EQ(cls == 8, q.TestCRC());
    }
}

TEST(CPackV7Test, AssignmentSkipsReservedWord) {
    CPackV7 a;
    a.SetData(CPackV7::tpMes, nullptr, 0);
    a.SetReserved(99);
    a.SetDecoded(true);
    CPackV7 b;
    b.SetReserved(5);
    b = a;
    EXPECT_EQ(5u, b.GetReserved());
    EXPECT_TRUE(b.IsDecoded());
    EXPECT_EQ(13, b.GetLen());
    const CPackV7 c(a);
    EXPECT_EQ(0u, c.GetReserved());
}
