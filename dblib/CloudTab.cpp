// The small numbered tables of consoles, lifts and users: states, outputs, keys, terminal
// devices and alert subscriptions.
#include <iterator>
#include <memory>

#include "dblib/CloudStr.h"
#include "dblib/CloudXml.h"

namespace TERQCloud {

namespace {

constexpr int kFirstWrittenState = 32;  // XMLCreate writes only the user states 32..35
constexpr int kLastWrittenState = 35;
constexpr int kFirstWrittenOut = 1;  // and only the outs 1 and 2
constexpr int kLastWrittenOut = 2;

constexpr int kAlertMsgAlways = 44;   // the one alert message valid in every form
constexpr int kAlertAllLifts = 0x20;  // flag: every lift of the user

// The table element of an entry: made when the table has none in use yet.
template <typename Table>
Table* TableOf(CNodeB* entry) {
    return dynamic_cast<Table*>(entry->m_Parent);
}

template <typename Map>
bool AnyDefined(const Map& map) {
    for (const auto& item : map)
        if (item.second != nullptr && item.second->m_Define) return true;
    return false;
}

template <typename Map>
void DeleteAll(Map& map) {
    for (auto& item : map) delete item.second;
    map.clear();
}

template <typename Container>
bool AnyModified(Container& entries) {
    for (auto* entry : entries)
        if (entry != nullptr && entry->IsModify()) return true;
    return false;
}

template <typename Map>
void StoreUnder(Map& map, int key, typename Map::mapped_type entry) {
    auto& slot = map[key];
    if (slot != nullptr && slot != entry) delete slot;
    slot = entry;
}

}  // namespace

// ---- CStateB ----

const char* const CStateB::s_State = "State";
const char* const CStateB::s_Number = "Number";
const char* const CStateB::s_ShortName = "ShortName";
const char* const CStateB::s_MesForLog = "MesForLog";
const char* const CStateB::s_InsLog = "InsLog";
const char* const CStateB::s_Pulsar = "Pulsar";
const char* const CStateB::s_GroupSost = "GroupSost";
const char* const CStateB::s_Disabl = "Disabl";

CStateB::CStateB(int number, CNodeB* table) : CNodeTreeB(table), m_Number(number) {}

CStateB::CStateB(const CStateB& other) : CNodeTreeB(other) {
    m_IdentDB = 0;
    m_Number = other.m_Number;
    *this = other;
}

CStateB& CStateB::operator=(const CStateB& other) {
    if (this == &other) return *this;
    m_Parent = other.m_Parent;
    m_Number = other.m_Number;
    m_ShortName = other.m_ShortName;
    m_MesForLog = other.m_MesForLog;
    m_InsLog = other.m_InsLog;
    m_Pulsar = other.m_Pulsar;
    m_GroupSost = other.m_GroupSost;
    m_Disabl = other.m_Disabl;
    m_Define = other.m_Define;
    return *this;
}

void CStateB::XMLLoadG(xmlNode* element) {
    m_XMLNodeG = element;
    m_Number = XMLLoadInteger(element, s_State, s_Number, 0);
    m_ShortName = XMLLoadString(element, s_State, s_ShortName, true);
    m_MesForLog = XMLLoadString(element, s_State, s_MesForLog, true);
    m_InsLog = XMLLoadInteger(element, s_State, s_InsLog, 0);
    m_Pulsar = XMLLoadInteger(element, s_State, s_Pulsar, 0);
    m_GroupSost = XMLLoadInteger(element, s_State, s_GroupSost, 0);
    m_Disabl = XMLLoadInteger(element, s_State, s_Disabl, 0);
    m_IdentDB = XMLLoadInteger(element, s_State, s_IdDB, 0);
    m_Define = true;
}

void CStateB::XMLUpdateG() {
    xmlNode* e = m_XMLNodeG;
    if (e == nullptr) return;
    XMLUpdateInteger(e, s_State, s_Number, m_Number, true);
    XMLUpdateString(e, s_State, s_ShortName, m_ShortName);
    XMLUpdateString(e, s_State, s_MesForLog, m_MesForLog);
    XMLUpdateInteger(e, s_State, s_InsLog, m_InsLog, false);
    XMLUpdateInteger(e, s_State, s_Pulsar, m_Pulsar, false);
    XMLUpdateInteger(e, s_State, s_GroupSost, m_GroupSost, false);
    XMLUpdateInteger(e, s_State, s_Disabl, m_Disabl, false);
    XMLUpdateInteger(e, s_State, s_IdDB, m_IdentDB, false);
}

void CStateB::XMLAddG() {
    auto* table = TableOf<CTabStateB>(this);
    if (table == nullptr) return;
    if (table->IsEmpty() && table->m_XMLNodeG == nullptr) table->XMLAddG();
    CNodeTreeB::XMLAddG();
    m_Define = true;
}

void CStateB::XMLRemoveG() {
    auto* table = TableOf<CTabStateB>(this);
    if (table == nullptr) return;
    CNodeB::XMLRemoveG();
    m_Define = false;  // no longer in the document
    if (table->IsEmpty()) table->XMLRemoveG();
}

// ---- COutB ----

const char* const COutB::s_Out = "Out";
const char* const COutB::s_Number = "Number";
const char* const COutB::s_ShortOn = "ShortOn";
const char* const COutB::s_LongOn = "LongOn";
const char* const COutB::s_ShortOff = "ShortOff";
const char* const COutB::s_LongOff = "LongOff";
const char* const COutB::s_Disabl = "Disabl";
const char* const COutB::s_InsLog = "InsLog";

COutB::COutB(int number, CNodeB* table) : CNodeTreeB(table), m_Number(number) {}

COutB::COutB(const COutB& other) : CNodeTreeB(other) {
    m_IdentDB = 0;
    m_Number = other.m_Number;
    *this = other;
}

COutB& COutB::operator=(const COutB& other) {
    if (this == &other) return *this;
    m_Parent = other.m_Parent;
    m_Number = other.m_Number;
    m_ShortOn = other.m_ShortOn;
    m_LongOn = other.m_LongOn;
    m_ShortOff = other.m_ShortOff;
    m_LongOff = other.m_LongOff;
    m_Disabl = other.m_Disabl;
    m_InsLog = other.m_InsLog;
    return *this;
}

void COutB::XMLLoadG(xmlNode* element) {
    m_XMLNodeG = element;
    m_Number = XMLLoadInteger(element, s_Out, s_Number, 0);
    m_ShortOn = XMLLoadString(element, s_Out, s_ShortOn, true);
    m_LongOn = XMLLoadString(element, s_Out, s_LongOn, true);
    m_ShortOff = XMLLoadString(element, s_Out, s_ShortOff, true);
    m_LongOff = XMLLoadString(element, s_Out, s_LongOff, true);
    m_Disabl = XMLLoadInteger(element, s_Out, s_Disabl, 0);
    m_InsLog = XMLLoadInteger(element, s_Out, s_InsLog, 0);
    m_IdentDB = XMLLoadInteger(element, s_Out, s_IdDB, 0);
    m_Define = true;
}

void COutB::XMLUpdateG() {
    xmlNode* e = m_XMLNodeG;
    if (e == nullptr) return;
    XMLUpdateInteger(e, s_Out, s_Number, m_Number, true);
    XMLUpdateString(e, s_Out, s_ShortOn, m_ShortOn);
    XMLUpdateString(e, s_Out, s_LongOn, m_LongOn);
    XMLUpdateString(e, s_Out, s_ShortOff, m_ShortOff);
    XMLUpdateString(e, s_Out, s_LongOff, m_LongOff);
    XMLUpdateInteger(e, s_Out, s_Disabl, m_Disabl, false);
    XMLUpdateInteger(e, s_Out, s_InsLog, m_InsLog, false);
    XMLUpdateInteger(e, s_Out, s_IdDB, m_IdentDB, false);
}

void COutB::XMLAddG() {
    auto* table = TableOf<CTabOutB>(this);
    if (table == nullptr) return;
    if (table->IsEmpty() && table->m_XMLNodeG == nullptr) table->XMLAddG();
    CNodeTreeB::XMLAddG();
    m_Define = true;
}

void COutB::XMLRemoveG() {
    auto* table = TableOf<CTabOutB>(this);
    if (table == nullptr) return;
    CNodeB::XMLRemoveG();
    m_Define = false;
    if (table->IsEmpty()) table->XMLRemoveG();
}

// ---- CKeyB ----

const char* const CKeyB::s_Key = "Key";
const char* const CKeyB::s_Level = "Level";
const char* const CKeyB::s_Prefix = "Prefix";
const char* const CKeyB::s_Number = "Number";
const char* const CKeyB::s_Owner = "Owner";
const char* const CKeyB::s_Comm = "Comm";

CKeyB::CKeyB(const CKeyB& other) : CNodeTreeB(other) {
    m_IdentDB = 0;
    *this = other;
}

CKeyB& CKeyB::operator=(const CKeyB& other) {
    if (this == &other) return *this;
    m_Parent = other.m_Parent;
    m_Level = other.m_Level;
    m_Prefix = other.m_Prefix;
    m_Number = other.m_Number;
    m_Owner = other.m_Owner;
    m_Comm = other.m_Comm;
    return *this;
}

void CKeyB::XMLLoadG(xmlNode* element) {
    m_XMLNodeG = element;
    m_Level = XMLLoadInteger(element, s_Key, s_Level, 0);
    m_Prefix = XMLLoadInteger(element, s_Key, s_Prefix, 0);
    m_Number = XMLLoadInteger(element, s_Key, s_Number, 0);
    m_Owner = XMLLoadString(element, s_Key, s_Owner, true);
    m_Comm = XMLLoadString(element, s_Key, s_Comm, true);
    m_IdentDB = XMLLoadInteger(element, s_Key, s_IdDB, 0);
}

void CKeyB::XMLUpdateG() {
    xmlNode* e = m_XMLNodeG;
    if (e == nullptr) return;
    XMLUpdateInteger(e, s_Key, s_Level, m_Level, false);
    XMLUpdateInteger(e, s_Key, s_Prefix, m_Prefix, false);
    XMLUpdateInteger(e, s_Key, s_Number, m_Number, false);
    XMLUpdateString(e, s_Key, s_Owner, m_Owner);
    XMLUpdateString(e, s_Key, s_Comm, m_Comm);
    XMLUpdateInteger(e, s_Key, s_IdDB, m_IdentDB, false);
}

void CKeyB::XMLAddG() {
    auto* table = TableOf<CTabKeyB>(this);
    if (table == nullptr) return;
    if (table->m_XMLNodeG == nullptr) table->XMLAddG();
    CNodeTreeB::XMLAddG();
}

void CKeyB::XMLRemoveG() {
    auto* table = TableOf<CTabKeyB>(this);
    if (table == nullptr) return;
    CNodeB::XMLRemoveG();
    // Empty apart from this key, which the caller takes out before or after.
    bool other = false;
    for (const CKeyB* key : *table) other = other || key != this;
    if (!other) table->XMLRemoveG();
}

// ---- CTermDevB ----

const char* const CTermDevB::s_Dev = "Dev";
const char* const CTermDevB::s_Address = "Address";
const char* const CTermDevB::s_Short = "Short";
const char* const CTermDevB::s_Full = "Full";
const char* const CTermDevB::s_Typ = "Typ";
const char* const CTermDevB::s_Vers = "Vers";

CTermDevB::CTermDevB(const CTermDevB& other) : CNodeTreeB(other) { *this = other; }

CTermDevB& CTermDevB::operator=(const CTermDevB& other) {
    if (this == &other) return *this;
    m_Parent = other.m_Parent;
    m_Name = other.m_Name;
    m_IdentDB = other.m_IdentDB;
    m_Address = other.m_Address;
    m_Short = other.m_Short;
    m_Typ = other.m_Typ;
    m_Vers = other.m_Vers;
    return *this;
}

void CTermDevB::XMLLoadG(xmlNode* element) {
    m_XMLNodeG = element;
    m_Address = XMLLoadInteger(element, s_Dev, s_Address, 0);
    m_Short = XMLLoadString(element, s_Dev, s_Short, true);
    m_Name = XMLLoadString(element, s_Dev, s_Full, true);
    m_Typ = XMLLoadInteger(element, s_Dev, s_Typ, 0);
    m_Vers = XMLLoadInteger(element, s_Dev, s_Vers, 0);
    m_IdentDB = XMLLoadInteger(element, s_Dev, s_IdDB, 0);
}

void CTermDevB::XMLUpdateG() {
    xmlNode* e = m_XMLNodeG;
    if (e == nullptr) return;
    XMLUpdateInteger(e, s_Dev, s_Address, m_Address, false);
    XMLUpdateString(e, s_Dev, s_Short, m_Short);
    XMLUpdateString(e, s_Dev, s_Full, m_Name);
    XMLUpdateInteger(e, s_Dev, s_Typ, m_Typ, false);
    XMLUpdateInteger(e, s_Dev, s_Vers, m_Vers, false);
    XMLUpdateInteger(e, s_Dev, s_IdDB, m_IdentDB, false);
}

void CTermDevB::XMLAddG() {
    auto* table = TableOf<CTabTermDevB>(this);
    if (table == nullptr) return;
    if (table->m_XMLNodeG == nullptr) table->XMLAddG();
    CNodeTreeB::XMLAddG();
}

void CTermDevB::XMLRemoveG() {
    auto* table = TableOf<CTabTermDevB>(this);
    if (table == nullptr) return;
    CNodeB::XMLRemoveG();
    bool other = false;
    for (const auto& item : *table) other = other || item.second != this;
    if (!other) table->XMLRemoveG();
}

// ---- CTabStateB ----

const char* const CTabStateB::s_TabState = "TabState";

CTabStateB::~CTabStateB() { DeleteAll(*this); }

void CTabStateB::Insert(CStateB* state) {
    if (state == nullptr) return;
    state->m_Parent = this;
    StoreUnder(*this, state->m_Number, state);
}

bool CTabStateB::IsEmpty() const { return !AnyDefined(*this); }

bool CTabStateB::IsExistAndDefine(int n) const {
    const CStateB* state = Find(n);
    return state != nullptr && state->m_Define;
}

CStateB* CTabStateB::Find(int n) const {
    const auto it = find(n);
    return it == end() ? nullptr : it->second;
}

void CTabStateB::XMLLoadG(xmlNode* element) {
    m_XMLNodeG = element;
    for (xmlNode* node = element->children; node != nullptr; node = node->next) {
        if (!CloudXml::Is(node, CStateB::s_State)) continue;
        auto state = std::make_unique<CStateB>(0, this);
        state->XMLLoadG(node);
        Insert(state.release());
    }
}

void CTabStateB::XMLAddG() {
    if (m_Parent != nullptr) CNodeTreeB::XMLAddG();
}

void CTabStateB::XMLCreate() {
    XMLUnbind();
    if (IsEmpty() || m_Parent == nullptr) return;
    XMLAddG();
    for (auto it = lower_bound(kFirstWrittenState); it != end() && it->first <= kLastWrittenState;
         ++it) {
        if (it->second->m_Define) it->second->CNodeTreeB::XMLAddG();
    }
}

void CTabStateB::XMLRemoveG() {
    if (m_Parent == nullptr) return;
    CNodeB::XMLRemoveG();
    XMLUnbind();
}

void CTabStateB::XMLUnbind() {
    m_XMLNodeG = nullptr;
    for (auto& item : *this) item.second->m_XMLNodeG = nullptr;
}

bool CTabStateB::IsModify() {
    if (m_Modify) return true;
    for (auto& item : *this)
        if (item.second->IsModify()) return true;
    return false;
}

void CTabStateB::ClearModify() {
    m_Modify = false;
    for (auto& item : *this) item.second->ClearModify();
}

void CTabStateB::Clear() { DeleteAll(*this); }

// ---- CTabOutB ----

const char* const CTabOutB::s_TabOut = "TabOut";

CTabOutB::~CTabOutB() { DeleteAll(*this); }

void CTabOutB::Insert(COutB* out) {
    if (out == nullptr) return;
    out->m_Parent = this;
    StoreUnder(*this, out->m_Number, out);
}

bool CTabOutB::IsEmpty() const { return !AnyDefined(*this); }

bool CTabOutB::IsExistAndDefine(int n) const {
    const COutB* out = Find(n);
    return out != nullptr && out->m_Define;
}

COutB* CTabOutB::Find(int n) const {
    const auto it = find(n);
    return it == end() ? nullptr : it->second;
}

void CTabOutB::XMLLoadG(xmlNode* element) {
    m_XMLNodeG = element;
    for (xmlNode* node = element->children; node != nullptr; node = node->next) {
        if (!CloudXml::Is(node, COutB::s_Out)) continue;
        auto out = std::make_unique<COutB>(0, this);
        out->XMLLoadG(node);
        Insert(out.release());
    }
}

void CTabOutB::XMLAddG() {
    if (m_Parent != nullptr) CNodeTreeB::XMLAddG();
}

void CTabOutB::XMLCreate() {
    XMLUnbind();
    if (IsEmpty() || m_Parent == nullptr) return;
    XMLAddG();
    for (auto it = lower_bound(kFirstWrittenOut); it != end() && it->first <= kLastWrittenOut;
         ++it) {
        if (it->second->m_Define) it->second->CNodeTreeB::XMLAddG();
    }
}

void CTabOutB::XMLRemoveG() {
    if (m_Parent == nullptr) return;
    CNodeB::XMLRemoveG();
    XMLUnbind();
}

void CTabOutB::XMLUnbind() {
    m_XMLNodeG = nullptr;
    for (auto& item : *this) item.second->m_XMLNodeG = nullptr;
}

bool CTabOutB::IsModify() {
    if (m_Modify) return true;
    for (auto& item : *this)
        if (item.second->IsModify()) return true;
    return false;
}

void CTabOutB::ClearModify() {
    m_Modify = false;
    for (auto& item : *this) item.second->ClearModify();
}

void CTabOutB::Clear() { DeleteAll(*this); }

// ---- CTabKeyB ----

const char* const CTabKeyB::s_TabKey = "TabKey";

CTabKeyB::~CTabKeyB() { Clear(); }

void CTabKeyB::Insert(CKeyB* key) {
    if (key == nullptr) return;
    key->m_Parent = this;
    push_back(key);
}

CKeyB* CTabKeyB::Find(int number) const {
    for (CKeyB* key : *this)
        if (key->m_Number == number) return key;
    return nullptr;
}

DBString CTabKeyB::GetOwner(int number) const {
    const CKeyB* key = Find(number);
    return key != nullptr ? key->m_Owner : DBString();
}

void CTabKeyB::XMLLoadG(xmlNode* element) {
    m_XMLNodeG = element;
    for (xmlNode* node = element->children; node != nullptr; node = node->next) {
        if (!CloudXml::Is(node, CKeyB::s_Key)) continue;
        auto key = std::make_unique<CKeyB>(this);
        key->XMLLoadG(node);
        Insert(key.release());
    }
}

void CTabKeyB::XMLAddG() {
    if (m_Parent != nullptr) CNodeTreeB::XMLAddG();
}

void CTabKeyB::XMLCreate() {
    XMLUnbind();
    if (empty() || m_Parent == nullptr) return;
    XMLAddG();
    for (CKeyB* key : *this) key->CNodeTreeB::XMLAddG();
}

void CTabKeyB::XMLRemoveG() {
    if (m_Parent == nullptr) return;
    CNodeB::XMLRemoveG();
    XMLUnbind();
}

void CTabKeyB::XMLUnbind() {
    m_XMLNodeG = nullptr;
    for (CKeyB* key : *this) key->m_XMLNodeG = nullptr;
}

bool CTabKeyB::IsModify() { return m_Modify || AnyModified(*this); }

void CTabKeyB::ClearModify() {
    m_Modify = false;
    for (CKeyB* key : *this) key->ClearModify();
}

void CTabKeyB::Clear() {
    for (CKeyB* key : *this) delete key;
    clear();
}

// ---- CTabTermDevB ----

const char* const CTabTermDevB::s_TabDev = "TabDev";

CTabTermDevB::~CTabTermDevB() { DeleteAll(*this); }

void CTabTermDevB::Insert(CTermDevB* dev) {
    if (dev == nullptr) return;
    dev->m_Parent = this;
    StoreUnder(*this, dev->m_Address, dev);
}

CTermDevB* CTabTermDevB::Find(int address) const {
    const auto it = find(address);
    return it == end() ? nullptr : it->second;
}

void CTabTermDevB::XMLLoadG(xmlNode* element) {
    m_XMLNodeG = element;
    for (xmlNode* node = element->children; node != nullptr; node = node->next) {
        if (!CloudXml::Is(node, CTermDevB::s_Dev)) continue;
        auto dev = std::make_unique<CTermDevB>(this);
        dev->XMLLoadG(node);
        Insert(dev.release());
    }
}

void CTabTermDevB::XMLAddG() {
    if (m_Parent != nullptr) CNodeTreeB::XMLAddG();
}

void CTabTermDevB::XMLCreate() {
    XMLUnbind();
    if (empty() || m_Parent == nullptr) return;
    XMLAddG();
    for (auto& item : *this) item.second->CNodeTreeB::XMLAddG();
}

void CTabTermDevB::XMLRemoveG() {
    if (m_Parent == nullptr) return;
    CNodeB::XMLRemoveG();
    XMLUnbind();
}

void CTabTermDevB::XMLUnbind() {
    m_XMLNodeG = nullptr;
    for (auto& item : *this) item.second->m_XMLNodeG = nullptr;
}

bool CTabTermDevB::IsModify() {
    if (m_Modify) return true;
    for (auto& item : *this)
        if (item.second->IsModify()) return true;
    return false;
}

void CTabTermDevB::ClearModify() {
    m_Modify = false;
    for (auto& item : *this) item.second->ClearModify();
}

void CTabTermDevB::Clear() { DeleteAll(*this); }

// ---- alert subscriptions ----

const char* const CAlertLift::s_AlertLift = "AlertLift";
const char* const CAlertLift::s_CodAlertLift = "CodAlertLift";
const char* const CAlertLift::s_Filter = "Filter";
const char* const CAlertLift::s_Annot = "Annot";
const char* const CAlertLift::s_CodLift = "CodLift";

void CAlertLift::XMLLoadG(xmlNode* element) {
    m_XMLNodeG = element;
    m_CodAlertLift = XMLLoadInteger(element, s_AlertLift, s_CodAlertLift, 0);
    m_Filter = XMLLoadString(element, s_AlertLift, s_Filter, true);
    m_Annot = XMLLoadString(element, s_AlertLift, s_Annot, true);
    m_CodLift = XMLLoadInteger(element, s_AlertLift, s_CodLift, 0);
    m_IdentDB = XMLLoadInteger(element, s_AlertLift, s_IdDB, 0);
}

void CAlertLift::XMLUpdateG() {
    xmlNode* e = m_XMLNodeG;
    if (e == nullptr) return;
    XMLUpdateInteger(e, s_AlertLift, s_CodAlertLift, m_CodAlertLift, false);
    XMLUpdateString(e, s_AlertLift, s_Filter, m_Filter);
    XMLUpdateString(e, s_AlertLift, s_Annot, m_Annot);
    XMLUpdateInteger(e, s_AlertLift, s_CodLift, m_CodLift, false);
    XMLUpdateInteger(e, s_AlertLift, s_IdDB, m_IdentDB, false);
}

const char* const CAlertMsg::s_AlertMsg = "AlertMsg";
const char* const CAlertMsg::s_CodAlertMsg = "CodAlertMsg";
const char* const CAlertMsg::s_NumMsg = "NumMsg";
const char* const CAlertMsg::s_Comment = "Comment";
const char* const CAlertMsg::s_Filter = "Filter";
const char* const CAlertMsg::s_Annot = "Annot";
const char* const CAlertMsg::s_Flags = "Flags";
const char* const CAlertMsg::s_GroupMask = "GroupMask";
const char* const CAlertMsg::s_Test = "Test";
const char* const CAlertMsg::s_DelayNext = "DelayNext";

void CAlertMsg::XMLLoadG(xmlNode* element) {
    m_XMLNodeG = element;
    const auto Int = [element](const char* attr) {
        return XMLLoadInteger(element, s_AlertMsg, attr, 0);
    };
    m_CodAlertMsg = Int(s_CodAlertMsg);
    m_NumMsg = Int(s_NumMsg);
    m_Comment = XMLLoadString(element, s_AlertMsg, s_Comment, true);
    m_Filter = XMLLoadString(element, s_AlertMsg, s_Filter, true);
    m_Annot = XMLLoadString(element, s_AlertMsg, s_Annot, true);
    m_Flags = Int(s_Flags);
    m_GroupMask = Int(s_GroupMask);
    m_Test = Int(s_Test);
    m_DelayNext = Int(s_DelayNext);
    for (xmlNode* node = element->children; node != nullptr; node = node->next) {
        if (!CloudXml::Is(node, CAlertLift::s_AlertLift)) continue;
        auto lift = std::make_unique<CAlertLift>(this);
        lift->XMLLoadG(node);
        m_Child.push_back(lift.release());
    }
    m_IdentDB = Int(s_IdDB);
}

void CAlertMsg::XMLUpdateG() {
    xmlNode* e = m_XMLNodeG;
    if (e == nullptr) return;
    XMLUpdateInteger(e, s_AlertMsg, s_CodAlertMsg, m_CodAlertMsg, false);
    XMLUpdateInteger(e, s_AlertMsg, s_NumMsg, m_NumMsg, false);
    XMLUpdateString(e, s_AlertMsg, s_Comment, m_Comment);
    XMLUpdateString(e, s_AlertMsg, s_Filter, m_Filter);
    XMLUpdateString(e, s_AlertMsg, s_Annot, m_Annot);
    XMLUpdateInteger(e, s_AlertMsg, s_Flags, m_Flags, false);
    XMLUpdateInteger(e, s_AlertMsg, s_GroupMask, m_GroupMask, false);
    XMLUpdateInteger(e, s_AlertMsg, s_Test, m_Test, false);
    XMLUpdateInteger(e, s_AlertMsg, s_DelayNext, m_DelayNext, false);
    XMLUpdateInteger(e, s_AlertMsg, s_IdDB, m_IdentDB, false);
}

bool CAlertMsg::IsValid() const {
    if (m_NumMsg == kAlertMsgAlways) return true;
    const bool named = (m_Flags & kAlertAllLifts) != 0 || m_GroupMask != 0 || !m_Child.empty();
    return IsMustLift() ? named : !named;
}

void CAlertMsg::Remove(CAlertLift* lift) {
    if (lift == nullptr) return;
    m_Child.Remove(lift);
    lift->XMLRemoveG();
    m_Modify = true;
}

const char* const CTabAlertMsg::s_TabAlertMsg = "TabAlertMsg";

CAlertMsg* CTabAlertMsg::Find(int num, const DBString& text) const {
    for (CNodeTreeB* node : m_Child) {
        auto* msg = static_cast<CAlertMsg*>(node);
        if (msg->m_NumMsg == num &&
            (msg->m_Filter.empty() || text.Find(msg->m_Filter.c_str()) >= 0))
            return msg;
    }
    return nullptr;
}

void CTabAlertMsg::Remove(CAlertMsg* msg) {
    if (msg == nullptr) return;
    m_Child.Remove(msg);
    if (msg->m_XMLNodeG != nullptr) {
        msg->CNodeB::XMLRemoveG();
        msg->XMLUnbind();
    }
    if (m_Parent != nullptr) m_Parent->m_Modify = true;
    if (m_Child.empty()) XMLRemoveG();
}

void CTabAlertMsg::XMLLoadG(xmlNode* element) {
    m_XMLNodeG = element;
    for (xmlNode* node = element->children; node != nullptr; node = node->next) {
        if (!CloudXml::Is(node, CAlertMsg::s_AlertMsg)) continue;
        auto msg = std::make_unique<CAlertMsg>(this);
        msg->XMLLoadG(node);
        m_Child.push_back(msg.release());
    }
}

void CTabAlertMsg::XMLAddG() {
    if (m_Parent != nullptr) CNodeTreeB::XMLAddG();
}

void CTabAlertMsg::XMLCreate() {
    XMLUnbind();
    if (m_Child.empty() || m_Parent == nullptr) return;
    CNodeTreeB::XMLCreate();
}

void CTabAlertMsg::XMLRemoveG() {
    if (m_Parent == nullptr || m_XMLNodeG == nullptr) return;
    CNodeB::XMLRemoveG();
    XMLUnbind();
}

}  // namespace TERQCloud
