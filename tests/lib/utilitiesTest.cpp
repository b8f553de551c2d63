#include "lib/utilities.h"

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>

namespace {

using Bytes = std::vector<unsigned char>;

TEST(utilitiesTest, IPv6ValuesAndTexts) {
    const unsigned char v4[4] = {192, 168, 1, 10};
    int ip;
    std::memcpy(&ip, v4, 4);
    EXPECT_EQ(IPv6ToStr(ToIPv6(ip)), "::ffff:192.168.1.10");
    EXPECT_EQ(IPv6ToStr(LocalHostIPv6()), "::1");
    EXPECT_EQ(IPv6ToStr(NulIPv6()), "::");
    EXPECT_EQ(IPv6PortToStr(LocalHostIPv6(), 80), " ::1|80 ");
    EXPECT_EQ(static_cast<const std::wstring&>(IPv6PortToStrW(LocalHostIPv6(), 80)), L" ::1|80 ");
    EXPECT_EQ(static_cast<const std::wstring&>(IPv6ToStrW(ToIPv6(ip))), L"::ffff:192.168.1.10");
    // ::ffff:0.0.0.1 is not null: only :: and the whole mapped zero are.
    EXPECT_TRUE(isNulIPv6(ToIPv6(0)) && isNulIPv6(NulIPv6()));
    EXPECT_FALSE(isNulIPv6(LocalHostIPv6()) || isNulIPv6(IP6FromStr("0.0.0.1")));
    in6_addr a = LocalHostIPv6();
    EXPECT_FALSE(isEqIPv6(a, NulIPv6()));
    ClearIPv6(a);
    EXPECT_TRUE(isEqIPv6(a, NulIPv6()));
    const struct {
        const char *in, *out;
    } cases[] = {
        {"fe80::1", "fe80::1"},
        {"10.0.0.1", "::ffff:10.0.0.1"},
        {"::ffff:1.2.3.4", "::ffff:1.2.3.4"},
        {"2001:db8:0:0:0:0:2:1", "2001:db8::2:1"},  // RFC 5952 canonical form
        {"1.2.3", "::"},
        {"256.1.1.1", "::"},
        {"fe80::1%eth0", "::"},
        {"not an address", "::"},
        {"", "::"},
        {" 10.0.0.1", "::"},
    };
    for (const auto& c : cases) EXPECT_EQ(IPv6ToStr(IP6FromStr(c.in)), c.out) << c.in;
}

TEST(utilitiesTest, TrimAndParseString) {
    for (const auto& c : {std::pair<std::string, std::string>{"  a b  ", "a b"},
                          {"\ta\t", "\ta\t"},
                          {"    ", ""},
                          {"", ""},
                          {" x", "x"}})
        EXPECT_EQ(Trim(c.first), c.second) << c.first;
    const struct {
        const char *text, *separator;
        std::vector<std::string> parts;
    } cases[] = {
        {"a;b", ";", {"a", "b"}},
        {"a;;b", ";", {"a", "", "b"}},
        {"a;", ";", {"a", ""}},
        {";", ";", {"", ""}},
        {"", ";", {}},
        {"abc", ";", {"abc"}},
        {"a<>b<>", "<>", {"a", "b", ""}},
        {"a;b", "", {"a;b"}},  // an empty separator does not split
    };
    for (const auto& c : cases) {
        std::vector<std::string> parts = {"stale"};
        EXPECT_EQ(ParseString(c.text, c.separator, parts), static_cast<int>(c.parts.size()))
            << c.text;
        EXPECT_EQ(parts, c.parts) << c.text;
    }
}

TEST(utilitiesTest, CloseSocketClosesOnlyOpenDescriptors) {
    for (int bad : {-1, 0}) {
        int fd = bad;
        CloseSocket(fd);
        EXPECT_EQ(fd, bad);
    }
    int pair[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
    int fd = pair[0];
    CloseSocket(fd);
    EXPECT_EQ(fd, -1);
    EXPECT_EQ(fcntl(pair[0], F_GETFD), -1);
    close(pair[1]);
}

TEST(utilitiesTest, SplitPathAndUrl) {
    const struct {
        const char *path, *dir, *name, *ext;
    } paths[] = {
        {"/home/u/file.txt", "/home/u/", "file", ".txt"},
        {"file.tar.gz", "", "file.tar", ".gz"},
        {"plain", "", "plain", ""},
        {"/dir.d/plain", "/dir.d/", "plain", ""},  // a dot in a folder name is no extension
        {"/etc/", "/etc/", "", ""},
        {"/", "/", "", ""},
        {".bashrc", "", "", ".bashrc"},
        {"a/b.", "a/", "b", "."},
        {"", "", "", ""},
    };
    for (const auto& c : paths) {
        std::string dir = "x", name = "x", ext = "x";
        splitpath(c.path, dir, name, ext);
        EXPECT_EQ((std::vector<std::string>{dir, name, ext}),
                  (std::vector<std::string>{c.dir, c.name, c.ext}))
            << c.path;
    }
    const struct {
        const char* url;
        int result;
        std::vector<std::string> parts;  // scheme, host, port, path
    } urls[] = {
        {"http://example.com:8080/a/b?c", 1, {"http", "example.com", "8080", "/a/b?c"}},
        {"https://example.com/", 2, {"https", "example.com", "", "/"}},
        {"HTTPS://h", 2, {"HTTPS", "h", "", ""}},
        {"ftp://files:21/x", 0, {"ftp", "files", "21", "/x"}},
        {"host:99", 0, {"", "host", "99", ""}},
        {"host/p", 0, {"", "host", "", "/p"}},
        {"", 0, {"", "", "", ""}},
        {"http://[fe80::1]:443/x", 1, {"http", "fe80::1", "443", "/x"}},
        {"http://[::1]junk/x", 1, {"http", "::1", "", "/x"}},
        {"http://[::1/x", 1, {"http", "[::1", "", "/x"}},  // unclosed: all host
        {"http://", 1, {"http", "", "", ""}},
        {"://h", 0, {"", "h", "", ""}},
        // every part one shorter than its buffer, then each one too long
        {"http://hosts/ab", 1, {"http", "hosts", "", "/ab"}},
        {"https://h/", -1, {}},
        {"http://hostss/", -1, {}},
        {"http://h:123/", -1, {}},
        {"http://h/abcd", -1, {}},
    };
    for (const auto& c : urls) {
        const bool small = c.parts.empty() || c.parts[1] == "hosts";
        char scheme[8], host[32], port[8], path[16];
        EXPECT_EQ(splitURL(c.url, scheme, small ? 5 : 8, host, small ? 6 : 32, port, small ? 3 : 8,
                           path, small ? 4 : 16),
                  c.result)
            << c.url;
        if (!c.parts.empty()) {
            EXPECT_EQ((std::vector<std::string>{scheme, host, port, path}), c.parts) << c.url;
        }
    }
    char host[8];
    EXPECT_EQ(splitURL("http://h:1/p", nullptr, 0, host, sizeof host, nullptr, 0, nullptr, 0), 1);
    EXPECT_STREQ(host, "h");
    EXPECT_EQ(splitURL(nullptr, host, 8, host, 8, host, 8, host, 8), 0);
}

// A compiled resource image built by hand: 32-byte headers with ordinal type and name (or the
// type "TXT"), data padded to 32-bit boundaries; a string block holds sixteen length-prefixed
// UTF-16LE strings.
class ResImage {
public:
    ResImage() { Add(0, 0, {}); }  // the empty entry that opens every image
    void Add(unsigned type, unsigned name, const Bytes& data, bool namedType = false) {
        Put(static_cast<unsigned>(data.size()), 4);
        Put(namedType ? 36 : 32, 4);
        for (unsigned v : namedType ? std::vector<unsigned>{'T', 'X', 'T', 0}
                                    : std::vector<unsigned>{0xFFFF, type})
            Put(v, 2);
        // name, data version, memory flags, language, version, characteristics
        for (unsigned v : {0xFFFFu, name, 0u, 0u, 0x1030u, 0x0409u, 0u, 0u, 0u, 0u}) Put(v, 2);
        m_Bytes.insert(m_Bytes.end(), data.begin(), data.end());
        while (m_Bytes.size() % 4) m_Bytes.push_back(0);
    }
    static Bytes Block(const std::vector<std::u16string>& strings) {
        ResImage out;
        out.m_Bytes.clear();
        for (size_t i = 0; i < 16; ++i) {
            const std::u16string s = i < strings.size() ? strings[i] : u"";
            out.Put(static_cast<unsigned>(s.size()), 2);
            for (char16_t c : s) out.Put(c, 2);
        }
        return out.m_Bytes;
    }
    Bytes m_Bytes;

private:
    void Put(unsigned v, int size) {
        for (int i = 0; i < size; ++i) m_Bytes.push_back(static_cast<unsigned char>(v >> (8 * i)));
    }
};

TEST(utilitiesTest, LoadStringReadsStringTableBlocks) {
    ResImage image;
    image.Add(0, 1, {1, 2, 3}, true);
    image.Add(6, 2,
              ResImage::Block({u"OK", u"", u"\u042F\u0437\u044B\u043A", u"\xD83D\xDE00", u"\u20AC5",
                               u"\xDFFF"}));
    image.Add(5, 1, {9, 9, 9, 9});  // a dialog, skipped
    image.Add(6, 1, ResImage::Block({u"", u"", u"", u"", u"", u"five"}));
    const Bytes& bytes = image.m_Bytes;
    const struct {
        unsigned short id;
        size_t size;
        const char* text;
    } cases[] = {
        {16, 64, "OK"},
        {17, 64, ""},
        {18, 64, "\xD0\xAF\xD0\xB7\xD1\x8B\xD0\xBA"},  // Язык, 8 bytes
        {18, 5, "\xD0\xAF\xD0\xB7"},                   // cut between characters
        {18, 4, "\xD0\xAF"},
        {18, 1, ""},
        {19, 64, "\xF0\x9F\x98\x80"},  // a surrogate pair becomes one code point
        {20, 64,
         "\xE2\x82\xAC"
         "5"},  // three bytes
        {5, 64, "five"},
        {21, 64, "\xEF\xBF\xBD"},  // a lone low surrogate: the replacement character
        {31, 64, ""},              // last of a present block, empty
        {40, 64, ""},              // absent block
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.id) + "/" + std::to_string(c.size));
        char buffer[65];
        std::memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(LoadString(buffer, c.size, bytes.data(), bytes.data() + bytes.size(), c.id),
                  static_cast<int>(std::strlen(c.text)));
        EXPECT_STREQ(buffer, c.text);
        EXPECT_EQ(buffer[c.size], 'x');  // nothing past size
    }
}

