// The upper levels of the tree: consoles, dispatch points, streets and homes.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "dblib/CloudStr.h"
#include "dblib/CloudXml.h"
#include "dblib/LoadRes.h"
#include "dblib/TERQDbLibRes.h"
#include "lib/TERQLibRes.h"

namespace TERQCloud {

namespace {

constexpr int kRussian = 20;  // console "Language" that selects the Russian table

DBTimeSpan TestMoveSpan(int hours) {
    // Formed in 64 bits: a hostile hour count must not overflow.
    return DBTimeSpan(static_cast<std::int64_t>(hours) * 3600 + 30 * 60);
}

// The loaded child appended to list; a name already there is reported with prefix.
template <typename Node>
void AppendChecked(CNodeArrayB& list,
                   std::unique_ptr<Node> child,
                   const DBString& prefix,
                   unsigned short id,
                   CNodeB* reporter) {
    if (list.Find(child->m_Name.c_str()) != nullptr) CloudXml::ReportRepeat(reporter, prefix, id);
    list.push_back(child.release());
}

}  // namespace

CTeamB* CCloudB::CreateTeam() { return new CTeamB(this); }

CProfilP* CCloudB::CreateProfil(CTabProfilP* table) { return new CProfilP(table); }

// ---- CTeamB ----

const char* const CTeamB::s_Team = "PULT";
const char* const CTeamB::s_Name = "Name";
const char* const CTeamB::s_TimeAsk = "TimeAsk";
const char* const CTeamB::s_TimeDriv = "TimeDriv";
const char* const CTeamB::s_TimeGGS = "TimeGGS";
const char* const CTeamB::s_OnLift = "OnLift";
const char* const CTeamB::s_LockOut = "LockOut";
const char* const CTeamB::s_OnTimer = "OnTimer";
const char* const CTeamB::s_Timer = "Timer";
const char* const CTeamB::s_MaxVisibleRec = "MaxVisibleRec";
const char* const CTeamB::s_GUID = "GUID";
const char* const CTeamB::s_IntervSTAT = "IntervSTAT";
const char* const CTeamB::s_DivIntSTAT = "DivIntSTAT";
const char* const CTeamB::s_NameLock = "NameLock";
const char* const CTeamB::s_CRC = "CRC";
const char* const CTeamB::s_AvtoOpenNewErr = "AvtoOpenNewErr";
const char* const CTeamB::s_AvtoCloseNewErr = "AvtoCloseNewErr";
const char* const CTeamB::s_AdrLift = "AdrLift";
const char* const CTeamB::s_DisGrad = "DisGrad";
const char* const CTeamB::s_DisServKey = "DisServKey";
const char* const CTeamB::s_EnableGCM = "EnableGCM";
const char* const CTeamB::s_EnablePushNotify = "EnablePushNotify";
const char* const CTeamB::s_EnableEmailNotify = "EnableEmailNotify";
const char* const CTeamB::s_EnablePOSTNotify = "EnablePOSTNotify";
const char* const CTeamB::s_EnableTelegrNotify = "EnableTelegrNotify";
const char* const CTeamB::s_Language = "Language";
const char* const CTeamB::s_TreePos = "TreePos";
const char* const CTeamB::s_TabPos = "TabPos";
const char* const CTeamB::s_LogPos = "LogPos";
const char* const CTeamB::s_ColLog = "ColLog";
const char* const CTeamB::s_WindowPos = "WindowPos";
const char* const CTeamB::s_AlarmAdmin = "AlarmAdmin";
const char* const CTeamB::s_TypProfil = "TypProfil";
const char* const CTeamB::s_DaySavCheck = "DaySavCheck";
const char* const CTeamB::s_DaySavEvents = "DaySavEvents";
const char* const CTeamB::s_DaySavVoice = "DaySavVoice";
const char* const CTeamB::s_DaySavStat = "DaySavStat";
const char* const CTeamB::s_Providers = "Providers";
const char* const CTeamB::s_FirstTestMove = "FirstTestMove";
const char* const CTeamB::s_SecondTestMove = "SecondTestMove";
const char* const CTeamB::s_TypConnSIP = "TypConnSIP";
const char* const CTeamB::s_OnAfterConfSIP = "OnAfterConfSIP";
const char* const CTeamB::s_CodDTMF_SIP = "CodDTMF_SIP";
const char* const CTeamB::s_DialUpSecSIP = "DialUpSecSIP";
const char* const CTeamB::s_CallDurSecSIP = "CallDurSecSIP";
const char* const CTeamB::s_DTMFProlongSIP = "DTMFProlongSIP";
const char* const CTeamB::s_DomainSIP = "DomainSIP";
const char* const CTeamB::s_LoginSIP = "LoginSIP";
const char* const CTeamB::s_PassWDSIP = "PassWDSIP";
const char* const CTeamB::s_DelaySIP = "DelaySIP";

CTeamB::CTeamB(CNodeB* parent)
    : CNodeTreeB(parent),
      m_Timer(1990, 1, 1, 0, 0, 0),
      m_FirstTestMove(TestMoveSpan(8)),
      m_SecondTestMove(TestMoveSpan(18)),
      m_TabState(this),
      m_TabOut(this),
      m_TabKey(this),
      m_UserTab(this),
      m_GroupTab(this),
      m_TabProfil(this) {
    m_GUID.Generate();
}

void CTeamB::XMLLoadG(xmlNode* element) {
    m_XMLNodeG = element;
    const auto Int = [element](const char* attr) {
        return XMLLoadInteger(element, s_Team, attr, 0);
    };
    const auto Str = [element](const char* attr) {
        return XMLLoadString(element, s_Team, attr, true);
    };
    const auto Bool = [element](const char* attr) {
        return XMLLoadBool(element, s_Team, attr, false);
    };
    m_Name = Str(s_Name);
    m_TimeAsk = Int(s_TimeAsk);
    m_TimeDriv = Int(s_TimeDriv);
    m_TimeGGS = Int(s_TimeGGS);
    m_OnLift = Int(s_OnLift);
    m_LockOut = Int(s_LockOut);
    m_OnTimer = Int(s_OnTimer);
    int hour = 0, minute = 0, second = 0;
    std::sscanf(Str(s_Timer).ToStr().c_str(), "%d:%d:%d", &hour, &minute, &second);
    m_Timer = DBTime(1990, 1, 1, hour, minute, second);
    m_MaxVisibleRec = Int(s_MaxVisibleRec);
    m_GUID = Str(s_GUID).c_str();
    m_IntervSTAT = Int(s_IntervSTAT);
    m_DivIntSTAT = Int(s_DivIntSTAT);
    m_NameLock = Str(s_NameLock);
    m_CRC = static_cast<std::uint32_t>(
        static_cast<std::uint64_t>(std::strtoll(Str(s_CRC).ToStr().c_str(), nullptr, 10)));
    m_AvtoOpenNewErr = Int(s_AvtoOpenNewErr);
    m_AvtoCloseNewErr = Int(s_AvtoCloseNewErr);
    m_AdrLift = Int(s_AdrLift);
    m_DisGrad = Int(s_DisGrad);
    m_DisServKey = Int(s_DisServKey);
    m_EnableGCM = Bool(s_EnableGCM);
    m_EnablePushNotify = Bool(s_EnablePushNotify);
    m_EnableEmailNotify = Bool(s_EnableEmailNotify);
    m_EnablePOSTNotify = Bool(s_EnablePOSTNotify);
    m_EnableTelegrNotify = Bool(s_EnableTelegrNotify);
    m_Language = Int(s_Language);
    m_TreePos = Str(s_TreePos);
    m_TabPos = Str(s_TabPos);
    m_LogPos = Str(s_LogPos);
    m_ColLog = Str(s_ColLog);
    m_WindowPos = Str(s_WindowPos);
    m_AlarmAdmin = Int(s_AlarmAdmin);
    m_TypProfil = Int(s_TypProfil);
    m_DaySavCheck = Int(s_DaySavCheck);
    m_DaySavEvents = Int(s_DaySavEvents);
    m_DaySavVoice = Int(s_DaySavVoice);
    m_DaySavStat = Int(s_DaySavStat);
    m_Providers = Int(s_Providers);
    m_FirstTestMove = TestMoveSpan(XMLLoadInteger(element, s_Team, s_FirstTestMove, 8));
    m_SecondTestMove = TestMoveSpan(XMLLoadInteger(element, s_Team, s_SecondTestMove, 18));
    m_TypConnSIP = Int(s_TypConnSIP);
    m_OnAfterConfSIP = Bool(s_OnAfterConfSIP);
    m_CodDTMF_SIP = Int(s_CodDTMF_SIP);
    m_DialUpSecSIP = Int(s_DialUpSecSIP);
    m_CallDurSecSIP = Int(s_CallDurSecSIP);
    m_DTMFProlongSIP = Int(s_DTMFProlongSIP);
    m_DomainSIP = Str(s_DomainSIP);
    m_LoginSIP = Str(s_LoginSIP);
    m_PassWDSIP = Str(s_PassWDSIP);
    m_DelaySIP = Int(s_DelaySIP);

    for (xmlNode* node = element->children; node != nullptr; node = node->next) {
        if (node->type != XML_ELEMENT_NODE) continue;
        if (CloudXml::Is(node, CPunctB::s_Punct)) {
            std::unique_ptr<CPunctB> punct(CreatePunct());
            punct->XMLLoadG(node);
            const DBString prefix = punct->m_Name;
            AppendChecked(m_Child, std::move(punct), prefix, IDS_REPEAT_PUNCT, this);
        } else if (CloudXml::Is(node, CTabStateB::s_TabState)) {
            m_TabState.XMLLoadG(node);
        } else if (CloudXml::Is(node, CTabOutB::s_TabOut)) {
            m_TabOut.XMLLoadG(node);
        } else if (CloudXml::Is(node, CTabKeyB::s_TabKey)) {
            m_TabKey.XMLLoadG(node);
        } else if (CloudXml::Is(node, CUserTeamTab::s_TabUserDisp)) {
            m_UserTab.XMLLoadG(node);
        } else if (CloudXml::Is(node, CGroupTeamTab::s_TabGroupDisp)) {
            m_GroupTab.XMLLoadG(node);
        } else if (CloudXml::Is(node, CTabProfilP::s_Profiles)) {
            m_TabProfil.XMLLoadG(node);
        }
    }
    m_IdentDB = Int(s_IdDB);
}

void CTeamB::XMLUpdateG() {
    xmlNode* e = m_XMLNodeG;
    if (e == nullptr) return;
    const auto Int = [e](const char* attr, int value, bool always) {
        XMLUpdateInteger(e, s_Team, attr, value, always);
    };
    const auto Str = [e](const char* attr, const DBString& value) {
        XMLUpdateString(e, s_Team, attr, value);
    };
    const auto Bool = [e](const char* attr, bool value) {
        XMLUpdateBool(e, s_Team, attr, value, false);
    };
    Str(s_Name, m_Name);
    Int(s_TimeAsk, m_TimeAsk, false);
    Int(s_TimeDriv, m_TimeDriv, true);
    Int(s_TimeGGS, m_TimeGGS, true);
    Int(s_OnLift, m_OnLift, false);
    Int(s_LockOut, m_LockOut, false);
    Int(s_OnTimer, m_OnTimer, false);
    Str(s_Timer, m_Timer.TimShortString());
    Int(s_MaxVisibleRec, m_MaxVisibleRec, false);
    Str(s_GUID, m_GUID.ToString());
    Int(s_IntervSTAT, m_IntervSTAT, true);
    Int(s_DivIntSTAT, m_DivIntSTAT, false);
    Str(s_NameLock, m_NameLock);
    Int(s_CRC, static_cast<int>(m_CRC), false);
    Int(s_AvtoOpenNewErr, m_AvtoOpenNewErr, false);
    Int(s_AvtoCloseNewErr, m_AvtoCloseNewErr, true);
    Int(s_AdrLift, m_AdrLift, true);
    Int(s_DisGrad, m_DisGrad, false);
    Int(s_DisServKey, m_DisServKey, false);
    Bool(s_EnableGCM, m_EnableGCM);
    Bool(s_EnablePushNotify, m_EnablePushNotify);
    Bool(s_EnableEmailNotify, m_EnableEmailNotify);
    Bool(s_EnablePOSTNotify, m_EnablePOSTNotify);
    Bool(s_EnableTelegrNotify, m_EnableTelegrNotify);
    Int(s_Language, m_Language, false);
    Str(s_TreePos, m_TreePos);
    Str(s_TabPos, m_TabPos);
    Str(s_LogPos, m_LogPos);
    Str(s_ColLog, m_ColLog);
    Str(s_WindowPos, m_WindowPos);
    Int(s_AlarmAdmin, m_AlarmAdmin, false);
    Int(s_TypProfil, m_TypProfil, false);
    Int(s_DaySavCheck, m_DaySavCheck, true);
    Int(s_DaySavEvents, m_DaySavEvents, true);
    Int(s_DaySavVoice, m_DaySavVoice, true);
    Int(s_DaySavStat, m_DaySavStat, true);
    Int(s_Providers, m_Providers, false);
    Int(s_FirstTestMove, m_FirstTestMove.GetHours(), false);
    Int(s_SecondTestMove, m_SecondTestMove.GetHours(), false);
    Int(s_TypConnSIP, m_TypConnSIP, false);
    Bool(s_OnAfterConfSIP, m_OnAfterConfSIP);
    Int(s_CodDTMF_SIP, m_CodDTMF_SIP, false);
    Int(s_DialUpSecSIP, m_DialUpSecSIP, false);
    Int(s_CallDurSecSIP, m_CallDurSecSIP, false);
    Int(s_DTMFProlongSIP, m_DTMFProlongSIP, false);
    Str(s_DomainSIP, m_DomainSIP);
    Str(s_LoginSIP, m_LoginSIP);
    Str(s_PassWDSIP, m_PassWDSIP);
    Int(s_DelaySIP, m_DelaySIP, false);
    Int(s_IdDB, m_IdentDB, false);
}

void CTeamB::XMLCreate() {
    CNodeTreeB::XMLCreate();
    m_TabState.XMLCreate();
    m_TabOut.XMLCreate();
    m_TabKey.XMLCreate();
    m_UserTab.XMLCreate();
    m_GroupTab.XMLCreate();
    m_TabProfil.XMLCreate();
}

void CTeamB::XMLUnbind() {
    CNodeTreeB::XMLUnbind();
    m_TabState.XMLUnbind();
    m_TabOut.XMLUnbind();
    m_TabKey.XMLUnbind();
    m_UserTab.XMLUnbind();
    m_GroupTab.XMLUnbind();
    m_TabProfil.XMLUnbind();
}

bool CTeamB::IsModify() {
    return CNodeTreeB::IsModify() || m_TabState.IsModify() || m_TabOut.IsModify() ||
           m_TabKey.IsModify() || m_UserTab.IsModify() || m_GroupTab.IsModify() ||
           m_TabProfil.IsModify();
}

void CTeamB::ClearModify() {
    CNodeTreeB::ClearModify();
    m_TabState.ClearModify();
    m_TabOut.ClearModify();
    m_TabKey.ClearModify();
    m_UserTab.ClearModify();
    m_GroupTab.ClearModify();
    m_TabProfil.ClearModify();
}

CPunctB* CTeamB::CreatePunct() { return new CPunctB(this); }

CStateB* CTeamB::CreateState(int number) { return new CStateB(number, &m_TabState); }

COutB* CTeamB::CreateOut(int number) { return new COutB(number, &m_TabOut); }

CKeyB* CTeamB::CreateKey() { return new CKeyB(&m_TabKey); }

DBString CTeamB::StringResource(unsigned id) {
    const auto text = static_cast<unsigned short>(id & 0xFFFFu);
    return m_Language == kRussian ? LoadStringFromResource(text) : LoadStringFromResourceENU(text);
}

CPunctB* CTeamB::FindPunct(int id) {
    for (CNodeTreeB* punct : m_Child)
        if (punct->m_IdentDB == id) return static_cast<CPunctB*>(punct);
    return nullptr;
}

CStreetB* CTeamB::FindStreet(int id) {
    for (CNodeTreeB* punct : m_Child)
        for (CNodeTreeB* street : punct->m_Child)
            if (street->m_IdentDB == id) return static_cast<CStreetB*>(street);
    return nullptr;
}

CHomeB* CTeamB::FindHome(int id) {
    for (CNodeTreeB* punct : m_Child)
        for (CNodeTreeB* street : punct->m_Child)
            for (CNodeTreeB* home : street->m_Child)
                if (home->m_IdentDB == id) return static_cast<CHomeB*>(home);
    return nullptr;
}

CLiftB* CTeamB::FindLift(const DBGUID& guid) {
    for (CNodeTreeB* punct : m_Child)
        if (CLiftB* lift = static_cast<CPunctB*>(punct)->FindLift(guid)) return lift;
    return nullptr;
}

CLiftB* CTeamB::FindLift(int id) { return m_SortLift.FindLift(id); }

int CTeamB::TotalLift() {
    int total = 0;
    for (CNodeTreeB* punct : m_Child)
        for (CNodeTreeB* street : punct->m_Child)
            for (CNodeTreeB* home : street->m_Child)
                total += static_cast<int>(home->m_Child.size());
    return total;
}

bool CTeamB::TestMoveLift() {
    for (CNodeTreeB* punct : m_Child)
        if (static_cast<CPunctB*>(punct)->m_TestMoveLift != 0) return true;
    return false;
}

bool CTeamB::AskLift() {
    for (CNodeTreeB* punct : m_Child)
        if (static_cast<CPunctB*>(punct)->m_AskLift != 0) return true;
    return false;
}

void CTeamB::SetStruct() {
    m_SortLift.clear();
    for (CNodeTreeB* node : m_Child) {
        auto* punct = static_cast<CPunctB*>(node);
        punct->m_SortLift.clear();
        for (CNodeTreeB* street : punct->m_Child)
            for (CNodeTreeB* home : street->m_Child)
                for (CNodeTreeB* lift : home->m_Child) {
                    punct->m_SortLift.push_back(static_cast<CLiftB*>(lift));
                    m_SortLift.push_back(static_cast<CLiftB*>(lift));
                }
        punct->m_SortLift.Sort();
    }
    m_SortLift.Sort();
}

void CTeamB::XMLAddOneG() {
    CCloudB* cloud = Cloud();
    xmlNode* element = cloud == nullptr || cloud->m_XMLDOMG == nullptr
                           ? nullptr
                           : xmlNewDocNode(cloud->m_XMLDOMG, nullptr,
                                           reinterpret_cast<const xmlChar*>(s_Team), nullptr);
    if (element == nullptr) throw ErrorXML(IDS_XML_APPEND, s_Team);
    m_XMLNodeG = element;
    XMLUpdateG();
}

void CTeamB::ClearTable() {
    m_TabState.Clear();
    m_TabOut.Clear();
    m_TabKey.Clear();
    m_UserTab.m_Child.Clear();
    m_GroupTab.m_Child.Clear();
    m_TabProfil.m_Child.Clear();
    m_SortLift.clear();
}

void CTeamB::Clear() {
    ClearTable();
    CNodeTreeB::Clear();
}

// ---- CPunctB ----

const char* const CPunctB::s_Punct = "DISP";
const char* const CPunctB::s_Name = "Name";
const char* const CPunctB::s_TypViewLift = "TypViewLift";
const char* const CPunctB::s_TestMoveLift = "TestMoveLift";
const char* const CPunctB::s_NameLock = "NameLock";
const char* const CPunctB::s_AskLift = "AskLift";
const char* const CPunctB::s_SpeakGDP = "SpeakGDP";
const char* const CPunctB::s_SizeLiftGrp = "SizeLiftGrp";
const char* const CPunctB::s_FonGrp = "FonGrp";
const char* const CPunctB::s_AvtoGGS = "AvtoGGS";
const char* const CPunctB::s_DisGrad = "DisGrad";
const char* const CPunctB::s_TwoCol = "TwoCol";

CPunctB::CPunctB(CNodeB* parent) : CNodeTreeB(parent), m_Group(this, nullptr) {}

void CPunctB::XMLLoadG(xmlNode* element) {
    m_XMLNodeG = element;
    const auto Int = [element](const char* attr) {
        return XMLLoadInteger(element, s_Punct, attr, 0);
    };
    m_Name = XMLLoadString(element, s_Punct, s_Name, false);
    m_TypViewLift = static_cast<typViewLift>(Int(s_TypViewLift));
    m_TestMoveLift = Int(s_TestMoveLift);
    m_NameLock = XMLLoadString(element, s_Punct, s_NameLock, true);
    m_AskLift = Int(s_AskLift);
    m_SpeakGDP = Int(s_SpeakGDP);
    CloudXml::LoadPair(element, s_Punct, s_SizeLiftGrp, m_LiftWidth, m_LiftHeight);
    m_FonGrp = CloudXml::LoadColor(element, s_Punct, s_FonGrp);
    m_AvtoGGS = Int(s_AvtoGGS);
    m_DisGrad = Int(s_DisGrad);
    m_TwoCol = XMLLoadBool(element, s_Punct, s_TwoCol, false);

    for (xmlNode* node = element->children; node != nullptr; node = node->next) {
        if (!CloudXml::Is(node, CStreetB::s_Street)) continue;
        std::unique_ptr<CStreetB> street(CreateStreet());
        street->XMLLoadG(node);
        const DBString prefix = street->m_Name;
        AppendChecked(m_Child, std::move(street), prefix, IDS_REPEAT_STREET, this);
    }
    m_SortLift.Sort();
    for (xmlNode* node = element->children; node != nullptr; node = node->next) {
        if (!CloudXml::Is(node, CGroupB::s_Group)) continue;
        std::unique_ptr<CGroupB> group(CreateGroup());
        group->XMLLoadG(node);
        m_Group.m_Groups.push_back(group.release());
    }
    m_IdentDB = Int(s_IdDB);
}

void CPunctB::XMLUpdateG() {
    xmlNode* e = m_XMLNodeG;
    if (e == nullptr) return;
    XMLUpdateString(e, s_Punct, s_Name, m_Name);
    XMLUpdateInteger(e, s_Punct, s_TypViewLift, m_TypViewLift, false);
    XMLUpdateInteger(e, s_Punct, s_TestMoveLift, m_TestMoveLift, false);
    XMLUpdateInteger(e, s_Punct, s_AskLift, m_AskLift, false);
    XMLUpdateInteger(e, s_Punct, s_SpeakGDP, m_SpeakGDP, true);
    CloudXml::UpdatePair(e, s_Punct, s_SizeLiftGrp, m_LiftWidth, m_LiftHeight);
    CloudXml::UpdateColor(e, s_Punct, s_FonGrp, m_FonGrp);
    XMLUpdateInteger(e, s_Punct, s_AvtoGGS, m_AvtoGGS, true);
    XMLUpdateBool(e, s_Punct, s_TwoCol, m_TwoCol, false);
    XMLUpdateInteger(e, s_Punct, s_IdDB, m_IdentDB, false);
}

void CPunctB::XMLCreate() {
    CNodeTreeB::XMLCreate();
    m_Group.m_Groups.XMLCreate();
}

void CPunctB::XMLUnbind() {
    CNodeTreeB::XMLUnbind();
    m_Group.XMLUnbind();
}

bool CPunctB::IsModify() { return CNodeTreeB::IsModify() || m_Group.IsModify(); }

void CPunctB::ClearModify() {
    CNodeTreeB::ClearModify();
    m_Group.ClearModify();
}

CStreetB* CPunctB::CreateStreet() { return new CStreetB(this); }

CGroupB* CPunctB::CreateGroup() { return new CGroupB(this, &m_Group); }

CLiftB* CPunctB::FindLift(const DBGUID& guid) {
    for (CNodeTreeB* street : m_Child)
        for (CNodeTreeB* home : street->m_Child)
            for (CNodeTreeB* node : home->m_Child) {
                auto* lift = static_cast<CLiftB*>(node);
                if (lift->m_GUID == guid) return lift;
            }
    return nullptr;
}

// ---- CStreetB ----

const char* const CStreetB::s_Street = "STREET";
const char* const CStreetB::s_Name = "Name";
const char* const CStreetB::s_Fon = "Fon";

void CStreetB::XMLLoadG(xmlNode* element) {
    m_XMLNodeG = element;
    m_Name = XMLLoadString(element, s_Street, s_Name, false);
    m_Fon = CloudXml::LoadColor(element, s_Street, s_Fon);
    for (xmlNode* node = element->children; node != nullptr; node = node->next) {
        if (!CloudXml::Is(node, CHomeB::s_Home)) continue;
        std::unique_ptr<CHomeB> home(CreateHome());
        home->XMLLoadG(node);
        const DBString prefix = m_Name + L"," + home->m_Name;
        AppendChecked(m_Child, std::move(home), prefix, IDS_REPEAT_HOME, this);
    }
    m_IdentDB = XMLLoadInteger(element, s_Street, s_IdDB, 0);
}

void CStreetB::XMLUpdateG() {
    if (m_XMLNodeG == nullptr) return;
    XMLUpdateString(m_XMLNodeG, s_Street, s_Name, m_Name);
    CloudXml::UpdateColor(m_XMLNodeG, s_Street, s_Fon, m_Fon);
    XMLUpdateInteger(m_XMLNodeG, s_Street, s_IdDB, m_IdentDB, false);
}

CHomeB* CStreetB::CreateHome() { return new CHomeB(this); }

// ---- CHomeB ----

const char* const CHomeB::s_Home = "HOME";
const char* const CHomeB::s_Name = "Name";
const char* const CHomeB::s_Lat = "Lat";
const char* const CHomeB::s_Long = "Long";

void CHomeB::XMLLoadG(xmlNode* element) {
    m_XMLNodeG = element;
    m_Name = XMLLoadString(element, s_Home, s_Name, false);
    m_Lat = XMLLoadDouble(element, s_Home, s_Lat, 0);
    m_Long = XMLLoadDouble(element, s_Home, s_Long, 0);
    const DBString street = m_Parent != nullptr ? m_Parent->m_Name : DBString();
    for (xmlNode* node = element->children; node != nullptr; node = node->next) {
        if (!CloudXml::Is(node, CLiftB::s_Lift)) continue;
        std::unique_ptr<CLiftB> lift(CreateLift());
        lift->XMLLoadG(node);
        const DBString prefix = street + L"," + m_Name + L"," + lift->m_Name;
        AppendChecked(m_Child, std::move(lift), prefix, IDS_REPEAT_LIFT, this);
    }
    m_IdentDB = XMLLoadInteger(element, s_Home, s_IdDB, 0);
}

void CHomeB::XMLUpdateG() {
    if (m_XMLNodeG == nullptr) return;
    XMLUpdateString(m_XMLNodeG, s_Home, s_Name, m_Name);
    XMLUpdateDouble(m_XMLNodeG, s_Home, s_Lat, m_Lat);
    XMLUpdateDouble(m_XMLNodeG, s_Home, s_Long, m_Long);
    XMLUpdateInteger(m_XMLNodeG, s_Home, s_IdDB, m_IdentDB, false);
}

CLiftB* CHomeB::CreateLift() { return new CLiftB(this); }

}  // namespace TERQCloud
