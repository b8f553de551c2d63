// Users and user groups of a console: their tables, the access text, the source chain and the
// repeat suppression of a user's messages.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <stdexcept>
#include <string>

#include "dblib/CloudStr.h"
#include "dblib/CloudXml.h"
#include "dblib/LoadRes.h"
#include "dblib/TERQDbLibRes.h"

namespace TERQCloud {

namespace {

// The 23 masks of an "Access" text, each the leading number after the previous ','. A text
// that is missing, empty, or has no number where one must be throws std::invalid_argument, a
// number beyond a long std::out_of_range, as the standard conversion does; masks is only
// written when the whole text reads.
void LoadAccess(const std::string& text, std::uint32_t* masks, const DBString& user) {
    const auto Fail = [&](bool range) {
        DBString message;
        message.Format(_S_(IDS_ACCESS_MALFORMED).c_str(), user.c_str(), DBString(text).c_str());
        if (range) throw std::out_of_range(message.ToStr());
        throw std::invalid_argument(message.ToStr());
    };
    std::uint32_t read[RootA::kCountAccess];
    std::copy(masks, masks + RootA::kCountAccess, read);
    size_t pos = 0;
    for (int i = 0; i < RootA::kCountAccess; ++i) {
        const char* start = text.c_str() + pos;
        char* end = nullptr;
        errno = 0;
        const long value = std::strtol(start, &end, 10);
        if (end == start) Fail(false);
        if (errno == ERANGE) Fail(true);
        read[i] = static_cast<std::uint32_t>(value);
        const size_t comma = text.find(',', pos);
        if (comma == std::string::npos) break;
        pos = comma + 1;
    }
    std::copy(read, read + RootA::kCountAccess, masks);
}

DBString AccessText(const std::uint32_t* masks) {
    DBString text;
    for (int i = 0; i < RootA::kCountAccess; ++i)
        text.AppendFormat(i == 0 ? L"%u" : L",%u", masks[i]);
    return text;
}

// A time of the notification window on 2000-01-01: three numbers "h:m:s", else the default.
DBTime LoadNotify(xmlNode* element, const char* attr, int h, int m, int s) {
    const std::string text = CNodeB::XMLLoadString(element, CUserTeam::s_User, attr, true).ToStr();
    int hour = 0, minute = 0, second = 0;
    if (std::sscanf(text.c_str(), "%d:%d:%d", &hour, &minute, &second) == 3)
        return DBTime(2000, 1, 1, hour, minute, second);
    return DBTime(2000, 1, 1, h, m, s);
}

// The window's edge is written unless it is the default.
void UpdateNotify(xmlNode* element,
                  const char* attr,
                  const DBTime& time,
                  const wchar_t* skip1,
                  const wchar_t* skip2) {
    DBString text = time.TimShortString();
    if (text == skip1 || text == skip2) text.clear();
    CNodeB::XMLUpdateString(element, CUserTeam::s_User, attr, text);
}

// A table entry's element needs the table's element: made first when the table has none.
void AddEntry(CNodeTreeB* entry) {
    if (entry->m_Parent != nullptr && entry->m_Parent->m_XMLNodeG == nullptr)
        static_cast<CNodeTreeB*>(entry->m_Parent)->XMLAddG();
    entry->CNodeTreeB::XMLAddG();
}

}  // namespace

// ---- CUserTeam ----

const char* const CUserTeam::s_User = "User";
const char* const CUserTeam::s_IdDBSrc = "IdDBSrc";
const char* const CUserTeam::s_Name = "Name";
const char* const CUserTeam::s_PassWd = "PassWd";
const char* const CUserTeam::s_Comment = "Comment";
const char* const CUserTeam::s_Profil = "Profil";
const char* const CUserTeam::s_Token = "Token";
const char* const CUserTeam::s_TypCliGCM = "TypCliGCM";
const char* const CUserTeam::s_Flags = "Flags";
const char* const CUserTeam::s_Access = "Access";
const char* const CUserTeam::s_BegNotify = "BegNotify";
const char* const CUserTeam::s_EndNotify = "EndNotify";
const char* const CUserTeam::s_Phone = "Phone";
const char* const CUserTeam::s_EMail = "EMail";
const char* const CUserTeam::s_SIPURL = "SIPURL";
const char* const CUserTeam::s_POSTURL = "POSTURL";
const char* const CUserTeam::s_IDTelegram = "IDTelegram";

// The window starts as the whole day, so a new user is notified and writes neither edge.
CUserTeam::CUserTeam(CNodeB* table)
    : CNodeTreeB(table), m_TabProfil(this), m_TabAlert(this), m_LastConnect(1990, 1, 1, 0, 0, 0) {
    m_BegNotify = DBTime(2000, 1, 1, 0, 0, 0);
    m_EndNotify = DBTime(2000, 1, 1, 23, 59, 59);
}

void CUserTeam::XMLLoadG(xmlNode* element) {
    const auto Int = [element](const char* attr) {
        return XMLLoadInteger(element, s_User, attr, 0);
    };
    const auto Str = [element](const char* attr) {
        return XMLLoadString(element, s_User, attr, true);
    };
    const DBString login = Str(s_Name);
    LoadAccess(Str(s_Access).ToStr(), m_Access, login);

    m_XMLNodeG = element;
    m_CodUser = Int(s_IdDB);
    m_IdentDB = m_CodUser;
    m_CodSrc = Int(s_IdDBSrc);
    UserA::m_Name = login;
    CNodeB::m_Name = login;
    m_PassWd = Str(s_PassWd);
    m_Comment = Str(s_Comment);
    m_Profil = Str(s_Profil);
    m_Token = Str(s_Token);
    m_TypCliGCM = Int(s_TypCliGCM);
    m_Flags = Int(s_Flags);
    m_BegNotify = LoadNotify(element, s_BegNotify, 0, 0, 0);
    m_EndNotify = LoadNotify(element, s_EndNotify, 23, 59, 59);
    m_Phone = Str(s_Phone);
    m_EMail = Str(s_EMail);
    m_SIPURL = Str(s_SIPURL);
    m_POSTURL = Str(s_POSTURL);
    m_IDTelegram = std::strtoll(Str(s_IDTelegram).ToStr().c_str(), nullptr, 10);

    for (xmlNode* node = element->children; node != nullptr; node = node->next) {
        if (CloudXml::Is(node, CTabProfilP::s_Profiles)) {
            m_TabProfil.XMLLoadG(node);
        } else if (CloudXml::Is(node, CTabAlertMsg::s_TabAlertMsg)) {
            m_TabAlert.XMLLoadG(node);
        }
    }
}

void CUserTeam::XMLUpdateG() {
    xmlNode* e = m_XMLNodeG;
    if (e == nullptr) return;
    const auto Int = [e](const char* attr, int value) {
        XMLUpdateInteger(e, s_User, attr, value, false);
    };
    const auto Str = [e](const char* attr, const DBString& value) {
        XMLUpdateString(e, s_User, attr, value);
    };
    Int(s_IdDB, m_CodUser);
    Int(s_IdDBSrc, m_CodSrc);
    Str(s_Name, UserA::m_Name);
    Str(s_PassWd, m_PassWd);
    Str(s_Comment, m_Comment);
    Str(s_Profil, m_Profil);
    Str(s_Token, m_Token);
    Int(s_TypCliGCM, m_TypCliGCM);
    Int(s_Flags, m_Flags);
    Str(s_Access, AccessText(m_Access));
    UpdateNotify(e, s_BegNotify, m_BegNotify, L"00:00:00", L"0:0:0");
    UpdateNotify(e, s_EndNotify, m_EndNotify, L"23:59:59", L"23:59:59");
    Str(s_Phone, m_Phone);
    Str(s_EMail, m_EMail);
    Str(s_SIPURL, m_SIPURL);
    Str(s_POSTURL, m_POSTURL);
    DBString telegram;
    if (m_IDTelegram != 0) telegram.Format(L"%lld", static_cast<long long>(m_IDTelegram));
    Str(s_IDTelegram, telegram);
}

void CUserTeam::XMLAddG() { AddEntry(this); }

void CUserTeam::XMLCreate() {
    XMLAddG();
    m_TabProfil.XMLCreate();
    m_TabAlert.XMLCreate();
}

void CUserTeam::XMLUnbind() {
    CNodeTreeB::XMLUnbind();
    m_TabProfil.XMLUnbind();
    m_TabAlert.XMLUnbind();
}

bool CUserTeam::IsModify() {
    return CNodeTreeB::IsModify() || m_TabProfil.IsModify() || m_TabAlert.IsModify();
}

void CUserTeam::ClearModify() {
    CNodeTreeB::ClearModify();
    m_TabProfil.ClearModify();
    m_TabAlert.ClearModify();
}

std::vector<CUserTeam*> CUserTeam::Chain() const {
    std::vector<CUserTeam*> chain;
    for (CUserTeam* user = m_Src; user != nullptr && user != this; user = user->m_Src) {
        if (std::find(chain.begin(), chain.end(), user) != chain.end()) break;
        chain.push_back(user);
    }
    return chain;
}

bool CUserTeam::ExistAccess(typAccess t, int n) const {
    if (t < 0 || t >= kCountAccess || n < 1 || n > 32) return false;
    const std::uint32_t bit = 1u << (n - 1);
    if ((m_Access[t] & bit) != 0) return true;
    for (const CUserTeam* user : Chain())
        if ((user->m_Access[t] & bit) != 0) return true;
    return false;
}

bool CUserTeam::NoAccess() const {
    return std::all_of(m_Access, m_Access + kCountAccess, [](std::uint32_t m) { return m == 0; });
}

void CUserTeam::OrAccess(int* masks) const {
    for (const CUserTeam* user : Chain())
        for (int i = 0; i < kCountAccess; ++i) masks[i] |= static_cast<int>(user->m_Access[i]);
}

void CUserTeam::CopyAccessFromSrc() {
    for (const CUserTeam* user : Chain())
        for (int i = 0; i < kCountAccess; ++i) m_Access[i] |= user->m_Access[i];
}

int CUserTeam::LevelInherit() const { return static_cast<int>(Chain().size()); }

bool CUserTeam::IsInherit(const CUserTeam* user) const {
    const std::vector<CUserTeam*> chain = Chain();
    return user != nullptr && std::find(chain.begin(), chain.end(), user) != chain.end();
}

bool CUserTeam::NoHeir() const {
    if (m_Parent == nullptr) return true;
    for (const CNodeTreeB* node : static_cast<const CNodeTreeB*>(m_Parent)->m_Child)
        if (static_cast<const CUserTeam*>(node)->m_Src == this) return false;
    return true;
}

DBString CUserTeam::PathName() const {
    const std::vector<CUserTeam*> chain = Chain();
    DBString path;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) path += (*it)->UserA::m_Name + L"\\";
    return path + UserA::m_Name;
}

