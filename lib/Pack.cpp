#include "lib/Pack.h"

#include <cstring>

#include "lib/Mes.h"

namespace {

constexpr unsigned char kClassMask = 0xC0;
constexpr unsigned char kClassRepl = 0x40;
constexpr unsigned char kClassIdent = 0x80;
// Room for the packet bytes and the CRC behind them.
constexpr int kMaxBytes = 63;

bool IsMesLen(int l) { return l >= CPackMes::kMinMes && l <= CPackMes::kMaxMes; }

}  // namespace

CPackMes::CPackMes() : m_reserved(0), m_value(0) {
    std::memset(m_data, 0, sizeof m_data);
    std::memset(m_repl, 0, sizeof m_repl);
    Clear();
}

CPackMes::CPackMes(int origin, int dest, int priority) : CPackMes() {
    m_data[0] = static_cast<unsigned char>((dest & 15) | ((origin & 15) << 4));
    m_prior = static_cast<unsigned char>(priority);
    CalcCrc();
}

CPackMes::CPackMes(int n, const unsigned char* bytes, int priority) : CPackMes() {
    m_prior = static_cast<unsigned char>(priority);
    m_len = bytes && n > 0 ? (n < kMaxBytes ? n : kMaxBytes) : 0;
    if (m_len > 0) std::memcpy(m_data, bytes, static_cast<size_t>(m_len));
    m_data[m_len] = 0;
    CalcCrc();
    UnPack();
}

void CPackMes::Remove(int at) {
    std::memmove(m_data + at, m_data + at + 1, static_cast<size_t>(m_len - at));
    --m_len;
    m_data[m_len + 1] = 0;
}

void CPackMes::UnPack() {
    m_nRepl = 0;
    m_hasIdent = false;
    m_ident = 0;
    m_pos = 1;
    if (m_len > 1 && (m_data[1] & kClassMask) == kClassIdent) {
        m_hasIdent = true;
        m_ident = m_data[1] & 63;
        m_pos = 2;
    }
    for (int i = m_pos; i < m_len;) {
        if ((m_data[i] & kClassMask) == kClassRepl) {
            m_repl[m_nRepl++] = m_data[i] & 63;
            Remove(i);
        } else {
            ++i;
        }
    }
    CalcCrc();
}

void CPackMes::Clear() {
    m_len = 1;
    m_pos = 0;
    m_nRepl = 0;
    m_ident = 0;
    m_hasIdent = false;
    m_prior = 0xFF;
    std::memset(m_data + 1, 0, sizeof m_data - 1);
    CalcCrc();
}

void CPackMes::SetAddr(int origin, int dest) {
    Clear();
    m_data[0] = static_cast<unsigned char>((dest & 15) | ((origin & 15) << 4));
    CalcCrc();
}

void CPackMes::SetOrig(int origin) {
    if (m_len < 1) m_len = 1;
    m_data[0] = static_cast<unsigned char>((m_data[0] & 15) | ((origin & 15) << 4));
    CalcCrc();
}

void CPackMes::SetDest(int dest) {
    if (m_len < 1) m_len = 1;
    m_data[0] = static_cast<unsigned char>((m_data[0] & 0xF0) | (dest & 15));
    CalcCrc();
}

int CPackMes::GetOrig() const { return m_len < 1 ? 0 : m_data[0] >> 4; }

int CPackMes::GetDest() const { return m_len < 1 ? 0 : m_data[0] & 15; }

int CPackMes::AddIdent(int n) {
    if (m_len < 1 || m_len >= kMaxBytes - 1) return 0;
    m_data[m_len] = static_cast<unsigned char>(kClassIdent | (n & 63));
    if (m_len == 1) {
        m_hasIdent = true;
        m_ident = n & 63;
    }
    ++m_len;
    CalcCrc();
    return 1;
}

