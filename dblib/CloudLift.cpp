// Lifts: passport, network data, address texts, floors and the live state logic.
#include <cwchar>
#include <memory>

#include "dblib/CloudStr.h"
#include "dblib/CloudXml.h"
#include "dblib/LoadRes.h"
#include "dblib/TERQDbLibRes.h"

namespace TERQCloud {

namespace {

constexpr int kChanged = 257;       // change marker after a state change
constexpr int kMaxKeyCode = 65279;  // highest key code of a service key

const wchar_t* const kCrLf = L"\r\n";
const wchar_t* const kCrLfText = L"\\r\\n";  // how CR LF stands in the attribute

DBTime NoStateYet() { return DBTime(1990, 1, 1, 0, 0, 0); }

bool NoLink(const CSostDev& s) {
    return s.tstBit(CSostDev::bitNoInfo) || s.tstBit(CSostDev::bitNoLink);
}

// The key as 32 upper-case hex digits; all zero gives the empty text (no attribute).
DBString KeyText(const CKeySys& key) { return key.IsEmpty() ? DBString() : key.GetString(); }

// A stored key of 32 zeros stays empty rather than becoming the default key, so that loading
// and saving a lift leaves its element as it was; any other text goes to CKeySys::Set.
void SetKey(CKeySys& key, const DBString& text) {
    if (text.size() == 32 && text.find_first_not_of(L'0') == DBString::npos) {
        const unsigned char zero[16] = {};
        key.Set(zero);
        return;
    }
    key.Set(text.c_str());
}

// Bits 21 (unless escalator) and 22 say nothing about errors or a change of state.
void DropMotion(CSostDev& s, bool escal) {
    s.clrBit(CSostDev::bitReserved1);
    if (!escal) s.clrBit(CSostDev::bitMainDriveOn);
}

}  // namespace

const char* const CLiftB::s_Lift = "LIFT";
const char* const CLiftB::s_Name = "Name";
const char* const CLiftB::s_ID = "ID";
const char* const CLiftB::s_GUID = "GUID";
const char* const CLiftB::s_Ident = "Ident";
const char* const CLiftB::s_IDPro = "IDPro";
const char* const CLiftB::s_SubNet = "SubNet";
const char* const CLiftB::s_UM = "UM";
const char* const CLiftB::s_Slot = "Slot";
const char* const CLiftB::s_Addr = "Addr";
const char* const CLiftB::s_InsContr = "InsContr";
const char* const CLiftB::s_Key = "Key";
const char* const CLiftB::s_NameLock = "NameLock";
const char* const CLiftB::s_Owner = "Owner";
const char* const CLiftB::s_ServBrig = "ServBrig";
const char* const CLiftB::s_Mehan = "Mehan";
const char* const CLiftB::s_RegNum = "RegNum";
const char* const CLiftB::s_Model = "Model";
const char* const CLiftB::s_Wight = "Wight";
const char* const CLiftB::s_Speed = "Speed";
const char* const CLiftB::s_TotlStop = "TotlStop";
const char* const CLiftB::s_JobYear = "JobYear";
const char* const CLiftB::s_DatTO = "DatTO";
const char* const CLiftB::s_Manuf = "Manuf";
const char* const CLiftB::s_Reduct = "Reduct";
const char* const CLiftB::s_ElDriver = "ElDriver";
const char* const CLiftB::s_Kanat = "Kanat";
const char* const CLiftB::s_SkafManag = "SkafManag";
const char* const CLiftB::s_SignalMan = "SignalMan";
const char* const CLiftB::s_FactoryNumLU = "FactoryNumLU";
const char* const CLiftB::s_SIPAddr = "SIPAddr";
const char* const CLiftB::s_SIPLogin = "SIPLogin";
const char* const CLiftB::s_SIPPasswd = "SIPPasswd";
const char* const CLiftB::s_Typ = "Typ";
const char* const CLiftB::s_TotLvlUnder = "TotLvlUnder";
const char* const CLiftB::s_NameFloor = "NameFloor";
const char* const CLiftB::s_Access = "Access";
const char* const CLiftB::s_Comment = "Comment";
const char* const CLiftB::s_VideoCmd = "VideoCmd";
const char* const CLiftB::s_VideoPhone = "VideoPhone";
const char* const CLiftB::s_Lat = "Lat";
const char* const CLiftB::s_Long = "Long";
const char* const CLiftB::s_ExclStat = "ExclStat";

CLiftB::CLiftB(CNodeB* home)
    : CNodeTreeB(home),
      m_Ident(0, 0),
      m_TabState(this),
      m_TabOut(this),
      m_TabDev(this),
      m_TimeErr(NoStateYet()) {
    m_TimeSost = NoStateYet();
}

CLiftB::CLiftB(const CLiftB& o)
    : CNodeTreeB(o),
      CDev(o.m_Addr, o.m_typDev),
      m_ID(o.m_ID),
      m_Ident(o.m_Ident),
      m_IDPro(o.m_IDPro),
      m_SubNet(o.m_SubNet),
      m_UM(o.m_UM),
      m_Slot(o.m_Slot),
      m_InsContr(o.m_InsContr),
      m_NameLock(o.m_NameLock),
      m_Owner(o.m_Owner),
      m_ServBrig(o.m_ServBrig),
      m_Mehan(o.m_Mehan),
      m_RegNum(o.m_RegNum),
      m_Model(o.m_Model),
      m_Wight(o.m_Wight),
      m_Speed(o.m_Speed),
      m_TotlStop(o.m_TotlStop),
      m_JobYear(o.m_JobYear),
      m_DatTO(o.m_DatTO),
      m_Manuf(o.m_Manuf),
      m_Reduct(o.m_Reduct),
      m_ElDriver(o.m_ElDriver),
      m_Kanat(o.m_Kanat),
      m_SkafManag(o.m_SkafManag),
      m_SignalMan(o.m_SignalMan),
      m_FactoryNumLU(o.m_FactoryNumLU),
      m_SIPAddr(o.m_SIPAddr),
      m_SIPLogin(o.m_SIPLogin),
      m_SIPPasswd(o.m_SIPPasswd),
      m_Typ(o.m_Typ),
      m_TotLvlUnder(o.m_TotLvlUnder),
      m_NameFloor(o.m_NameFloor),
      m_Access(o.m_Access),
      m_Comment(o.m_Comment),
      m_VideoCmd(o.m_VideoCmd),
      m_VideoPhone(o.m_VideoPhone),
      m_Lat(o.m_Lat),
      m_Long(o.m_Long),
      m_ExclStat(o.m_ExclStat),
      m_TabState(this),
      m_TabOut(this),
      m_TabDev(this),
      m_TimeErr(o.m_TimeErr),
      m_CntChange(o.m_CntChange),
      m_Change(o.m_Change),
      m_KeyCode(o.m_KeyCode) {
    m_GUID = o.m_GUID;  // DBGUID declares only its assignment
    m_Key.Set(o.m_Key.Get());
    m_TimeSost = o.m_TimeSost;
    m_Sost = o.m_Sost;
    m_SostOld = o.m_SostOld;
    for (const auto& item : o.m_TabState) m_TabState.Insert(new CStateB(*item.second));
    for (const auto& item : o.m_TabOut) m_TabOut.Insert(new COutB(*item.second));
    for (const auto& item : o.m_TabDev) m_TabDev.Insert(new CTermDevB(*item.second));
}

void CLiftB::XMLLoadG(xmlNode* element) {
    m_XMLNodeG = element;
    const auto Str = [element](const char* attr) {
        return XMLLoadString(element, s_Lift, attr, true);
    };
    const auto Int = [element](const char* attr) {
        return XMLLoadInteger(element, s_Lift, attr, 0);
    };
    m_Name = XMLLoadString(element, s_Lift, s_Name, false);
    m_ID = Str(s_ID);
    m_GUID = Str(s_GUID).c_str();
    SetKey(m_Key, Str(s_Key));
    m_InsContr = Int(s_InsContr);
    m_NameLock = Str(s_NameLock);
    m_Owner = Str(s_Owner);
    m_ServBrig = Str(s_ServBrig);
    m_Mehan = Str(s_Mehan);
    m_RegNum = Str(s_RegNum);
    m_Model = Str(s_Model);
    m_Wight = Str(s_Wight);
    m_Speed = Str(s_Speed);
    m_TotlStop = Str(s_TotlStop);
    m_JobYear = Str(s_JobYear);
    m_DatTO = Str(s_DatTO);
    m_Manuf = Str(s_Manuf);
    m_Reduct = Str(s_Reduct);
    m_ElDriver = Str(s_ElDriver);
    m_Kanat = Str(s_Kanat);
    m_SkafManag = Str(s_SkafManag);
    m_SignalMan = Str(s_SignalMan);
    m_FactoryNumLU = Str(s_FactoryNumLU);
    m_Typ = static_cast<typLift>(Int(s_Typ));
    m_TotLvlUnder = Int(s_TotLvlUnder);
    m_NameFloor = Str(s_NameFloor);
    m_Access = Int(s_Access);
    m_Comment = Str(s_Comment);
    m_Comment.Replace(kCrLfText, kCrLf);
    m_VideoCmd = Str(s_VideoCmd);
    m_VideoPhone = Str(s_VideoPhone);
    m_SIPAddr = Str(s_SIPAddr);
    m_SIPLogin = Str(s_SIPLogin);
    m_SIPPasswd = Str(s_SIPPasswd);
    m_Ident = CIdentV7(Int(s_Ident), 0);
    m_IDPro = Int(s_IDPro);
    m_SubNet = Int(s_SubNet);
    m_UM = Int(s_UM);
    m_Slot = Int(s_Slot);
    m_Addr = Int(s_Addr);
    m_Lat = XMLLoadDouble(element, s_Lift, s_Lat, 0);
    m_Long = XMLLoadDouble(element, s_Lift, s_Long, 0);
    m_ExclStat = XMLLoadBool(element, s_Lift, s_ExclStat, false);
    for (xmlNode* node = element->children; node != nullptr; node = node->next) {
        if (node->type != XML_ELEMENT_NODE) continue;
        if (CloudXml::Is(node, CTabStateB::s_TabState)) {
            m_TabState.XMLLoadG(node);
        } else if (CloudXml::Is(node, CTabOutB::s_TabOut)) {
            m_TabOut.XMLLoadG(node);
        } else if (CloudXml::Is(node, CTabTermDevB::s_TabDev)) {
            m_TabDev.XMLLoadG(node);
        }
    }
    m_IdentDB = Int(s_IdDB);
}

void CLiftB::XMLUpdateG() {
    xmlNode* e = m_XMLNodeG;
    if (e == nullptr) return;
    const auto Str = [e](const char* attr, const DBString& value) {
        XMLUpdateString(e, s_Lift, attr, value);
    };
    const auto Int = [e](const char* attr, int value, bool always) {
        XMLUpdateInteger(e, s_Lift, attr, value, always);
    };
    Str(s_Name, m_Name);
    Str(s_ID, m_ID);
    Str(s_GUID, m_GUID.ToString());
    Int(s_Ident, m_Ident.GetNode(), false);
    Int(s_IDPro, m_IDPro, false);
    // The bus address counts only for a lift unit reached by neither identifier.
    const bool onBus = m_Ident.GetNode() == 0 && m_IDPro == 0;
    Int(s_SubNet, onBus ? m_SubNet : 0, onBus);
    Int(s_UM, onBus ? m_UM : 0, onBus);
    Int(s_Slot, onBus ? m_Slot : 0, onBus);
    Int(s_Addr, onBus ? m_Addr : 0, onBus);
    Int(s_InsContr, m_InsContr, true);
    Str(s_Key, KeyText(m_Key));
    Str(s_NameLock, m_NameLock);
    Str(s_Owner, m_Owner);
    Str(s_ServBrig, m_ServBrig);
    Str(s_Mehan, m_Mehan);
    Str(s_RegNum, m_RegNum);
    Str(s_Model, m_Model);
    Str(s_Wight, m_Wight);
    Str(s_Speed, m_Speed);
    Str(s_TotlStop, m_TotlStop);
    Str(s_JobYear, m_JobYear);
    Str(s_DatTO, m_DatTO);
    Str(s_Manuf, m_Manuf);
    Str(s_Reduct, m_Reduct);
    Str(s_ElDriver, m_ElDriver);
    Str(s_Kanat, m_Kanat);
    Str(s_SkafManag, m_SkafManag);
    Str(s_SignalMan, m_SignalMan);
    Str(s_FactoryNumLU, m_FactoryNumLU);
    Str(s_SIPAddr, m_SIPAddr);
    Str(s_SIPLogin, m_SIPLogin);
    Str(s_SIPPasswd, m_SIPPasswd);
    Int(s_Typ, m_Typ, false);
    Int(s_TotLvlUnder, m_TotLvlUnder, false);
    Str(s_NameFloor, m_NameFloor);
    Int(s_Access, m_Access, false);
    DBString comment = m_Comment;
    comment.Replace(kCrLf, kCrLfText);
    Str(s_Comment, comment);
    Str(s_VideoCmd, m_VideoCmd);
    Str(s_VideoPhone, m_VideoPhone);
    XMLUpdateDouble(e, s_Lift, s_Lat, m_Lat);
    XMLUpdateDouble(e, s_Lift, s_Long, m_Long);
    XMLUpdateBool(e, s_Lift, s_ExclStat, m_ExclStat, false);
    Int(s_IdDB, m_IdentDB, false);
}

void CLiftB::XMLCreate() {
    XMLAddG();
    m_TabState.XMLCreate();
    m_TabOut.XMLCreate();
    m_TabDev.XMLCreate();
}

void CLiftB::XMLUnbind() {
    CNodeTreeB::XMLUnbind();
    m_TabState.XMLUnbind();
    m_TabOut.XMLUnbind();
    m_TabDev.XMLUnbind();
}

bool CLiftB::IsModify() {
    return m_Modify || m_TabState.IsModify() || m_TabOut.IsModify() || m_TabDev.IsModify();
}

void CLiftB::ClearModify() {
    m_Modify = false;
    m_TabState.ClearModify();
    m_TabOut.ClearModify();
    m_TabDev.ClearModify();
}

CStateB* CLiftB::CreateState(int number) { return new CStateB(number, &m_TabState); }

COutB* CLiftB::CreateOut(int number) { return new COutB(number, &m_TabOut); }

CPunctB* CLiftB::Punct() {
    CNodeB* home = m_Parent;
    CNodeB* street = home != nullptr ? home->m_Parent : nullptr;
    CNodeB* punct = street != nullptr ? street->m_Parent : nullptr;
    return punct != nullptr && punct->TypNode() == typPunct ? static_cast<CPunctB*>(punct)
                                                            : nullptr;
}

CTeamB* CLiftB::Team() {
    CPunctB* punct = Punct();
    CNodeB* team = punct != nullptr ? punct->m_Parent : nullptr;
    return team != nullptr && team->TypNode() == typTeam ? static_cast<CTeamB*>(team) : nullptr;
}

DBString CLiftB::AdrNoID() {
    if (m_Parent == nullptr) return DBString();
    const CNodeB* street = m_Parent->m_Parent;
    return (street != nullptr ? street->m_Name : DBString()) + L"," + m_Parent->m_Name + L"," +
           m_Name;
}

DBString CLiftB::Adr() {
    if (m_Parent == nullptr) return DBString();
    return AdrNoID() + L" (" + m_ID + L")";
}

DBString CLiftB::RAdr() {
    if (m_Parent == nullptr) return DBString();
    const CNodeB* street = m_Parent->m_Parent;
    return m_Name + L"," + m_Parent->m_Name + L"," +
           (street != nullptr ? street->m_Name : DBString());
}

DBString CLiftB::FullAdr() {
    if (m_Parent == nullptr) return DBString();
    const CNodeB* street = m_Parent->m_Parent;
    const CNodeB* punct = street != nullptr ? street->m_Parent : nullptr;
    return (punct != nullptr ? punct->m_Name : DBString()) + L"," + AdrNoID();
}

DBString CLiftB::nameTypDev(typLift typ) {
    switch (typ) {
        case tlLift:
            return _S_(IDS_LIFT);
        case tlEscalator:
            return _S_(IDS_ESCALATOR);
        case tlTravelator:
            return _S_(IDS_TRAVELATOR);
        case tlHoist:
            return _S_(IDS_HOIST);
    }
    return DBString(L"????");
}

DBString CLiftB::StringResource(unsigned id) {
    if (CTeamB* team = Team()) return team->StringResource(id);
    return _S_(static_cast<unsigned short>(id & 0xFFFFu));
}

int CLiftB::RealLevel(int level) const {
    // In 64 bits: hostile level counts must not overflow.
    const long long d = static_cast<long long>(level) - m_TotLvlUnder;
    return static_cast<int>(d >= 1 ? d : d - 1);
}

DBString CLiftB::NameFloor(int level) {
    DBString name;
    size_t start = 0;
    bool found = true;
    for (int skip = 1; skip < level; ++skip) {
        const size_t sep = m_NameFloor.find(L';', start);
        if (sep == DBString::npos) {
            found = false;
            break;
        }
        start = sep + 1;
    }
    if (found) {
        const size_t end = m_NameFloor.find(L';', start);
        name = m_NameFloor.substr(start, end == DBString::npos ? DBString::npos : end - start);
        name.Trim();
    }
    if (name.empty()) name.Format(L"%d", RealLevel(level));
    return name;
}

bool CLiftB::IsKnovSost() const { return m_TimeSost != NoStateYet(); }

bool CLiftB::tstBit(CSostDev::bitLB bit) {
    const CStateB* user = FindUserState(bit);
    if (user != nullptr && user->m_Disabl != 0) return false;
    return m_Sost.tstBit(bit);
}

bool CLiftB::IsKeyServ() const {
    return m_Sost.tstBit(CSostDev::bitMaintenance) && m_KeyCode != 0 && m_KeyCode <= kMaxKeyCode;
}

bool CLiftB::SostEQ(const CSostDev& s) {
    const bool curNoLink = NoLink(m_Sost);
    const bool newNoLink = NoLink(s);
    if (!curNoLink && !newNoLink) {
        CSostDev a = m_Sost;
        CSostDev b = s;
        DropMotion(a, IsEscal());
        DropMotion(b, IsEscal());
        for (int i = 0; i < 8; ++i)
            if (a[i] != b[i]) return false;
        return true;
    }
    return curNoLink && newNoLink && m_Sost.Info().EQ(s.Info());
}

bool CLiftB::SetSost(CSostDev& s) {
    const bool known = IsKnovSost();
    m_CntChange = 0;
    m_TimeSost = DBTime::CurDateTime();
    if (s.IsError()) m_TimeErr = m_TimeSost;
    const CStateB* idle = FindUserState(CSostDev::bitIdle1Hour);
    if ((idle != nullptr && idle->m_Disabl != 0) || !m_Sost.tstBit(CSostDev::bitIdle1Hour)) {
        s.clrBit(CSostDev::bitIdle1Hour);
    } else {
        s.setBit(CSostDev::bitIdle1Hour);
    }
    const bool same = known && SostEQ(s);
    m_Sost = s;
    if (!IsV6()) {
        // Devices other than V6 report four units: the word keeps that shape.
        const CInfoCLB& info = s.Info();
        const unsigned char units[6] = {s[0], s[1], s[2], s[3], info[0], info[1]};
        m_Sost.SetData(units, 6);
    }
    if (same) return false;
    m_Change = kChanged;
    return true;
}

bool CLiftB::NewErrorSost(const CSostDev& old, const CSostDev& now) {
    CSostDev o = old;
    CSostDev n = now;
    DropMotion(o, IsEscal());
    DropMotion(n, IsEscal());
    for (int bit = CSostDev::bitUser1; bit <= CSostDev::bitUser4; ++bit) {
        const CStateB* user = FindUserState(static_cast<CSostDev::bitLB>(bit));
        if (user != nullptr && (user->m_Pulsar == 0 || user->m_Disabl != 0)) {
            o.clrBit(bit);
            n.clrBit(bit);
        }
    }
    const bool oldNoLink = NoLink(o);
    const bool nowNoLink = NoLink(n);
    if (!oldNoLink && !nowNoLink) {
        for (int i = 0; i < 8; ++i)
            if ((n[i] & ~o[i]) != 0) return true;
        const auto differs = [&](int bit) { return o.tstBit(bit) != n.tstBit(bit); };
        if (!IsEscal()) return differs(CSostDev::bitIdle1Hour);
        return differs(CSostDev::bitMainDriveOn) || differs(CSostDev::bitStopClamped) ||
               differs(CSostDev::bitIdle1Hour);
    }
    if (!oldNoLink || !nowNoLink) return true;
    return o.Info().NewError(n.Info());
}

CStateB* CLiftB::FindUserState(CSostDev::bitLB bit) {
    if (m_TabState.IsExistAndDefine(bit)) return m_TabState.Find(bit);
    CTeamB* team = Team();
    if (team != nullptr && team->m_TabState.IsExistAndDefine(bit))
        return team->m_TabState.Find(bit);
    return nullptr;
}

COutB* CLiftB::FindUserOut(int n) {
    if (m_TabOut.IsExistAndDefine(n)) return m_TabOut.Find(n);
    CTeamB* team = Team();
    if (team != nullptr && team->m_TabOut.IsExistAndDefine(n)) return team->m_TabOut.Find(n);
    return nullptr;
}

}  // namespace TERQCloud
