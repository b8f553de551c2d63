#include "lib/utilities.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string_view>

#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
DBString Widen(const std::string& ascii) {
    return DBString(std::wstring(ascii.begin(), ascii.end()));
}

// Copies a part into a caller buffer; false when it does not fit (the part must be shorter).
bool PutPart(std::string_view part, char* buffer, size_t size) {
    if (buffer == nullptr || part.empty()) return true;
    if (part.size() >= size) return false;
    std::memcpy(buffer, part.data(), part.size());
    buffer[part.size()] = '\0';
    return true;
}

bool EqualsNoCase(std::string_view a, const char* b) {
    const size_t n = std::strlen(b);
    if (a.size() != n) return false;
    for (size_t i = 0; i < n; ++i) {
        char c = a[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != b[i]) return false;
    }
    return true;
}

// Little-endian reads of a resource image; callers check the bounds first.
unsigned Read16(const unsigned char* p) { return p[0] | (static_cast<unsigned>(p[1]) << 8); }
uint32_t Read32(const unsigned char* p) {
    return p[0] | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

constexpr unsigned kNamed = 0x10000;  // a type or name given as text, never an ordinal

// Reads a type or name field of a resource header at pos (before limit): an ordinal after 0xFFFF,
// or a zero-terminated UTF-16 text. Returns false when it does not end inside the header.
bool ReadIdField(const unsigned char* image, size_t& pos, size_t limit, unsigned& value) {
    if (limit - pos < 2) return false;
    if (Read16(image + pos) == 0xFFFF) {
        if (limit - pos < 4) return false;
        value = Read16(image + pos + 2);
        pos += 4;
        return true;
    }
    while (limit - pos >= 2) {
        const unsigned unit = Read16(image + pos);
        pos += 2;
        if (unit == 0) {
            value = kNamed;
            return true;
        }
    }
    return false;
}

// UTF-16LE to UTF-8 into buffer (size > 0), whole characters only, zero-terminated.
int CopyUtf8(char* buffer, size_t size, const unsigned char* text, size_t units) {
    size_t out = 0;
    for (size_t i = 0; i < units; ++i) {
        uint32_t cp = Read16(text + 2 * i);
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < units) {
            const uint32_t low = Read16(text + 2 * (i + 1));
            if (low >= 0xDC00 && low <= 0xDFFF) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        if (cp >= 0xD800 && cp <= 0xDFFF) cp = 0xFFFD;  // a lone surrogate
        unsigned char bytes[4];
        const size_t n = static_cast<size_t>(EncodeUtf8(cp, bytes));
        if (size - 1 - out < n) break;
        std::memcpy(buffer + out, bytes, n);
        out += n;
    }
    buffer[out] = '\0';
    return static_cast<int>(out);
}
}  // namespace

in6_addr ToIPv6(int ip) {
    in6_addr addr = NulIPv6();
    addr.s6_addr[10] = 0xFF;
    addr.s6_addr[11] = 0xFF;
    std::memcpy(&addr.s6_addr[12], &ip, 4);
    return addr;
}

in6_addr LocalHostIPv6() {
    in6_addr addr = NulIPv6();
    addr.s6_addr[15] = 1;
    return addr;
}

in6_addr NulIPv6() {
    in6_addr addr;
    std::memset(&addr, 0, sizeof addr);
    return addr;
}

bool isNulIPv6(const in6_addr& addr) {
    static const in6_addr mappedZero = ToIPv6(0);
    return isEqIPv6(addr, NulIPv6()) || isEqIPv6(addr, mappedZero);
}

bool isEqIPv6(const in6_addr& a, const in6_addr& b) {
    return std::memcmp(a.s6_addr, b.s6_addr, 16) == 0;
}

void ClearIPv6(in6_addr& addr) { std::memset(&addr, 0, sizeof addr); }

std::string IPv6ToStr(const in6_addr& addr) {
    char text[INET6_ADDRSTRLEN] = {};
    if (inet_ntop(AF_INET6, &addr, text, sizeof text) == nullptr) return std::string();
    return text;
}

DBString IPv6ToStrW(const in6_addr& addr) { return Widen(IPv6ToStr(addr)); }

in6_addr IP6FromStr(const std::string& text) {
    in_addr v4;
    if (inet_pton(AF_INET, text.c_str(), &v4) == 1) {
        int ip;
        std::memcpy(&ip, &v4, 4);
        return ToIPv6(ip);
    }
    in6_addr v6;
    if (inet_pton(AF_INET6, text.c_str(), &v6) == 1) return v6;
    return NulIPv6();
}

std::string IPv6PortToStr(const in6_addr& addr, int port) {
    return " " + IPv6ToStr(addr) + "|" + std::to_string(port) + " ";
}

DBString IPv6PortToStrW(const in6_addr& addr, int port) { return Widen(IPv6PortToStr(addr, port)); }

