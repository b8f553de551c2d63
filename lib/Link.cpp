#include "lib/Link.h"

#include <algorithm>
#include <cstring>

#include "dblib/LoadRes.h"
#include "lib/NetXml.h"
#include "lib/Slot.h"
#include "lib/TERQLibRes.h"
#include "lib/Um.h"
#include "lib/Xml.h"

namespace {

using TERQCloud::CNodeB;

// A decimal number 0..255 at p; advances p. False without digits or above 255.
bool ReadOctet(const char*& p, unsigned int& octet) {
    if (*p < '0' || *p > '9') return false;
    unsigned int v = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        v = v * 10 + static_cast<unsigned int>(*p - '0');
        if (v > 255) return false;
    }
    octet = v;
    return true;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

int SlotUM(const CSlot* slot) { return slot == nullptr ? -1 : slot->NumUM(); }
int SlotNumber(const CSlot* slot) { return slot == nullptr ? -1 : slot->m_Number; }

void Log(const CSlot* slot, const DBString& text) {
    if (slot != nullptr) slot->PutLog(text, true);
}

int IP(const CIpAddr& a) { return static_cast<int>(a.GetValue()); }
CIpAddr LoadIP(xmlNode* node, const char* attr) {
    return CIpAddr(
        static_cast<unsigned int>(CNodeB::XMLLoadIP(node, CLinkCLL::s_Element, attr, 0)));
}

}  // namespace

// ---- value types ----

DBString CIpAddr::GetString() const {
    DBString s;
    s.Format(L"%d.%d.%d.%d", static_cast<int>(m_Value & 0xFF),
             static_cast<int>((m_Value >> 8) & 0xFF), static_cast<int>((m_Value >> 16) & 0xFF),
             static_cast<int>(m_Value >> 24));
    return s;
}

int CIpAddr::SetString(const char* text) {
    m_Value = 0;
    if (text == nullptr) return 0;
    const char* p = text;
    unsigned int v = 0;
    for (int i = 0; i < 4; ++i) {
        unsigned int octet = 0;
        if (i > 0 && *p++ != '.') return 0;
        if (!ReadOctet(p, octet)) return 0;
        v |= octet << (8 * i);
    }
    if (*p != '\0') return 0;
    m_Value = v;
    return 1;
}

unsigned int CIpAddr::GetValueW() const {
    return ((m_Value & 0xFF) << 24) | ((m_Value & 0xFF00) << 8) | ((m_Value >> 8) & 0xFF00) |
           (m_Value >> 24);
}

bool CIpAddr::IsValid() const {
    const unsigned int first = m_Value & 0xFF, last = m_Value >> 24;
    return first >= 1 && first <= 254 && last >= 1 && last <= 254;
}

bool CIpAddr::TestModifyIP(unsigned int valueW, int i, int octet) {
    if (i < 0 || i > 3) return false;
    return static_cast<int>((valueW >> (24 - 8 * i)) & 0xFF) != octet;
}

CMacAddr::CMacAddr() { std::memset(m_Addr, 0, sizeof m_Addr); }

DBString CMacAddr::GetString() const {
    DBString s;
    s.Format(L"%02X%02X%02X%02X%02X%02X", static_cast<unsigned>(m_Addr[0]),
             static_cast<unsigned>(m_Addr[1]), static_cast<unsigned>(m_Addr[2]),
             static_cast<unsigned>(m_Addr[3]), static_cast<unsigned>(m_Addr[4]),
             static_cast<unsigned>(m_Addr[5]));
    return s;
}

int CMacAddr::SetString(const char* text) {
    if (text == nullptr || std::strlen(text) != 12) return 0;
    for (int i = 0; i < 12; ++i)
        if (HexDigit(text[i]) < 0) return 0;
    for (int i = 0; i < 6; ++i)
        m_Addr[i] =
            static_cast<unsigned char>(HexDigit(text[2 * i]) * 16 + HexDigit(text[2 * i + 1]));
    return 1;
}

// ---- external links ----

CLinkNet::CLinkNet(int um, int slot, CSlot* far, CParam* param)
    : m_UM(um), m_Slot(slot), m_pSlot(far), m_pParam(param) {}

CLinkNet::~CLinkNet() { delete m_pParam; }

void CLinkNet::XMLAdd(xmlNode* parent) {
    m_pNode = NetXml::NewChild(parent, s_Element);
    XMLUpdate();
}

void CLinkNet::XMLUpdate() {
    if (m_pNode == nullptr) return;
    CNodeB::XMLUpdateInteger(m_pNode, s_Element, "UM", m_UM, true);
    CNodeB::XMLUpdateInteger(m_pNode, s_Element, "Slot", m_Slot, true);
    if (m_pParam != nullptr) m_pParam->XMLUpdate(m_pNode);
}

void CLinkNet::XMLRemove() { NetXml::Remove(m_pNode); }

void CLinkNet::XMLLoad(xmlNode* node) {
    m_pNode = node;
    m_UM = CNodeB::XMLLoadInteger(node, s_Element, "UM", 0);
    m_Slot = CNodeB::XMLLoadInteger(node, s_Element, "Slot", 0);
}

