// Groups of a dispatch point's screen: binding and the group lists.
#include "dblib/CloudStr.h"
#include "dblib/CloudXml.h"

namespace TERQCloud {

const char* const CGroupB::s_Group = "GROUP";

CGroupArray::~CGroupArray() { Clear(); }

void CGroupArray::Clear() {
    for (CGroupB* group : *this) delete group;
    clear();
}

void CGroupArray::XMLCreate() {
    for (CGroupB* group : *this) group->XMLCreate();
}

CGroupB::CGroupB(CPunctB* punct, CNodeB* parent) : CNodeTreeB(parent), m_Punct(punct) {}

bool CGroupB::IsModify() {
    if (CNodeTreeB::IsModify()) return true;
    for (CGroupB* group : m_Groups)
        if (group->IsModify()) return true;
    return false;
}

void CGroupB::ClearModify() {
    CNodeTreeB::ClearModify();
    for (CGroupB* group : m_Groups) group->ClearModify();
}

void CGroupB::XMLAddG() {
    xmlNode* parent = m_Parent != nullptr ? m_Parent->m_XMLNodeG : nullptr;
    if (parent == nullptr && m_Punct != nullptr) parent = m_Punct->m_XMLNodeG;
    m_XMLNodeG = CloudXml::NewChild(parent, s_Group);
    XMLUpdateG();
}

void CGroupB::XMLUnbind() {
    CNodeTreeB::XMLUnbind();
    for (CGroupB* group : m_Groups) group->XMLUnbind();
}

void CGroupB::XMLCreate() {
    CNodeTreeB::XMLCreate();
    m_Groups.XMLCreate();
}

}  // namespace TERQCloud
