// Arbitrary bytes as a cloud document with groups, users and profiles (up to the first zero
// byte), the bytes after it as a sequence of layout edits; the saved text, and the text of a
// document built afresh from the edited tree, must both load into a tree equal to it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include <libxml/parser.h>

#include "dblib/CloudStr.h"
#include "fuzz/QuietXml.h"

using namespace TERQCloud;

namespace {

class CFuzzCloud : public CCloudB {
public:
    void ReportMsg(const DBString&, int) override {}
    void ReportErr(const DBString&, int) override {}
};

// What the document says of the layout, users and profiles, in one text.
void Dump(std::string& s, const CGroupB& g) {
    s += "G" + g.m_Name.ToStr() + "|" + std::to_string(g.m_Number) + "|" +
         std::to_string(g.m_Rect.left) + "," + std::to_string(g.m_Rect.top) + "," +
         std::to_string(g.m_Rect.right) + "," + std::to_string(g.m_Rect.bottom) + "|" +
         std::to_string(g.m_Fon) + "|" + std::to_string(g.m_NoNewError + 2 * g.m_Trasparent) +
         std::to_string(g.m_NoBorder + 2 * g.m_Decor) + g.m_FileMap.ToStr() + "[";
    for (const CLiftInGroup* c : g.m_Lifts)
        s += c->m_GUID.ToString().ToStr() + "@" + std::to_string(c->m_X) + "," +
             std::to_string(c->m_Y) + (c->m_Lift != nullptr ? "L;" : ";");
    for (const CGroupB* sub : g.m_Groups) Dump(s, *sub);
    s += "]";
}

void Dump(std::string& s, CTeamB& team);

void Dump(std::string& s, const CTabProfilP& tab) {
    for (CNodeTreeB* p : tab.m_Child) Dump(s, *static_cast<CProfilP*>(p));
}

void Dump(std::string& s, CTeamB& team) {
    s += "T" + team.m_Name.ToStr() + "{";
    for (CNodeTreeB* node : team.m_Child) {
        auto* punct = static_cast<CPunctB*>(node);
        s += "D" + punct->m_Name.ToStr();
        if (auto* view = dynamic_cast<CPunctP*>(punct)) s += "#" + std::to_string(view->m_IdPunct);
        Dump(s, punct->m_Group);
    }
    Dump(s, team.m_TabProfil);
    for (CNodeTreeB* node : team.m_UserTab.m_Child) {
        auto* u = static_cast<CUserTeam*>(node);
        s += "U" + std::to_string(u->m_CodUser) + ">" + std::to_string(u->m_CodSrc) +
             u->UserA::m_Name.ToStr() + u->m_BegNotify.TimShortString().ToStr() +
             u->m_EndNotify.TimShortString().ToStr() + std::to_string(u->m_IDTelegram) + ":";
        for (std::uint32_t m : u->m_Access) s += std::to_string(m) + ",";
        Dump(s, u->m_TabProfil);
    }
    for (CNodeTreeB* node : team.m_GroupTab.m_Child) {
        auto* g = static_cast<CGroupTeam*>(node);
        s += "g" + std::to_string(g->m_CodGroup) + g->GroupUserA::m_Name.ToStr();
    }
    s += "}";
}

std::string Dump(CCloudB& cloud) {
    std::string s;
    for (CNodeTreeB* team : cloud.m_Child) Dump(s, *static_cast<CTeamB*>(team));
    return s;
}

void Collect(std::vector<CGroupB*>& out, CGroupArray& groups) {
    for (CGroupB* g : groups) {
        out.push_back(g);
        Collect(out, g->m_Groups);
    }
}

// Every group of every dispatch point, of the consoles and of their profiles.
std::vector<CGroupB*> AllGroups(CCloudB& cloud) {
    std::vector<CGroupB*> out;
    std::vector<CTeamB*> teams;
    for (CNodeTreeB* t : cloud.m_Child) teams.push_back(static_cast<CTeamB*>(t));
    for (size_t i = 0; i < teams.size(); ++i) {
        for (CNodeTreeB* p : teams[i]->m_Child)
            Collect(out, static_cast<CPunctB*>(p)->m_Group.m_Groups);
        for (CNodeTreeB* p : teams[i]->m_TabProfil.m_Child)
            teams.push_back(static_cast<CTeamB*>(p));
    }
    return out;
}

class CReader {
public:
    CReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    bool More() const { return m_pos < m_size; }
    int Byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    int Signed() { return static_cast<int8_t>(static_cast<uint8_t>(Byte())) * 4; }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

void Edit(CFuzzCloud& cloud, CReader& in) {
    for (int steps = 0; in.More() && steps < 64; ++steps) {
        const int op = in.Byte();
        std::vector<CGroupB*> groups = AllGroups(cloud);
        if (groups.empty() || cloud.m_Child.empty()) return;
        CGroupB& g = *groups[static_cast<size_t>(in.Byte()) % groups.size()];
        auto& team = *static_cast<CTeamB*>(cloud.m_Child[0]);
        switch (op % 12) {
            case 0: {
                const int l = in.Signed() * 4, t = in.Signed() * 4;
                g.SetGroupSel(CRect(l, t, l + in.Byte() * 8, t + in.Byte() * 8));
                break;
            }
            case 1:
                g.ClrGroupSel();
                break;
            case 2:
                g.SetBottomSel(in.Byte() % 2 != 0 ? g.MaxBottomSel() : in.Signed());
                break;
            case 3:
                g.SetLeftSel(in.Byte() % 2 != 0 ? g.MinLeftSel() : in.Signed());
                break;
            case 4:
                g.MoveSel(in.Signed(), in.Signed());
                break;
            case 5:
                g.SavePosLift();
                break;
            case 6:
                g.UpdoPosLift();
                break;
            case 7:
                in.Byte() % 2 != 0 ? g.DistrHoriz() : g.DistrVert();
                break;
            case 8:
                team.RemovePunct(in.Byte() % 16);
                break;
            case 9: {
                CRect r;
                const CPunctB* punct = g.m_Punct;
                if (punct != nullptr)
                    punct->m_Group.m_Groups.FindGroup(CPoint(in.Signed() * 8, in.Signed() * 8), &r);
                (void)g.CalcRect();
                (void)g.CalcRectSel();
                (void)g.TotGroupSel();
                break;
            }
            case 10:
                if (g.m_Punct != nullptr) g.m_Punct->m_Group.m_Groups.Remove(&g);
                break;
            default:
                if (!g.m_Lifts.empty() && g.m_Punct != nullptr)
                    g.m_Punct->m_Group.m_Groups.RemoveLift(
                        g.m_Lifts[static_cast<size_t>(in.Byte()) % g.m_Lifts.size()]->m_GUID);
                break;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QuietXml();
    size_t split = 0;
    while (split < size && data[split] != 0) ++split;
    const std::string text(reinterpret_cast<const char*>(data), split);
    CFuzzCloud cloud;
    try {
        cloud.XMLLoadStr(text.c_str());
    } catch (const ErrorXML&) {
        return 0;
    } catch (const std::logic_error&) {  // an unreadable access text
        return 0;
    }
    CReader in(data + split, size - split);
    (void)in.Byte();
    Edit(cloud, in);
    (void)cloud.IsModify();

    std::string saved;
    cloud.XMLStr(saved);
    if (cloud.m_XMLNodeG == nullptr) return 0;
    const std::string edited = Dump(cloud);
    CFuzzCloud again;
    again.XMLLoadStr(saved.c_str());
    if (Dump(again) != edited) std::abort();

    // A document built afresh from the edited tree says the same.
    cloud.XMLCreate();
    cloud.XMLStr(saved);
    CFuzzCloud built;
    built.XMLLoadStr(saved.c_str());
    if (Dump(built) != edited) std::abort();
    return 0;
}
