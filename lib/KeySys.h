// The 16-byte system key of an installation: text form, default and derivation from a phrase.
#pragma once

#include "dblib/DBString.h"

class CKeySys {
public:
    // All zero (empty).
    CKeySys();
    virtual ~CKeySys() = default;

    // 32 upper-case hexadecimal digits, two per byte.
    DBString GetString() const;
    // 32 hexadecimal digits (either case): the all-zero text selects the default key, any other
    // the 16 bytes; returns true. A null text or anything else leaves the key and returns false.
    bool Set(const wchar_t* text);
    // Copies 16 bytes; null leaves the key.
    void Set(const unsigned char* key16);
    void SetDefault();
    // Derives the key from a pass phrase: its first 16 CP1251 bytes in a zeroed key, both
    // 8-byte halves enciphered with the system key of the V7 channel, then the second half
    // XORed with the enciphered first. Null leaves the key.
    void Create(const wchar_t* phrase);
    bool IsEmpty() const;
    const unsigned char* Get() const { return m_Key; }

    // Bytewise, memcmp order.
    bool operator==(const CKeySys& o) const;
    bool operator!=(const CKeySys& o) const { return !(*this == o); }
    bool operator<(const CKeySys& o) const;

    // The fixed default key.
    static const unsigned char s_Default[16];

private:
    unsigned char m_Key[16];
};
