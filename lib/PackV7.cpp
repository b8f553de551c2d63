#include "lib/PackV7.h"

#include <algorithm>
#include <cstring>

#include "lib/Mes.h"

namespace {

constexpr int kAskByte = 13;
constexpr int kDataAsk = 14;
constexpr int kMaxTypes = 32;
constexpr int kMaxSubTypes = 15;
constexpr int kSubData = 16;
constexpr int kVoiceLU = 96;

bool ValidClass(int c) { return c == 3 || c == 4 || c == 7 || c == 8; }

}  // namespace

CPackV7::CPackV7() : m_Reserved(0) { Clear(); }

CPackV7::CPackV7(const CIdentV7& first, const CIdentV7& second) : CPackV7() {
    SetID(first, second);
}

CPackV7::CPackV7(const CMes& mes) : CPackV7() { SetMes(mes); }

CPackV7::CPackV7(int n, const unsigned char* bytes) : CPackV7() {
    if (bytes == nullptr || n < 0) n = 0;
    m_Len = std::min(n, BufSize);
    if (m_Len > 0) std::memcpy(m_Buf, bytes, static_cast<std::size_t>(m_Len));
    if (m_Len < HeadSize)
        m_Valid = false;
    else
        UnPack();
}

CPackV7::CPackV7(int n, const CMsgV7::typMsgv7* types) : CPackV7() {
    SetAsk(tpMsgV7, taMsgV7, 1, nullptr, 0);
    const int cnt = types == nullptr ? 0 : std::clamp(n, 0, kMaxTypes);
    for (int i = 0; i < cnt; ++i)
        m_Buf[kDataAsk + i] =
            static_cast<unsigned char>(std::clamp(static_cast<int>(types[i]), 0, 255));
    m_Len = kDataAsk + cnt;
}

CPackV7::CPackV7(const CIdentV7& id, int a, int b, int n, const CMsgV7::typMsgv7* types)
    : CPackV7() {
    unsigned char data[kMaxSubTypes + 1] = {0x80};
    const int cnt = types == nullptr ? 0 : std::clamp(n, 0, kMaxSubTypes);
    for (int i = 0; i < cnt; ++i) data[1 + i] = static_cast<unsigned char>(types[i]);
    AddSubscription(id, 2, a, b, cpData, tpMsgV7, cnt + 1, data);
}

CPackV7::CPackV7(const CPackV7& o) : m_Reserved(0) { *this = o; }

CPackV7& CPackV7::operator=(const CPackV7& o) {
    if (this == &o) return *this;
    std::memcpy(m_Buf, o.m_Buf, sizeof m_Buf);
    m_Len = o.m_Len;
    m_Pos = o.m_Pos;
    m_Class = o.m_Class;
    m_Typ = o.m_Typ;
    m_TypAsk = o.m_TypAsk;
    m_DirAsk = o.m_DirAsk;
    m_Num = o.m_Num;
    m_Repl = o.m_Repl;
    m_First = o.m_First;
    m_Second = o.m_Second;
    m_Byte11 = o.m_Byte11;
    m_MesTyp = o.m_MesTyp;
    m_MesDev = o.m_MesDev;
    m_MesExt = o.m_MesExt;
    m_Valid = o.m_Valid;
    m_Decoded = o.m_Decoded;
    return *this;
}

void CPackV7::Clear() {
    std::memset(m_Buf, 0, sizeof m_Buf);
    m_Len = 0;
    m_Pos = 0;
    m_Class = cpNone;
    m_Typ = tpNone;
    m_TypAsk = -1;
    m_DirAsk = 1;
    m_Num = 0;
    m_Repl = 0;
    m_First.Clear();
    m_Second.Clear();
    m_Byte11 = 0;
    m_MesTyp = -1;
    m_MesDev = -1;
    m_MesExt = 0;
    m_Valid = true;
    m_Decoded = false;
}

void CPackV7::SetID(const CIdentV7& first, const CIdentV7& second) {
    m_First = first;
    m_Second = second;
    m_First.GetValue(m_Buf + 3);
    m_Second.GetValue(m_Buf + 7);
}

void CPackV7::SetIdent(int num) {
    m_Num = num & 0xFF;
    m_Buf[1] = static_cast<unsigned char>(m_Num);
}

int CPackV7::AddRepl(unsigned char num) {
    if (m_Repl != 0) return 0;
    m_Repl = num;
    m_Buf[2] = num;
    return 1;
}

void CPackV7::WriteHeader() {
    m_Buf[0] = static_cast<unsigned char>(m_Class);
    m_Buf[1] = static_cast<unsigned char>(m_Num);
    m_Buf[2] = static_cast<unsigned char>(m_Repl);
    m_First.GetValue(m_Buf + 3);
    m_Second.GetValue(m_Buf + 7);
    m_Buf[11] = static_cast<unsigned char>(m_Byte11);
    m_Buf[12] = static_cast<unsigned char>(m_Typ);
}

