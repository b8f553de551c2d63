// The V7 packet: header, builders, readers, CRCs, the three channel codings, and the input queue.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <mutex>

#include "lib/IdentV7.h"

class CMes;

// One V7 packet as raw bytes with its parsed header. A plain fixed-size value, no locking.
// Wire layout: 0 class, 1 packet number, 2 reply number, 3-6 and 7-10 identifiers, 11 carried
// byte, 12 type, 13.. body; the CRC-16 (low byte first) goes behind the last packet byte.
class CPackV7 final {
public:
    static constexpr int BufSize = 1024;
    static constexpr int HeadSize = 13;
    static constexpr int CloudPort = 4999;
    // Data limits of the builders: header, data and CRC within BufSize.
    static constexpr int MaxLinkData = 1009;
    static constexpr int MaxData = 1008;
    // Longest packet the scrambling coders take: its coded form (CRC and trailer) fits BufSize.
    static constexpr int MaxChanLen = BufSize - 3;
    static constexpr int MaxSubscriptions = 8;
    static constexpr int SubscriptionSize = 28;

    enum classPack {
        cpNone = 0,
        cpLink = 3,   // link packet
        cpData = 4,   // data packet
        cpVoice = 7,  // voice packet
        cpOther = 8,  // valid on reception, no builder
    };
    enum typPack {
        tpNone = 0,
        tpMes = 1,           // class 4: one device message record
        tpVoiceLU = 1,       // class 7: 96 voice bytes for a lift unit
        tpAsk = 3,           // class 4: request with typAsk
        tpCloseLink = 4,     // class 3: close of a link
        tpSubscription = 7,  // class 4: subscription list
        tpMsgV7 = 10,        // class 4: V7 messages or a request for them
    };
    enum typAsk {
        taMsgV7 = 0,         // with tpMsgV7: list of wanted message types
        taSubscription = 1,  // with tpSubscription
        taRestart = 2,       // restart (direction bit set)
        taGGSOn = 65,        // voice intercom with a lift on
        taGGSOff = 66,       // voice intercom with a lift off
    };

    static const unsigned char CloudKey[16];
    static const unsigned char DefaultKey[16];
    static const unsigned char ForKeySYS[16];
    // CRC-8, polynomial 0x43: entry b is the CRC-8 of the single byte b.
    static const std::array<unsigned char, 256> Step3;

    CPackV7();
    CPackV7(const CIdentV7& first, const CIdentV7& second);
    explicit CPackV7(const CMes& mes);
    // min(n, BufSize) bytes; below 13 bytes the packet is invalid, else parsed.
    CPackV7(int n, const unsigned char* bytes);
    // Request for the first min(n, 32) message types.
    CPackV7(int n, const CMsgV7::typMsgv7* types);
    // Subscription with one entry: parameters 2, a, b; target class 4 type 10; data 0x80 and the
    // first min(n, 15) types.
    CPackV7(const CIdentV7& id, int a, int b, int n, const CMsgV7::typMsgv7* types);
    // Copies like operator=; the reserved word starts at zero.
    CPackV7(const CPackV7& o);
    // Buffer, length, header fields and both flags; not the reserved word.
    CPackV7& operator=(const CPackV7& o);

    // The default state.
    void Clear();

    // ---- header ----
    void SetID(const CIdentV7& first, const CIdentV7& second);
    void SetIdent(int num);
    void DelIdent() { SetIdent(0); }
    // Sets the reply number only while it is 0: returns 1, else 0 and no change.
    int AddRepl(unsigned char num);
    // Header fields into bytes 0-12; the length becomes 13 (the body is dropped).
    void Pack();
    // Parses bytes 0-13 into the fields.
    void UnPack();

    // ---- builders: 1, or 0 and no change when the data is too long ----
    int SetLink(typPack t, const unsigned char* data, int n);
    int SetVoice(typPack t, const unsigned char* data, int n);
    int SetData(typPack t, const unsigned char* data, int n);
    int SetAsk(typPack t, typAsk a, int dirAsk, const unsigned char* data, int n);
    // Class and type unchanged; replaces the data from byte 14.
    int SetAskData(const unsigned char* data, int n);
    int SetMes(const CMes& mes);
    // 96 voice bytes and the closing 0x5F.
    int SetVoiceToLU(const unsigned char* voice96);
    // Appends one 28-byte entry, building the header on a packet shorter than 14 bytes; 0 when
    // the packet is not a subscription list or holds 8 entries already.
    int AddSubscription(const CIdentV7& id,
                        int p1,
                        int p2,
                        int p3,
                        classPack c,
                        typPack t,
                        int n,
                        const unsigned char* data);

