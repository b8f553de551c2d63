#include "lib/Slot.h"

#include <algorithm>

#include "dblib/LoadRes.h"
#include "lib/NetXml.h"
#include "lib/TERQLibRes.h"
#include "lib/Um.h"
#include "lib/Xml.h"

namespace {

using TERQCloud::CNodeB;

// Asks the dispatcher at most this often for one serving slot: a dispatcher that routes in a
// circle would otherwise keep the caller forever.
constexpr int kMaxServAsks = 256;

// Origin of messages the console sends: unassigned, filled in by the host (CPackMes::SetOrigMes).
constexpr int kOrigUM = 255;
constexpr int kOrigSlot = 15;

}  // namespace

CSlot::CSlot(int number, int typ)
    : m_Number(number),
      m_TimeCreate(DBTime::CurDateTime()),
      m_typSlot(typ),
      m_TabLinkNet(this),
      m_TabLinkCLL(this),
      m_TabDev(this) {}

CSlot::~CSlot() { delete m_pParam; }

bool CSlot::IsEther(int t) { return t == 5 || t == 7 || t == 9 || t == 12 || t == 14 || t == 16; }

bool CSlot::IsInpLink(int t) {
    return t == 3 || t == 6 || t == 8 || t == 10 || t == 13 || t == 15 || t == 17 || t == 19;
}

bool CSlot::IsNewGGS(int t) { return t == 8 || t == 10 || t == 13 || t == 15 || t == 17; }

int CSlot::InpType(int t) { return IsLine(t) || IsEther(t) ? t + 1 : -1; }

bool CSlot::IsCLB() const {
    return m_typBus == 0 || m_typBus == 1 || (m_typBus >= 3 && m_typBus <= 8);
}

bool CSlot::IsLocal() const { return m_pUM != nullptr && m_pUM->IsLocal(); }

DBString CSlot::nameTypBus(int typ) {
    if (typ < 0 || typ >= IDS_TYP_BUS_COUNT) return _S_(IDS_NOT_DEFINED);
    return _S_(static_cast<unsigned short>(IDS_TYP_BUS_BASE + typ));
}

int CSlot::NumUM() const { return m_pUM == nullptr ? -1 : m_pUM->m_Number; }

CPult* CSlot::Pult() const { return m_pUM == nullptr ? nullptr : m_pUM->m_pPult; }

CDisp* CSlot::Disp() const {
    CPult* pult = Pult();
    return pult == nullptr ? nullptr : pult->Disp();
}

CSlot* CSlot::ServSlot() {
    CSlot* slot = this;
    for (int ask = 0; ask <= kMaxServAsks; ++ask) {
        CPult* pult = slot->Pult();
        if (pult == nullptr) return nullptr;
        if (slot->IsLocal() || !pult->IsRoute()) return slot;
        if (ask == kMaxServAsks) break;
        CDisp* disp = pult->Disp();
        if (disp == nullptr) return nullptr;
        slot = disp->FindSlot(pult, slot->NumUM());
        if (slot == nullptr) return nullptr;
    }
    return nullptr;
}

int CSlot::AddVia(int prior, const CMes& mes, void (CSlot::*put)()) {
    CSlot* serv = ServSlot();
    if (serv == nullptr) return 0;
    serv->m_Pack.SetPrior(prior);
    if (serv->m_Pack.AddMes(mes)) return 1;
    (serv->*put)();
    serv->m_Pack.SetPrior(prior);
    return serv->m_Pack.AddMes(mes);
}

int CSlot::AddMes(int prior, const CMes& mes) { return AddVia(prior, mes, &CSlot::Put); }

int CSlot::AddMesNoIdent(int prior, const CMes& mes) {
    return AddVia(prior, mes, &CSlot::PutNoIdent);
}

int CSlot::AddMes(int prior, CMes::typMes t, const unsigned char* bytes, int n) {
    return AddMes(prior, CMes(NumUM(), m_Number, kOrigUM, kOrigSlot, t, bytes, n));
}

int CSlot::AddMes(int prior, CMes::typService s, const unsigned char* bytes, int n) {
    return AddMes(prior, CMes(NumUM(), m_Number, kOrigUM, kOrigSlot, s, bytes, n));
}

int CSlot::AddMes(int prior, CMes::typPrefix p, unsigned char b) {
    return AddMes(prior, CMes(NumUM(), m_Number, kOrigUM, kOrigSlot, p, b));
}

int CSlot::AddMesSetNVRAM(
    int prior, CMes::jobNVRAM j, int address, int count, const unsigned char* bytes) {
    return AddMes(prior, CMes(NumUM(), m_Number, kOrigUM, kOrigSlot, j, address, count, bytes));
}

void CSlot::Put() {
    CSlot* serv = ServSlot();
    if (serv == nullptr || serv->m_Pack.IsEmpty()) return;
    CPult* pult = serv->Pult();
    CDisp* disp = pult->Disp();
    if (disp == nullptr) return;
    disp->SendPack(pult, serv->m_Pack);
    serv->m_Pack.Clear();
}

void CSlot::PutNoIdent() {
    CSlot* serv = ServSlot();
    if (serv == nullptr || serv->m_Pack.IsEmpty()) return;
    CPult* pult = serv->Pult();
    CDisp* disp = pult->Disp();
    if (disp == nullptr) return;
    disp->PutNoIdent(pult, serv->m_Pack);
}

void CSlot::SetPrior(int prior) {
    if (CSlot* serv = ServSlot()) serv->m_Pack.SetPrior(prior);
}

