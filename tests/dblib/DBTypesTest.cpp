#include "dblib/DBTypes.h"

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dblib/DBGUID.h"
#include "dblib/DBTimeSpan.h"

namespace {

// The 16 bytes as they lie in memory (integer parts little-endian).
std::string Bytes(const DBGUID& g) {
    std::string out(16, '\0');
    std::memcpy(&out[0], &g.m_guid, 16);
    return out;
}

DBGUID Filled() {
    DBGUID g;
    const std::string ff(16, '\xFF');
    g = static_cast<const void*>(ff.data());
    return g;
}

TEST(DBGUIDTest, TextRoundTripsAndReadsFieldsInHostOrder) {
    DBGUID g;
    EXPECT_TRUE(g.IsNul());
    EXPECT_EQ(std::wstring(g.ToString()), std::wstring(32, L'0'));
    g = "00112233445566778899aabbccddeeff";
    EXPECT_FALSE(g.IsNul());
    const std::string expected("\x33\x22\x11\x00\x55\x44\x77\x66\x88\x99\xAA\xBB\xCC\xDD\xEE\xFF",
                               16);
    EXPECT_EQ(Bytes(g), expected);
    EXPECT_EQ(std::wstring(g.ToString()), L"00112233445566778899AABBCCDDEEFF");
    DBGUID w;
    w = L"00112233445566778899AABBCCDDEEFF";
    EXPECT_TRUE(w == g);
    w.m_guid.Data4[7] = 0;
    EXPECT_TRUE(w != g);
}

TEST(DBGUIDTest, PartialTextsFillLeadingFieldsOnly) {
    const struct {
        const char* text;
        uint32_t d1;
        uint16_t d2, d3;
        unsigned char d4[8];
    } cases[] = {
        {"", 0, 0, 0, {}},
        {"1234567", 0x1234567, 0, 0, {}},
        {"12345678ABCDXYZ", 0x12345678, 0xABCD, 0, {}},
        {"12345678ABCDEF0123", 0x12345678, 0xABCD, 0xEF01, {0x23}},
        {"XYZ12345678", 0, 0, 0, {}},
        {" 12345678 abcd", 0x12345678, 0xABCD, 0, {}},  // blanks before a field are skipped
        {"+1234567AB", 0x1234567, 0xAB, 0, {}},         // the sign uses up a digit's place
        {"0x12345678", 0x123456, 0x78, 0, {}},          // so does a 0x prefix
        {"1234-5678", 0x1234, 0xFA99, 0x8, {}},         // "-567" fills a field: -0x567 in 16 bits
        {"00112233445566778899AABBCCDDEEFF77",
         0x00112233,
         0x4455,
         0x6677,
         {0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF}},  // extra digits ignored
        {"0011223344556677889", 0x00112233, 0x4455, 0x6677, {0x88, 0x09}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        DBGUID expected;
        expected.m_guid.Data1 = c.d1;
        expected.m_guid.Data2 = c.d2;
        expected.m_guid.Data3 = c.d3;
        std::memcpy(expected.m_guid.Data4, c.d4, 8);

        DBGUID narrow = Filled();
        narrow = c.text;
        EXPECT_EQ(Bytes(narrow), Bytes(expected));

        const std::wstring wtext(c.text, c.text + std::strlen(c.text));
        DBGUID wide = Filled();
        wide = wtext.c_str();
        EXPECT_EQ(Bytes(wide), Bytes(expected));
    }
}

TEST(DBGUIDTest, SetCopiesAtMostSixteenBytesAndNullGivesNull) {
    unsigned char src[20];
    for (int i = 0; i < 20; ++i) src[i] = static_cast<unsigned char>(i + 1);

    DBGUID g = Filled(), all = Filled(), null = Filled(), text = Filled(), none = Filled();
    g.Set(src, 4);
    all.Set(src, 20);
    EXPECT_EQ(Bytes(g), std::string("\x01\x02\x03\x04", 4) + std::string(12, '\0'));
    EXPECT_EQ(Bytes(all), std::string(reinterpret_cast<char*>(src), 16));
    null.Set(nullptr, 5);
    text = L"ЖЖЖЖЖЖЖЖ12345678";  // non-hex text
    none = static_cast<const char*>(nullptr);
    EXPECT_TRUE(null.IsNul() && text.IsNul() && none.IsNul());
}

// Version 4, variant 10xx (RFC 4122), all different, and each reads back from its text.
TEST(DBGUIDTest, GeneratedIdentifiersAreVersion4) {
    std::set<std::wstring> seen;
    for (int i = 0; i < 1000; ++i) {
        DBGUID g, back = Filled();
        ASSERT_TRUE(g.Generate());
        const std::wstring text = g.ToString();
        EXPECT_EQ((std::vector<int>{g.m_guid.Data3 >> 12, g.m_guid.Data4[0] >> 6}),
                  (std::vector<int>{4, 2}));
        back = text.c_str();
        EXPECT_EQ(Bytes(back), Bytes(g)) << text;
        seen.insert(text);
    }
    EXPECT_EQ(seen.size(), 1000u);
}

TEST(DBTimeSpanTest, SecondsAndHours) {
    const struct {
        int d, h, m, s;
        int64_t total;
        int hours;
    } cases[] = {
        {1, 2, 3, 4, 93784, 2},
        {0, 25, 0, 0, 90000, 1},
        {2, 0, -1, 0, 172740, 23},
        {0, -1, 0, 0, -3600, -1},
        {-1, 0, 0, 0, -86400, 0},
        {0, -23, -59, -59, -86399, -23},
        {0, 0, 0, 2147483647, 2147483647, 3},  // 24855 days, 3 h 14 min 7 s
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.total);
        const DBTimeSpan span(c.d, c.h, c.m, c.s);
        EXPECT_EQ(span.GetTotalSeconds(), c.total);
        EXPECT_EQ(span.GetHours(), c.hours);
    }
    EXPECT_EQ(DBTimeSpan(int64_t{-90000}).GetHours(), -1);
}

TEST(CRectTest, Intersections) {
    const struct {
        CRect a, b, expected;
        bool nonEmpty;
    } cases[] = {
        {{0, 0, 10, 10}, {5, 5, 20, 20}, {5, 5, 10, 10}, true},
        {{0, 0, 10, 10}, {10, 0, 20, 10}, {0, 0, 0, 0}, false},  // touching edges
        {{0, 0, 10, 10}, {2, 3, 4, 5}, {2, 3, 4, 5}, true},      // containment
        {{-5, -5, 0, 3}, {-10, -1, -2, 20}, {-5, -1, -2, 3}, true},
        {{0, 0, 10, 10}, {3, 3, 3, 8}, {0, 0, 0, 0}, false},  // zero width
        {{5, 5, 1, 1}, {0, 0, 10, 10}, {0, 0, 0, 0}, false},  // inverted
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.b.left) + "," + std::to_string(c.b.top));
        CRect r(7, 7, 7, 7);
        EXPECT_EQ(r.IntersectRect(c.a, c.b), c.nonEmpty);
        EXPECT_EQ(r, c.expected);
        CRect swapped;
        EXPECT_EQ(swapped.IntersectRect(c.b, c.a), c.nonEmpty);
        EXPECT_EQ(swapped, c.expected);
    }
}

}  // namespace