void CPackMes::DelIdent() {
    if (m_len > 1 && (m_data[1] & kClassMask) == kClassIdent) {
        Remove(1);
        if (m_pos > 1) --m_pos;
    }
    m_hasIdent = false;
    m_ident = 0;
    CalcCrc();
}

int CPackMes::AddRepl(unsigned char n) {
    const unsigned char r = static_cast<unsigned char>(kClassRepl | (n & 63));
    if (m_len >= 2 && (m_data[m_len - 1] & kClassMask) == kClassRepl) {
        m_data[m_len - 1] = r;
    } else {
        if (m_len >= 62 || m_len < 1) return 0;
        m_data[m_len++] = r;
    }
    CalcCrc();
    return 1;
}

int CPackMes::AddMes(const CMes& mes) {
    const int rec = mes.GetLen();
    // A record below 5 bytes would give a length byte no reader accepts.
    if (m_len < 1 || rec < kMinMes - 1 || m_len + rec > kMaxMes) return 0;
    m_data[m_len] = static_cast<unsigned char>(rec + 1);
    std::memcpy(m_data + m_len + 1, mes.GetData(), static_cast<size_t>(rec));
    m_len += rec + 1;
    CalcCrc();
    return 1;
}

int CPackMes::BegGet() {
    if (m_len > 1 && (m_data[1] & kClassMask) == kClassIdent) {
        m_pos = 2;
        return m_data[1] & 63;
    }
    m_pos = 1;
    return -1;
}

int CPackMes::GetMes(CMes& mes) {
    if (m_pos >= 0 && m_pos < m_len) {
        const int l = m_data[m_pos];
        if (IsMesLen(l) && m_pos + l <= m_len) {
            mes.SetDann(l - 1, m_data + m_pos + 1);
            mes.SetPrior(m_prior);
            mes.SetValue(m_value);
            m_pos += l;
            return 1;
        }
    }
    mes.Clear();
    return 0;
}

bool CPackMes::IsValid() const {
    int p = m_pos;
    if (p < 0) return false;
    while (p < m_len) {
        const int l = m_data[p];
        if (!IsMesLen(l) || p + l > m_len) return false;
        p += l;
    }
    return p == m_len;
}

int CPackMes::CalcCrc() {
    if (m_len < 0) m_len = 0;
    m_data[m_len] = static_cast<unsigned char>(CalcCrc(m_data, m_len) & 0x7F);
    return m_data[m_len];
}

unsigned char CPackMes::CalcCrc(const unsigned char* bytes, int n) {
    return bytes ? Crc8(bytes, n) : 0;
}

void CPackMes::SetOrigMes(int module, int slot) {
    // Module 255 slot 15 is the address of a sender that does not know its own yet.
    const auto unassigned = [](const unsigned char* p) {
        int m = 0, s = 0;
        CMes::GetAdr(p, m, s);
        return m == 255 && s == 15;
    };
    int p = m_len > 1 && (m_data[1] & kClassMask) == kClassIdent ? 2 : 1;
    while (p < m_len) {
        // an outgoing packet carries its acknowledgements in front of the messages
        if ((m_data[p] & kClassMask) == kClassRepl) {
            ++p;
            continue;
        }
        const int l = m_data[p];
        if (!IsMesLen(l) || p + l > m_len) break;
        unsigned char* rec = m_data + p + 1;
        if (unassigned(rec)) CMes::SetAdr(rec, module, slot);
        if (l - 1 > 8 && rec[5] == CMes::mtService && rec[6] == CMes::srvSetAdr &&
            unassigned(rec + 7))
            CMes::SetAdr(rec + 7, module, slot);
        p += l;
    }
    if (m_len > 0 && (m_data[0] >> 4) == 15)
        m_data[0] = static_cast<unsigned char>((m_data[0] & 15) | ((slot & 15) << 4));
    CalcCrc();
}

DBString CPackMes::Str(const wchar_t* prefix) const {
    DBString s(prefix);
    for (int i = 0; i < m_len; ++i) s.AppendFormat(L" %02X", m_data[i]);
    return s;
}