void CLinkNet::XMLPostLoad() {
    if (m_pParam != nullptr && m_pNode != nullptr) m_pParam->XMLLoad(m_pNode);
}

CLinkNetTab::~CLinkNetTab() {
    for (CLinkNet* link : m_List) delete link;
}

int CLinkNetTab::Insert(int um, int slot, CSlot* far, CParam* param) {
    if (FindLink(um, slot) != nullptr || FindLink(far) != nullptr) return 0;
    auto* link = new CLinkNet(um, slot, far, param);
    link->m_pTab = this;
    m_List.push_back(link);
    if (m_pNode != nullptr) link->XMLAdd(m_pNode);
    return 1;
}

CLinkNet* CLinkNetTab::FindLink(int um, int slot) const {
    for (CLinkNet* link : m_List)
        if (link->m_UM == um && link->m_Slot == slot) return link;
    return nullptr;
}

CLinkNet* CLinkNetTab::FindLink(const CSlot* far) const {
    if (far == nullptr) return nullptr;
    for (CLinkNet* link : m_List)
        if (link->m_pSlot == far) return link;
    return nullptr;
}

void CLinkNetTab::ReOrder() {
    std::stable_sort(m_List.begin(), m_List.end(), [](const CLinkNet* a, const CLinkNet* b) {
        return a->m_UM != b->m_UM ? a->m_UM < b->m_UM : a->m_Slot < b->m_Slot;
    });
}

void CLinkNetTab::XMLAdd(xmlNode* parent) {
    m_pNode = NetXml::NewChild(parent, s_Element);
    for (CLinkNet* link : m_List) link->XMLAdd(m_pNode);
}

void CLinkNetTab::XMLRemove() {
    NetXml::Remove(m_pNode);
    for (CLinkNet* link : m_List) link->m_pNode = nullptr;
}

void CLinkNetTab::XMLLoad(xmlNode* node) {
    m_pNode = node;
    for (xmlNode* c = node == nullptr ? nullptr : node->children; c != nullptr; c = c->next) {
        if (!NetXml::Is(c, CLinkNet::s_Element)) continue;
        auto* link = new CLinkNet(0, 0);
        link->XMLLoad(c);
        if (FindLink(link->m_UM, link->m_Slot) != nullptr) {
            DBString text;
            text.Format(_S_(IDS_LINKNET_EXISTS).c_str(), SlotUM(m_pSlot), SlotNumber(m_pSlot),
                        link->m_UM, link->m_Slot);
            Log(m_pSlot, text);
            delete link;
            continue;
        }
        link->m_pTab = this;
        m_List.push_back(link);
    }
}

void CLinkNetTab::XMLPostLoad() {
    for (CLinkNet* link : m_List) link->XMLPostLoad();
}

// ---- internal links ----

CLinkCLL::CLinkCLL(int n) : m_Number(n) {
    for (int i = 0; i < 3; ++i) {
        m_UM[i] = 255;
        m_Slot[i] = 0;
    }
}

CLinkCLL::~CLinkCLL() { delete m_pParam; }

void CLinkCLL::XMLAdd(xmlNode* parent) {
    m_pNode = NetXml::NewChild(parent, s_Element);
    XMLUpdate();
}

void CLinkCLL::XMLUpdate() {
    if (m_pNode == nullptr) return;
    CNodeB::XMLUpdateInteger(m_pNode, s_Element, "Number", m_Number, true);
    CNodeB::XMLUpdateInteger(m_pNode, s_Element, "UM", m_UM[0], true);
    CNodeB::XMLUpdateInteger(m_pNode, s_Element, "Slot", m_Slot[0], true);
    CNodeB::XMLUpdateIP(m_pNode, s_Element, "IP", IP(m_IP), false);
    CNodeB::XMLUpdateIP(m_pNode, s_Element, "IPDop1", IP(m_IPDop1), false);
    CNodeB::XMLUpdateIP(m_pNode, s_Element, "IPDop2", IP(m_IPDop2), false);
    CNodeB::XMLUpdateIP(m_pNode, s_Element, "Mask", IP(m_Mask), false);
    CNodeB::XMLUpdateIP(m_pNode, s_Element, "GTW", IP(m_GTW), false);
    CNodeB::XMLUpdateInteger(m_pNode, s_Element, "DataPort", m_DataPort.GetValue(), false);
    CNodeB::XMLUpdateInteger(m_pNode, s_Element, "VoicePort", m_VoicePort.GetValue(), false);
    CNodeB::XMLUpdateString(m_pNode, s_Element, "Note", m_Note);
    if (m_pParam != nullptr) m_pParam->XMLUpdate(m_pNode);
}

void CLinkCLL::XMLRemove() { NetXml::Remove(m_pNode); }

