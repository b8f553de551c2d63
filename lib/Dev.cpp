#include "lib/Dev.h"

#include <algorithm>

#include "dblib/LoadRes.h"
#include "lib/NetXml.h"
#include "lib/Slot.h"
#include "lib/TERQLibRes.h"
#include "lib/Xml.h"

namespace {

using TERQCloud::CNodeB;

// The text of code in a table of count names starting at base; unknown codes are not defined.
DBString NameOf(unsigned short base, int count, int code) {
    if (code < 0 || code >= count) return _S_(IDS_NOT_DEFINED);
    return _S_(static_cast<unsigned short>(base + code));
}

}  // namespace

CDev::CDev() : CDev(0, tdNone) {}

CDev::CDev(int addr, int typ)
    : m_Addr(addr), m_TimeCreate(DBTime::CurDateTime()), m_typDev(typ), m_bENU(g_StringENU) {}

CDev::~CDev() { delete m_pParam; }

void CDev::XMLAdd(xmlNode* parent) {
    m_pNode = NetXml::NewChild(parent, s_Element);
    XMLUpdate();
}

void CDev::XMLUpdate() {
    if (m_pNode == nullptr) return;
    CNodeB::XMLUpdateInteger(m_pNode, s_Element, s_Addr, m_Addr, true);
    if (m_pParam != nullptr) m_pParam->XMLUpdate(m_pNode);
}

void CDev::XMLRemove() { NetXml::Remove(m_pNode); }

void CDev::XMLLoad(xmlNode* node) {
    m_pNode = node;
    m_Addr = CNodeB::XMLLoadInteger(node, s_Element, s_Addr, 0);
}

void CDev::XMLPostLoad() {
    if (m_pParam != nullptr && m_pNode != nullptr) m_pParam->XMLLoad(m_pNode);
}

bool CDev::SetParDev(const CMes& mes) {
    const int typ = mes.GetTypMes();
    if ((typ != CMes::mtSostDev && typ != CMes::mtSostLift) || mes.GetDev() != m_Addr) return false;
    ++m_CntMes;
    m_TimeSost = DBTime::CurDateTime();
    if (mes.GetSost() == m_Sost) return false;
    m_SostOld = m_Sost;
    m_Sost = mes.GetSost();
    return true;
}

bool CDev::GetFloor(const CMes& mes, int& floor) {
    if (mes.LvlAsk10() < 1) return false;
    floor = mes.CurLvl();
    return true;
}

bool CDev::IsV6(int typ) { return typ == tdV6 || typ == tdPro || typ == tdV7; }
bool CDev::IsV7(int typ) { return typ == tdV7; }
bool CDev::IsPro(int typ) { return typ == tdPro || typ == tdV7; }
bool CDev::IsIT(int typ) { return typ == tdIT16 || typ == tdIT18 || typ == tdIT19; }

bool CDev::IsKnovExt(int typ, bool knownExt) {
    return typ < tdExtFirst || typ > tdExtLast || knownExt;
}

int CDev::GetVers() const {
    if (IsV7()) return 7;
    return IsV6() ? 6 : 0;
}

void CDev::Clear() {
    m_NvRam.Clear();
    m_Sost.Clear();
    m_SostOld.Clear();
    m_SostDZ.Clear();
    m_SostSens.Clear();
    m_CntMes = 0;
    m_CntLost = 0;
    m_KnovExt = false;
    m_ModeExt = 0;
    m_TimeSost = DBTime();
}

void CDev::ClearForLost() {
    m_SostOld = m_Sost;
    m_Sost.Clear();
    m_Sost.setBit(CSostDev::bitNoLink);
    m_SostDZ.Clear();
    m_SostSens.Clear();
    ++m_CntLost;
}

DBString CDev::nameTypDev(int typ) { return NameOf(IDS_TYP_DEV_BASE, IDS_TYP_DEV_COUNT, typ); }
DBString CDev::TypLB(int code) { return NameOf(IDS_TYP_LB_BASE, IDS_TYP_LB_COUNT, code); }
DBString CDev::DesignLB(int code) { return NameOf(IDS_DESIGN_LB_BASE, IDS_DESIGN_LB_COUNT, code); }
DBString CDev::TypCodec(int code) { return NameOf(IDS_TYP_CODEC_BASE, IDS_TYP_CODEC_COUNT, code); }
DBString CDev::TypTerm7(int code) { return NameOf(IDS_TYP_TERM7_BASE, IDS_TYP_TERM7_COUNT, code); }

