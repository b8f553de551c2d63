#include "dblib/DBString.h"

#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "dblib/md5.h"

namespace {

// The digest of data fed in two calls, the first with split bytes.
std::string Md5Hex(std::string data, size_t split = 0) {
    md5::md5_context ctx;
    md5::md5_starts(&ctx);
    auto* p = reinterpret_cast<unsigned char*>(&data[0]);
    md5::md5_update(&ctx, p, static_cast<unsigned>(split));
    md5::md5_update(&ctx, p + split, static_cast<unsigned>(data.size() - split));
    unsigned char digest[16];
    md5::md5_finish(&ctx, digest);
    char hex[33];
    for (int i = 0; i < 16; ++i) std::snprintf(hex + 2 * i, 3, "%02X", digest[i]);
    return hex;
}

std::wstring W(const DBString& s) { return s; }

const std::string kYazyk = "\xD0\xAF\xD0\xB7\xD1\x8B\xD0\xBA";  // Язык

}  // namespace

// Every code point there and back; each boundary of the encoding against its known bytes.
TEST(DBStringTest, Utf8BothWaysAndMarkers) {
    std::wstring all;
    for (wchar_t c = 1; c <= 0x10FFFF; ++c) {
        if (c < 0xD800 || c > 0xDFFF) all.push_back(c);
    }
    EXPECT_TRUE(W(DBString(DBString(all).ToStr())) == all);
    EXPECT_EQ(DBString(L"\x7F\x80\x7FF\x800\xD7FF\xE000\xFFFF\x10000\x10FFFF").ToStr(),
              "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBF\xF0\x90\x80\x80"
              "\xF4\x8F\xBF\xBF");
    EXPECT_EQ(DBString(std::wstring(L"a\0b", 3)).ToStr(), std::string("a\0b", 3));
    // Missing or stray continuation, overlong, encoded surrogates, above U+10FFFF, never valid,
    // truncated (at the end, before ASCII, after a long valid prefix): the marker, not a part.
    for (const char* c :
         {"\xC3\x28", "abc\xBF", "\xC0\x80", "\xE0\x9F\xBF", "\xF0\x8F\xBF\xBF", "\xED\xA0\x80",
          "\xED\xBF\xBF", "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\xFF", "abc\xD0", "\xF0\x9F\x98",
          "\xE2\x82\x41", "0123456789abcdefgh\xD0\xAF\xC3"}) {
        DBString s(L"x");
        s += c;
        EXPECT_EQ(W(DBString(c)) + W(s) + W(c + DBString(L"x")), L"?utf-32?x?utf-32??utf-32?x")
            << testing::PrintToString(std::string(c));
    }
    for (const wchar_t c : {0xD800, 0xDFFF, 0x110000, -1}) {
        DBString s(L"abc \x42F");
        s.push_back(c);
        EXPECT_EQ((s + L"def").ToStr(), "?utf-8?") << static_cast<long>(c);
    }
    // Narrow input stops at a zero byte (the invalid byte after it is never read); null is empty.
    DBString s(std::string("ab\0\xFF", 4));
    s += std::string("\xD0\xAF\0z", 4);
    s += static_cast<const char*>(nullptr);
    EXPECT_EQ(W(s), L"ab\x42F");
}

