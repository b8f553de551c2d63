#include "lib/KeySys.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <string>

#include "lib/Idea.h"
#include "lib/PackV7.h"

namespace {

int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

}  // namespace

const unsigned char CKeySys::s_Default[16] = {0x5e, 0x31, 0xc4, 0x7a, 0x0b, 0x92, 0xd8, 0x46,
                                              0x13, 0xaf, 0x6c, 0xe0, 0x27, 0x85, 0x39, 0xbd};

CKeySys::CKeySys() { std::memset(m_Key, 0, sizeof m_Key); }

DBString CKeySys::GetString() const {
    DBString s;
    for (unsigned char b : m_Key) s.AppendFormat(L"%02X", static_cast<unsigned>(b));
    return s;
}

bool CKeySys::Set(const wchar_t* text) {
    if (text == nullptr || std::wcslen(text) != 32) return false;
    unsigned char key[16];
    for (int i = 0; i < 16; ++i) {
        const int hi = HexDigit(text[2 * i]), lo = HexDigit(text[2 * i + 1]);
        if (hi < 0 || lo < 0) return false;
        key[i] = static_cast<unsigned char>(hi * 16 + lo);
    }
    static const unsigned char zero[16] = {};
    if (std::memcmp(key, zero, sizeof key) == 0)
        SetDefault();
    else
        std::memcpy(m_Key, key, sizeof m_Key);
    return true;
}

void CKeySys::Set(const unsigned char* key16) {
    if (key16 != nullptr) std::memcpy(m_Key, key16, sizeof m_Key);
}

void CKeySys::SetDefault() { std::memcpy(m_Key, s_Default, sizeof m_Key); }

void CKeySys::Create(const wchar_t* phrase) {
    if (phrase == nullptr) return;
    const std::string bytes = DBString(phrase).ToCP1251();
    unsigned char key[16] = {};
    std::memcpy(key, bytes.data(), std::min<size_t>(bytes.size(), sizeof key));
    const CIdeaCtx ctx(CPackV7::ForKeySYS);
    ctx.Encrypt(key, key, 2);
    for (int i = 0; i < 8; ++i) key[8 + i] ^= key[i];
    std::memcpy(m_Key, key, sizeof m_Key);
}

bool CKeySys::IsEmpty() const {
    for (unsigned char b : m_Key)
        if (b != 0) return false;
    return true;
}

bool CKeySys::operator==(const CKeySys& o) const {
    return std::memcmp(m_Key, o.m_Key, sizeof m_Key) == 0;
}

bool CKeySys::operator<(const CKeySys& o) const {
    return std::memcmp(m_Key, o.m_Key, sizeof m_Key) < 0;
}