// ---- messages through the slot ----

namespace {

// Origin of messages the console sends: unassigned, filled in by the host.
constexpr int kOrigUM = 255;
constexpr int kOrigSlot = 15;
// Service code of the restart request.
constexpr unsigned char kRestart = 1;

}  // namespace

int CDev::AddMes(
    int prior, CMes::typMes t, CMes::askFromMain a, const unsigned char* bytes, int n, int extra) {
    if (m_pSlot == nullptr) return 0;
    return m_pSlot->AddMes(prior, CMes(m_pSlot->NumUM(), m_pSlot->m_Number, kOrigUM, kOrigSlot,
                                       m_Addr, t, a, bytes, n, extra));
}

int CDev::AddMes(int prior, CMes::subServ18 s, const unsigned char* bytes, int n) {
    if (m_pSlot == nullptr) return 0;
    return m_pSlot->AddMes(
        prior, CMes(m_pSlot->NumUM(), m_pSlot->m_Number, kOrigUM, kOrigSlot, m_Addr, s, bytes, n));
}

int CDev::HardBoot(int prior) {
    return AddMes(prior, CMes::mtService, CMes::askMain, &kRestart, 1);
}

// ---- device table ----

CDevTab::CDevTab(CSlot* slot) : m_pSlot(slot) {}

CDevTab::~CDevTab() {
    for (CDev* dev : m_List) delete dev;
}

CDev* CDevTab::Find(int addr) const {
    for (CDev* dev : m_List)
        if (dev->m_Addr == addr) return dev;
    return nullptr;
}

bool CDevTab::Insert(CDev* dev) {
    if (dev == nullptr || Find(dev->m_Addr) != nullptr) return false;
    dev->m_pTab = this;
    dev->m_pSlot = m_pSlot;
    m_List.push_back(dev);
    if (m_pNode != nullptr && dev->m_pNode == nullptr) dev->XMLAdd(m_pNode);
    return true;
}

bool CDevTab::Delete(int addr) {
    const auto it = std::find_if(m_List.begin(), m_List.end(),
                                 [addr](const CDev* d) { return d->m_Addr == addr; });
    if (it == m_List.end()) return false;
    CDev* dev = *it;
    m_List.erase(it);
    dev->XMLRemove();
    delete dev;
    return true;
}

void CDevTab::ReOrder() {
    std::stable_sort(m_List.begin(), m_List.end(),
                     [](const CDev* a, const CDev* b) { return a->m_Addr < b->m_Addr; });
}

CDev* CDevTab::CreateDev(int addr) {
    return m_pSlot != nullptr ? m_pSlot->CreateDev(addr) : new CDev(addr);
}

void CDevTab::XMLAdd(xmlNode* parent) {
    m_pNode = NetXml::NewChild(parent, s_Element);
    for (CDev* dev : m_List) dev->XMLAdd(m_pNode);
}

void CDevTab::XMLUpdate() {
    for (CDev* dev : m_List) dev->XMLUpdate();
}

void CDevTab::XMLRemove() {
    NetXml::Remove(m_pNode);
    for (CDev* dev : m_List) dev->m_pNode = nullptr;
}

void CDevTab::XMLLoad(xmlNode* node) {
    m_pNode = node;
    for (xmlNode* c = node == nullptr ? nullptr : node->children; c != nullptr; c = c->next) {
        if (!NetXml::Is(c, CDev::s_Element)) continue;
        // The address first: CreateDev may choose the kind of device by it.
        const int addr = CNodeB::XMLLoadInteger(c, CDev::s_Element, CDev::s_Addr, 0);
        if (Find(addr) != nullptr) {
            if (m_pSlot != nullptr) {
                DBString text;
                text.Format(_S_(IDS_DEV_EXISTS).c_str(), addr, m_pSlot->NumUM(), m_pSlot->m_Number,
                            addr);
                m_pSlot->PutLog(text, true);
            }
            continue;
        }
        CDev* dev = CreateDev(addr);
        if (dev == nullptr) continue;
        dev->XMLLoad(c);
        if (!Insert(dev)) delete dev;
    }
}

void CDevTab::XMLPostLoad() {
    for (CDev* dev : m_List) dev->XMLPostLoad();
}
