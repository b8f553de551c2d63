// 128-bit identifier of cloud nodes; text form 32 upper-case hex digits, no separators.
#pragma once

#include <cstddef>
#include <cstdint>

#include "dblib/DBString.h"

class DBGUID {
public:
    struct GUID {
        uint32_t Data1;
        uint16_t Data2;
        uint16_t Data3;  // top nibble: version of generated identifiers
        uint8_t Data4[8];
    };

    DBGUID() = default;

    // true when all 16 bytes are zero.
    bool IsNul() const;
    DBGUID& operator=(const DBGUID& other) = default;
    DBGUID& operator=(const GUID& guid);
    DBGUID& operator=(const void* bytes);  // copies 16 bytes
    DBGUID& operator=(const unsigned char* bytes);
    // Clears, then reads hex fields without separators; stops at the first unfit character.
    DBGUID& operator=(const wchar_t* text);
    DBGUID& operator=(const char* text);
    bool operator==(const DBGUID& other) const;
    bool operator!=(const DBGUID& other) const { return !(*this == other); }

    // Clears, then copies min(count, 16) bytes.
    void Set(const void* bytes, size_t count);
    DBString ToString() const;
    // A fresh version-4 identifier; always returns true.
    bool Generate();

    GUID m_guid{};
};
static_assert(sizeof(DBGUID::GUID) == 16, "GUID must be 16 bytes");