std::string Trim(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    const size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

void PutStdoutLine(const std::string& text) {
    const std::string line = text + "\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
}

int ParseString(const std::string& text, const char* separator, std::vector<std::string>& parts) {
    parts.clear();
    if (text.empty()) return 0;
    const size_t length = separator == nullptr ? 0 : std::strlen(separator);
    if (length == 0) {
        parts.push_back(text);
        return 1;
    }
    size_t pos = 0;
    for (;;) {
        const size_t found = text.find(separator, pos, length);
        if (found == std::string::npos) {
            parts.push_back(text.substr(pos));
            break;
        }
        parts.push_back(text.substr(pos, found - pos));
        pos = found + length;
    }
    return static_cast<int>(parts.size());
}

void CloseSocket(int& socket) {
    if (socket <= 0) return;
    shutdown(socket, SHUT_RDWR);
    close(socket);
    socket = -1;
}

void splitpath(const std::string& path, std::string& dir, std::string& name, std::string& ext) {
    dir.clear();
    name.clear();
    ext.clear();
    const size_t slash = path.rfind('/');
    const size_t start = slash == std::string::npos ? 0 : slash + 1;
    dir = path.substr(0, start);
    const size_t dot = path.rfind('.');
    if (dot != std::string::npos && dot >= start) {
        name = path.substr(start, dot - start);
        ext = path.substr(dot);
    } else {
        name = path.substr(start);
    }
}

int splitURL(const char* url,
             char* scheme,
             size_t schemeSize,
             char* host,
             size_t hostSize,
             char* port,
             size_t portSize,
             char* path,
             size_t pathSize) {
    for (auto [buffer, size] : {std::pair<char*, size_t>{scheme, schemeSize},
                                {host, hostSize},
                                {port, portSize},
                                {path, pathSize}})
        if (buffer != nullptr && size > 0) buffer[0] = '\0';
    if (url == nullptr || *url == '\0') return 0;

    std::string_view rest(url);
    int result = 0;
    const size_t mark = rest.find("://");
    if (mark != std::string_view::npos) {
        const std::string_view name = rest.substr(0, mark);
        if (EqualsNoCase(name, "http"))
            result = 1;
        else if (EqualsNoCase(name, "https"))
            result = 2;
        if (!PutPart(name, scheme, schemeSize)) return -1;
        rest.remove_prefix(mark + 3);
    }
    const size_t slash = rest.find('/');
    if (slash != std::string_view::npos) {
        if (!PutPart(rest.substr(slash), path, pathSize)) return -1;
        rest = rest.substr(0, slash);
    }
    std::string_view hostPart = rest;
    std::string_view portPart;
    const size_t close = rest.find(']');
    if (!rest.empty() && rest[0] == '[' && close != std::string_view::npos) {
        hostPart = rest.substr(1, close - 1);
        const std::string_view after = rest.substr(close + 1);
        if (!after.empty() && after[0] == ':') portPart = after.substr(1);
    } else if (rest.empty() || rest[0] != '[') {
        const size_t colon = rest.find(':');
        if (colon != std::string_view::npos) {
            hostPart = rest.substr(0, colon);
            portPart = rest.substr(colon + 1);
        }
    }
    if (!PutPart(hostPart, host, hostSize) || !PutPart(portPart, port, portSize)) return -1;
    return result;
}

int LoadString(char* buffer,
               size_t size,
               const unsigned char* begin,
               const unsigned char* end,
               unsigned short id) {
    if (buffer == nullptr || size == 0) return 0;
    buffer[0] = '\0';
    if (begin == nullptr || end == nullptr || end <= begin) return 0;
    const size_t total = static_cast<size_t>(end - begin);
    const unsigned block = id / 16u + 1u;
    const unsigned index = id % 16u;

    size_t pos = 0;
    while (total - pos >= 8) {
        const size_t dataSize = Read32(begin + pos);
        const size_t headerSize = Read32(begin + pos + 4);
        if (headerSize < 8 || headerSize > total - pos) return 0;
        const size_t dataBegin = pos + headerSize;
        if (dataSize > total - dataBegin) return 0;
        const size_t dataEnd = dataBegin + dataSize;

        size_t field = pos + 8;
        unsigned type = kNamed;
        unsigned name = kNamed;
        if (!ReadIdField(begin, field, dataBegin, type) ||
            !ReadIdField(begin, field, dataBegin, name))
            return 0;
        if (type == 6 && name == block) {
            size_t q = dataBegin;
            for (unsigned i = 0;; ++i) {
                if (dataEnd - q < 2) return 0;
                const size_t units = Read16(begin + q);
                q += 2;
                if (units > (dataEnd - q) / 2) return 0;
                if (i == index) return CopyUtf8(buffer, size, begin + q, units);
                q += 2 * units;
            }
        }
        // Entries start on 32-bit boundaries of the image.
        const size_t next = (dataEnd + 3) & ~static_cast<size_t>(3);
        if (next >= total) break;
        pos = next;
    }
    return 0;
}