void CPackV7::Pack() {
    WriteHeader();
    m_Len = HeadSize;
}

void CPackV7::UnPack() {
    if (m_Len <= 12) {
        m_Valid = false;
        return;
    }
    m_Class = m_Buf[0];
    m_Num = m_Buf[1];
    m_Repl = m_Buf[2];
    m_First.SetValue(m_Buf + 3);
    m_Second.SetValue(m_Buf + 7);
    m_Byte11 = m_Buf[11];
    m_Valid = true;
    m_Typ = m_Buf[12] & 0x7F;
    if (m_Class == cpData) {
        const bool asks =
            m_Typ == tpAsk || m_Typ == tpCloseLink || m_Typ == tpSubscription || m_Typ == tpMsgV7;
        // Byte 13 is read only when it belongs to the packet.
        if (asks && m_Len > kAskByte) {
            m_TypAsk = m_Buf[kAskByte] & 0x7F;
            m_DirAsk = m_Buf[kAskByte] >> 7;
        } else if (m_Typ == tpMes) {
            if (m_Len < 18) {
                m_Valid = false;
            } else {
                // Byte 13 as a message type, bytes 13-14 as a two-byte device address whose
                // top bit is an extension flag for the types of the extension rule.
                m_MesTyp = m_Buf[kAskByte];
                CMes::GetDevAdr(m_Buf + kAskByte, CMes::HasExtRule(m_MesTyp), m_MesDev, m_MesExt);
            }
        }
    }
    m_Pos = kDataAsk;
}

// ---- builders ----

int CPackV7::SetBody(int cls, int typ, const unsigned char* data, int n, int limit) {
    if (n > limit) return 0;
    if (data == nullptr || n < 0) n = 0;
    m_Class = cls;
    m_Typ = typ & 0xFF;
    WriteHeader();
    if (n > 0) std::memcpy(m_Buf + HeadSize, data, static_cast<std::size_t>(n));
    m_Len = HeadSize + n;
    return 1;
}

int CPackV7::SetLink(typPack t, const unsigned char* data, int n) {
    return SetBody(cpLink, t, data, n, MaxLinkData);
}

int CPackV7::SetVoice(typPack t, const unsigned char* data, int n) {
    return SetBody(cpVoice, t, data, n, MaxLinkData);
}

int CPackV7::SetData(typPack t, const unsigned char* data, int n) {
    return SetBody(cpData, t, data, n, MaxData);
}

int CPackV7::SetAsk(typPack t, typAsk a, int dirAsk, const unsigned char* data, int n) {
    if (n > MaxData) return 0;
    m_Class = cpData;
    m_Typ = t & 0xFF;
    m_TypAsk = a & 0x7F;
    m_DirAsk = dirAsk != 0 ? 1 : 0;
    return SetAskData(data, n);
}

int CPackV7::SetAskData(const unsigned char* data, int n) {
    if (n > MaxData) return 0;
    if (data == nullptr || n < 1) n = 0;
    WriteHeader();
    const int ask = m_TypAsk < 0 ? 0 : m_TypAsk & 0x7F;
    m_Buf[kAskByte] = static_cast<unsigned char>(ask | (m_DirAsk != 0 ? 0x80 : 0));
    if (n > 0) std::memcpy(m_Buf + kDataAsk, data, static_cast<std::size_t>(n));
    m_Len = kDataAsk + n;
    return 1;
}

int CPackV7::SetMes(const CMes& mes) {
    const int n = mes.GetLen();
    m_Class = cpData;
    m_Typ = tpMes;
    WriteHeader();
    m_Buf[kAskByte] = static_cast<unsigned char>(n + 1);
    std::memcpy(m_Buf + kDataAsk, mes.GetData(), static_cast<std::size_t>(n));
    m_Len = kDataAsk + n;
    return 1;
}

int CPackV7::SetVoiceToLU(const unsigned char* voice96) {
    if (voice96 == nullptr) return 0;
    m_Class = cpVoice;
    m_Typ = tpVoiceLU;
    WriteHeader();
    std::memcpy(m_Buf + HeadSize, voice96, kVoiceLU);
    m_Buf[HeadSize + kVoiceLU] = 0x5F;
    m_Len = HeadSize + kVoiceLU + 1;
    return 1;
}

