#include "dblib/DBString.h"

#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <cwctype>

#include <iconv.h>

#include "dblib/md5.h"

// Choices where the contract leaves room:
// - FromCP1251 drops the byte-order mark (U+FEFF) that glibc's "UTF-32" converter puts in
//   front, so the text holds only what the CP1251 bytes say; up to 127 text characters are kept.
// - Replace with a null or empty search text changes nothing and returns 0.
// - Parse with a null or empty separator gives the whole (non-empty) text as one field.

namespace {

const wchar_t kBadUtf8[] = L"?utf-32?";
const char kBadUtf32[] = "?utf-8?";

// Longest output of Format/AppendFormat; the buffer keeps one more element for the zero.
constexpr size_t kFormatBuffer = 32768;

// Decodes n bytes of UTF-8 and appends them to out. Malformed input (bad lead or continuation
// byte, overlong form, encoded surrogate, above U+10FFFF, truncated sequence) appends the marker
// "?utf-32?" instead of any part of the text.
void AppendUtf8(std::wstring& out, const char* text, size_t n) {
    const size_t base = out.size();
    out.resize(base + n);  // never more code points than bytes
    wchar_t* const begin = &out[0] + base;
    wchar_t* d = begin;
    const auto* s = reinterpret_cast<const unsigned char*>(text);
    const unsigned char* const end = s + n;

    while (s < end) {
        const unsigned c = *s;
        if (c < 0x80) {
            *d++ = static_cast<wchar_t>(c);
            ++s;
            // ASCII runs: eight bytes per step while none has the high bit.
            while (end - s >= 8) {
                uint64_t block;
                std::memcpy(&block, s, 8);
                if (block & 0x8080808080808080ULL) break;
                for (int k = 0; k < 8; ++k) d[k] = static_cast<wchar_t>(s[k]);
                d += 8;
                s += 8;
            }
            continue;
        }
        if (c < 0xC2) goto bad;  // stray continuation byte or overlong two-byte form
        if (c < 0xE0) {
            if (end - s < 2 || (s[1] & 0xC0) != 0x80) goto bad;
            *d++ = static_cast<wchar_t>(((c & 0x1F) << 6) | (s[1] & 0x3F));
            s += 2;
            continue;
        }
        if (c < 0xF0) {
            if (end - s < 3 || (s[1] & 0xC0) != 0x80 || (s[2] & 0xC0) != 0x80) goto bad;
            if (c == 0xE0 && s[1] < 0xA0) goto bad;   // overlong
            if (c == 0xED && s[1] >= 0xA0) goto bad;  // surrogate
            *d++ = static_cast<wchar_t>(((c & 0x0F) << 12) | ((s[1] & 0x3F) << 6) | (s[2] & 0x3F));
            s += 3;
            continue;
        }
        if (c < 0xF5) {
            if (end - s < 4 || (s[1] & 0xC0) != 0x80 || (s[2] & 0xC0) != 0x80 ||
                (s[3] & 0xC0) != 0x80)
                goto bad;
            if (c == 0xF0 && s[1] < 0x90) goto bad;   // overlong
            if (c == 0xF4 && s[1] >= 0x90) goto bad;  // above U+10FFFF
            *d++ = static_cast<wchar_t>(((c & 0x07) << 18) | ((s[1] & 0x3F) << 12) |
                                        ((s[2] & 0x3F) << 6) | (s[3] & 0x3F));
            s += 4;
            continue;
        }
        goto bad;  // F5..FF never start a sequence
    }
    out.resize(static_cast<size_t>(d - &out[0]));
    return;
bad:
    out.resize(base);
    out.append(kBadUtf8);
}

void AppendUtf8(std::wstring& out, const char* text) {
    if (text) AppendUtf8(out, text, std::strlen(text));
}

// The zero-terminated form of a narrow string: its bytes up to the first zero.
void AppendUtf8(std::wstring& out, const std::string& text) {
    const void* zero = std::memchr(text.data(), 0, text.size());
    const size_t n =
        zero ? static_cast<size_t>(static_cast<const char*>(zero) - text.data()) : text.size();
    AppendUtf8(out, text.data(), n);
}

class Iconv {
public:
    Iconv(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;
    ~Iconv() {
        if (ok()) iconv_close(m_cd);
    }
    bool ok() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    // One call; a stop at an unconvertible or incomplete input or a full output is not an error
    // here: the caller keeps what was written.
    void Convert(const char* in, size_t inBytes, char* out, size_t outBytes) {
        char* inPtr = const_cast<char*>(in);
        iconv(m_cd, &inPtr, &inBytes, &out, &outBytes);
    }

private:
    iconv_t m_cd;
};

void FormatInto(DBString& target, bool append, const wchar_t* format, va_list args) {
    wchar_t buffer[kFormatBuffer];
    // glibc cuts overlong output at size - 1 and ends it with a zero; an encoding failure ends
    // what was written before it with a zero. Both zeros set here cover an early failure.
    buffer[0] = 0;
    buffer[kFormatBuffer - 1] = 0;
    if (format) vswprintf(buffer, kFormatBuffer, format, args);
    if (append)
        target.append(buffer);
    else
        target.assign(buffer);
}

}  // namespace

DBString::DBString(const char* utf8) { AppendUtf8(*this, utf8); }

DBString::DBString(const std::string& utf8) { AppendUtf8(*this, utf8); }

DBString::DBString(const char16_t* text) {
    if (!text) return;
    size_t n = 0;
    while (text[n]) ++n;
    resize(n);
    for (size_t i = 0; i < n; ++i) (*this)[i] = static_cast<wchar_t>(text[i]);
}

DBString::DBString(const char16_t* text, int count) {
    if (!text || count <= 0) return;
    resize(static_cast<size_t>(count));
    for (size_t i = 0; i < size(); ++i) (*this)[i] = static_cast<wchar_t>(text[i]);
}

DBString::DBString(const wchar_t* separator, const std::vector<DBString>& parts) {
    const wchar_t* sep = separator ? separator : L"";
    for (const DBString& part : parts) {
        append(part.c_str());
        append(sep);
    }
}

DBString& DBString::operator=(const std::wstring& text) {
    std::wstring::operator=(text);
    return *this;
}

DBString& DBString::operator=(const wchar_t* text) {
    std::wstring::operator=(text ? text : L"");
    return *this;
}

DBString& DBString::operator=(wchar_t c) {
    assign(1, c);
    return *this;
}

std::string DBString::ToStr() const {
    const wchar_t* const src = data();
    const size_t n = size();

    // First pass: exact length and validity, branch-free so that it vectorises.
    size_t bytes = 0;
    uint32_t bad = 0;
    for (size_t i = 0; i < n; ++i) {
        const uint32_t c = static_cast<uint32_t>(src[i]);
        bytes += 1 + (c >= 0x80) + (c >= 0x800) + (c >= 0x10000);
        bad |= (c > 0x10FFFF) | ((c - 0xD800) < 0x800);
    }
    if (bad) return kBadUtf32;

    std::string out(bytes, '\0');
    auto* d = reinterpret_cast<unsigned char*>(&out[0]);
    if (bytes == n) {  // all ASCII: a plain narrowing loop that vectorises
        for (size_t i = 0; i < n; ++i) d[i] = static_cast<unsigned char>(src[i]);
        return out;
    }
    for (size_t i = 0; i < n; ++i) d += EncodeUtf8(static_cast<uint32_t>(src[i]), d);
    return out;
}

std::string DBString::ToCP1251() const {
    Iconv conv("CP1251", "UTF-32");
    if (!conv.ok()) return std::string();
    // The last byte stays zero, so the result is at most 1023 bytes.
    char out[1024] = {};
    conv.Convert(reinterpret_cast<const char*>(data()), size() * sizeof(wchar_t), out,
                 sizeof(out) - 1);
    return std::string(out);
}

void DBString::FromCP1251(const char* text) {
    clear();
    Iconv conv("UTF-32", "CP1251");
    if (!conv.ok() || !text) return;
    // 128 converted elements (the mark and 127 characters) plus a zero that stays.
    wchar_t out[129] = {};
    conv.Convert(text, std::strlen(text), reinterpret_cast<char*>(out), 128 * sizeof(wchar_t));
    const wchar_t* begin = out;
    if (*begin == 0xFEFF) ++begin;
    assign(begin, std::min<size_t>(std::wcslen(begin), 127));
}

std::u16string DBString::ToU16() const {
    std::u16string out(size(), u'\0');
    for (size_t i = 0; i < size(); ++i) out[i] = static_cast<char16_t>((*this)[i] & 0xFFFF);
    return out;
}

DBString DBString::Md5Hash() const {
    std::string bytes = ToCP1251();
    md5::md5_context ctx;
    md5::md5_starts(&ctx);
    md5::md5_update(&ctx, reinterpret_cast<unsigned char*>(&bytes[0]),
                    static_cast<unsigned int>(bytes.size()));
    unsigned char digest[16];
    md5::md5_finish(&ctx, digest);
    static const wchar_t kHex[] = L"0123456789ABCDEF";
    DBString out;
    out.resize(32);
    for (int i = 0; i < 16; ++i) {
        out[2 * i] = kHex[digest[i] >> 4];
        out[2 * i + 1] = kHex[digest[i] & 0x0F];
    }
    return out;
}

DBString& DBString::Format(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    FormatInto(*this, false, format, args);
    va_end(args);
    return *this;
}

DBString& DBString::AppendFormat(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    FormatInto(*this, true, format, args);
    va_end(args);
    return *this;
}

DBString DBString::SubStr(int start, int count) const {
    if (start < 0 || static_cast<size_t>(start) >= size()) return DBString();
    const size_t n = count < 0 ? npos : static_cast<size_t>(count);
    return DBString(substr(static_cast<size_t>(start), n));
}

DBString DBString::Left(int count) const {
    if (count < 0 || static_cast<size_t>(count) >= size()) return *this;
    return DBString(substr(0, static_cast<size_t>(count)));
}

int DBString::Find(wchar_t c, int start) const {
    if (start < 0) return -1;
    const size_t pos = find(c, static_cast<size_t>(start));
    return pos == npos ? -1 : static_cast<int>(pos);
}

int DBString::Find(const wchar_t* text, int start) const {
    if (start < 0 || !text) return -1;
    const size_t pos = find(text, static_cast<size_t>(start));
    return pos == npos ? -1 : static_cast<int>(pos);
}

int DBString::ReverseFind(wchar_t c) const {
    const size_t pos = rfind(c);
    return pos == npos ? -1 : static_cast<int>(pos);
}

bool DBString::IsDigit(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= size()) return false;
    const wchar_t c = (*this)[static_cast<size_t>(index)];
    return c >= L'0' && c <= L'9';
}

