#include "dblib/DBString.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <iconv.h>

#include "dblib/md5.h"

namespace {

// UTF-8 of a wide text through glibc's own converter, a reference independent of DBString.
std::string IconvUtf8(const std::wstring& text) {
    iconv_t cd = iconv_open("UTF-8", "WCHAR_T");
    if (cd == reinterpret_cast<iconv_t>(-1)) return "iconv_open failed";
    std::string out(text.size() * 4, '\0');
    char* in = reinterpret_cast<char*>(const_cast<wchar_t*>(text.data()));
    size_t inLeft = text.size() * sizeof(wchar_t);
    char* op = &out[0];
    size_t outLeft = out.size();
    const size_t rc = iconv(cd, &in, &inLeft, &op, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<size_t>(-1)) return "iconv failed";
    out.resize(out.size() - outLeft);
    return out;
}

// The digest of data fed in two calls, the first with split bytes.
std::string Md5Hex(const std::string& data, size_t split = 0) {
    md5::md5_context ctx;
    md5::md5_starts(&ctx);
    auto* p = reinterpret_cast<unsigned char*>(const_cast<char*>(data.data()));
    md5::md5_update(&ctx, p, static_cast<unsigned int>(split));
    md5::md5_update(&ctx, p + split, static_cast<unsigned int>(data.size() - split));
    unsigned char digest[16];
    md5::md5_finish(&ctx, digest);
    char hex[33];
    for (int i = 0; i < 16; ++i) std::snprintf(hex + 2 * i, 3, "%02X", digest[i]);
    return hex;
}

const std::string kYazyk = "\xD0\xAF\xD0\xB7\xD1\x8B\xD0\xBA";  // Язык

}  // namespace

TEST(DBStringTest, DecodesValidUtf8AndRoundTrips) {
    EXPECT_EQ(std::wstring(DBString(kYazyk.c_str())), L"\x42F\x437\x44B\x43A");
    EXPECT_EQ(DBString(kYazyk).size(), 4u);
    EXPECT_EQ(DBString(kYazyk).ToStr(), kYazyk);
    EXPECT_TRUE(DBString("").empty());
}

TEST(DBStringTest, MalformedUtf8GivesMarkerNotPartialText) {
    // Missing or stray continuation, overlong, encoded surrogates, above U+10FFFF, never
    // valid, truncated (at the end, before ASCII, after a long valid prefix).
    const char* cases[] = {"\xC3\x28",         "abc\xBF",
                           "\xC0\x80",         "\xE0\x9F\xBF",
                           "\xF0\x8F\xBF\xBF", "\xED\xA0\x80",
                           "\xED\xBF\xBF",     "\xF4\x90\x80\x80",
                           "\xF5\x80\x80\x80", "\xFF",
                           "abc\xD0",          "\xF0\x9F\x98",
                           "\xE2\x82\x41",     "0123456789abcdefgh\xD0\xAF\xC3"};
    for (const char* c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::string(c)));
        EXPECT_EQ(std::wstring(DBString(c)), L"?utf-32?");
        DBString s(L"x");
        s += c;
        EXPECT_EQ(std::wstring(s), L"x?utf-32?");
        EXPECT_EQ(std::wstring(c + DBString(L"x")), L"?utf-32?x");
    }
}

TEST(DBStringTest, NarrowInputStopsAtZeroByteAndNullIsEmpty) {
    // The invalid byte after the zero is never read.
    EXPECT_EQ(std::wstring(DBString(std::string("ab\0\xFF", 4))), L"ab");
    DBString s(L"q");
    s += std::string("\xD0\xAF\0z", 4);
    EXPECT_EQ(std::wstring(s), L"q\x42F");
    s += static_cast<const char*>(nullptr);  // null narrow text reads as empty
    EXPECT_EQ(std::wstring(s), L"q\x42F");
}

// Long ASCII runs next to every multi-byte length, each boundary of the encoding included.
TEST(DBStringTest, EncodesEveryCodePointLikeIconvAndRoundTrips) {
    std::wstring all;
    for (wchar_t c = 1; c <= 0x10FFFF; ++c) {
        if (c < 0xD800 || c > 0xDFFF) all.push_back(c);
    }
    const std::string utf8 = DBString(all).ToStr();
    EXPECT_TRUE(utf8 == IconvUtf8(all));
    EXPECT_TRUE(std::wstring(DBString(utf8)) == all);
}

