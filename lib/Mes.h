// One message record of the older device bus: up to 63 bytes of 6-bit units.
#pragma once

#include <cstdint>

#include "dblib/DBString.h"
#include "lib/InfoCLB.h"
#include "lib/Sost.h"

// Layout: data 0-1 origin address, 2-3 destination address, 4 hop count, 5 message type,
// 6.. by type. Bytes beyond the length are always zero, so every reader may look at any
// of the 64 bytes. Constructors take the destination module and slot first, then the origin
// module and slot; arguments that would not fit the 63-byte record are cut off.
class CMes {
public:
    static constexpr int kMaxLen = 63;

    enum typMes {
        mtNvRamWord = 10,  // one NVRAM word
        mtNvRamRez = 13,   // NVRAM transfer result (twin of 45)
        mtAdrDev = 14,     // device address in data 11-12 (twin of 46)
        mtSostDev = 25,    // device state word
        mtSostLift = 26,   // device state; with extension 10 the lift state (twin of 58)
        mtSens = 28,       // sensor state, 8 units
        mtPrefix29 = 29,   // prefix form (twin of 61)
        mtPrefix30 = 30,   // prefix form (twin of 62)
        mtAlert = 31,      // alert
        mtNvRamJob = 45,   // NVRAM job
        mtService = 46,    // service message
        mtGGS = 48,        // voice intercom on or off
        mtServ18 = 58,     // service 18
        mtPrefix = 61,     // prefix with one byte
        mtPrefixAsk = 62,  // prefix with a request and bytes
    };
    enum typService {
        srvNone = 0,
        srvSetAdr = 2,  // carries an address at record bytes 7-8
    };
    enum typPrefix {
        pfxNone = 0,
    };
    // Address extension a request is sent to (0..31).
    enum askFromMain {
        askMain = 0,
        askLiftState = 10,  // lift state message
        askServ18 = 18,     // service 18
    };
    enum jobNVRAM {
        jobRead = 0,
        jobWrite = 1,  // the job that carries data
    };
    enum rezNVRAM {
        rezOk = 0,  // the result that carries data
    };
    enum subServ18 {
        ss18None = 0,
    };
    // 32-bit alert code.
    enum typAlert : uint32_t {
        alrtNone = 0,
    };
    // Operating mode of a lift (0..15).
    enum modeLift {
        modeNone = 0,
        modeMax = 15,
    };
    // Extended state bits of the lift-state message (0..7).
    enum bitExtended {
        bext0 = 0,
        bext7 = 7,
    };

    CMes() { Clear(); }
    CMes(const CMes&) = default;
    CMes& operator=(const CMes&) = default;
    // Clear, then when n <= 63 the n bytes and UnPack.
    CMes(int n, const unsigned char* bytes);

    // data 6 = b; length 7.
    CMes(int destUM, int destSlot, int origUM, int origSlot, typMes t, unsigned char b);
    // data 6.. = bytes; length 6 + n.
    CMes(int destUM,
         int destSlot,
         int origUM,
         int origSlot,
         typMes t,
         const unsigned char* bytes,
         int n);
    // data 6-7 = device address with extension a; data 8.. = the bytes when 8 + n < 63; with
    // extra < 256 two more units extra >> 2 and (extra << 4) & 48. Length 8 + n (+ 2).
    CMes(int destUM,
         int destSlot,
         int origUM,
         int origSlot,
         int dev,
         typMes t,
         askFromMain a,
         const unsigned char* bytes,
         int n,
         int extra = 256);
    // Type 45: data 6-7 = address, 8 = count, 9 = job; for jobWrite and count < 34 the count
    // bytes follow as units. Length 10 + 4 x ceil(count / 3) with data, else 10.
    CMes(int destUM,
         int destSlot,
         int origUM,
         int origSlot,
         jobNVRAM j,
         int address,
         int count,
         const unsigned char* bytes);
    // Type 13: as type 45, the bytes follow for rezOk.
    CMes(int destUM,
         int destSlot,
         int origUM,
         int origSlot,
         rezNVRAM r,
         int address,
         int count,
         const unsigned char* bytes);
    // Type 46: data 6 = s, data 7.. = bytes; length 7 + n.
    CMes(int destUM,
         int destSlot,
         int origUM,
         int origSlot,
         typService s,
         const unsigned char* bytes,
         int n);
    // Type 61: data 6 = p, data 7 = b; length 8.
    CMes(int destUM, int destSlot, int origUM, int origSlot, typPrefix p, unsigned char b);
    // Type 62: data 6 = p, 7 = b, 8 = a, 9.. = bytes; length 9 + n.
    CMes(int destUM,
         int destSlot,
         int origUM,
         int origSlot,
         typPrefix p,
         unsigned char b,
         askFromMain a,
         int n,
         const unsigned char* bytes);
    // Type 58: device address with extension 18, then s and the bytes as units from data 8.
    // At most 13 groups fit (s and 38 bytes); further bytes are dropped.
    CMes(int destUM,
         int destSlot,
         int origUM,
         int origSlot,
         int dev,
         subServ18 s,
         const unsigned char* bytes,
         int n);
    // Type 31: data 6 = 1, the code as units from data 7, lowest first, as many as it needs.
    CMes(int destUM, int destSlot, int origUM, int origSlot, typAlert code);
    // Type 31 with data: always 6 code units, then the bytes as at most 49 units from data 13.
    // Null bytes or n <= 0 give the short form above.
    CMes(int destUM,
         int destSlot,
         int origUM,
         int origSlot,
         typAlert code,
         const unsigned char* bytes,
         int n);