DBString DBString::NotASCII() const {
    DBString out;
    for (const wchar_t c : *this) {
        if (c < 33 || c > 126) out.push_back(c);
    }
    return out;
}

DBString DBString::ForFind() const {
    DBString out;
    for (const wchar_t* p = c_str(); *p; ++p) {
        wchar_t c = *p;
        if (c == L' ' || c == L'\t') continue;
        if (c == 0x0401)
            c = 0x0415;  // Ё searches as Е
        else if (c == 0x2116)
            c = L'N';  // № searches as N
        out.push_back(c);
    }
    return out;
}

int DBString::Replace(const wchar_t* from, const wchar_t* to) {
    if (!from || !*from) return 0;
    const size_t fromLen = std::wcslen(from);
    size_t hit = find(from, 0, fromLen);
    if (hit == npos) return 0;
    // from and to may point into this string: nothing changes here until the swap.
    const wchar_t* const repl = to ? to : L"";
    const size_t replLen = std::wcslen(repl);
    std::wstring out;
    out.reserve(size());
    size_t pos = 0;
    int count = 0;
    while (hit != npos) {
        out.append(*this, pos, hit - pos);
        out.append(repl, replLen);
        pos = hit + fromLen;
        ++count;
        hit = find(from, pos, fromLen);
    }
    out.append(*this, pos, npos);
    swap(out);
    return count;
}