TEST(DBStringTest, WidensAndNarrows16BitUnitsAndCp1251) {
    const char16_t text[] = u"a\xD83D\xDE00\x42F";
    EXPECT_EQ(W(DBString(text)), std::wstring(L"a\xD83D\xDE00\x42F"));
    EXPECT_EQ(W(DBString(u"a\0b", 3)), std::wstring(L"a\0b", 3));
    EXPECT_TRUE(DBString(text, 2) == L"a\xD83D");  // the zero behind stays
    EXPECT_TRUE(DBString(static_cast<const char16_t*>(nullptr)).empty() &&
                DBString(text, -3).empty() && DBString(u"a\0b" + 1).empty());
    EXPECT_EQ(DBString(L"A\x42F\x1F600\x10FFFF").ToU16(), std::u16string(u"A\x42F\xF600\xFFFF"));

    // Up to the first character CP1251 lacks (U+4E2D, U+0100) and at most 1023 bytes.
    const std::pair<std::wstring, std::string> to[] = {
        {L"\x42F\x437\x44B\x43A", "\xDF\xE7\xFB\xEA"},
        {L"\x401\x451\x2116 1", "\xA8\xB8\xB9 1"},
        {L"ab\x4E2D", "ab"},
        {L"\x100z", ""},
        {std::wstring(L"ab\0cd", 5), "ab"},
        {std::wstring(2000, L'z'), std::string(1023, 'z')},
        {std::wstring(1022, L'z'), std::string(1022, 'z')}};
    for (const auto& c : to) EXPECT_EQ(DBString(c.first).ToCP1251(), c.second) << c.second;
    // Back without a byte-order mark, at most 127 characters, up to a byte with no character.
    const std::pair<std::string, std::wstring> from[] = {
        {"\xDF\xE7\xA8\xB9 ok", L"\x42F\x437\x401\x2116 ok"},
        {std::string(300, 'q'), std::wstring(127, L'q')},
        {std::string(126, 'q'), std::wstring(126, L'q')},
        {"ab\x98z", L"ab"}};
    DBString s(L"old");
    for (const auto& c : from) {
        s.FromCP1251(c.first.c_str());
        EXPECT_EQ(W(s), c.second) << c.first;
    }
    s.FromCP1251(nullptr);
    EXPECT_TRUE(s.empty());
    // md5sum of the four bytes DF E7 FB EA; hashed up to the first character CP1251 lacks
    EXPECT_EQ(W(DBString(kYazyk).Md5Hash()), L"66179A1B4CC9915A5FE8DD9AE627495B");
    EXPECT_EQ(W(DBString(L"abc\x4E2Dd").Md5Hash()), L"900150983CD24FB0D6963F7D28E17F72");
}

TEST(DBStringTest, FormatsWithWidePrintfRulesUpTo32767Characters) {
    DBString s(L"old");
    s.Format(L"%d|%ls|%02X|%u|%x", -42, L"\x42F\x437", 10, 7u, 255);
    s.AppendFormat(L"+%05.1f", 2.25);
    EXPECT_EQ(W(s), L"-42|\x42F\x437|0A|7|ff+002.2");
    // A narrow argument the C locale cannot decode ends the output where it was; a null format
    // adds nothing.
    s.Format(L"ab%scd", "\xFF");
    s.AppendFormat(nullptr);
    s.AppendFormat(L"-%s", "\xFF");
    EXPECT_EQ(W(s), L"ab-");
    std::wstring arg;
    for (size_t i = 0; i < 32768; ++i) arg.push_back(static_cast<wchar_t>(L'a' + i % 26));
    for (const size_t length : {32767, 32768}) {
        s.Format(L"%ls", arg.substr(0, length).c_str());
        EXPECT_TRUE(W(s) == arg.substr(0, 32767)) << length;
        s = L"pre";
        s.AppendFormat(L"%ls", arg.substr(0, length).c_str());
        EXPECT_TRUE(W(s) == L"pre" + arg.substr(0, 32767)) << length;
    }
}

TEST(DBStringTest, SubstringsSearchAndKeys) {
    const DBString abc(L"abc"), text(L"abcabc");
    for (const auto& c :
         {std::make_tuple(5, 2, L""), std::make_tuple(3, 1, L""), std::make_tuple(-1, 2, L""),
          std::make_tuple(1, -1, L"bc"), std::make_tuple(1, 10, L"bc"),
          std::make_tuple(0, 2, L"ab"), std::make_tuple(1, 0, L"")})
        EXPECT_EQ(W(abc.SubStr(std::get<0>(c), std::get<1>(c))), std::get<2>(c)) << std::get<0>(c);
    EXPECT_EQ(W(abc.Left(-1)) + W(abc.Left(10)) + W(abc.Left(2)) + W(abc.Left(0)), L"abcabcab");
    EXPECT_EQ((std::vector<int>{text.Find(L'c'), text.Find(L'c', 3), text.Find(L'c', 6),
                                abc.Find(L'c', -1), text.Find(L"bc", 2), text.Find(L"bd"),
                                text.Find(L"bc", -1), text.Find(L"bc", 100), text.ReverseFind(L'a'),
                                DBString().ReverseFind(L'x')}),
              (std::vector<int>{2, 5, -1, -1, 4, -1, -1, -1, 3, -1}));
    // other scripts' digits do not count
    EXPECT_EQ(
        (std::vector<bool>{DBString(L"7a").IsDigit(0), DBString(L"7a").IsDigit(1), abc.IsDigit(3),
                           DBString(L"7").IsDigit(-1), DBString(L"\x0660").IsDigit(0)}),
        (std::vector<bool>{true, false, false, false, false}));
    EXPECT_EQ(W(DBString(std::wstring(L"a b\t!~\x7F\x42F\x20\x21\x7E\x1F\0z", 14)).NotASCII()),
              std::wstring(L" \t\x7F\x42F \x1F\0", 7));
    EXPECT_EQ(W(DBString(L"\x401\x43B\x43A\x430 \x2116 5").ForFind()), L"\x415\x43B\x43A\x430N5");
    EXPECT_EQ(W(DBString(L"\x451\tx\na \x401").ForFind()), L"\x451x\na\x415");
    EXPECT_EQ(W(DBString(std::wstring(L"a b\0c", 5)).ForFind()), L"ab");
}

