// Packet of the older device bus: address, packet number, acknowledgements, message records.
#pragma once

#include <array>
#include <cstdint>

#include "dblib/DBString.h"

class CMes;

// CRC-8 of both packet formats: polynomial 0x43, initial 0, most significant bit first. Entry b
// is the CRC-8 of the single byte b.
inline constexpr std::array<unsigned char, 256> kCrc8Table = [] {
    std::array<unsigned char, 256> t{};
    for (unsigned b = 0; b < 256; ++b) {
        unsigned c = b;
        for (int k = 0; k < 8; ++k) c = (c & 0x80) ? ((c << 1) ^ 0x43) : (c << 1);
        t[b] = static_cast<unsigned char>(c);
    }
    return t;
}();

// CRC-8 of n bytes by kCrc8Table; 0 for n < 1.
inline unsigned char Crc8(const unsigned char* bytes, int n) {
    unsigned char c = 0;
    for (int i = 0; i < n; ++i) c = kCrc8Table[c ^ bytes[i]];
    return c;
}

// Every byte carries its class in the two top bits: 00 data, 01 acknowledgement (0x40 | number),
// 10 packet number (0x80 | number). Wire form: address byte (origin slot high, destination slot
// low), optional packet number, acknowledgements, messages (length byte L = record length + 1,
// then the record), and a 7-bit CRC directly behind the last byte.
class CPackMes {
public:
    static constexpr int kMaxLen = 60;  // packet bytes a message may fill
    static constexpr int kMinMes = 6;   // smallest message length byte
    static constexpr int kMaxMes = 59;  // largest message length byte

    // Address byte 0 alone, no number, read position 0, priority -1.
    CPackMes();
    CPackMes(int origin, int dest, int priority);
    // Takes min(n, 63) received bytes (without their CRC), then UnPack. Null or n <= 0 gives
    // a packet of length 0.
    CPackMes(int n, const unsigned char* bytes, int priority);
    CPackMes(const CPackMes&) = default;
    CPackMes& operator=(const CPackMes&) = default;

    // Keeps the address byte only; priority -1.
    void Clear();
    void SetAddr(int origin, int dest);
    void SetOrig(int origin);
    void SetDest(int dest);
    // Halves of the address byte; 0 for a packet of length 0.
    int GetOrig() const;
    int GetDest() const;

    // Appends 0x80 | (n & 63); returns 0 when the packet is full.
    int AddIdent(int n);
    // Removes a packet-number byte at position 1, if any.
    void DelIdent();
    // Acknowledges packet n: replaces a trailing acknowledgement, else appends one; returns 0
    // when there is no room.
    int AddRepl(unsigned char n);
    // Appends a message when length + record length stays within 59 and the record is at
    // least 5 bytes; returns 1, else 0.
    int AddMes(const CMes& mes);

    // Read position behind the address and packet number; returns the number, or -1.
    int BegGet();
    // The next message into mes and 1; 0 with mes cleared when none fits.
    int GetMes(CMes& mes);
    // Re-parses the current bytes: packet number and acknowledgements.
    void UnPack();

    // The messages from the read position end exactly at the length.
    bool IsValid() const;
    bool IsEmpty() const { return m_len < 2; }
    bool IsNoMes() const { return m_len < 6; }

    // Stores the 7-bit CRC behind the last byte and returns it.
    int CalcCrc();
    // CRC-8 (polynomial 0x43, initial 0) of n bytes; 0 for n < 1.
    static unsigned char CalcCrc(const unsigned char* bytes, int n);

    void SetPrior(int prior) { m_prior = static_cast<unsigned char>(prior); }
    // 0..255; 255 stands for -1.
    int GetPrior() const { return m_prior; }
    // Handed to every message read (CMes::GetValue).
    uint32_t GetValue() const { return m_value; }
    void SetValue(uint32_t value) { m_value = value; }
    // Free for the host: kept and copied with the packet, never sent.
    uint64_t GetReserved() const { return m_reserved; }
    void SetReserved(uint64_t value) { m_reserved = value; }

    // Gives unassigned origins (module 255 slot 15) of the messages this module and slot;
    // an address byte whose origin half is 15 gets slot.
    void SetOrigMes(int module, int slot);

    int GetLen() const { return m_len; }
    // The packet bytes followed by the CRC byte.
    const unsigned char* GetData() const { return m_data; }
    int GetPos() const { return m_pos; }
    bool HasIdent() const { return m_hasIdent; }
    int GetIdent() const { return m_ident; }
    int GetNumRepl() const { return m_nRepl; }
    // Acknowledged number i, -1 outside.
    int GetRepl(int i) const { return i >= 0 && i < m_nRepl ? m_repl[i] : -1; }

    // The prefix and " %02X" per packet byte.
    DBString Str(const wchar_t* prefix) const;

private:
    void Remove(int at);

    int m_pos;
    int m_len;
    int m_nRepl;
    int m_ident;
    bool m_hasIdent;
    unsigned char m_data[64];
    unsigned char m_repl[63];
    uint64_t m_reserved;
    unsigned char m_prior;
    uint32_t m_value;
};
