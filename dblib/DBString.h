// The wide text type of all layers: UTF-32 in memory, UTF-8 and CP1251 at the edges.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes the UTF-8 form of code point c (below 0x110000) to out and returns its length, 1 to 4.
inline int EncodeUtf8(uint32_t c, unsigned char* out) {
    if (c < 0x80) {
        out[0] = static_cast<unsigned char>(c);
        return 1;
    }
    if (c < 0x800) {
        out[0] = static_cast<unsigned char>(0xC0 | (c >> 6));
        out[1] = static_cast<unsigned char>(0x80 | (c & 0x3F));
        return 2;
    }
    if (c < 0x10000) {
        out[0] = static_cast<unsigned char>(0xE0 | (c >> 12));
        out[1] = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
        out[2] = static_cast<unsigned char>(0x80 | (c & 0x3F));
        return 3;
    }
    out[0] = static_cast<unsigned char>(0xF0 | (c >> 18));
    out[1] = static_cast<unsigned char>(0x80 | ((c >> 12) & 0x3F));
    out[2] = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
    out[3] = static_cast<unsigned char>(0x80 | (c & 0x3F));
    return 4;
}

// A std::wstring with conversions, formatting, splitting and search keys. Adds no data member,
// so it can stand wherever a std::wstring is expected. Positions and counts are int; a failed
// search gives -1. Conversions never throw: they give "?utf-32?" / "?utf-8?" or a shortened text.
class DBString : public std::wstring {
public:
    using std::wstring::wstring;

    DBString() = default;
    DBString(const DBString&) = default;
    DBString(DBString&&) noexcept = default;
    DBString(const std::wstring& text) : std::wstring(text) {}
    DBString(std::wstring&& text) noexcept : std::wstring(std::move(text)) {}
    // A null pointer gives the empty string.
    DBString(const wchar_t* text) : std::wstring(text ? text : L"") {}
    // Decodes UTF-8 up to the first zero byte; null gives empty, invalid UTF-8 gives "?utf-32?".
    DBString(const char* utf8);
    DBString(const std::string& utf8);
    // Widens 16-bit units unchanged (no surrogate pairing); null gives empty.
    DBString(const char16_t* text);
    DBString(const char16_t* text, int count);
    // Every part followed by the separator, the last one included.
    DBString(const wchar_t* separator, const std::vector<DBString>& parts);

    DBString& operator=(const DBString&) = default;
    DBString& operator=(DBString&&) = default;
    DBString& operator=(const std::wstring& text);
    DBString& operator=(const wchar_t* text);
    DBString& operator=(wchar_t c);

    // UTF-8; "?utf-8?" when any element is a surrogate or above U+10FFFF.
    std::string ToStr() const;
    // CP1251, at most 1023 bytes, stopping at the first character CP1251 lacks.
    std::string ToCP1251() const;
    // Replaces the content with decoded CP1251 text, at most 127 characters; the byte-order
    // mark the converter puts in front is dropped.
    void FromCP1251(const char* text);
    // Each element narrowed to its low 16 bits.
    std::u16string ToU16() const;
    // MD5 of ToCP1251() as 32 upper-case hex digits.
    DBString Md5Hash() const;

    // Wide printf formatting ("%ls" for wide strings); output is cut at 32767 characters.
    DBString& Format(const wchar_t* format, ...);
    DBString& AppendFormat(const wchar_t* format, ...);

    DBString SubStr(int start, int count) const;
    DBString Left(int count) const;
    int Find(wchar_t c, int start = 0) const;
    int Find(const wchar_t* text, int start = 0) const;
    int ReverseFind(wchar_t c) const;
    bool IsDigit(int index) const;
    // The characters below 33 or above 126, in order.
    DBString NotASCII() const;
    // Search key: no blanks or tabs, U+0401 as U+0415, U+2116 as 'N'.
    DBString ForFind() const;

    // Replaces every occurrence left to right, never rescanning inserted text; returns the count.
    // An empty or null search text replaces nothing and returns 0.
    int Replace(const wchar_t* from, const wchar_t* to);
    DBString& MakeLower();
    // Removes blanks (U+0020 only) at both ends.
    DBString& Trim();
    // Trim, then one leading and one trailing double quote.
    DBString& TrimArg();
    // Splits at every separator; a trailing empty field is dropped. Returns the field count.
    // An empty or null separator gives the whole non-empty text as one field.
    int Parse(const wchar_t* separator, std::vector<DBString>& fields);

    DBString& operator+=(wchar_t c);
    DBString& operator+=(const wchar_t* text);
    DBString& operator+=(const std::wstring& text);
    DBString& operator+=(const char* utf8);
    DBString& operator+=(const std::string& utf8);
};

DBString operator+(const DBString& a, const DBString& b);
DBString operator+(const DBString& a, const wchar_t* b);
DBString operator+(const wchar_t* a, const DBString& b);
DBString operator+(const DBString& a, wchar_t b);
DBString operator+(wchar_t a, const DBString& b);
DBString operator+(const DBString& a, const char* utf8);
DBString operator+(const char* utf8, const DBString& b);

// Code point order of the zero-terminated forms (wcscmp): case-sensitive, no locale.
bool operator==(const DBString& a, const DBString& b);
bool operator!=(const DBString& a, const DBString& b);
bool operator<(const DBString& a, const DBString& b);
bool operator>(const DBString& a, const DBString& b);
bool operator<=(const DBString& a, const DBString& b);
bool operator>=(const DBString& a, const DBString& b);
bool operator==(const DBString& a, const wchar_t* b);
bool operator!=(const DBString& a, const wchar_t* b);
bool operator<(const DBString& a, const wchar_t* b);
bool operator>(const DBString& a, const wchar_t* b);
bool operator<=(const DBString& a, const wchar_t* b);
bool operator>=(const DBString& a, const wchar_t* b);
bool operator==(const wchar_t* a, const DBString& b);
bool operator!=(const wchar_t* a, const DBString& b);
bool operator<(const wchar_t* a, const DBString& b);
bool operator>(const wchar_t* a, const DBString& b);
bool operator<=(const wchar_t* a, const DBString& b);
bool operator>=(const wchar_t* a, const DBString& b);