void CLinkCLL::XMLLoad(xmlNode* node) {
    m_pNode = node;
    m_Number = CNodeB::XMLLoadInteger(node, s_Element, "Number", 0);
    m_UM[0] = CNodeB::XMLLoadInteger(node, s_Element, "UM", 0);
    m_Slot[0] = CNodeB::XMLLoadInteger(node, s_Element, "Slot", 0);
    m_IP = LoadIP(node, "IP");
    m_IPDop1 = LoadIP(node, "IPDop1");
    m_IPDop2 = LoadIP(node, "IPDop2");
    m_Mask = LoadIP(node, "Mask");
    m_GTW = LoadIP(node, "GTW");
    m_DataPort.SetValue(CNodeB::XMLLoadInteger(node, s_Element, "DataPort", 0));
    m_VoicePort.SetValue(CNodeB::XMLLoadInteger(node, s_Element, "VoicePort", 0));
    m_Note = CNodeB::XMLLoadString(node, s_Element, "Note", false);
}

void CLinkCLL::XMLPostLoad() {
    if (m_pParam != nullptr && m_pNode != nullptr) m_pParam->XMLLoad(m_pNode);
}

CLinkCLLTab::~CLinkCLLTab() {
    for (CLinkCLL* link : m_List) delete link;
}

CLinkCLL* CLinkCLLTab::GetItem(int n) {
    if (n < 0 || n > CLinkCLL::kMaxNumber) return nullptr;
    if (CLinkCLL* link = Find(n)) return link;
    auto* link = new CLinkCLL(n);
    link->m_pTab = this;
    m_List.push_back(link);
    if (m_pNode != nullptr) link->XMLAdd(m_pNode);
    return link;
}

CLinkCLL* CLinkCLLTab::Find(int n) const {
    for (CLinkCLL* link : m_List)
        if (link->m_Number == n) return link;
    return nullptr;
}

CLinkCLL* CLinkCLLTab::Find(int um, int slot) const {
    for (CLinkCLL* link : m_List)
        if (link->m_UM[0] == um && link->m_Slot[0] == slot) return link;
    return nullptr;
}

CLinkCLL* CLinkCLLTab::FindUM(int um) const {
    for (CLinkCLL* link : m_List)
        if (link->m_UM[0] == um) return link;
    return nullptr;
}

CLinkCLL* CLinkCLLTab::FindIP(unsigned int ip) const {
    if (ip == 0 || ip == 0xFFFFFFFFu) return nullptr;
    for (CLinkCLL* link : m_List)
        if (link->m_IP.GetValue() == ip || link->m_IPDop1.GetValue() == ip ||
            link->m_IPDop2.GetValue() == ip)
            return link;
    return nullptr;
}

bool CLinkCLLTab::Delete(int n) { return Delete(Find(n)); }

bool CLinkCLLTab::Delete(CLinkCLL* link) {
    const auto it = std::find(m_List.begin(), m_List.end(), link);
    if (link == nullptr || it == m_List.end()) return false;
    m_List.erase(it);
    link->XMLRemove();
    delete link;
    return true;
}

void CLinkCLLTab::ReNumber() {
    int next = 1;
    for (CLinkCLL* link : m_List) {
        if (link->m_Number <= 0) continue;
        if (link->m_Number != next) {
            link->m_Number = next;
            link->XMLUpdate();
            link->m_Changed = true;
        }
        ++next;
    }
}

void CLinkCLLTab::XMLAdd(xmlNode* parent) {
    m_pNode = NetXml::NewChild(parent, s_Element);
    XMLUpdate();
    for (CLinkCLL* link : m_List) link->XMLAdd(m_pNode);
}

void CLinkCLLTab::XMLUpdate() {
    if (m_pNode == nullptr) return;
    CNodeB::XMLUpdateInteger(m_pNode, s_Element, "VolRec", m_VolRec, false);
    CNodeB::XMLUpdateInteger(m_pNode, s_Element, "VolPlay", m_VolPlay, false);
}

void CLinkCLLTab::XMLRemove() {
    NetXml::Remove(m_pNode);
    for (CLinkCLL* link : m_List) link->m_pNode = nullptr;
}

void CLinkCLLTab::XMLLoad(xmlNode* node) {
    m_pNode = node;
    m_VolRec = CNodeB::XMLLoadInteger(node, s_Element, "VolRec", 0);
    m_VolPlay = CNodeB::XMLLoadInteger(node, s_Element, "VolPlay", 0);
    for (xmlNode* c = node == nullptr ? nullptr : node->children; c != nullptr; c = c->next) {
        if (!NetXml::Is(c, CLinkCLL::s_Element)) continue;
        auto* link = new CLinkCLL(0);
        link->XMLLoad(c);
        if (Find(link->m_Number) != nullptr) {
            DBString text;
            text.Format(_S_(IDS_LINKCLL_EXISTS).c_str(), link->m_Number, SlotUM(m_pSlot),
                        SlotNumber(m_pSlot), link->m_UM[0], link->m_Slot[0]);
            Log(m_pSlot, text);
            delete link;
            continue;
        }
        link->m_pTab = this;
        m_List.push_back(link);
    }
}

void CLinkCLLTab::XMLPostLoad() {
    for (CLinkCLL* link : m_List) link->XMLPostLoad();
}
