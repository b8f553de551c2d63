// Stateless text helpers: IPv6 values and texts, paths, URLs, separated lists, sockets and
// string-table resource images.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include <netinet/in.h>

#include "dblib/DBString.h"

// ::ffff: followed by the four bytes of ip as they lie in memory (ip is in network order).
in6_addr ToIPv6(int ip);
in6_addr LocalHostIPv6();  // ::1
in6_addr NulIPv6();        // all zero
// True for all zero and for ::ffff:0.0.0.0.
bool isNulIPv6(const in6_addr& addr);
bool isEqIPv6(const in6_addr& a, const in6_addr& b);
void ClearIPv6(in6_addr& addr);
// inet_ntop's text; IPv4-mapped addresses read ::ffff:a.b.c.d.
std::string IPv6ToStr(const in6_addr& addr);
DBString IPv6ToStrW(const in6_addr& addr);
// A dotted IPv4 text gives its mapped address, else the text as IPv6; all zero when neither.
in6_addr IP6FromStr(const std::string& text);
// " <address>|<port> "
std::string IPv6PortToStr(const in6_addr& addr, int port);
DBString IPv6PortToStrW(const in6_addr& addr, int port);

// A copy without leading and trailing blanks (U+0020 only; tabs stay).
std::string Trim(const std::string& text);
// Splits at every separator, empty parts kept, the rest after the last one included; an empty text
// gives no parts. An empty or null separator gives the whole text as one part. Returns the count.
int ParseString(const std::string& text, const char* separator, std::vector<std::string>& parts);
// Writes the text and a line end to standard output in one call and flushes, so that lines of
// several threads do not interleave.
void PutStdoutLine(const std::string& text);
// Shuts down and closes a descriptor greater than 0 and sets it to -1; otherwise does nothing.
void CloseSocket(int& socket);

// dir: up to and including the last "/"; ext: from the last "." after dir, the dot included;
// name: between them. A dot inside a folder name is no extension; a path ending in "/" is all dir.
void splitpath(const std::string& path, std::string& dir, std::string& name, std::string& ext);

// Splits scheme://host:port/path into caller buffers. Returns 1 for "http", 2 for "https" (in
// any case), 0 for no or another scheme, -1 when a part does not fit its buffer (a part must be
// shorter than its size). A null buffer means the part is not wanted. A host part "[v6]:port"
// gives the address without brackets; text after "]" other than ":port" is ignored, and an
// unclosed "[" leaves the whole host part as host.
int splitURL(const char* url,
             char* scheme,
             size_t schemeSize,
             char* host,
             size_t hostSize,
             char* port,
             size_t portSize,
             char* path,
             size_t pathSize);

// Copies string id of a compiled string-table resource image (a sequence of 32-bit aligned
// resource entries, type 6 holding blocks of 16 length-prefixed UTF-16LE strings, block id / 16 +
// 1) into buffer as UTF-8, cut at a character boundary to fit size - 1 bytes, zero-terminated.
// Returns the bytes copied without the terminator; 0 when size is 0, the id is absent or empty, or
// the image is malformed. Never reads outside [begin, end).
int LoadString(char* buffer,
               size_t size,
               const unsigned char* begin,
               const unsigned char* end,
               unsigned short id);