TEST(DBStringTest, ReplaceNeverRescansInsertedText) {
    const struct {
        const wchar_t *text, *from, *to, *result;
        int count;
    } cases[] = {
        {L"aba", L"a", L"aa", L"aabaa", 2}, {L"aaa", L"aa", L"a", L"aa", 1},
        {L"a-b-c", L"-", L"", L"abc", 2},   {L"abc", L"abcd", L"x", L"abc", 0},
        {L"abc", L"", L"x", L"abc", 0},  // empty search text
        {L"abc", nullptr, L"x", L"abc", 0}, {L"abc", L"b", nullptr, L"ac", 1},
    };
    for (const auto& c : cases) {
        DBString s(c.text);
        EXPECT_EQ(s.Replace(c.from, c.to), c.count) << c.result;
        EXPECT_EQ(W(s), c.result);
    }
    DBString self(L"abab");  // search and replacement texts that point into the string itself
    EXPECT_EQ(self.Replace(self.c_str() + 2, self.c_str() + 3), 2);
    EXPECT_EQ(W(self), L"bb");
}

TEST(DBStringTest, CaseTrimmingAndAppending) {
    DBString s(L"AbC1-Z");
    EXPECT_EQ(W(s.MakeLower()), L"abc1-z");
    // Tabs are not blanks here; TrimArg also drops one quote at each end.
    const struct {
        const wchar_t *in, *trim, *trimArg;
    } cases[] = {
        {L"  a b  ", L"a b", L"a b"}, {L"\t a \t", L"\t a \t", L"\t a \t"},
        {L"   ", L"", L""},           {L"  \" a b \"  ", L"\" a b \"", L" a b "},
        {L"\"", L"\"", L""},          {L"\"\"", L"\"\"", L""},
        {L"\"abc", L"\"abc", L"abc"}, {L"\"\"x\"\"", L"\"\"x\"\"", L"\"x\""},
    };
    for (const auto& c : cases) {
        DBString t(c.in), a(c.in);
        EXPECT_EQ(W(t.Trim()) + L"|" + W(a.TrimArg()), std::wstring(c.trim) + L"|" + c.trimArg)
            << c.in;
    }
    s = L'\x42F';
    s += L'x';
    s += std::wstring(L"z");
    s += kYazyk.c_str();
    EXPECT_EQ(W(s), L"\x42Fxz\x42F\x437\x44B\x43A");
    // Null wide pointers are caller errors; they act as the empty text instead of crashing.
    const wchar_t* null = nullptr;
    s = null;
    EXPECT_TRUE(s.empty());
    s = L"n";
    s += null;
    EXPECT_EQ(W(s + null) + W(null + s), L"nn");
    EXPECT_TRUE(null < s);
    // Joined with the separator after every part; parts and operands read up to their first zero.
    const DBString a(std::wstring(L"a\0hidden", 8));
    EXPECT_EQ(W(DBString(L";", {DBString(L"a"), DBString(L"b")})), L"a;b;");
    EXPECT_TRUE(DBString(L";", std::vector<DBString>{}).empty());
    EXPECT_EQ(W(DBString(L";", {a, DBString()})), L"a;;");
    EXPECT_EQ(W(a + DBString(L"b")) + W(L"c" + a + L'd') + W(kYazyk.c_str() + a),
              L"abcad\x42F\x437\x44B\x43A"
              L"a");
}