    // ---- reading ----
    void BegGet() { m_Pos = 14; }
    // Next V7 message of a class-4 type-10 message sequence; 0 at the end or on a bad message.
    int GetMes(CMsgV7& msg) const;
    // The device message record of a class-4 type-1 packet; 0 when it is not one.
    int GetMes(CMes& mes) const;

    // ---- tests ----
    bool IsInIdent() const { return m_Class == cpData && m_Typ != tpNone; }
    bool IsCloseLink() const { return m_Class == cpLink && m_Typ == tpCloseLink; }
    // Also reads the identifier concerned from bytes 13-16.
    bool IsCloseLink(CIdentV7& id) const;
    bool IsRestart() const;
    bool IsOnOffGGS() const;
    // Same length above 13, class, identifiers and bytes from 12 on; not numbers nor byte 11.
    bool IsEQ(const CPackV7& o) const;
    // The CRC-16 behind the packet matches and the class is 3, 4, 7 or 8.
    bool TestCRC() const;

    // ---- CRCs ----
    // CRC-8 (polynomial 0x43, initial 0); 0 for n < 1.
    static unsigned char CalcCrc(const unsigned char* bytes, int n);
    // CRC-16/XMODEM; 0 for n < 1.
    static unsigned short CalcCrc16(const unsigned char* bytes, int n);
    // Writes the CRC-16 behind the packet (when there is room) and returns it.
    unsigned short CalcCrc();

    // ---- channel codings: coders return the bytes written (0 on failure), decoders 1 when
    // the packet is sound. A packet longer than MaxChanLen is refused by ChanCod and
    // ChanCloudCod: its frame would not fit the decoders' buffer. ----
    int ChanCod(unsigned char* out, int outSize, const unsigned char* key16);
    int ChanDecod(const unsigned char* in, int n, const unsigned char* key16);
    int ChanCloudCod(unsigned char* out, int outSize);
    int ChanCloudDecod(const unsigned char* in, int n);
    int ChanCloudProCod(unsigned char* out, int outSize, const unsigned char* block16);
    int ChanCloudProDecod(const unsigned char* in, int n, unsigned char* block16);

    // ---- accessors ----
    const unsigned char* GetBuf() const { return m_Buf; }
    int GetLen() const { return m_Len; }
    int GetPos() const { return m_Pos; }
    int GetClassPack() const { return m_Class; }
    int GetTypPack() const { return m_Typ; }
    int GetTypAsk() const { return m_TypAsk; }
    int GetTypDirAsk() const { return m_DirAsk; }
    int GetIdent() const { return m_Num; }
    int GetRepl() const { return m_Repl; }
    const CIdentV7& GetFirst() const { return m_First; }
    const CIdentV7& GetSecond() const { return m_Second; }
    int GetByte11() const { return m_Byte11; }
    void SetByte11(int b) { m_Byte11 = b & 0xFF; }
    // From a class-4 type-1 packet: byte 13 as message type, bytes 13-14 as a device address.
    int GetMesTyp() const { return m_MesTyp; }
    int GetMesDev() const { return m_MesDev; }
    int GetMesExt() const { return m_MesExt; }
    bool IsValid() const { return m_Valid; }
    bool IsDecoded() const { return m_Decoded; }
    void SetDecoded(bool d) { m_Decoded = d; }
    std::uint64_t GetReserved() const { return m_Reserved; }
    void SetReserved(std::uint64_t r) { m_Reserved = r; }

private:
    void WriteHeader();
    int SetBody(int cls, int typ, const unsigned char* data, int n, int limit);
    bool Sound() const;
    void Decoded(int m);

    unsigned char m_Buf[BufSize];
    int m_Len;
    mutable int m_Pos;  // advanced by the const message reader
    int m_Class;
    int m_Typ;
    int m_TypAsk;
    int m_DirAsk;
    int m_Num;
    int m_Repl;
    CIdentV7 m_First;
    CIdentV7 m_Second;
    int m_Byte11;
    int m_MesTyp;
    int m_MesDev;
    int m_MesExt;
    bool m_Valid;
    bool m_Decoded;
    std::uint64_t m_Reserved;
};

// FIFO of packets between a receiving thread and a consumer; no capacity limit. Thread-safe;
// a lock failure throws std::system_error.
class InpQueuePackV7 final {
public:
    InpQueuePackV7() = default;
    InpQueuePackV7(const InpQueuePackV7&) = delete;
    InpQueuePackV7& operator=(const InpQueuePackV7&) = delete;

    // Appends a copy; returns 1.
    int Put(const CPackV7& pack);
    // Moves the oldest packet into pack and returns 1; 0 when the queue is empty.
    int Read(CPackV7& pack);

private:
    std::mutex m_Lock;
    std::deque<CPackV7> m_Queue;
};
