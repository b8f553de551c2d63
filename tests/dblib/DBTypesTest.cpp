#include "dblib/DBTypes.h"

#include <cstring>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "dblib/DBGUID.h"
#include "dblib/DBTimeSpan.h"

namespace {

// The 16 bytes as they lie in memory (integer parts little-endian).
std::string Bytes(const DBGUID& g) {
    return std::string(reinterpret_cast<const char*>(&g.m_guid), 16);
}

DBGUID Filled() { return DBGUID() = static_cast<const void*>(std::string(16, '\xFF').data()); }

// Fields in host order, printed most significant digit first; partial texts fill the leading
// fields only, the way sscanf reads them; what is no GUID gives the null one.
TEST(DBGUIDTest, TextsBothWays) {
    DBGUID g;
    EXPECT_TRUE(g.IsNul());
    g = "00112233445566778899aabbccddeeff";
    EXPECT_EQ(Bytes(g),
              std::string("\x33\x22\x11\x00\x55\x44\x77\x66\x88\x99\xAA\xBB\xCC\xDD\xEE\xFF", 16));
    const std::pair<const char*, const wchar_t*> cases[] = {
        {"", L"00000000000000000000000000000000"},
        {"00112233445566778899aabbccddeeff", L"00112233445566778899AABBCCDDEEFF"},
        {"1234567", L"01234567000000000000000000000000"},
        {"12345678ABCDXYZ", L"12345678ABCD00000000000000000000"},
        {"XYZ12345678", L"00000000000000000000000000000000"},
        {"1234-5678", L"00001234FA9900080000000000000000"},  // "-567": -0x567 in 16 bits
        {"00112233445566778899AABBCCDDEEFF77", L"00112233445566778899AABBCCDDEEFF"},
        {"ЖЖЖЖЖЖЖЖ12345678", L"00000000000000000000000000000000"},
    };
    for (const auto& c : cases) {
        DBGUID narrow = Filled(), wide = Filled();
        narrow = c.first;
        const DBString text(c.first);
        wide = text.c_str();
        EXPECT_EQ(std::wstring(narrow.ToString()), c.second) << c.first;
        EXPECT_EQ(Bytes(wide), Bytes(narrow)) << c.first;
    }
    // == compares all 16 bytes; null sources give the null identifier; Set copies at most 16
    // bytes and clears the rest.
    DBGUID w = Filled(), n = Filled(), s = Filled(), four = Filled(), all = Filled();
    w = L"00112233445566778899AABBCCDDEEFE";
    n = static_cast<const char*>(nullptr);
    s.Set(nullptr, 5);
    const std::string src = "ABCDEFGHIJKLMNOPQRST";
    four.Set(src.data(), 4);
    all.Set(src.data(), 20);
    EXPECT_TRUE(w != g && n.IsNul() && s.IsNul() && Bytes(all) == src.substr(0, 16));
    EXPECT_EQ(Bytes(four), "ABCD" + std::string(12, '\0'));
}

// Version 4, variant 10xx (RFC 4122), all different, and each reads back from its text.
TEST(DBGUIDTest, GeneratedIdentifiersAreVersion4) {
    std::set<std::wstring> seen;
    for (DBGUID g, back; seen.size() < 1000; back = Filled()) {
        ASSERT_TRUE(g.Generate());
        const std::wstring text = g.ToString();
        back = text.c_str();
        EXPECT_TRUE(g.m_guid.Data3 >> 12 == 4 && g.m_guid.Data4[0] >> 6 == 2 && back == g) << text;
        ASSERT_TRUE(seen.insert(text).second) << text;
    }
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
        {0, 0, 0, 2147483647, 2147483647, 3},  // 24855 days, 3 h 14 min 7 s
    };
    for (const auto& c : cases) {
        const DBTimeSpan span(c.d, c.h, c.m, c.s);
        EXPECT_EQ(span.GetTotalSeconds(), c.total);
        EXPECT_EQ(span.GetHours(), c.hours) << c.total;
    }
}

// Touching edges, zero width and inverted rectangles give an empty result.
TEST(CRectTest, Intersections) {
    const struct {
        CRect a, b, expected;
        bool nonEmpty;
    } cases[] = {
        {{0, 0, 10, 10}, {5, 5, 20, 20}, {5, 5, 10, 10}, true},
        {{0, 0, 10, 10}, {10, 0, 20, 10}, {}, false},
        {{0, 0, 10, 10}, {0, 10, 10, 20}, {}, false},
        {{-5, -5, 0, 3}, {-10, -1, -2, 20}, {-5, -1, -2, 3}, true},
        {{0, 0, 10, 10}, {3, 3, 3, 8}, {}, false},
        {{5, 5, 1, 1}, {0, 0, 10, 10}, {}, false},
    };
    for (const auto& c : cases) {
        CRect r(7, 7, 7, 7), swapped;
        EXPECT_EQ(r.IntersectRect(c.a, c.b), c.nonEmpty);
        EXPECT_EQ(swapped.IntersectRect(c.b, c.a), c.nonEmpty);
        EXPECT_TRUE(r == c.expected && swapped == c.expected) << c.b.left << "," << c.b.top;
    }
}

}  // namespace
