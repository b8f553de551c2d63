#include "lib/IdentV7.h"

#include <cstring>
#include <cwchar>
#include <random>

#include "lib/Mes.h"
#include "lib/Sost.h"
#include "lib/SostSens.h"

// ---- CIdentV7 ----

CIdentV7::CIdentV7() : m_Node(0), m_Dev(0) {}

CIdentV7::CIdentV7(int node, int dev) : m_Node(node), m_Dev(dev) {}

void CIdentV7::Clear() {
    m_Node = 0;
    m_Dev = 0;
}

int CIdentV7::SetNode(int node) {
    if (static_cast<unsigned>(node) > static_cast<unsigned>(MaxNode)) return 0;
    m_Node = node;
    return 1;
}

int CIdentV7::SetDev(int dev) {
    if (static_cast<unsigned>(dev) > 255u) return 0;
    m_Dev = dev;
    return 1;
}

int CIdentV7::Set(int node, int dev) {
    if (!SetNode(node)) return 0;
    return SetDev(dev);
}

CIdentV7 CIdentV7::GetNodeIdent() const {
    CIdentV7 id(*this);
    id.m_Dev = 0;
    return id;
}

bool CIdentV7::FullEQ(const CIdentV7& o) const {
    return GetNode() == o.GetNode() && m_Dev == o.m_Dev;
}

void CIdentV7::GetValue(unsigned char* out4) const {
    if (out4 == nullptr) return;
    out4[0] = static_cast<unsigned char>(m_Dev);
    out4[1] = static_cast<unsigned char>(m_Node);
    out4[2] = static_cast<unsigned char>(m_Node >> 8);
    out4[3] = static_cast<unsigned char>(m_Node >> 16);
}

void CIdentV7::SetValue(const unsigned char* in4) {
    Clear();
    if (in4 == nullptr) return;
    m_Dev = in4[0];
    m_Node = in4[1] | (in4[2] << 8) | (in4[3] << 16);
}

DBString CIdentV7::GetString() const {
    wchar_t buf[48];
    std::swprintf(buf, sizeof buf / sizeof buf[0], L"%d.%d", GetNode(), m_Dev);
    return DBString(buf);
}

int CIdentV7::SetString(const wchar_t* text) {
    Clear();
    if (text == nullptr) return 0;
    int node = 0;
    int dev = 0;
    const int got = std::swscanf(text, L"%d.%d", &node, &dev);
    int ok = 1;
    // node - 1 as unsigned: 0 and negative nodes fall outside.
    if (got >= 1 && static_cast<unsigned>(node) - 1u < static_cast<unsigned>(MaxNode))
        m_Node = node;
    else
        ok = 0;
    if (got == 2 && static_cast<unsigned>(dev) <= 255u)
        m_Dev = dev;
    else
        ok = 0;
    return ok;
}

int CIdentV7::SetUnique() {
    std::random_device rd("default");
    std::mt19937 gen(rd());
    std::uniform_int_distribution<int> dist(FirstProg, MaxNode);
    m_Node = dist(gen);
    return 1;
}

// ---- CMsgV7 ----

CMsgV7::CMsgV7() : m_Data{}, m_Pos(0) {}

CMsgV7::CMsgV7(const unsigned char* bytes) : CMsgV7() { Set(bytes); }

void CMsgV7::Clear() {
    std::memset(m_Data, 0, sizeof m_Data);
    m_Pos = 0;
}

int CMsgV7::Set(const unsigned char* bytes) {
    Clear();
    if (bytes != nullptr) std::memcpy(m_Data, bytes, bytes[0]);
    return 1;
}

int CMsgV7::TypMes() const { return m_Data[0] < 2 ? -1 : m_Data[1]; }

bool CMsgV7::IsValid() const { return m_Data[0] > 1 && m_Data[1] < 12; }

int CMsgV7::FrsParse() {
    m_Pos = 1;
    if (m_Data[0] < 2) return -1;
    m_Pos = 2;
    return m_Data[1];
}

int CMsgV7::Get(void* dst, int n) {
    if (n < 0 || m_Pos + n > m_Data[0]) return 0;
    std::memcpy(dst, m_Data + m_Pos, static_cast<std::size_t>(n));
    m_Pos += n;
    return 1;
}

bool CMsgV7::Begin(int type, int minLen) {
    if (m_Data[0] < minLen || m_Data[1] != type) return false;
    m_Pos = 2;
    return true;
}

bool CMsgV7::Byte(int& v) {
    if (m_Pos + 1 > m_Data[0]) return false;
    v = m_Data[m_Pos++];
    return true;
}