DBString CUserTeam::FullName() const {
    DBString name = PathName();
    if (!m_Comment.empty()) name += L" (" + m_Comment + L")";
    return name;
}

DBString CUserTeam::SortName() const {
    const auto Own = [](const CUserTeam* u) {
        return u->m_Comment.empty() ? u->UserA::m_Name : u->m_Comment;
    };
    const std::vector<CUserTeam*> chain = Chain();
    DBString name;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) name += Own(*it) + L" ";
    return name + Own(this);
}

bool CUserTeam::IsExistAlert() const {
    if (!m_TabAlert.m_Child.empty()) return true;
    for (const CUserTeam* user : Chain())
        if (!user->m_TabAlert.m_Child.empty()) return true;
    return false;
}

CProfilP* CUserTeam::FindProfil(const wchar_t* name) const {
    const std::vector<CUserTeam*> chain = Chain();
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        if (CProfilP* profil = (*it)->m_TabProfil.Find(name)) return profil;
    return m_TabProfil.Find(name);
}

bool CUserTeam::IsMsgNoDelay(const wchar_t* key, int minutes) {
    return IsMsgNoDelay(key, minutes, static_cast<std::int64_t>(std::time(nullptr)));
}

bool CUserTeam::IsMsgNoDelay(const wchar_t* key, int minutes, std::int64_t now) {
    if (minutes < 1) return true;
    const DBString wanted(key != nullptr ? key : L"");
    const std::int64_t until = now + 60 * static_cast<std::int64_t>(minutes);
    for (auto it = m_NoDelay.begin(); it != m_NoDelay.end();) {
        if (it->first == wanted) {
            if (it->second > now) return false;
            it->second = until;
            return true;
        }
        if (it->second <= now) {
            it = m_NoDelay.erase(it);
        } else {
            ++it;
        }
    }
    m_NoDelay.emplace(wanted, until);
    return true;
}