    // Empty record: length 0, all fields zero, priority 255.
    void Clear();
    // Clear, then the n bytes and UnPack; returns 0 (record left empty) for n outside 0..63.
    int SetDann(int n, const unsigned char* bytes);
    // Fields from the record bytes.
    void UnPack();

    // Two-byte address: N (0..255) and sub-address S (0..15).
    static void SetAdr(unsigned char* p, int n, int s);
    static void GetAdr(const unsigned char* p, int& n, int& s);
    // 3 bytes -> 4 units per group, a short last group zero-padded. dst is cleared first;
    // stops when dst is full. Returns whether every group was converted; done gets the units
    // written.
    static bool Conv8To6(
        const unsigned char* src, int n, unsigned char* dst, int size, int* done = nullptr);
    // 4 units -> 3 bytes per group; a short last group of k units gives 6k/8 bytes. dst is
    // cleared first; stops when dst is full. Returns whether every group was converted.
    static bool Conv6To8(
        const unsigned char* src, int n, unsigned char* dst, int size, int* done = nullptr);

    // Setters keep field and bytes together; a record too short for the bytes grows to hold
    // them.
    void SetOrig(int module, int slot);
    void SetDest(int module, int slot);
    // Device address in data 6-7 with the current extension.
    void SetDev(int dev);
    void SetExt(int ext);
    void SetTypMes(int t);
    // Hop count + 1 into field and data 4; returns it.
    int IncHopCount();
    // data 6 + i for 0 <= i < length - 6; returns 1, else 0.
    int SetByte(int i, unsigned char b);
    // data 6 + i, 0 outside the record.
    unsigned char operator[](int i) const;

    int GetLen() const { return m_len; }
    const unsigned char* GetData() const { return m_data; }
    int GetOrigUM() const { return m_origUM; }
    int GetOrigSlot() const { return m_origSlot; }
    int GetDestUM() const { return m_destUM; }
    int GetDestSlot() const { return m_destSlot; }
    int GetHopCount() const { return m_hop; }
    int GetDev() const { return m_dev; }
    int GetExt() const { return m_ext; }
    int GetTypMes() const { return m_typ; }
    int GetPrefix() const { return m_prefix; }
    int GetAlertKind() const { return m_alertKind; }
    uint32_t GetAlertCode() const { return m_alertCode; }
    const CSostDev& GetSost() const { return m_sost; }
    CInfoCLB& InfoCLB() { return m_infoCLB; }
    const CInfoCLB& InfoCLB() const { return m_infoCLB; }
    int GetPrior() const { return m_prior; }
    void SetPrior(int prior) { m_prior = prior; }
    uint32_t GetValue() const { return m_value; }
    void SetValue(uint32_t value) { m_value = value; }

    // Types 26 and 30: false when bit 5 of the last byte is set. Others true.
    bool IsGood() const;

    // Type 10: address and word; returns 1, else 0 with both 0.
    int GetNVRAM(int& address, unsigned short& word) const;
    // Types 13 and 45: address, count and the data bytes into buf; returns the status
    // (data 9), at once for a type 13 with non-zero status; 128 for other types.
    int GetNVRAM(int& address, int& count, unsigned char* buf, int size) const;
    // Line-bus NVRAM: address and byte (isWord false) or word (isWord true); returns 1, or 0
    // with 0, 0, true below 12 bytes.
    int GetLbNVRAM(int& address, unsigned short& word, bool& isWord) const;
    // Also a second word from data 16-18 when isWord and the length exceeds 15 (else 0, false).
    int GetLbNVRAM(int& address,
                   unsigned short& word,
                   bool& isWord,
                   unsigned short& word2,
                   bool& isWord2) const;
    // The units behind the device address (from data 11, data 12 for type 26) as bytes;
    // returns the byte count.
    int GetIAP(unsigned char* buf, int size) const;

    // Lift state (type 26 with extension 10 only): level -1 for other records.
    int LvlAsk10() const;
    bool TestBit(bitExtended b) const;
    int CurLvl() const;
    modeLift Mode() const;
    int CodDmamge() const;
    // i is 1..24; needs level 2.
    bool TestAsk(int i) const;
    bool TestCmd(int i) const;

    // Type 31: the units from data 13 on as bytes; returns the byte count (0 when none).
    int GetAlert(void* buf, int size) const;
    // Four 12-bit counters, each two units (low first) from data 17, 19, 21, 23; units beyond
    // the record read 0. Returns 1, or 0 with all 0 below 15 bytes.
    int GetSTAT(int& c1, int& c2, int& c3, int& c4) const;

    // The prefix and " %02X" per record byte.
    DBString Str(const wchar_t* prefix) const;
    static DBString nameMode(modeLift aMode);

private:
    void Begin(int destUM, int destSlot, int origUM, int origSlot, int typ);
    // Copies the n data bytes from offset on, cut to the record, and sets the length.
    void PutTail(int offset, const unsigned char* bytes, int n);
    // The NVRAM job and result share one layout: address, count, code, then the data bytes.
    void NvRamBody(int address, int count, int code, bool withData, const unsigned char* bytes);
    void PutDevAdr(int at, int dev, int ext);
    void GetDevAdr(int at, bool extRule);
    void Grow(int len);

    int m_len;
    unsigned char m_data[64];
    uint32_t m_value;  // companion value of the packet the record came in
    int m_reserved;
    int m_prior;
    int m_origUM, m_origSlot;
    int m_destUM, m_destSlot;
    int m_hop;
    int m_dev;
    int m_typ;
    int m_prefix;
    int m_ext;
    int m_alertKind;
    uint32_t m_alertCode;
    CSostDev m_sost;
    CInfoCLB m_infoCLB;
};