TEST(DBStringTest, ParseSplitsAndDropsOnlyLastEmptyField) {
    const struct {
        const wchar_t *text, *separator;
        std::vector<std::wstring> fields;
    } cases[] = {
        {L"a;b", L";", {L"a", L"b"}},         {L"a;;b", L";", {L"a", L"", L"b"}},
        {L"a;;", L";", {L"a", L""}},          {L"", L";", {}},
        {L"a::b:c::", L"::", {L"a", L"b:c"}}, {L"::::", L"::", {L"", L""}},
        {L"a;b", nullptr, {L"a;b"}},  // no separator: the whole text
    };
    for (const auto& c : cases) {
        std::vector<DBString> fields(3, DBString(L"stale"));
        DBString s(c.text);
        EXPECT_EQ(s.Parse(c.separator, fields), static_cast<int>(c.fields.size())) << c.text;
        EXPECT_EQ(std::vector<std::wstring>(fields.begin(), fields.end()), c.fields) << c.text;
        EXPECT_EQ(W(s), c.text);
    }
    std::vector<DBString> fields;
    EXPECT_EQ(DBString(std::wstring(L"a;b\0;c", 6)).Parse(L";", fields), 2);
    std::vector<DBString> own{DBString(L"x;y;z")};  // the string may be one of the fields it fills
    EXPECT_EQ(own[0].Parse(L";", own), 3);
    EXPECT_EQ(W(own[2]), L"z");
}

// Code point order up to the first zero, the same for DBString and pointer operands.
TEST(DBStringTest, ComparesCodePointsInEveryForm) {
    const std::wstring abx(L"ab\0x", 4), aby(L"ab\0y", 4);
    const struct {
        std::wstring a, b;
        int sign;
    } cases[] = {{L"ABC", L"abc", -1}, {L"ab", L"abc", -1},  {L"abc", L"abc", 0},
                 {L"", L"a", -1},      {L"z", L"\x42F", -1}, {L"\xFFFF", L"\x10000", -1},
                 {abx, L"ab", 0},      {abx, aby, 0}};
    for (const auto& c : cases) {
        for (const bool swap : {false, true}) {
            const DBString a(swap ? c.b : c.a), b(swap ? c.a : c.b);
            const int sign = swap ? -c.sign : c.sign;
            const wchar_t *pa = a.c_str(), *pb = b.c_str();
            const std::vector<bool> want{sign == 0, sign != 0, sign<0, sign> 0, sign <= 0,
                                         sign >= 0};
            EXPECT_EQ((std::vector<bool>{a == b, a != b, a<b, a> b, a <= b, a >= b}), want)
                << testing::PrintToString(std::wstring(a.c_str()) + L" vs " + b.c_str());
            EXPECT_EQ((std::vector<bool>{a == pb, a != pb, a<pb, a> pb, a <= pb, a >= pb}), want);
            EXPECT_EQ((std::vector<bool>{pa == b, pa != b, pa<b, pa> b, pa <= b, pa >= b}), want);
        }
    }
}

// RFC 1321's test suite, then around the padding boundaries (references from coreutils md5sum):
// every split into two pieces gives the digest of one call.
TEST(Md5Test, MatchesReferenceVectorsAndPadding) {
    const struct {
        std::string in;
        const char* hex;
    } cases[] = {
        {"", "D41D8CD98F00B204E9800998ECF8427E"},
        {"a", "0CC175B9C0F1B6A831C399E269772661"},
        {"abc", "900150983CD24FB0D6963F7D28E17F72"},
        {std::string(55, 'a'), "EF1772B6DFF9A122358552954AD0DF65"},  // padding, length: one block
        {std::string(56, 'a'), "3B0C8AC703F828B04C6C197006D17218"},  // length spills into a second
        {std::string(64, 'a'), "014842D480B571495A4A0363793F7367"},
    };
    for (const auto& c : cases) {
        for (size_t split = 0; split <= c.in.size(); ++split)
            EXPECT_EQ(Md5Hex(c.in, split), c.hex) << c.in.size() << " split at " << split;
    }
}
