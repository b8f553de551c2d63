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

std::string Text(const in6_addr& a) { return IPv6ToStr(a); }

TEST(utilitiesTest, IPv6ValuesAndTexts) {
    const unsigned char v4[4] = {192, 168, 1, 10};
    int ip;
    std::memcpy(&ip, v4, 4);
    EXPECT_EQ(Text(ToIPv6(ip)), "::ffff:192.168.1.10");
    EXPECT_TRUE(isNulIPv6(ToIPv6(0)));
    EXPECT_TRUE(isNulIPv6(NulIPv6()));
    EXPECT_FALSE(isNulIPv6(LocalHostIPv6()));
    EXPECT_EQ(Text(LocalHostIPv6()), "::1");
    EXPECT_EQ(Text(NulIPv6()), "::");
    EXPECT_EQ(IPv6PortToStr(LocalHostIPv6(), 80), " ::1|80 ");
    EXPECT_EQ(static_cast<const std::wstring&>(IPv6PortToStrW(LocalHostIPv6(), 80)), L" ::1|80 ");
    EXPECT_EQ(static_cast<const std::wstring&>(IPv6ToStrW(ToIPv6(ip))), L"::ffff:192.168.1.10");

    in6_addr a = LocalHostIPv6();
    EXPECT_FALSE(isEqIPv6(a, NulIPv6()));
    ClearIPv6(a);
    EXPECT_TRUE(isEqIPv6(a, NulIPv6()));
    // ::ffff:0.0.0.1 is not null: only the whole mapped zero is.
    EXPECT_FALSE(isNulIPv6(IP6FromStr("0.0.0.1")));
}

TEST(utilitiesTest, IP6FromStrParsesBothFamilies) {
    const struct {
        const char* in;
        const char* out;
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
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(Text(IP6FromStr(c.in)), c.out);
    }
}

TEST(utilitiesTest, TrimRemovesBlanksOnly) {
    EXPECT_EQ(Trim("  a b  "), "a b");
    EXPECT_EQ(Trim("\ta\t"), "\ta\t");
    EXPECT_EQ(Trim("    "), "");
    EXPECT_EQ(Trim(""), "");
    EXPECT_EQ(Trim(" x"), "x");
}