TEST(utilitiesTest, LoadStringStopsAtDamagedImages) {
    ResImage image;
    image.Add(6, 2, ResImage::Block({u"OK", u"Second"}));
    const Bytes& bytes = image.m_Bytes;
    char buffer[16] = "x";
    // Every truncation that cuts into the block's header or data loses it, and nothing more.
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        const Bytes part(bytes.begin(), bytes.begin() + static_cast<long>(cut));
        EXPECT_EQ(LoadString(buffer, sizeof buffer, part.data(), part.data() + part.size(), 16), 0)
            << cut;
        EXPECT_STREQ(buffer, "") << cut;
    }
    EXPECT_EQ(LoadString(buffer, 0, bytes.data(), bytes.data() + bytes.size(), 16), 0);
    EXPECT_EQ(LoadString(buffer, sizeof buffer, nullptr, nullptr, 16), 0);
    Bytes bad = bytes;
    bad[32 + 4] = 8;  // a header size smaller than its fields
    EXPECT_EQ(LoadString(buffer, sizeof buffer, bad.data(), bad.data() + bad.size(), 16), 0);
    bad = bytes;
    bad[64] = 0xFF;  // a string length running past its block
    EXPECT_EQ(LoadString(buffer, sizeof buffer, bad.data(), bad.data() + bad.size(), 16), 0);
    EXPECT_EQ(LoadString(buffer, sizeof buffer, bytes.data(), bytes.data() + bytes.size(), 17), 6);
    EXPECT_STREQ(buffer, "Second");
    bad = bytes;
    std::memset(bad.data() + 12, 'n', 18);  // the first entry named up to its header's end
    EXPECT_EQ(LoadString(buffer, sizeof buffer, bad.data(), bad.data() + bad.size(), 16), 2);
}

}  // namespace