int CSlot::NextIdent() {
    m_Ident = m_Ident % 63 + 1;
    return m_Ident;
}

void CSlot::SetAddr() {
    m_TimeCreate = m_TimeAddr = DBTime::CurDateTime();
    CPult* pult = Pult();
    // SetOrig and SetDest rather than CPackMes::SetAddr, which would drop pending messages.
    m_Pack.SetOrig(pult == nullptr ? 0 : pult->NumOrig());
    m_Pack.SetDest(m_Number);
}

void CSlot::PutLog(const DBString& text, bool error) const {
    CPult* pult = Pult();
    CDisp* disp = pult == nullptr ? nullptr : pult->Disp();
    if (disp != nullptr) disp->PutLog(text.c_str(), error);
}

void CSlot::XMLAdd(xmlNode* parent) {
    m_pNode = NetXml::NewChild(parent, s_Element);
    XMLUpdate();
    if (IsEther()) {
        m_TabLinkNet.XMLAdd(m_pNode);
        m_TabLinkCLL.XMLAdd(m_pNode);
    }
    m_TabDev.XMLAdd(m_pNode);
}

void CSlot::XMLUpdate() {
    if (m_pNode == nullptr) return;
    CNodeB::XMLUpdateInteger(m_pNode, s_Element, s_Number, m_Number, true);
    CNodeB::XMLUpdateInteger(m_pNode, s_Element, s_TypSlot, m_typSlot, true);
    CNodeB::XMLUpdateBool(m_pNode, s_Element, s_Program, m_Program, true);
    if (IsLine()) {
        CNodeB::XMLUpdateInteger(m_pNode, s_Element, s_LinkUM, m_LinkUM, true);
        CNodeB::XMLUpdateInteger(m_pNode, s_Element, s_LinkSlot, m_LinkSlot, true);
    }
    if (m_pParam != nullptr) m_pParam->XMLUpdate(m_pNode);
}

void CSlot::XMLRemove() {
    NetXml::Remove(m_pNode);
    // The children went with the element.
    m_TabLinkNet.m_pNode = m_TabLinkCLL.m_pNode = m_TabDev.m_pNode = nullptr;
    for (CLinkNet* link : m_TabLinkNet.m_List) link->m_pNode = nullptr;
    for (CLinkCLL* link : m_TabLinkCLL.m_List) link->m_pNode = nullptr;
    for (CDev* dev : m_TabDev.m_List) dev->m_pNode = nullptr;
}

void CSlot::XMLLoad(xmlNode* node) {
    m_pNode = node;
    m_Number = CNodeB::XMLLoadInteger(node, s_Element, s_Number, 0);
    m_typSlot = CNodeB::XMLLoadInteger(node, s_Element, s_TypSlot, 0);
    m_Program = CNodeB::XMLLoadBool(node, s_Element, s_Program, false);
    m_LinkUM = CNodeB::XMLLoadInteger(node, s_Element, s_LinkUM, 0);
    m_LinkSlot = CNodeB::XMLLoadInteger(node, s_Element, s_LinkSlot, 0);
    for (xmlNode* c = node == nullptr ? nullptr : node->children; c != nullptr; c = c->next) {
        if (NetXml::Is(c, CLinkNetTab::s_Element) && m_TabLinkNet.m_pNode == nullptr)
            m_TabLinkNet.XMLLoad(c);
        else if (NetXml::Is(c, CLinkCLLTab::s_Element) && m_TabLinkCLL.m_pNode == nullptr)
            m_TabLinkCLL.XMLLoad(c);
        else if (NetXml::Is(c, CDevTab::s_Element) && m_TabDev.m_pNode == nullptr)
            m_TabDev.XMLLoad(c);
    }
}

void CSlot::XMLPostLoad() {
    if (m_pParam != nullptr && m_pNode != nullptr) m_pParam->XMLLoad(m_pNode);
    m_TabLinkNet.XMLPostLoad();
    m_TabLinkCLL.XMLPostLoad();
    m_TabDev.XMLPostLoad();
}

// ---- slot table ----

CSlotTab::~CSlotTab() {
    for (CSlot* slot : m_List) delete slot;
}

CSlot* CSlotTab::Find(int number) const {
    for (CSlot* slot : m_List)
        if (slot->m_Number == number) return slot;
    return nullptr;
}

bool CSlotTab::Insert(CSlot* slot) {
    if (slot == nullptr || Find(slot->m_Number) != nullptr) return false;
    slot->m_pUM = m_pUM;
    m_List.push_back(slot);
    if (m_pUM != nullptr && m_pUM->m_pNode != nullptr && slot->m_pNode == nullptr)
        slot->XMLAdd(m_pUM->m_pNode);
    return true;
}

bool CSlotTab::Delete(int number) {
    const auto it = std::find_if(m_List.begin(), m_List.end(),
                                 [number](const CSlot* s) { return s->m_Number == number; });
    if (it == m_List.end()) return false;
    CSlot* slot = *it;
    m_List.erase(it);
    if (m_pUM != nullptr && m_pUM->m_pTab != nullptr) m_pUM->m_pTab->Unlink(slot);
    slot->XMLRemove();
    delete slot;
    return true;
}

void CSlotTab::ReOrder() {
    std::stable_sort(m_List.begin(), m_List.end(),
                     [](const CSlot* a, const CSlot* b) { return a->m_Number < b->m_Number; });
}

CSlot* CSlotTab::CreateSlot(int number) {
    return m_pUM != nullptr ? m_pUM->CreateSlot(number) : new CSlot(number);
}