// ---- CUserTeamTab ----

const char* const CUserTeamTab::s_TabUserDisp = "TabUserDisp";

void CUserTeamTab::XMLLoadG(xmlNode* element) {
    m_XMLNodeG = element;
    for (xmlNode* node = element->children; node != nullptr; node = node->next) {
        if (!CloudXml::Is(node, CUserTeam::s_User)) continue;
        auto user = std::make_unique<CUserTeam>(this);
        user->XMLLoadG(node);
        m_Child.push_back(user.release());
    }
    SetSrc();
}

void CUserTeamTab::XMLAddG() {
    if (m_Parent != nullptr) CNodeTreeB::XMLAddG();
}

// A table element is made only for a table that has entries.
void CUserTeamTab::XMLCreate() {
    if (!m_Child.empty()) CNodeTreeB::XMLCreate();
}

CUserTeam* CUserTeamTab::Find(const wchar_t* name) const {
    const DBString wanted(name != nullptr ? name : L"");
    for (CNodeTreeB* node : m_Child) {
        auto* user = static_cast<CUserTeam*>(node);
        if (user->UserA::m_Name == wanted) return user;
    }
    return nullptr;
}

CUserTeam* CUserTeamTab::Find(int code) const {
    for (CNodeTreeB* node : m_Child) {
        auto* user = static_cast<CUserTeam*>(node);
        if (user->m_CodUser == code) return user;
    }
    return nullptr;
}

