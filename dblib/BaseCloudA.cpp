#include "dblib/BaseCloudA.h"

#include <cstring>
#include <cwchar>

#include "dblib/LoadRes.h"
#include "dblib/TERQDbLibRes.h"
#include "lib/TabMessageB.h"

namespace TERQCloud {

namespace {

constexpr int kNotFromLift = 16;  // alert flag: the message is not a lift's

std::uint32_t BigEndian(const unsigned char* p, int n) {
    std::uint32_t v = 0;
    for (int i = 0; i < n; ++i) v = (v << 8) | p[i];
    return v;
}

}  // namespace

bool RootA::Conv6To8(int count, const unsigned char* in, int, unsigned char* out, int outSize) {
    if (out == nullptr || outSize < 0) return false;
    std::memset(out, 0, static_cast<size_t>(outSize));
    if (in == nullptr || count <= 0) return true;
    int pos = 0;
    for (int i = 0; i < count; i += 4) {
        if (outSize - pos < 3) return false;
        unsigned w[4] = {};
        for (int k = 0; k < 4 && i + k < count; ++k) w[k] = in[i + k] & 63u;
        out[pos++] = static_cast<unsigned char>((w[0] | (w[1] << 6)) & 0xFF);
        out[pos++] = static_cast<unsigned char>(((w[1] >> 2) | (w[2] << 4)) & 0xFF);
        out[pos++] = static_cast<unsigned char>(((w[2] >> 4) | (w[3] << 2)) & 0xFF);
    }
    return true;
}

bool RootA::Conv8To6(int count, const unsigned char* in, unsigned char* out, int outSize) {
    if (out == nullptr || outSize < 0) return false;
    std::memset(out, 0, static_cast<size_t>(outSize));
    if (in == nullptr || count <= 0) return true;
    int pos = 0;
    for (int i = 0; i < count; i += 3) {
        if (outSize - pos < 4) return false;
        unsigned b[3] = {};
        for (int k = 0; k < 3 && i + k < count; ++k) b[k] = in[i + k];
        out[pos++] = static_cast<unsigned char>(b[0] & 63u);
        out[pos++] = static_cast<unsigned char>((b[0] >> 6) | ((b[1] << 2) & 60u));
        out[pos++] = static_cast<unsigned char>((b[1] >> 4) | ((b[2] << 4) & 48u));
        out[pos++] = static_cast<unsigned char>(b[2] >> 2);
    }
    return true;
}

int RootA::ConvNum(CSostDev::bitLB bit) {
    const int b = static_cast<int>(bit);
    if (b == 40) return 0xC0;
    if (b == 41) return 0xD4;
    if (b == 42) return 0xD5;
    if (b >= 24 && b <= 39) return 0xE0 + (b - 24);
    if (b >= 43 && b <= 55) return 0xF0 + (b - 40);
    const unsigned u = static_cast<unsigned>(b);
    return static_cast<int>(0x80u | (((u / 6) << 4) & 0xF0u) | (u % 6) | (((u / 6) >> 4) << 8));
}

DBString RootA::nameTypAccess(typAccess t) {
    if (t < 0 || t >= kCountAccess) return DBString(L"????");
    return _S_(static_cast<unsigned short>(IDS_ACCESS_BASE + t));
}

void EventA::Unpack() {
    if ((m_Cod & 0x80) != 0) {
        m_Status |= 16;
        m_NumSost = 43;
        const int group = (m_Cod >> 4) & 7;
        const int low = m_Cod & 15;
        if ((m_Cod & 0x40) == 0) {
            m_NumSost = group * 6 + low;
        } else if (group == 4 && low == 0) {
            m_NumSost = 40;
        } else if (group == 5 && (low == 4 || low == 5)) {
            m_NumSost = low == 4 ? 41 : 42;
        } else if (group == 6) {
            m_NumSost = low + 24;
        } else if (group == 7) {
            m_NumSost = low + 40;
        }
    }
    m_Stat1 = (m_Status & 2) != 0 ? (m_Status >> 2) & 1 : 2;
    m_Stat2 = 2 - (m_Status & 1);
}

bool EventA::NextSost(DBString& name, CSostDev::bitLB& bit) {
    for (; m_Scan >= 0 && m_Scan <= 40; ++m_Scan) {
        if (m_Sost.tstBit(m_Scan)) {
            bit = static_cast<CSostDev::bitLB>(m_Scan++);
            name = CSostDev::naimSost(bit);
            return true;
        }
    }
    return false;
}

bool EventA::GetNetAddr(int& a, int& b, int& c) const {
    const int colon = m_Text.Find(L':');
    if (colon <= 0) return false;
    const DBString head = m_Text.Left(colon);
    const int blank = head.ReverseFind(L' ');
    if (blank <= 0) return false;
    return std::swscanf(m_Text.c_str() + blank + 1, L"%d:%d:%d", &a, &b, &c) == 3;
}

void EventA::CalcMaskSost(
    const unsigned char* bits, int count, unsigned& m1, unsigned& m2, unsigned& m3) {
    const unsigned char zero[10] = {};
    CSostDev sost;
    sost.SetData(zero, 10);
    for (int i = 0; bits != nullptr && i < count; ++i) sost.setBit(bits[i]);
    unsigned char data[10] = {};
    sost.GetData(data, 10);
    m1 = BigEndian(data, 4);
    m2 = BigEndian(data + 4, 4);
    m3 = BigEndian(data + 8, 2);
}

void EventA::CalcMaskErr(unsigned& m1, unsigned& m2, unsigned& m3) {
    static const unsigned char kErrors[] = {2,  3,  4,  5,  6,  7,  8,  9,  11, 12, 13, 14,
                                            15, 16, 17, 18, 19, 20, 40, 41, 42, 24, 37, 38};
    CalcMaskSost(kErrors, static_cast<int>(sizeof(kErrors)), m1, m2, m3);
}

void UserA::SetTypAccess(typAccess t, int n) {
    if (t < 0 || t >= kCountAccess || n < 1 || n > 32) return;
    m_Access[t] |= 1u << (n - 1);
}

void UserA::ClrTypAccess(typAccess t, int n) {
    if (t < 0 || t >= kCountAccess || n < 1 || n > 32) return;
    const std::uint32_t mask = ~(1u << (n - 1));
    if (t == taAccess) {
        for (std::uint32_t& m : m_Access) m &= mask;
    } else {
        m_Access[t] &= mask;
    }
}

DBString UserA::TypCliGCM() const {
    if (m_TypCliGCM >= 0 && m_TypCliGCM < IDS_CLI_GCM_COUNT)
        return _S_(static_cast<unsigned short>(IDS_CLI_GCM_BASE + m_TypCliGCM));
    DBString text;
    text.Format(L"(%d)", m_TypCliGCM);
    return text;
}

bool AlertMsgA::IsFromLift() const {
    if ((m_Flags & kNotFromLift) != 0) return false;
    if (m_NumMsg < 47) return CTabMessageB::IsLift(m_NumMsg);
    return true;
}

bool AlertMsgA::IsMustLift() const {
    if ((m_Flags & kNotFromLift) != 0) return false;
    if (m_NumMsg < 47 && !CTabMessageB::IsLift(m_NumMsg)) return false;
    return !CTabMessageB::IsNoLift(m_NumMsg);
}

}  // namespace TERQCloud
