#include "lib/Um.h"

#include <algorithm>

#include "dblib/LoadRes.h"
#include "lib/NetXml.h"
#include "lib/TERQLibRes.h"
#include "lib/Xml.h"

namespace {

using TERQCloud::CNodeB;

bool InRange(int um, int slot) {
    return um >= 0 && um <= CUM::kMaxNumber && slot >= 0 && slot <= CSlot::kMaxNumber;
}

}  // namespace

// ---- module ----

CUM::CUM(int number, CPult* pult) : m_Number(number), m_pPult(pult), m_TabSlot(this) {}

CUM::~CUM() { delete m_pParam; }

bool CUM::IsLocal() const { return m_pPult != nullptr && m_pPult->NumUM() == m_Number; }

void CUM::MarkLink() {
    std::vector<CUM*> stack{this};
    m_Mark = true;
    auto visit = [&stack](CSlot* far) {
        if (far == nullptr || far->m_pUM == nullptr || far->m_pUM->m_Mark) return;
        far->m_pUM->m_Mark = true;
        stack.push_back(far->m_pUM);
    };
    while (!stack.empty()) {
        CUM* um = stack.back();
        stack.pop_back();
        for (CSlot* slot : um->m_TabSlot.m_List) {
            visit(slot->m_pLink);
            for (CLinkNet* link : slot->m_TabLinkNet.m_List) visit(link->m_pSlot);
        }
    }
}

void CUM::PutLog(const DBString& text, bool error) const {
    CDisp* disp = m_pPult == nullptr ? nullptr : m_pPult->Disp();
    if (disp != nullptr) disp->PutLog(text.c_str(), error);
}

void CUM::XMLAdd(xmlNode* parent) {
    m_pNode = NetXml::NewChild(parent, s_Element);
    XMLUpdate();
    for (CSlot* slot : m_TabSlot.m_List) slot->XMLAdd(m_pNode);
}

void CUM::XMLUpdate() {
    if (m_pNode == nullptr) return;
    CNodeB::XMLUpdateInteger(m_pNode, s_Element, s_Number, m_Number, true);
    CNodeB::XMLUpdateString(m_pNode, s_Element, s_Note, m_Note);
    if (m_pParam != nullptr) m_pParam->XMLUpdate(m_pNode);
}

void CUM::XMLRemove() {
    NetXml::Remove(m_pNode);
    for (CSlot* slot : m_TabSlot.m_List) {
        slot->m_pNode = nullptr;
        slot->XMLRemove();  // clears the children's pointers; the element is gone already
    }
}

void CUM::XMLLoad(xmlNode* node) {
    m_pNode = node;
    m_Number = CNodeB::XMLLoadInteger(node, s_Element, s_Number, 0);
    m_Note = CNodeB::XMLLoadString(node, s_Element, s_Note, false);
    for (xmlNode* c = node == nullptr ? nullptr : node->children; c != nullptr; c = c->next) {
        if (!NetXml::Is(c, CSlot::s_Element)) continue;
        const int number = CNodeB::XMLLoadInteger(c, CSlot::s_Element, CSlot::s_Number, 0);
        if (number < 0 || number > CSlot::kMaxNumber || FindSlot(number) != nullptr) {
            DBString text;
            text.Format(_S_(IDS_SLOT_EXISTS).c_str(), number, m_Number, number);
            PutLog(text, true);
            continue;
        }
        CSlot* slot = m_TabSlot.CreateSlot(number);
        if (slot == nullptr) continue;
        // Slot and its tables must know their module before they load: duplicate reports name it.
        slot->m_pUM = this;
        slot->XMLLoad(c);
        if (!m_TabSlot.Insert(slot)) delete slot;
    }
}

void CUM::XMLPostLoad() {
    if (m_pParam != nullptr && m_pNode != nullptr) m_pParam->XMLLoad(m_pNode);
    for (CSlot* slot : m_TabSlot.m_List) slot->XMLPostLoad();
}

// ---- module table ----

CUMTab::~CUMTab() {
    for (CUM* um : m_List) delete um;
}

CUM* CUMTab::FindUM(int number) const {
    for (CUM* um : m_List)
        if (um->m_Number == number) return um;
    return nullptr;
}

CSlot* CUMTab::FindBlok(int um, int slot) const {
    CUM* module = FindUM(um);
    return module == nullptr ? nullptr : module->FindSlot(slot);
}

CDev* CUMTab::FindDev(int um, int slot, int dev) const {
    CSlot* s = FindBlok(um, slot);
    return s == nullptr ? nullptr : s->m_TabDev.Find(dev);
}

CSlot* CUMTab::FindBlokIns(int um, int slot) {
    if (!InRange(um, slot)) return nullptr;
    CUM* module = FindUM(um);
    if (module == nullptr) {
        module = CreateUM(um);
        if (module == nullptr) return nullptr;
        if (!Insert(module)) {
            delete module;
            return nullptr;
        }
    }
    CSlot* s = module->FindSlot(slot);
    if (s != nullptr) return s;
    s = module->m_TabSlot.CreateSlot(slot);
    if (s == nullptr) return nullptr;
    if (!module->m_TabSlot.Insert(s)) {
        delete s;
        return nullptr;
    }
    return s;
}

