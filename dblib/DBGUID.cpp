#include "dblib/DBGUID.h"

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <random>

bool DBGUID::IsNul() const {
    static const GUID kNull{};
    return std::memcmp(&m_guid, &kNull, sizeof m_guid) == 0;
}

DBGUID& DBGUID::operator=(const GUID& guid) {
    m_guid = guid;
    return *this;
}

// A null pointer gives the null identifier rather than a crash.
DBGUID& DBGUID::operator=(const void* bytes) {
    Set(bytes, bytes ? sizeof m_guid : 0);
    return *this;
}

DBGUID& DBGUID::operator=(const unsigned char* bytes) {
    return *this = static_cast<const void*>(bytes);
}

// The scanf rules apply inside each field: leading blanks are skipped, and a sign or 0x prefix
// counts against the field width. Fields after the first one that fails stay zero.
DBGUID& DBGUID::operator=(const wchar_t* text) {
    m_guid = GUID{};
    if (!text) return *this;
    unsigned char* d = m_guid.Data4;
    std::swscanf(text, L"%8X%4hX%4hX%2hhX%2hhX%2hhX%2hhX%2hhX%2hhX%2hhX%2hhX", &m_guid.Data1,
                 &m_guid.Data2, &m_guid.Data3, &d[0], &d[1], &d[2], &d[3], &d[4], &d[5], &d[6],
                 &d[7]);
    return *this;
}

DBGUID& DBGUID::operator=(const char* text) {
    m_guid = GUID{};
    if (!text) return *this;
    unsigned char* d = m_guid.Data4;
    std::sscanf(text, "%8X%4hX%4hX%2hhX%2hhX%2hhX%2hhX%2hhX%2hhX%2hhX%2hhX", &m_guid.Data1,
                &m_guid.Data2, &m_guid.Data3, &d[0], &d[1], &d[2], &d[3], &d[4], &d[5], &d[6],
                &d[7]);
    return *this;
}

bool DBGUID::operator==(const DBGUID& other) const {
    return std::memcmp(&m_guid, &other.m_guid, sizeof m_guid) == 0;
}

void DBGUID::Set(const void* bytes, size_t count) {
    m_guid = GUID{};
    if (bytes) std::memcpy(&m_guid, bytes, count < sizeof m_guid ? count : sizeof m_guid);
}

DBString DBGUID::ToString() const {
    const unsigned char* d = m_guid.Data4;
    DBString s;
    s.Format(L"%08X%04X%04X%02X%02X%02X%02X%02X%02X%02X%02X", unsigned{m_guid.Data1},
             unsigned{m_guid.Data2}, unsigned{m_guid.Data3}, unsigned{d[0]}, unsigned{d[1]},
             unsigned{d[2]}, unsigned{d[3]}, unsigned{d[4]}, unsigned{d[5]}, unsigned{d[6]},
             unsigned{d[7]});
    return s;
}

bool DBGUID::Generate() {
    // A fresh engine per call, seeded from the non-deterministic source.
    std::random_device source("default");
    std::mt19937 engine(source());
    std::uniform_int_distribution<unsigned> digit(0, 15);
    std::uniform_int_distribution<unsigned> variant(0, 3);
    auto digits = [&](int count) {
        unsigned v = 0;
        for (int i = 0; i < count; ++i) v = (v << 4) | digit(engine);
        return v;
    };
    m_guid.Data1 = static_cast<uint32_t>(digits(8));
    m_guid.Data2 = static_cast<uint16_t>(digits(4));
    m_guid.Data3 = static_cast<uint16_t>(0x4000 | digits(3));  // version 4
    m_guid.Data4[0] = static_cast<uint8_t>((8 + variant(engine)) << 4 | digit(engine));  // 10xx
    for (int i = 1; i < 8; ++i) m_guid.Data4[i] = static_cast<uint8_t>(digits(2));
    return true;
}
