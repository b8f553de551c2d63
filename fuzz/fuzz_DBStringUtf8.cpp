// UTF-8 decoding against a plain reference validator, and the round trips both ways.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "dblib/DBString.h"

namespace {

// Well-formed byte sequences as the Unicode standard tabulates them; returns the number of
// code points, or -1 when the bytes are not UTF-8.
long ReferenceCount(const unsigned char* s, size_t n) {
    long count = 0;
    size_t i = 0;
    while (i < n) {
        const unsigned b = s[i];
        size_t len;
        unsigned lo = 0x80, hi = 0xBF;  // range of the second byte
        if (b <= 0x7F) {
            len = 1;
        } else if (b >= 0xC2 && b <= 0xDF) {
            len = 2;
        } else if (b == 0xE0) {
            len = 3, lo = 0xA0;
        } else if ((b >= 0xE1 && b <= 0xEC) || b == 0xEE || b == 0xEF) {
            len = 3;
        } else if (b == 0xED) {
            len = 3, hi = 0x9F;
        } else if (b == 0xF0) {
            len = 4, lo = 0x90;
        } else if (b >= 0xF1 && b <= 0xF3) {
            len = 4;
        } else if (b == 0xF4) {
            len = 4, hi = 0x8F;
        } else {
            return -1;
        }
        if (n - i < len) return -1;
        if (len > 1 && (s[i + 1] < lo || s[i + 1] > hi)) return -1;
        for (size_t k = 2; k < len; ++k) {
            if (s[i + k] < 0x80 || s[i + k] > 0xBF) return -1;
        }
        i += len;
        ++count;
    }
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string text(bytes.c_str());  // the constructors read up to the first zero

    const DBString decoded(bytes);
    const long expected =
        ReferenceCount(reinterpret_cast<const unsigned char*>(text.data()), text.size());
    if (expected < 0) {
        if (decoded != L"?utf-32?") std::abort();
    } else {
        if (decoded.size() != static_cast<size_t>(expected)) std::abort();
        if (decoded.ToStr() != text) std::abort();
        if (DBString(text.c_str()) != decoded) std::abort();
    }

    // The same bytes read as code points: encodable ones must come back unchanged.
    DBString wide;
    wide.resize(size / sizeof(wchar_t));
    if (!wide.empty()) std::memcpy(&wide[0], data, wide.size() * sizeof(wchar_t));
    bool encodable = true;
    for (const wchar_t c : wide) {
        const auto u = static_cast<uint32_t>(c);
        if (u > 0x10FFFF || (u >= 0xD800 && u <= 0xDFFF)) encodable = false;
    }
    const std::string utf8 = wide.ToStr();
    if (!encodable) {
        if (utf8 != "?utf-8?") std::abort();
    } else {
        if (ReferenceCount(reinterpret_cast<const unsigned char*>(utf8.data()), utf8.size()) !=
            static_cast<long>(wide.size()))
            std::abort();
        if (std::wstring(DBString(utf8)) != std::wstring(wide.c_str())) std::abort();
    }
    return 0;
}