TEST(DBStringTest, UnencodableCodePointMakesWholeResultMarker) {
    const wchar_t cases[] = {0xD800, 0xDFFF, 0x110000, static_cast<wchar_t>(-1)};
    for (const wchar_t c : cases) {
        SCOPED_TRACE(static_cast<long>(c));
        DBString s(L"abc \x42F");
        s.push_back(c);
        s += L"def";
        EXPECT_EQ(s.ToStr(), "?utf-8?");
    }
    // Embedded zeros are characters like any other here.
    EXPECT_EQ(DBString(std::wstring(L"a\0b", 3)).ToStr(), std::string("a\0b", 3));
}

TEST(DBStringTest, WidensAndNarrows16BitUnits) {
    const char16_t text[] = u"a\xD83D\xDE00\x42F";
    const DBString s(text);
    EXPECT_EQ(std::wstring(s), std::wstring(L"a\xD83D\xDE00\x42F"));
    EXPECT_EQ(std::wstring(DBString(u"a\0b", 3)), std::wstring(L"a\0b", 3));
    EXPECT_EQ(std::wstring(DBString(text, 2)), L"a\xD83D");
    EXPECT_TRUE(DBString(static_cast<const char16_t*>(nullptr)).empty());
    EXPECT_TRUE(DBString(text, -3).empty());

    const DBString wide(L"A\x42F\x1F600\x10FFFF");
    EXPECT_EQ(wide.ToU16(), std::u16string(u"A\x42F\xF600\xFFFF"));
}

TEST(DBStringTest, JoinPutsSeparatorAfterEveryPart) {
    EXPECT_EQ(std::wstring(DBString(L";", {DBString(L"a"), DBString(L"b")})), L"a;b;");
    EXPECT_TRUE(DBString(L";", std::vector<DBString>{}).empty());
    // Parts are read up to their first zero.
    EXPECT_EQ(std::wstring(DBString(L";", {DBString(std::wstring(L"x\0y", 3)), DBString()})),
              L"x;;");
}

TEST(DBStringTest, ConvertsToCp1251AndStopsAtMissingCharacter) {
    EXPECT_EQ(DBString(kYazyk).ToCP1251(), "\xDF\xE7\xFB\xEA");
    EXPECT_EQ(DBString(L"\x401\x451\x2116 1").ToCP1251(), "\xA8\xB8\xB9 1");
    // U+4E2D and U+0100 are not in CP1251: what came before is kept.
    EXPECT_EQ(DBString(L"ab\x4E2D").ToCP1251(), "ab");
    EXPECT_EQ(DBString(L"\x100z").ToCP1251(), "");
    EXPECT_EQ(DBString(std::wstring(L"ab\0cd", 5)).ToCP1251(), "ab");
    EXPECT_EQ(DBString(std::wstring(2000, L'z')).ToCP1251(), std::string(1023, 'z'));
    EXPECT_EQ(DBString(std::wstring(1022, L'z')).ToCP1251(), std::string(1022, 'z'));
}

TEST(DBStringTest, ConvertsFromCp1251WithoutByteOrderMark) {
    DBString s(L"old");
    s.FromCP1251("\xDF\xE7\xA8\xB9 ok");
    EXPECT_EQ(std::wstring(s), L"\x42F\x437\x401\x2116 ok");
    s.FromCP1251(std::string(300, 'q').c_str());
    EXPECT_EQ(std::wstring(s), std::wstring(127, L'q'));
    s.FromCP1251(std::string(126, 'q').c_str());
    EXPECT_EQ(std::wstring(s), std::wstring(126, L'q'));
    // 0x98 has no character in CP1251: the text stops before it.
    s.FromCP1251(
        "ab\x98"
        "cd");
    EXPECT_EQ(std::wstring(s), L"ab");
    s.FromCP1251(nullptr);
    EXPECT_TRUE(s.empty());
}

TEST(DBStringTest, Md5HashOfCp1251Bytes) {
    // md5sum of the four bytes DF E7 FB EA
    EXPECT_EQ(std::wstring(DBString(kYazyk).Md5Hash()), L"66179A1B4CC9915A5FE8DD9AE627495B");
    // Hashed up to the first character CP1251 lacks.
    EXPECT_EQ(std::wstring(DBString(L"abc\x4E2Dd").Md5Hash()), L"900150983CD24FB0D6963F7D28E17F72");
}

