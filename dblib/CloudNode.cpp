// The node base, the lift index and the root's document.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include <fcntl.h>
#include <libxml/parser.h>
#include <libxml/xmlsave.h>
#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

#include "dblib/CloudStr.h"
#include "dblib/CloudXml.h"
#include "dblib/LoadRes.h"
#include "dblib/TERQDbLibRes.h"
#include "lib/TERQLibRes.h"

namespace TERQCloud {

namespace {

constexpr int kParseOld10 = 131072;  // XML_PARSE_OLD10, the parse option of every load

// Makes element the document's root element for the life of the object, then puts the old
// root back and the element between its old siblings, also when the dump in between throws.
class CReRoot {
public:
    CReRoot(xmlDoc* doc, xmlNode* element) : m_doc(doc), m_element(element) {
        if (xmlDocGetRootElement(doc) == element) return;
        m_parent = element->parent;
        m_prev = element->prev;
        m_next = element->next;
        m_oldRoot = xmlDocSetRootElement(doc, element);
        m_moved = true;
    }
    CReRoot(const CReRoot&) = delete;
    CReRoot& operator=(const CReRoot&) = delete;
    ~CReRoot() {
        if (!m_moved) return;
        if (m_oldRoot != nullptr) {
            xmlDocSetRootElement(m_doc, m_oldRoot);  // unlinks the element again
        } else {
            xmlUnlinkNode(m_element);
        }
        if (m_prev != nullptr) {
            xmlAddNextSibling(m_prev, m_element);
        } else if (m_next != nullptr) {
            xmlAddPrevSibling(m_next, m_element);
        } else if (m_parent != nullptr && m_parent->type == XML_ELEMENT_NODE) {
            xmlAddChild(m_parent, m_element);
        }
    }

private:
    xmlDoc* m_doc;
    xmlNode* m_element;
    xmlNode* m_parent = nullptr;
    xmlNode* m_prev = nullptr;
    xmlNode* m_next = nullptr;
    xmlNode* m_oldRoot = nullptr;
    bool m_moved = false;
};

int AppendToString(void* context, const char* buffer, int len) {
    static_cast<std::string*>(context)->append(buffer, static_cast<size_t>(len));
    return len;
}

// The common service error of the children that count; 0 when none counts. skipZero leaves
// children without an error out.
template <typename Value>
int SameError(CNodeArrayB& children, bool skipZero, Value value) {
    bool any = false;
    int common = 0;
    for (CNodeTreeB* child : children) {
        if (child == nullptr || child->IsNotServiced()) continue;
        const int v = value(child);
        if (v < 0) return -1;
        if (skipZero && v == 0) continue;
        if (any && v != common) return -1;
        common = v;
        any = true;
    }
    return common;
}

}  // namespace

// ---- helpers of the model's sources ----

namespace CloudXml {

xmlNode* NewChild(xmlNode* parent, const char* name) {
    xmlNode* node =
        parent == nullptr
            ? nullptr
            : xmlNewChild(parent, nullptr, reinterpret_cast<const xmlChar*>(name), nullptr);
    if (node == nullptr) throw ErrorXML(IDS_XML_APPEND, name);
    return node;
}

std::uint32_t LoadColor(xmlNode* node, const char* element, const char* attr) {
    const std::string text = CNodeB::XMLLoadString(node, element, attr, false).ToStr();
    int r = 0, g = 0, b = 0;
    std::sscanf(text.c_str(), "%d,%d,%d", &r, &g, &b);
    return (static_cast<std::uint32_t>(r) & 0xFFu) |
           ((static_cast<std::uint32_t>(g) & 0xFFu) << 8) |
           ((static_cast<std::uint32_t>(b) & 0xFFu) << 16);
}

void UpdateColor(xmlNode* node, const char* element, const char* attr, std::uint32_t color) {
    DBString text;
    text.Format(L"%d,%d,%d", static_cast<int>(color & 0xFFu),
                static_cast<int>((color >> 8) & 0xFFu), static_cast<int>((color >> 16) & 0xFFu));
    CNodeB::XMLUpdateString(node, element, attr, text);
}

void LoadPair(xmlNode* node, const char* element, const char* attr, int& a, int& b) {
    const std::string text = CNodeB::XMLLoadString(node, element, attr, false).ToStr();
    a = 0;
    b = 0;
    std::sscanf(text.c_str(), "%d,%d", &a, &b);
}

void UpdatePair(xmlNode* node, const char* element, const char* attr, int a, int b) {
    DBString text;
    text.Format(L"%d,%d", a, b);
    CNodeB::XMLUpdateString(node, element, attr, text);
}

void ReportRepeat(CNodeB* node, const DBString& prefix, unsigned short id) {
    if (CCloudB* cloud = node->Cloud()) cloud->ReportMsg(prefix + _S_(id), 0);
}

}  // namespace CloudXml

// ---- CNodeB ----

const char* const CNodeB::s_IdDB = "IdDB";

CNodeB::CNodeB(const CNodeB& other)
    : m_Name(other.m_Name),
      m_Parent(other.m_Parent),
      m_IdentDB(other.m_IdentDB),
      m_Modify(other.m_Modify) {}

CNodeB& CNodeB::operator=(const CNodeB& other) {
    if (this != &other) {
        m_Name = other.m_Name;
        m_Parent = other.m_Parent;
        m_IdentDB = other.m_IdentDB;
        m_Modify = other.m_Modify;
    }
    return *this;
}

void CNodeB::NodeIcon(int& icon, int& kind) {
    icon = 0;
    kind = 0;
    if (IsNotServiced()) return;
    const int all = AllHasSameError();
    if (all > 0) {
        icon = all;
        return;
    }
    const int some = NotAllHasSameError();
    if (some > 0) {
        icon = some;
        kind = 1;
    }
}

void CNodeB::XMLRemoveG() {
    if (m_XMLNodeG == nullptr) return;
    xmlUnlinkNode(m_XMLNodeG);
    xmlFreeNode(m_XMLNodeG);
    m_XMLNodeG = nullptr;
}

void CNodeB::XMLLoadG(xmlNode* element) {
    m_XMLNodeG = element;
    m_IdentDB = XMLLoadInteger(element, nullptr, s_IdDB, 0);
}

void CNodeB::XMLUpdateG() {
    if (m_XMLNodeG == nullptr) return;
    XMLUpdateInteger(m_XMLNodeG, nullptr, s_IdDB, m_IdentDB, false);
}

CNodeB* CNodeB::Root() {
    CNodeB* node = this;
    while (node->m_Parent != nullptr) node = node->m_Parent;
    return node;
}

CCloudB* CNodeB::Cloud() {
    CNodeB* root = Root();
    return root->TypNode() == typCloud ? static_cast<CCloudB*>(root) : nullptr;
}

CNodeB* CNodeB::Punct() {
    for (CNodeB* node = this; node != nullptr; node = node->m_Parent)
        if (node->TypNode() == typPunct) return node;
    return nullptr;
}

void CNodeB::Clear() {
    m_Name.clear();
    m_Parent = nullptr;
    m_IdentDB = 0;
}

void CNodeB::XMLStr(std::string& out) {
    CCloudB* cloud = Cloud();
    std::unique_lock<std::mutex> guard;
    if (cloud != nullptr) guard = std::unique_lock<std::mutex>(cloud->m_Lock);
    xmlDoc* doc = cloud != nullptr ? cloud->m_XMLDOMG : nullptr;
    if (doc == nullptr || m_XMLNodeG == nullptr) {
        DBString text;
        text.Format(_S_(IDS_XMLSTR_NODE).c_str(), TypNode(), m_Name.c_str(), m_IdentDB);
        text += _S_(doc == nullptr ? IDS_XMLSTR_NO_DOC : IDS_XMLSTR_NO_NODE);
        out = text.ToStr();
        return;
    }
    // The bytes of xmlDocDumpFormatMemoryEnc(doc, ..., "utf-8", 0), written straight into out:
    // no intermediate buffer and no copy of a document that may run to hundreds of megabytes.
    out.clear();
    CReRoot reroot(doc, m_XMLNodeG);
    if (xmlSaveCtxt* save = xmlSaveToIO(AppendToString, nullptr, &out, "utf-8", 0)) {
        xmlSaveDoc(save, doc);
        xmlSaveClose(save);
    }
}

void CNodeB::XMLFile(const char* path) {
    CCloudB* cloud = Cloud();
    if (cloud == nullptr) return;
    const std::string target = path != nullptr ? path : "";
    bool ok = false;
    {
        std::lock_guard<std::mutex> guard(cloud->m_Lock);
        if (cloud->m_XMLDOMG != nullptr && m_XMLNodeG != nullptr && !target.empty()) {
            CReRoot reroot(cloud->m_XMLDOMG, m_XMLNodeG);
            ok = XMLSaveThroughTemporary(cloud->m_XMLDOMG, target) == 0;
        }
    }
    // Reported outside the lock: the host's report may well serialise the tree.
    if (!ok) cloud->ReportMsg(_S_(IDS_ERR_SAVE_TO) + DBString(target), 0);
}

// ---- CNodeArrayB ----

CNodeArrayB::~CNodeArrayB() { Clear(); }

void CNodeArrayB::Clear() {
    for (CNodeTreeB* node : *this) delete node;
    clear();
}

CNodeTreeB* CNodeArrayB::Find(const wchar_t* name) const {
    const DBString wanted(name);
    for (CNodeTreeB* node : *this)
        if (node != nullptr && node->m_Name == wanted) return node;
    return nullptr;
}

void CNodeArrayB::Remove(const CNodeB* node) {
    const auto it = std::find(begin(), end(), node);
    if (it != end()) erase(it);
}

// ---- CNodeTreeB ----

CNodeTreeB& CNodeTreeB::operator=(const CNodeTreeB& other) {
    CNodeB::operator=(other);
    return *this;
}

bool CNodeTreeB::IsNotServiced() {
    for (CNodeTreeB* child : m_Child)
        if (child != nullptr && !child->IsNotServiced()) return false;
    return true;
}

int CNodeTreeB::AllHasSameError() {
    return SameError(m_Child, false, [](CNodeTreeB* c) { return c->AllHasSameError(); });
}

int CNodeTreeB::NotAllHasSameError() {
    return SameError(m_Child, true, [](CNodeTreeB* c) { return c->NotAllHasSameError(); });
}

bool CNodeTreeB::IsModify() {
    if (m_Modify) return true;
    for (CNodeTreeB* child : m_Child)
        if (child != nullptr && child->IsModify()) return true;
    return false;
}

void CNodeTreeB::ClearModify() {
    m_Modify = false;
    for (CNodeTreeB* child : m_Child)
        if (child != nullptr) child->ClearModify();
}

void CNodeTreeB::XMLAddG() {
    xmlNode* parent = m_Parent != nullptr ? m_Parent->m_XMLNodeG : nullptr;
    m_XMLNodeG = CloudXml::NewChild(parent, ElementName());
    XMLUpdateG();
}

void CNodeTreeB::XMLCreate() {
    XMLAddG();
    for (CNodeTreeB* child : m_Child)
        if (child != nullptr) child->XMLCreate();
}

void CNodeTreeB::XMLUnbind() {
    m_XMLNodeG = nullptr;
    for (CNodeTreeB* child : m_Child)
        if (child != nullptr) child->XMLUnbind();
}

CNodeB* CNodeTreeB::FindIDTyp(int id, typNode typ) {
    if (m_IdentDB == id && TypNode() == typ) return this;
    for (CNodeTreeB* child : m_Child) {
        if (child == nullptr) continue;
        if (CNodeB* found = child->FindIDTyp(id, typ)) return found;
    }
    return nullptr;
}

void CNodeTreeB::SortByName() {
    std::sort(m_Child.begin(), m_Child.end(), [](const CNodeTreeB* a, const CNodeTreeB* b) {
        if (a == nullptr || b == nullptr) return a != nullptr && b == nullptr;
        return a->m_Name < b->m_Name;
    });
    for (CNodeTreeB* child : m_Child)
        if (child != nullptr) child->SortByName();
}

void CNodeTreeB::Clear() {
    m_Child.Clear();
    CNodeB::Clear();
}

// ---- CSortIDArray ----

CLiftB* CSortIDArray::FindLift(int id) const {
    if (id == 0 || empty()) return nullptr;
    int low = 0;
    int high = static_cast<int>(size()) - 1;
    while (low <= high) {
        const int middle = low + (high - low) / 2;
        CLiftB* lift = (*this)[static_cast<size_t>(middle)];
        const int have = static_cast<const CNodeB*>(lift)->m_IdentDB;
        if (have == id) return lift;
        if (id < have) {
            high = middle - 1;
        } else {
            low = middle + 1;
        }
    }
    return nullptr;
}

int CSortIDArray::FindIndex(const CLiftB* lift) const {
    const auto it = std::find(begin(), end(), lift);
    return it == end() ? -1 : static_cast<int>(it - begin());
}

bool CSortIDArray::Remove(const CLiftB* lift) {
    const auto it = std::find(begin(), end(), lift);
    if (it == end()) return false;
    erase(it);
    return true;
}

void CSortIDArray::Sort() {
    std::sort(begin(), end(), [](const CLiftB* a, const CLiftB* b) {
        return static_cast<const CNodeB*>(a)->m_IdentDB < static_cast<const CNodeB*>(b)->m_IdentDB;
    });
}

// ---- CCloudB ----

const char* const CCloudB::s_Cloud = "TERQCLOUD";

CCloudB::~CCloudB() { FreeDocument(); }

void CCloudB::FreeDocument() {
    if (m_XMLDOMG == nullptr) return;
    xmlFreeDoc(m_XMLDOMG);
    m_XMLDOMG = nullptr;
    // No node may keep pointing into the freed document.
    XMLUnbind();
    malloc_trim(0);
}

void CCloudB::XMLLoadStr(const char* text) {
    FreeDocument();
    if (text != nullptr)
        m_XMLDOMG =
            xmlReadDoc(reinterpret_cast<const xmlChar*>(text), nullptr, nullptr, kParseOld10);
    if (m_XMLDOMG == nullptr) throw ErrorXML(IDS_XML_LOAD);
    for (xmlNode* node = m_XMLDOMG->children; node != nullptr; node = node->next) {
        if (CloudXml::Is(node, s_Cloud)) {
            XMLLoadG(node);
            return;
        }
    }
}

void CCloudB::XMLLoadG(xmlNode* element) {
    m_XMLNodeG = element;
    for (xmlNode* node = element->children; node != nullptr; node = node->next) {
        if (!CloudXml::Is(node, CTeamB::s_Team)) continue;
        std::unique_ptr<CTeamB> team(CreateTeam());
        team->XMLLoadG(node);
        if (m_Child.Find(team->m_Name.c_str()) != nullptr)
            CloudXml::ReportRepeat(this, team->m_Name, IDS_REPEAT_TEAM);
        m_Child.push_back(team.release());
    }
    m_IdentDB = XMLLoadInteger(element, s_Cloud, s_IdDB, 0);
}

void CCloudB::XMLAddG() {
    if (m_Parent != nullptr) {
        CNodeTreeB::XMLAddG();
        return;
    }
    if (m_XMLDOMG == nullptr) throw ErrorXML(IDS_XML_APPEND, s_Cloud);
    xmlNode* root =
        xmlNewDocNode(m_XMLDOMG, nullptr, reinterpret_cast<const xmlChar*>(s_Cloud), nullptr);
    if (root == nullptr) throw ErrorXML(IDS_XML_APPEND, s_Cloud);
    // Linked at once so that the document owns it even when a later step throws.
    if (xmlNode* old = xmlDocSetRootElement(m_XMLDOMG, root)) xmlFreeNode(old);
    m_XMLNodeG = root;
    XMLUpdateG();
}

void CCloudB::XMLCreate() {
    FreeDocument();
    m_XMLDOMG = xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0"));
    if (m_XMLDOMG == nullptr) throw ErrorXML(IDS_XML_CREATE_PARSER);
    XMLAddG();
    for (CNodeTreeB* team : m_Child)
        if (team != nullptr) team->XMLCreate();
}

void CCloudB::XMLRelease() { FreeDocument(); }

void CCloudB::Clear() {
    std::lock_guard<std::mutex> guard(m_Lock);
    CNodeTreeB::Clear();
}

}  // namespace TERQCloud