bool CUserTeamTab::Delete(const wchar_t* name) {
    CUserTeam* user = Find(name);
    if (user == nullptr) return false;
    m_Child.Remove(user);
    for (CNodeTreeB* node : m_Child) {
        auto* other = static_cast<CUserTeam*>(node);
        if (other->m_Src == user) other->m_Src = nullptr;  // no link may outlive the user
    }
    return true;
}

void CUserTeamTab::SetSrc() {
    for (CNodeTreeB* node : m_Child) {
        auto* user = static_cast<CUserTeam*>(node);
        if (user->m_CodSrc == 0 || user->m_CodSrc == user->m_CodUser) continue;
        if (CUserTeam* src = Find(user->m_CodSrc)) user->m_Src = src;
    }
}

DBTime CUserTeamTab::LastConnect() const {
    DBTime latest(1990, 1, 1, 0, 0, 0);
    for (CNodeTreeB* node : m_Child)
        latest = std::max(latest, static_cast<CUserTeam*>(node)->m_LastConnect);
    return latest;
}

void CUserTeamTab::CopyAccessFromSrc() {
    for (CNodeTreeB* node : m_Child) static_cast<CUserTeam*>(node)->CopyAccessFromSrc();
}

void CUserTeamTab::RemovePunct(int idPunct) {
    for (CNodeTreeB* node : m_Child)
        static_cast<CUserTeam*>(node)->m_TabProfil.RemovePunct(idPunct);
}

// ---- CGroupTeam ----

const char* const CGroupTeam::s_Group = "Group";
const char* const CGroupTeam::s_Number = "Number";
const char* const CGroupTeam::s_Name = "Name";
const char* const CGroupTeam::s_Comm = "Comm";
const char* const CGroupTeam::s_Flags = "Flags";

void CGroupTeam::XMLLoadG(xmlNode* element) {
    m_XMLNodeG = element;
    m_CodGroup = XMLLoadInteger(element, s_Group, s_IdDB, 0);
    m_IdentDB = m_CodGroup;
    m_Number = XMLLoadInteger(element, s_Group, s_Number, 0);
    GroupUserA::m_Name = XMLLoadString(element, s_Group, s_Name, true);
    CNodeB::m_Name = GroupUserA::m_Name;
    m_Comm = XMLLoadString(element, s_Group, s_Comm, true);
    m_Flags = XMLLoadInteger(element, s_Group, s_Flags, 0);
}

void CGroupTeam::XMLUpdateG() {
    xmlNode* e = m_XMLNodeG;
    if (e == nullptr) return;
    XMLUpdateInteger(e, s_Group, s_IdDB, m_CodGroup, false);
    XMLUpdateInteger(e, s_Group, s_Number, m_Number, false);
    XMLUpdateString(e, s_Group, s_Name, GroupUserA::m_Name);
    XMLUpdateString(e, s_Group, s_Comm, m_Comm);
    XMLUpdateInteger(e, s_Group, s_Flags, m_Flags, false);
}

void CGroupTeam::XMLAddG() { AddEntry(this); }

// ---- CGroupTeamTab ----

const char* const CGroupTeamTab::s_TabGroupDisp = "TabGroupDisp";

void CGroupTeamTab::XMLLoadG(xmlNode* element) {
    m_XMLNodeG = element;
    for (xmlNode* node = element->children; node != nullptr; node = node->next) {
        if (!CloudXml::Is(node, CGroupTeam::s_Group)) continue;
        auto group = std::make_unique<CGroupTeam>(this);
        group->XMLLoadG(node);
        m_Child.push_back(group.release());
    }
}

void CGroupTeamTab::XMLAddG() {
    if (m_Parent != nullptr) CNodeTreeB::XMLAddG();
}

void CGroupTeamTab::XMLCreate() {
    if (!m_Child.empty()) CNodeTreeB::XMLCreate();
}

CGroupTeam* CGroupTeamTab::FindNumber(int number) const {
    for (CNodeTreeB* node : m_Child) {
        auto* group = static_cast<CGroupTeam*>(node);
        if (group->m_Number == number) return group;
    }
    return nullptr;
}

void CGroupTeamTab::SortByNumber() {
    std::stable_sort(m_Child.begin(), m_Child.end(), [](CNodeTreeB* a, CNodeTreeB* b) {
        return static_cast<CGroupTeam*>(a)->m_Number < static_cast<CGroupTeam*>(b)->m_Number;
    });
}

}  // namespace TERQCloud