TEST(DBStringTest, FormatsWithWidePrintfRules) {
    DBString s(L"old");
    s.Format(L"%d|%ls|%02X|%u|%x", -42, L"\x42F\x437", 10, 7u, 255);
    EXPECT_EQ(std::wstring(s), L"-42|\x42F\x437|0A|7|ff");
    s.AppendFormat(L"+%05.1f", 2.25);
    EXPECT_EQ(std::wstring(s), L"-42|\x42F\x437|0A|7|ff+002.2");
    // A narrow argument the C locale cannot decode ends the output where it was.
    s.Format(L"ab%scd", "\xFF");
    EXPECT_EQ(std::wstring(s), L"ab");
    s = L"keep";
    s.AppendFormat(L"-%s", "\xFF");
    EXPECT_EQ(std::wstring(s), L"keep-");
}

TEST(DBStringTest, FormatKeepsFirst32767Characters) {
    std::wstring arg;
    for (size_t i = 0; i < 32768; ++i) arg.push_back(static_cast<wchar_t>(L'a' + i % 26));
    for (const size_t length : {32767, 32768}) {
        SCOPED_TRACE(length);
        DBString s;
        s.Format(L"%ls", arg.substr(0, length).c_str());
        EXPECT_TRUE(std::wstring(s) == arg.substr(0, 32767));
        DBString t(L"pre");
        t.AppendFormat(L"%ls", arg.substr(0, length).c_str());
        EXPECT_TRUE(std::wstring(t) == L"pre" + arg.substr(0, 32767));
    }
}

TEST(DBStringTest, SubstringsAndSearch) {
    const DBString abc(L"abc");
    const struct {
        int from, count;
        const wchar_t* sub;
    } subs[] = {{5, 2, L""},    {3, 1, L""},   {-1, 2, L""}, {1, -1, L"bc"},
                {1, 10, L"bc"}, {0, 2, L"ab"}, {1, 0, L""}};
    for (const auto& c : subs) {
        SCOPED_TRACE(testing::Message() << c.from << "," << c.count);
        EXPECT_EQ(std::wstring(abc.SubStr(c.from, c.count)), c.sub);
    }
    const std::pair<int, const wchar_t*> lefts[] = {
        {-1, L"abc"}, {10, L"abc"}, {2, L"ab"}, {0, L""}};
    for (const auto& c : lefts) EXPECT_EQ(std::wstring(abc.Left(c.first)), c.second) << c.first;

    const DBString text(L"abcabc");
    EXPECT_EQ(text.Find(L'c'), 2);
    EXPECT_EQ(text.Find(L'c', 3), 5);
    EXPECT_EQ(text.Find(L'c', 6), -1);
    EXPECT_EQ(abc.Find(L'c', -1), -1);
    EXPECT_EQ(text.Find(L"bc", 2), 4);
    EXPECT_EQ(text.Find(L"bd"), -1);
    EXPECT_EQ(text.Find(L"bc", -1), -1);
    EXPECT_EQ(text.Find(L"bc", 100), -1);
    EXPECT_EQ(text.ReverseFind(L'a'), 3);
    EXPECT_EQ(DBString().ReverseFind(L'x'), -1);

    EXPECT_TRUE(DBString(L"7a").IsDigit(0));
    EXPECT_FALSE(DBString(L"7a").IsDigit(1));
    EXPECT_FALSE(abc.IsDigit(3));
    EXPECT_FALSE(DBString(L"7").IsDigit(-1));
    EXPECT_FALSE(DBString(L"\x0660").IsDigit(0));  // other scripts' digits do not count
}

TEST(DBStringTest, NotAsciiKeepsOutsidePrintableRange) {
    const std::wstring in(L"a b\t!~\x7F\x42F\x20\x21\x7E\x1F\0z", 14);
    EXPECT_EQ(std::wstring(DBString(in).NotASCII()), std::wstring(L" \t\x7F\x42F \x1F\0", 7));
}

TEST(DBStringTest, ForFindBuildsSearchKey) {
    EXPECT_EQ(std::wstring(DBString(L"\x401\x43B\x43A\x430 \x2116 5").ForFind()),
              L"\x415\x43B\x43A\x430N5");
    EXPECT_EQ(std::wstring(DBString(L"\x451\tx\na \x401").ForFind()), L"\x451x\na\x415");
    EXPECT_EQ(std::wstring(DBString(std::wstring(L"a b\0c", 5)).ForFind()), L"ab");
}