int CPackV7::AddSubscription(const CIdentV7& id,
                             int p1,
                             int p2,
                             int p3,
                             classPack c,
                             typPack t,
                             int n,
                             const unsigned char* data) {
    if (m_Len < kDataAsk) {
        SetAsk(tpSubscription, taSubscription, 1, nullptr, 0);
        m_Buf[kDataAsk] = 0;
        m_Len = kDataAsk + 1;
    } else if (m_Class != cpData || m_Typ != tpSubscription ||
               m_Buf[kDataAsk] >= MaxSubscriptions || m_Len + SubscriptionSize + 2 > BufSize) {
        return 0;
    }
    unsigned char* e = m_Buf + m_Len;
    std::memset(e, 0, SubscriptionSize);
    e[0] = e[1] = 0xFF;
    e[2] = static_cast<unsigned char>(p1);
    e[3] = static_cast<unsigned char>(p2);
    e[4] = static_cast<unsigned char>(p3);
    id.GetValue(e + 5);
    e[9] = static_cast<unsigned char>(c);
    e[10] = static_cast<unsigned char>(t);
    const int cnt = std::clamp(n, 0, kSubData);
    e[11] = static_cast<unsigned char>(cnt);
    if (data != nullptr) std::memcpy(e + 12, data, static_cast<std::size_t>(cnt));
    ++m_Buf[kDataAsk];
    m_Len += SubscriptionSize;
    return 1;
}

// ---- reading ----

int CPackV7::GetMes(CMsgV7& msg) const {
    msg.Clear();
    if (m_Class != cpData || m_Typ != tpMsgV7 || m_TypAsk != taMsgV7 || m_DirAsk != 0) return 0;
    if (m_Pos < 0 || m_Pos >= m_Len) return 0;
    const int l = m_Buf[m_Pos];
    if (l < 2 || m_Pos + l > m_Len) return 0;
    msg.Set(m_Buf + m_Pos);
    if (msg.TypMes() > CMsgV7::tmLogDisp) return 0;
    m_Pos += l;
    return 1;
}

int CPackV7::GetMes(CMes& mes) const {
    mes.Clear();
    if (m_Len < kDataAsk || m_Buf[kAskByte] + HeadSize != m_Len) return 0;
    // A record longer than CMes holds is refused by SetDann, which then reports 0.
    return mes.SetDann(m_Buf[kAskByte] - 1, m_Buf + kDataAsk);
}

// ---- tests ----

bool CPackV7::IsCloseLink(CIdentV7& id) const {
    if (!IsCloseLink()) return false;
    id.SetValue(m_Buf + kAskByte);
    return true;
}

bool CPackV7::IsRestart() const {
    return m_Class == cpData && m_Typ == tpAsk && m_TypAsk == taRestart && m_DirAsk != 0;
}

bool CPackV7::IsOnOffGGS() const {
    if (m_Class != cpData) return false;
    if (m_Typ == tpMes) {
        CMes mes;
        return GetMes(mes) && mes.GetTypMes() == 48;
    }
    return m_Typ == tpAsk && m_DirAsk != 0 && (m_TypAsk == taGGSOn || m_TypAsk == taGGSOff);
}

bool CPackV7::IsEQ(const CPackV7& o) const {
    if (m_Len != o.m_Len || m_Len <= HeadSize) return false;
    if (m_Buf[0] != o.m_Buf[0] || std::memcmp(m_Buf + 3, o.m_Buf + 3, 8) != 0) return false;
    return std::memcmp(m_Buf + 12, o.m_Buf + 12, static_cast<std::size_t>(m_Len - HeadSize)) == 0;
}

bool CPackV7::TestCRC() const { return Sound(); }

bool CPackV7::Sound() const {
    if (m_Len < 0 || m_Len + 2 > BufSize || !ValidClass(m_Class)) return false;
    const unsigned crc = CalcCrc16(m_Buf, m_Len);
    return m_Buf[m_Len] == (crc & 0xFF) && m_Buf[m_Len + 1] == (crc >> 8);
}

unsigned short CPackV7::CalcCrc() {
    const unsigned short crc = CalcCrc16(m_Buf, m_Len);
    if (m_Len >= 0 && m_Len + 2 <= BufSize) {
        m_Buf[m_Len] = static_cast<unsigned char>(crc);
        m_Buf[m_Len + 1] = static_cast<unsigned char>(crc >> 8);
    }
    return crc;
}

// ---- InpQueuePackV7 ----

int InpQueuePackV7::Put(const CPackV7& pack) {
    std::lock_guard<std::mutex> lock(m_Lock);
    m_Queue.push_back(pack);
    return 1;
}

int InpQueuePackV7::Read(CPackV7& pack) {
    std::lock_guard<std::mutex> lock(m_Lock);
    if (m_Queue.empty()) return 0;
    pack = m_Queue.front();
    m_Queue.pop_front();
    return 1;
}
