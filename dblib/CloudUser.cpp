// Console tables of users, user groups and profiles: binding and creation.
#include "dblib/CloudStr.h"

namespace TERQCloud {

const char* const CUserTeamTab::s_TabUserDisp = "TabUserDisp";
const char* const CGroupTeamTab::s_TabGroupDisp = "TabGroupDisp";
const char* const CTabProfilP::s_Profiles = "PROFILES";

// A table element is made only for a table that has entries.
void CUserTeamTab::XMLCreate() {
    if (!m_Child.empty()) CNodeTreeB::XMLCreate();
}

void CGroupTeamTab::XMLCreate() {
    if (!m_Child.empty()) CNodeTreeB::XMLCreate();
}

void CTabProfilP::XMLCreate() {
    if (!m_Child.empty()) CNodeTreeB::XMLCreate();
}

}  // namespace TERQCloud