TEST(DBStringTest, ReplaceNeverRescansInsertedText) {
    const struct {
        const wchar_t* text;
        const wchar_t* from;
        const wchar_t* to;
        const wchar_t* result;
        int count;
    } cases[] = {
        {L"aba", L"a", L"aa", L"aabaa", 2}, {L"aaa", L"aa", L"a", L"aa", 1},
        {L"a-b-c", L"-", L"", L"abc", 2},   {L"abc", L"abcd", L"x", L"abc", 0},
        {L"abc", L"", L"x", L"abc", 0},  // empty search text: nothing to replace
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.text) + L"/" + c.from));
        DBString s(c.text);
        EXPECT_EQ(s.Replace(c.from, c.to), c.count);
        EXPECT_EQ(std::wstring(s), c.result);
    }
    DBString s(L"abc");
    EXPECT_EQ(s.Replace(nullptr, L"x"), 0);
    EXPECT_EQ(s.Replace(L"b", nullptr), 1);
    EXPECT_EQ(std::wstring(s), L"ac");

    // Search and replacement texts that point into the string itself.
    DBString self(L"abab");
    EXPECT_EQ(self.Replace(self.c_str() + 2, self.c_str() + 3), 2);
    EXPECT_EQ(std::wstring(self), L"bb");
}

TEST(DBStringTest, CaseAndTrimming) {
    DBString s(L"AbC1-Z");
    EXPECT_EQ(std::wstring(s.MakeLower()), L"abc1-z");

    const struct {
        const wchar_t* in;
        const wchar_t* trim;
        const wchar_t* trimArg;
    } cases[] = {
        {L"  a b  ", L"a b", L"a b"},
        {L"\t a \t", L"\t a \t", L"\t a \t"},  // tabs are not blanks here
        {L"   ", L"", L""},
        {L"  \" a b \"  ", L"\" a b \"", L" a b "},
        {L"\"", L"\"", L""},
        {L"\"\"", L"\"\"", L""},
        {L"\"abc", L"\"abc", L"abc"},
        {L"\"\"x\"\"", L"\"\"x\"\"", L"\"x\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.in)));
        DBString t(c.in);
        EXPECT_EQ(std::wstring(t.Trim()), c.trim);
        DBString a(c.in);
        EXPECT_EQ(std::wstring(a.TrimArg()), c.trimArg);
    }
}

TEST(DBStringTest, AssignsAndAppends) {
    DBString s(L"abc");
    s = L'\x42F';
    s += L'x';
    s += std::wstring(L"z");
    s += kYazyk.c_str();
    EXPECT_EQ(std::wstring(s), L"\x42Fxz\x42F\x437\x44B\x43A");

    // Null wide pointers are caller errors; they act as the empty text instead of crashing.
    const wchar_t* null = nullptr;
    s = null;
    EXPECT_TRUE(s.empty());
    s = L"n";
    s += null;
    EXPECT_EQ(std::wstring(s + null), L"n");
    EXPECT_EQ(std::wstring(null + s), L"n");
    EXPECT_TRUE(null < s);
}

TEST(DBStringTest, ParseSplitsAndDropsOnlyLastEmptyField) {
    const struct {
        const wchar_t* text;
        const wchar_t* separator;
        std::vector<std::wstring> fields;
    } cases[] = {
        {L"a;b", L";", {L"a", L"b"}},
        {L"a;;b", L";", {L"a", L"", L"b"}},
        {L"a;;", L";", {L"a", L""}},
        {L";", L";", {L""}},
        {L"", L";", {}},
        {L"a::b:c::", L"::", {L"a", L"b:c"}},
        {L"::::", L"::", {L"", L""}},
        {L"a;b", L"", {L"a;b"}},  // empty separator: the whole text
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.text)));
        std::vector<DBString> fields(3, DBString(L"stale"));
        DBString s(c.text);
        EXPECT_EQ(s.Parse(c.separator, fields), static_cast<int>(c.fields.size()));
        ASSERT_EQ(fields.size(), c.fields.size());
        for (size_t i = 0; i < fields.size(); ++i) EXPECT_EQ(std::wstring(fields[i]), c.fields[i]);
        EXPECT_EQ(std::wstring(s), c.text);
    }

    std::vector<DBString> fields;
    DBString zero(std::wstring(L"a;b\0;c", 6));
    EXPECT_EQ(zero.Parse(L";", fields), 2);
    EXPECT_EQ(std::wstring(fields[1]), L"b");
    EXPECT_EQ(zero.Parse(nullptr, fields), 1);

    // The string may be one of the fields it fills.
    std::vector<DBString> own{DBString(L"x;y;z")};
    EXPECT_EQ(own[0].Parse(L";", own), 3);
    EXPECT_EQ(std::wstring(own[2]), L"z");
}