bool CMsgV7::Word(int& v) {
    if (m_Pos + 2 > m_Data[0]) return false;
    v = m_Data[m_Pos] | (m_Data[m_Pos + 1] << 8);
    m_Pos += 2;
    return true;
}

bool CMsgV7::Dword(unsigned& v) {
    if (m_Pos + 4 > m_Data[0]) return false;
    v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | m_Data[m_Pos + i];
    m_Pos += 4;
    return true;
}

bool CMsgV7::Relay(CSostDev& sost, int& result) {
    unsigned char bytes[6] = {};
    if (!Get(bytes, 5)) return false;
    unsigned char units[10];  // 8 units of state, the bus-controller pair left zero
    CMes::Conv8To6(bytes, 6, units, 10);
    result = sost.SetData(units, 10);
    return true;
}

int CMsgV7::GetStatusLU(StatusLU& o) {
    int b = 0;
    if (!Begin(tmStatusLU, 4) || !Word(o.value)) return 0;
    for (unsigned char& t : o.trio) {
        if (!Byte(b)) return 0;
        t = static_cast<unsigned char>(b);
    }
    if (!Byte(o.byte7) || !Byte(o.byte8) || !Word(o.value9)) return 0;
    if (o.value9 == 0xFFFF) o.value9 = 0;
    return Get(o.six, 6);
}

int CMsgV7::GetStatusLift(StatusLift& o) {
    int b = 0;
    if (!Begin(tmStatusLift, 3) || !Byte(b)) return 0;
    o.flag = (b & 0x80) != 0;
    o.number = b & 0x7F;
    if (!Get(o.nine, 9) || !Word(o.value12)) return 0;
    return Byte(o.byte14) && Byte(o.byte15) && Byte(o.byte16) ? 1 : 0;
}

int CMsgV7::GetStatusRelay(CSostDev& sost) {
    int result = 0;
    if (!Begin(tmStatusRelay, 7) || !Relay(sost, result)) return 0;
    return result;
}

int CMsgV7::GetSensorRelay(CSostSens& sens, unsigned char& b5) {
    unsigned char bytes[6] = {};
    if (!Begin(tmSensorRelay, 5) || !Get(bytes, 3)) return 0;
    unsigned char units[8];
    CMes::Conv8To6(bytes, 6, units, 8);
    const int result = sens.SetData(units, 8);
    int b = 0;
    if (Byte(b)) b5 = static_cast<unsigned char>(b);
    return result;
}

int CMsgV7::GetCallCommand(
    long long& v0, long long& v1, long long& v2, long long& v3, long long& v4) {
    if (!Begin(tmCallCommand, 10)) return 0;
    for (long long* v : {&v0, &v1, &v2, &v3, &v4}) {
        if (m_Pos + 8 > m_Data[0]) return 0;
        unsigned long long u = 0;
        for (int i = 7; i >= 0; --i) u = (u << 8) | m_Data[m_Pos + i];
        *v = static_cast<long long>(u);
        m_Pos += 8;
    }
    return 1;
}

int CMsgV7::GetWorkStatistic(unsigned& v0, unsigned& v1, unsigned& v2, unsigned& v3) {
    if (!Begin(tmWorkStatistic, 6)) return 0;
    return Dword(v0) && Dword(v1) && Dword(v2) && Dword(v3) ? 1 : 0;
}

int CMsgV7::GetTimeStamp(long long& ms, int& b7) {
    unsigned seconds = 0;
    int hundredths = 0;
    if (!Begin(tmTimeStamp, 6) || !Dword(seconds)) return 0;
    ms = static_cast<long long>(static_cast<int>(seconds)) * 1000;
    if (!Byte(hundredths)) return 0;
    ms += hundredths * 10;
    return Byte(b7) ? 1 : 0;
}

int CMsgV7::GetLogDisp(LogDisp& o, CSostDev& sost) {
    if (!Begin(tmLogDisp, 3)) return 0;
    if (!Byte(o.byte2) || !Byte(o.byte3) || !Byte(o.byte4) || !Byte(o.byte5) || !Word(o.value6))
        return 0;
    if (!Byte(o.byte8) || !Byte(o.byte9) || !Byte(o.byte10) || !Byte(o.byte11) || !Word(o.value12))
        return 0;
    if (o.value12 == 0xFFFF) o.value12 = 0;
    int result = 0;
    if (!Byte(o.byte14) || !Byte(o.byte15) || !Relay(sost, result)) return 0;
    std::memset(o.extra, 0, sizeof o.extra);
    Get(o.extra, 5);
    return result;
}
