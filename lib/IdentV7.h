// V7 participants (node and device) and the V7 messages carried in class-4 type-10 packets.
#pragma once

#include "dblib/DBString.h"

class CSostDev;
class CSostSens;

// A V7 participant: a node (lift unit, network module or program) and a device within it.
// Wire form: 4 bytes, device then node bits 0-23. Text form: "node.device".
class CIdentV7 {
public:
    CIdentV7();
    // Stores both without checks.
    CIdentV7(int node, int dev);
    virtual ~CIdentV7() = default;
    CIdentV7(const CIdentV7&) = default;
    CIdentV7& operator=(const CIdentV7&) = default;

    static constexpr int MaxNode = 16711422;  // 0xFEFFFE, largest node the setters accept
    static constexpr int MaxLU = 9999899;     // last lift-unit node
    static constexpr int FirstProg = 10000000;

    void Clear();
    // 0 .. MaxNode, else returns 0 and keeps the old node.
    int SetNode(int node);
    void SetBigNode(long long node) { m_Node = node; }
    // 0..255, else returns 0 and keeps the old device.
    int SetDev(int dev);
    // Node checked and stored first, then the device; 1 when both were stored.
    int Set(int node, int dev);

    int GetNode() const { return static_cast<int>(m_Node); }
    long long GetBigNode() const { return m_Node; }
    int GetDev() const { return m_Dev; }
    // A copy with device 0.
    CIdentV7 GetNodeIdent() const;

    // Writes the 4-byte wire form; a null pointer writes nothing.
    void GetValue(unsigned char* out4) const;
    // Clears, then reads the 4-byte wire form; a null pointer leaves the identifier empty.
    void SetValue(const unsigned char* in4);

    // "node.device".
    DBString GetString() const;
    // Clears, then reads "%d.%d": a node in 1..MaxNode is stored, a device above 255 rejected.
    // Returns 1 only when both were accepted.
    int SetString(const wchar_t* text);

    // Compare the node only; the device is ignored.
    bool operator==(const CIdentV7& o) const { return m_Node == o.m_Node; }
    bool operator!=(const CIdentV7& o) const { return m_Node != o.m_Node; }
    bool operator<(const CIdentV7& o) const { return m_Node < o.m_Node; }
    // Node (as int) and device both equal.
    bool FullEQ(const CIdentV7& o) const;

    // 1 <= node <= MaxLU.
    bool IsLU() const { return m_Node >= 1 && m_Node <= MaxLU; }
    // node > FirstProg.
    bool IsProg() const { return m_Node > FirstProg; }
    // A random program node in FirstProg..MaxNode (fresh MT19937 seeded from std::random_device);
    // the device is unchanged. Returns 1.
    int SetUnique();

private:
    long long m_Node;
    int m_Dev;
};

// One V7 message: byte 0 = length L including itself, byte 1 = type, bytes 2..L-1 = fields,
// multi-byte fields little-endian. The readers check every field against L and return 0 at the
// first one that does not fit; outputs already written keep their values.
class CMsgV7 final {
public:
    enum typMsgv7 : int {
        tmStatusLU = 0,       // GetStatusLU
        tmStatusLift = 1,     // GetStatusLift
        tmStatusRelay = 2,    // GetStatusRelay
        tmSensorRelay = 3,    // GetSensorRelay
        tmCallCommand = 4,    // GetCallCommand
        tmWorkStatistic = 5,  // GetWorkStatistic
        tmTimeStamp = 6,      // GetTimeStamp
        tmOpaque7 = 7,        // carried, no reader
        tmOpaque8 = 8,        // carried, no reader
        tmOpaque9 = 9,        // carried, no reader
        tmOpaque10 = 10,      // carried, no reader
        tmLogDisp = 11,       // GetLogDisp
    };

    struct StatusLU {
        int value;              // 2-3
        unsigned char trio[3];  // 4, 5, 6
        int byte7;
        int byte8;
        int value9;            // 9-10, 0xFFFF read as 0
        unsigned char six[6];  // 11-16
    };
    struct StatusLift {
        bool flag;              // byte 2 bit 7
        int number;             // byte 2 bits 0-6
        unsigned char nine[9];  // 3-11
        int value12;            // 12-13
        int byte14;
        int byte15;
        int byte16;
    };
    struct LogDisp {
        int byte2;
        int byte3;
        int byte4;
        int byte5;
        int value6;  // 6-7
        int byte8;
        int byte9;
        int byte10;
        int byte11;
        int value12;  // 12-13, 0xFFFF read as 0
        int byte14;
        int byte15;
        unsigned char extra[5];  // 21-25, zero-filled when absent
    };

    CMsgV7();
    // Copies as many bytes as the first byte says (the length byte included).
    explicit CMsgV7(const unsigned char* bytes);

    void Clear();
    int Set(const unsigned char* bytes);

    // The type, or -1 when L < 2.
    int TypMes() const;
    // L > 1 and type <= 11.
    bool IsValid() const;
    int Length() const { return m_Data[0]; }
    const unsigned char* Data() const { return m_Data; }

    // Parse position 2 and the type; -1 (position 1) when L < 2.
    int FrsParse();
    // n bytes from the parse position when they lie inside the message, else 0 and no change.
    int Get(void* dst, int n);

    int GetStatusLU(StatusLU& out);
    int GetStatusLift(StatusLift& out);
    // Five bytes of relay state as 10 units of a state word; the state word's load result.
    int GetStatusRelay(CSostDev& sost);
    // Three bytes of sensor state as 8 units, then the optional byte 5 into b5.
    int GetSensorRelay(CSostSens& sens, unsigned char& b5);
    int GetCallCommand(long long& v0, long long& v1, long long& v2, long long& v3, long long& v4);
    int GetWorkStatistic(unsigned& v0, unsigned& v1, unsigned& v2, unsigned& v3);
    // ms := seconds * 1000 + hundredths * 10; byte 7 into b7.
    int GetTimeStamp(long long& ms, int& b7);
    int GetLogDisp(LogDisp& out, CSostDev& sost);

private:
    bool Begin(int type, int minLen);
    bool Byte(int& v);
    bool Word(int& v);
    bool Dword(unsigned& v);
    // Five bytes of state converted to 6-bit units, loaded as a 10-unit state word.
    bool Relay(CSostDev& sost, int& result);

    unsigned char m_Data[256];
    int m_Pos;
};