TEST(DBStringTest, ConcatenatesZeroTerminatedForms) {
    const DBString a(std::wstring(L"a\0hidden", 8));
    EXPECT_EQ(std::wstring(a + DBString(L"b")), L"ab");
    EXPECT_EQ(std::wstring(L"c" + a + L'd'), L"cad");
    EXPECT_EQ(std::wstring(kYazyk.c_str() + a),
              L"\x42F\x437\x44B\x43A"
              L"a");
}

TEST(DBStringTest, ComparesCodePointsInEveryForm) {
    const struct {
        std::wstring a;
        std::wstring b;
        int sign;
    } cases[] = {
        {L"abc", L"abd", -1},
        {L"ABC", L"abc", -1},
        {L"ab", L"abc", -1},
        {L"abc", L"abc", 0},
        {L"", L"a", -1},
        {L"z", L"\x42F", -1},
        {L"\xFFFF", L"\x10000", -1},
        {std::wstring(L"ab\0x", 4), L"ab", 0},  // compared up to the first zero
        {std::wstring(L"ab\0x", 4), std::wstring(L"ab\0y", 4), 0},
    };
    for (const auto& c : cases) {
        for (const bool swap : {false, true}) {
            const DBString a(swap ? c.b : c.a);
            const DBString b(swap ? c.a : c.b);
            const int sign = swap ? -c.sign : c.sign;
            SCOPED_TRACE(testing::PrintToString(std::wstring(a.c_str()) + L" vs " + b.c_str()));
            const wchar_t* pa = a.c_str();
            const wchar_t* pb = b.c_str();
            const std::vector<bool> want{sign == 0, sign != 0, sign<0, sign> 0, sign <= 0,
                                         sign >= 0};
            EXPECT_EQ((std::vector<bool>{a == b, a != b, a<b, a> b, a <= b, a >= b}), want);
            EXPECT_EQ((std::vector<bool>{a == pb, a != pb, a<pb, a> pb, a <= pb, a >= pb}), want);
            EXPECT_EQ((std::vector<bool>{pa == b, pa != b, pa<b, pa> b, pa <= b, pa >= b}), want);
        }
    }
}

// Values from RFC 1321's test suite.
TEST(Md5Test, MatchesReferenceVectors) {
    const struct {
        std::string in;
        const char* hex;
    } cases[] = {
        {"", "D41D8CD98F00B204E9800998ECF8427E"},
        {"a", "0CC175B9C0F1B6A831C399E269772661"},
        {"abc", "900150983CD24FB0D6963F7D28E17F72"},
        {"message digest", "F96B697D7CB7938D525A2F31AAF161D0"},
        {"abcdefghijklmnopqrstuvwxyz", "C3FCD3D76192E4007DFB496CCA67E13B"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "D174AB98D277D9F5A5611C2C9F419D9F"},
        {"1234567890123456789012345678901234567890"
         "1234567890123456789012345678901234567890",
         "57EDF4A22BE3C955AC49DA2E2107B67A"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in.size());
        EXPECT_EQ(Md5Hex(c.in), c.hex);
    }
}

// Around the padding boundaries; references from coreutils md5sum. Every split into two
// pieces must give the same digest as one call.
TEST(Md5Test, PaddingBoundariesAndPiecewiseFeeding) {
    const struct {
        size_t length;
        const char* hex;
    } cases[] = {
        {55, "EF1772B6DFF9A122358552954AD0DF65"},  // padding and length fit in one block
        {56, "3B0C8AC703F828B04C6C197006D17218"},  // length field spills into a second block
        {64, "014842D480B571495A4A0363793F7367"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        std::string data(c.length, 'a');
        EXPECT_EQ(Md5Hex(data), c.hex);
        for (size_t split = 0; split <= c.length; ++split) {
            EXPECT_EQ(Md5Hex(data, split), c.hex) << "split at " << split;
        }
    }
}

TEST(Md5Test, ByteCounterCarriesIntoHighWord) {
    md5::md5_context ctx;
    md5::md5_starts(&ctx);
    ctx.total[0] = 0xFFFFFFC0u;  // a block boundary just below 4 GiB
    unsigned char block[64] = {};
    md5::md5_update(&ctx, block, 64);
    EXPECT_EQ(ctx.total[0], 0u);
    EXPECT_EQ(ctx.total[1], 1u);
}