TEST(utilitiesTest, ParseStringKeepsEmptyParts) {
    const struct {
        const char* text;
        const char* separator;
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
        SCOPED_TRACE(std::string(c.text) + " / " + c.separator);
        std::vector<std::string> parts = {"stale"};
        EXPECT_EQ(ParseString(c.text, c.separator, parts), static_cast<int>(c.parts.size()));
        EXPECT_EQ(parts, c.parts);
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
    errno = 0;
    EXPECT_EQ(fcntl(pair[0], F_GETFD), -1);
    EXPECT_EQ(errno, EBADF);
    char byte;
    EXPECT_EQ(read(pair[1], &byte, 1), 0);  // the peer sees the end
    close(pair[1]);
}

TEST(utilitiesTest, SplitPath) {
    const struct {
        const char* path;
        const char* dir;
        const char* name;
        const char* ext;
    } cases[] = {
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
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        std::string dir = "x", name = "x", ext = "x";
        splitpath(c.path, dir, name, ext);
        EXPECT_EQ(dir, c.dir);
        EXPECT_EQ(name, c.name);
        EXPECT_EQ(ext, c.ext);
    }
}

TEST(utilitiesTest, SplitURL) {
    const struct {
        const char* url;
        int result;
        const char* scheme;
        const char* host;
        const char* port;
        const char* path;
    } cases[] = {
        {"http://example.com:8080/a/b?c", 1, "http", "example.com", "8080", "/a/b?c"},
        {"https://example.com/", 2, "https", "example.com", "", "/"},
        {"HTTPS://h", 2, "HTTPS", "h", "", ""},
        {"ftp://files:21/x", 0, "ftp", "files", "21", "/x"},
        {"host:99", 0, "", "host", "99", ""},
        {"host/p", 0, "", "host", "", "/p"},
        {"", 0, "", "", "", ""},
        {"http://[fe80::1]:443/x", 1, "http", "fe80::1", "443", "/x"},
        {"http://[::1]/x", 1, "http", "::1", "", "/x"},
        {"http://[::1]junk/x", 1, "http", "::1", "", "/x"},
        {"http://[::1/x", 1, "http", "[::1", "", "/x"},  // unclosed: all host
        {"http://", 1, "http", "", "", ""},
        {"://h", 0, "", "h", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url);
        char scheme[8] = "junk", host[32] = "junk", port[8] = "junk", path[16] = "junk";
        EXPECT_EQ(splitURL(c.url, scheme, sizeof scheme, host, sizeof host, port, sizeof port, path,
                           sizeof path),
                  c.result);
        EXPECT_STREQ(scheme, c.scheme);
        EXPECT_STREQ(host, c.host);
        EXPECT_STREQ(port, c.port);
        EXPECT_STREQ(path, c.path);
    }
}

TEST(utilitiesTest, SplitURLRejectsPartsThatDoNotFit) {
    char scheme[5], host[6], port[3], path[4];
    auto split = [&](const char* url) {
        return splitURL(url, scheme, sizeof scheme, host, sizeof host, port, sizeof port, path,
                        sizeof path);
    };
    EXPECT_EQ(split("http://hosts/ab"), 1);  // every part one shorter than its buffer
    EXPECT_STREQ(host, "hosts");
    EXPECT_EQ(split("https://h/"), -1);  // "https" needs 6 bytes
    EXPECT_EQ(split("http://hostss/"), -1);
    EXPECT_EQ(split("http://h:123/"), -1);
    EXPECT_EQ(split("http://h/abcd"), -1);
    EXPECT_EQ(splitURL("http://h:1/p", nullptr, 0, host, sizeof host, nullptr, 0, nullptr, 0), 1);
    EXPECT_STREQ(host, "h");
    EXPECT_EQ(splitURL(nullptr, scheme, sizeof scheme, host, sizeof host, port, sizeof port, path,
                       sizeof path),
              0);
}

// A compiled resource image built by hand: 32-byte headers, ordinal type and name, data padded
// to 32-bit boundaries.
class ResImage {
public:
    ResImage() { Add(0, 0, {}); }  // the empty entry that opens every image

    // namedType: the type is the text "TXT" instead of an ordinal.
    void Add(unsigned type,
             unsigned name,
             const std::vector<unsigned char>& data,
             bool namedType = false) {
        Put32(static_cast<uint32_t>(data.size()));
        Put32(namedType ? 36 : 32);
        if (namedType) {
            for (char16_t c : std::u16string(u"TXT")) Put16(c);
            Put16(0);
        } else {
            Put16(0xFFFF);
            Put16(type);
        }
        Put16(0xFFFF);
        Put16(name);
        // data version, memory flags, language, version, characteristics
        for (unsigned v : {0u, 0u, 0x1030u, 0x0409u, 0u, 0u, 0u, 0u}) Put16(v);
        m_Bytes.insert(m_Bytes.end(), data.begin(), data.end());
        while (m_Bytes.size() % 4) m_Bytes.push_back(0);
    }

    // Sixteen length-prefixed UTF-16LE strings.
    static std::vector<unsigned char> Block(const std::vector<std::u16string>& strings) {
        std::vector<unsigned char> out;
        for (size_t i = 0; i < 16; ++i) {
            const std::u16string s = i < strings.size() ? strings[i] : u"";
            out.push_back(static_cast<unsigned char>(s.size() & 0xFF));
            out.push_back(static_cast<unsigned char>(s.size() >> 8));
            for (char16_t c : s) {
                out.push_back(static_cast<unsigned char>(c & 0xFF));
                out.push_back(static_cast<unsigned char>(c >> 8));
            }
        }
        return out;
    }

    const std::vector<unsigned char>& Bytes() const { return m_Bytes; }

private:
    void Put16(unsigned v) {
        m_Bytes.push_back(static_cast<unsigned char>(v & 0xFF));
        m_Bytes.push_back(static_cast<unsigned char>((v >> 8) & 0xFF));
    }
    void Put32(uint32_t v) {
        Put16(v & 0xFFFF);
        Put16(v >> 16);
    }
    std::vector<unsigned char> m_Bytes;
};

TEST(utilitiesTest, LoadStringReadsStringTableBlocks) {
    ResImage image;
    image.Add(0, 1, {1, 2, 3}, true);
    image.Add(6, 2, ResImage::Block({u"OK", u"", u"\u042F\u0437\u044B\u043A", u"\xD83D\xDE00"}));
    image.Add(5, 1, {9, 9, 9, 9});  // a dialog, skipped
    image.Add(6, 1, ResImage::Block({u"", u"", u"", u"", u"", u"five"}));
    const auto& bytes = image.Bytes();
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
        {5, 64, "five"},
        {31, 64, ""},  // last of a present block, empty
        {40, 64, ""},  // absent block
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.id) + "/" + std::to_string(c.size));
        char buffer[64];
        std::memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(LoadString(buffer, c.size, bytes.data(), bytes.data() + bytes.size(), c.id),
                  static_cast<int>(std::strlen(c.text)));
        EXPECT_STREQ(buffer, c.text);
        if (c.size < sizeof buffer) {
            EXPECT_EQ(buffer[c.size], 'x');  // nothing past size
        }
    }
}

TEST(utilitiesTest, LoadStringStopsAtDamagedImages) {
    ResImage image;
    image.Add(6, 2, ResImage::Block({u"OK", u"Second"}));
    const auto& bytes = image.Bytes();
    char buffer[16] = "x";
    // Every truncation that cuts into the block's header or data loses it, and nothing more.
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        SCOPED_TRACE(cut);
        const std::vector<unsigned char> part(bytes.begin(), bytes.begin() + cut);
        EXPECT_EQ(LoadString(buffer, sizeof buffer, part.data(), part.data() + part.size(), 16), 0);
        EXPECT_STREQ(buffer, "");
    }
    EXPECT_EQ(LoadString(buffer, 0, bytes.data(), bytes.data() + bytes.size(), 16), 0);
    EXPECT_EQ(LoadString(buffer, sizeof buffer, nullptr, nullptr, 16), 0);
    // A header size smaller than its fields.
    std::vector<unsigned char> bad = bytes;
    bad[32 + 4] = 8;
    EXPECT_EQ(LoadString(buffer, sizeof buffer, bad.data(), bad.data() + bad.size(), 16), 0);
    // A string length running past its block.
    bad = bytes;
    bad[64] = 0xFF;
    EXPECT_EQ(LoadString(buffer, sizeof buffer, bad.data(), bad.data() + bad.size(), 16), 0);
    EXPECT_EQ(LoadString(buffer, sizeof buffer, bytes.data(), bytes.data() + bytes.size(), 17), 6);
    EXPECT_STREQ(buffer, "Second");
}

}  // namespace