DBString& DBString::MakeLower() {
    for (wchar_t& c : *this) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return *this;
}

DBString& DBString::Trim() {
    const size_t first = find_first_not_of(L' ');
    if (first == npos) {
        clear();
        return *this;
    }
    erase(find_last_not_of(L' ') + 1);
    erase(0, first);
    return *this;
}

DBString& DBString::TrimArg() {
    Trim();
    if (!empty() && front() == L'"') erase(0, 1);
    if (!empty() && back() == L'"') pop_back();
    return *this;
}

int DBString::Parse(const wchar_t* separator, std::vector<DBString>& fields) {
    // A copy, since fields may hold this very string.
    const std::wstring text(c_str());
    fields.clear();
    if (text.empty()) return 0;
    const size_t sepLen = separator ? std::wcslen(separator) : 0;
    if (sepLen == 0) {
        fields.emplace_back(text);
        return 1;
    }
    size_t pos = 0;
    for (size_t hit = text.find(separator, 0, sepLen); hit != npos;
         hit = text.find(separator, pos, sepLen)) {
        fields.emplace_back(text.substr(pos, hit - pos));
        pos = hit + sepLen;
    }
    fields.emplace_back(text.substr(pos));
    if (fields.back().empty()) fields.pop_back();
    return static_cast<int>(fields.size());
}