bool CUMTab::Insert(CUM* um) {
    if (um == nullptr || FindUM(um->m_Number) != nullptr) return false;
    um->m_pTab = this;
    um->m_pPult = m_pPult;
    m_List.push_back(um);
    if (m_pNode != nullptr && um->m_pNode == nullptr) um->XMLAdd(m_pNode);
    return true;
}

bool CUMTab::RenameUM(int from, int to) {
    CUM* um = FindUM(from);
    if (um == nullptr || to < 0 || to > CUM::kMaxNumber || FindUM(to) != nullptr) return false;
    um->m_Number = to;
    um->XMLUpdate();
    return true;
}

void CUMTab::Unlink(const CSlot* slot) {
    for (CUM* um : m_List)
        for (CSlot* s : um->m_TabSlot.m_List) {
            if (s->m_pLink == slot) s->m_pLink = nullptr;
            for (CLinkNet* link : s->m_TabLinkNet.m_List)
                if (link->m_pSlot == slot) link->m_pSlot = nullptr;
        }
}

void CUMTab::ReOrder() {
    std::stable_sort(m_List.begin(), m_List.end(),
                     [](const CUM* a, const CUM* b) { return a->m_Number < b->m_Number; });
    for (CUM* um : m_List) um->m_TabSlot.ReOrder();
}

CUM* CUMTab::CreateUM(int number) { return new CUM(number, m_pPult); }

CSlot* CUMTab::SetOne(CSlot* near, int um, int slot, int inpType, CLinkNet* link) {
    if (near == nullptr) return nullptr;
    CSlot* far = FindBlokIns(um, slot);
    // A slot linked to itself would lose its own type to the input type.
    if (far == nullptr || far == near) return nullptr;
    if (far->m_typSlot != inpType) {
        far->m_typSlot = inpType;
        far->XMLUpdate();
    }
    far->m_pLink = near;
    if (link != nullptr)
        link->m_pSlot = far;
    else
        near->m_pLink = far;
    return far;
}

void CUMTab::SetLink() {
    // Index loops: SetOne may append modules and slots, which have input types and need no turn.
    for (size_t u = 0; u < m_List.size(); ++u) {
        CUM* um = m_List[u];
        for (size_t s = 0; s < um->m_TabSlot.m_List.size(); ++s) {
            CSlot* slot = um->m_TabSlot.m_List[s];
            const int inp = CSlot::InpType(slot->m_typSlot);
            if (slot->IsLine()) {
                SetOne(slot, slot->m_LinkUM, slot->m_LinkSlot, inp);
            } else if (slot->IsEther()) {
                for (CLinkNet* link : slot->m_TabLinkNet.m_List)
                    SetOne(slot, link->m_UM, link->m_Slot, inp, link);
            }
        }
    }
    SetAddr();
}

void CUMTab::SetAddr() {
    for (CUM* um : m_List)
        for (CSlot* slot : um->m_TabSlot.m_List)
            if (slot->m_Program && slot->m_typSlot != CSlot::tsEtherPro) slot->SetAddr();
}

CSlot* CUMTab::RootSlot(int n) const {
    const CUM* um = FindUM(n);
    if (um == nullptr || um->IsLocal()) return nullptr;
    for (int step = 0; step < kMaxRootSteps; ++step) {
        CSlot* partner = nullptr;
        for (CSlot* slot : um->m_TabSlot.m_List)
            if (slot->m_pLink != nullptr && slot->IsInpLink()) {
                partner = slot->m_pLink;
                break;
            }
        if (partner == nullptr || partner->m_pUM == nullptr) return nullptr;
        um = partner->m_pUM;
        if (um->IsLocal()) return partner;
    }
    return nullptr;
}

int CUMTab::FindLostUM() {
    for (CUM* um : m_List) um->m_Mark = false;
    CUM* local = m_pPult == nullptr ? nullptr : FindUM(m_pPult->NumUM());
    if (local == nullptr) return -1;
    local->MarkLink();
    for (CUM* um : m_List)
        if (!um->m_Mark) return um->m_Number;
    return -1;
}

void CUMTab::XMLAdd(xmlNode* node) {
    m_pNode = node;
    for (CUM* um : m_List) um->XMLAdd(node);
}

void CUMTab::XMLLoad(xmlNode* node) {
    m_pNode = node;
    for (xmlNode* c = node == nullptr ? nullptr : node->children; c != nullptr; c = c->next) {
        if (!NetXml::Is(c, CUM::s_Element)) continue;
        const int number = CNodeB::XMLLoadInteger(c, CUM::s_Element, CUM::s_Number, 0);
        if (number < 0 || number > CUM::kMaxNumber || FindUM(number) != nullptr) {
            CDisp* disp = m_pPult == nullptr ? nullptr : m_pPult->Disp();
            if (disp != nullptr) {
                DBString text;
                text.Format(_S_(IDS_UM_EXISTS).c_str(), number);
                disp->PutLog(text.c_str(), true);
            }
            continue;
        }
        CUM* um = CreateUM(number);
        if (um == nullptr) continue;
        um->m_pTab = this;
        um->m_pPult = m_pPult;
        um->XMLLoad(c);
        if (!Insert(um)) delete um;
    }
    XMLPostLoad();
}

void CUMTab::XMLPostLoad() {
    for (CUM* um : m_List) um->XMLPostLoad();
}
