// Profiles: console-shaped views with dispatch points and layouts of their own, and their
// pruning when a dispatch point goes.
#include <memory>

#include "dblib/CloudStr.h"
#include "dblib/CloudXml.h"

namespace TERQCloud {

// ---- CTabProfilP ----

const char* const CTabProfilP::s_Profiles = "PROFILES";

void CTabProfilP::XMLLoadG(xmlNode* element) {
    m_XMLNodeG = element;
    CCloudB* cloud = Cloud();
    for (xmlNode* node = element->children; node != nullptr; node = node->next) {
        if (!CloudXml::Is(node, CTeamB::s_Team)) continue;
        std::unique_ptr<CProfilP> profil(cloud != nullptr ? cloud->CreateProfil(this)
                                                          : new CProfilP(this));
        profil->XMLLoadG(node);
        m_Child.push_back(profil.release());
    }
    m_IdentDB = XMLLoadInteger(element, s_Profiles, s_IdDB, 0);
}

void CTabProfilP::XMLAddG() {
    if (m_Parent != nullptr) CNodeTreeB::XMLAddG();
}

void CTabProfilP::XMLCreate() {
    if (!m_Child.empty()) CNodeTreeB::XMLCreate();
}

void CTabProfilP::RemoveLift(int idPunct, const DBGUID& lift) {
    for (CNodeTreeB* node : m_Child) static_cast<CProfilP*>(node)->RemoveLift(idPunct, lift);
}

void CTabProfilP::RemovePunct(int idPunct) {
    for (CNodeTreeB* node : m_Child) static_cast<CProfilP*>(node)->RemovePunct(idPunct);
}

CProfilP* CTabProfilP::Find(const wchar_t* name) const {
    return static_cast<CProfilP*>(m_Child.Find(name));
}

// ---- CProfilP ----

CPunctB* CProfilP::CreatePunct() { return new CPunctP(this); }

CPunctP* CProfilP::FindPunct(int idPunct) const {
    for (CNodeTreeB* node : m_Child) {
        auto* punct = dynamic_cast<CPunctP*>(node);
        if (punct != nullptr && punct->m_IdPunct == idPunct) return punct;
    }
    return nullptr;
}

void CProfilP::RemoveLift(int idPunct, const DBGUID& lift) {
    if (CPunctP* punct = FindPunct(idPunct)) punct->m_Group.m_Groups.RemoveLift(lift);
}

// Every match goes, not only the first: no view may keep pointing at a removed point.
int CProfilP::RemovePunct(int idPunct) {
    int removed = 0;
    for (auto it = m_Child.begin(); it != m_Child.end();) {
        auto* punct = dynamic_cast<CPunctP*>(*it);
        if (punct == nullptr || punct->m_IdPunct != idPunct) {
            ++it;
            continue;
        }
        punct->XMLRemoveG();
        it = m_Child.erase(it);
        delete punct;
        m_Modify = true;
        ++removed;
    }
    return removed;
}

// ---- CPunctP, CGroupP ----

const char* const CPunctP::s_IdPunct = "IdPunct";

void CPunctP::XMLLoadG(xmlNode* element) {
    m_IdPunct = XMLLoadInteger(element, s_Punct, s_IdPunct, 0);
    CPunctB::XMLLoadG(element);
}

void CPunctP::XMLUpdateG() {
    if (m_XMLNodeG == nullptr) return;
    XMLUpdateInteger(m_XMLNodeG, s_Punct, s_IdPunct, m_IdPunct, false);
    CPunctB::XMLUpdateG();
}

CGroupB* CPunctP::CreateGroup() { return new CGroupP(this, &m_Group); }

CGroupB* CGroupP::CreateGroup() { return new CGroupP(m_Punct, this); }

CLiftInGroup* CGroupP::CreateLiftInGroup() { return new CLiftInGroupP(this); }

// ---- CTeamB ----

void CTeamB::RemovePunct(int id) {
    m_TabProfil.RemovePunct(id);
    m_UserTab.RemovePunct(id);
}

}  // namespace TERQCloud