DBString& DBString::operator+=(wchar_t c) {
    push_back(c);
    return *this;
}

DBString& DBString::operator+=(const wchar_t* text) {
    if (text) append(text);
    return *this;
}

DBString& DBString::operator+=(const std::wstring& text) {
    append(text);
    return *this;
}

DBString& DBString::operator+=(const char* utf8) {
    AppendUtf8(*this, utf8);
    return *this;
}

DBString& DBString::operator+=(const std::string& utf8) {
    AppendUtf8(*this, utf8);
    return *this;
}

DBString operator+(const DBString& a, const DBString& b) {
    DBString r(a.c_str());
    r.append(b.c_str());
    return r;
}

DBString operator+(const DBString& a, const wchar_t* b) {
    DBString r(a.c_str());
    if (b) r.append(b);
    return r;
}

DBString operator+(const wchar_t* a, const DBString& b) {
    DBString r(a);
    r.append(b.c_str());
    return r;
}

DBString operator+(const DBString& a, wchar_t b) {
    DBString r(a.c_str());
    r.push_back(b);
    return r;
}

DBString operator+(wchar_t a, const DBString& b) {
    DBString r(1, a);
    r.append(b.c_str());
    return r;
}

DBString operator+(const DBString& a, const char* utf8) {
    DBString r(a.c_str());
    AppendUtf8(r, utf8);
    return r;
}

DBString operator+(const char* utf8, const DBString& b) {
    DBString r(utf8);
    r.append(b.c_str());
    return r;
}

namespace {
// A null pointer is a caller error; it compares as the empty text rather than crash.
inline int Compare(const wchar_t* a, const wchar_t* b) {
    return std::wcscmp(a ? a : L"", b ? b : L"");
}
}  // namespace

bool operator==(const DBString& a, const DBString& b) { return Compare(a.c_str(), b.c_str()) == 0; }
bool operator!=(const DBString& a, const DBString& b) { return Compare(a.c_str(), b.c_str()) != 0; }
bool operator<(const DBString& a, const DBString& b) { return Compare(a.c_str(), b.c_str()) < 0; }
bool operator>(const DBString& a, const DBString& b) { return Compare(a.c_str(), b.c_str()) > 0; }
bool operator<=(const DBString& a, const DBString& b) { return Compare(a.c_str(), b.c_str()) <= 0; }
bool operator>=(const DBString& a, const DBString& b) { return Compare(a.c_str(), b.c_str()) >= 0; }
bool operator==(const DBString& a, const wchar_t* b) { return Compare(a.c_str(), b) == 0; }
bool operator!=(const DBString& a, const wchar_t* b) { return Compare(a.c_str(), b) != 0; }
bool operator<(const DBString& a, const wchar_t* b) { return Compare(a.c_str(), b) < 0; }
bool operator>(const DBString& a, const wchar_t* b) { return Compare(a.c_str(), b) > 0; }
bool operator<=(const DBString& a, const wchar_t* b) { return Compare(a.c_str(), b) <= 0; }
bool operator>=(const DBString& a, const wchar_t* b) { return Compare(a.c_str(), b) >= 0; }
bool operator==(const wchar_t* a, const DBString& b) { return Compare(a, b.c_str()) == 0; }
bool operator!=(const wchar_t* a, const DBString& b) { return Compare(a, b.c_str()) != 0; }
bool operator<(const wchar_t* a, const DBString& b) { return Compare(a, b.c_str()) < 0; }
bool operator>(const wchar_t* a, const DBString& b) { return Compare(a, b.c_str()) > 0; }
bool operator<=(const wchar_t* a, const DBString& b) { return Compare(a, b.c_str()) <= 0; }
bool operator>=(const wchar_t* a, const DBString& b) { return Compare(a, b.c_str()) >= 0; }
