// Groups and the layout editor end to end; profiles and their pruning. Users: the access text,
// source chains (three deep and looping), repeat suppression.
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "dblib/CloudStr.h"
#include "tests/dblib/CloudFixture.h"

using namespace TERQCloud;

namespace {

std::string G(int n) { return std::string(31, '0') + std::to_string(n); }

std::string Cell(int n, const char* point) {
    return "<LIFT GUID=\"" + G(n) + "\" Point=\"" + point + "\"/>";
}

// Lifts 1 to 4; group A with cells 1-3 and a nested group B with cell 4; group C places lift
// 1 again and lift 9, which the structure does not have.
std::string Layout(const std::string& tail = "") {
    std::string lifts;
    for (int n = 1; n <= 4; ++n)
        lifts += "<LIFT Name=\"L" + std::to_string(n) + "\" GUID=\"" + G(n) + "\"/>";
    return "<PULT Name=\"P\"><DISP Name=\"D\" IdDB=\"7\" SizeLiftGrp=\"10,10\"><STREET Name=\"S\">"
           "<HOME Name=\"H\">" +
           lifts + "</HOME></STREET><GROUP Name=\"A\" Number=\"1\" Rect=\"100,50,400,300\">" +
           Cell(3, "50,5") + Cell(1, "0,0") + Cell(2, "10,0") +
           "<GROUP Name=\"B\" Number=\"2\" IdDB=\"6\" Rect=\"10,100,200,200\">" + Cell(4, "5,5") +
           "</GROUP></GROUP><GROUP Name=\"C\" Number=\"3\">" + Cell(1, "1,1") + Cell(9, "0,0") +
           "</GROUP></DISP>" + tail + "</PULT>";
}

class CloudGroupTest : public CloudTest {
protected:
    CGroupArray& Groups() { return Punct()->m_Group.m_Groups; }
    CGroupB& A() { return *Groups().at(0); }
    std::string Points(CGroupB& g) {
        std::string s;
        for (CLiftInGroup* c : g.m_Lifts) s += Attr(c->m_XMLNodeG, "Point") + ";";
        return s;
    }
    // A console with these users; the first of them.
    CUserTeam& LoadUsers(const std::string& users) {
        Load("<PULT Name=\"P\"><TabUserDisp>" + users + "</TabUserDisp></PULT>");
        return User(0);
    }
    CUserTeam& User(size_t i) { return *static_cast<CUserTeam*>(Team()->m_UserTab.m_Child.at(i)); }
    // A user with a code, a source code and an access text.
    static std::string U(
        int code, int src, const char* name, const char* access = "0", const char* body = "") {
        return "<User IdDB=\"" + std::to_string(code) + "\" IdDBSrc=\"" + std::to_string(src) +
               "\" Name=\"" + name + "\" Comment=\"" + (name[0] == 'b' ? "" : "c_") + name +
               "\" Access=\"" + access + "\">" + body + "</User>";
    }
};
using CloudUserTest = CloudGroupTest;

TEST_F(CloudGroupTest, ConflictingPlacementsAreDroppedAndNestedGeometry) {
    Load(Layout());
    EXPECT_EQ(m_cloud->m_Msgs,
              (std::vector<DBString>{"Lift " + G(1) + " already included in group A",
                                     "Lift " + G(9) + " from group C not defined in structure"}));
    CGroupB& c = *Groups().at(1);
    EXPECT_TRUE(c.m_Lifts.empty());
    // The duplicate's element is gone, so no save can bring it back; the unknown lift's stays.
    EXPECT_EQ(Attr(xmlFirstElementChild(c.m_XMLNodeG), "GUID"), G(9));
    CLiftInGroup* kept = Groups().FindLift(DBGUID() = G(1).c_str());
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(std::make_pair(kept->Group(), kept->m_Lift), std::make_pair(&A(), Lift(0, 0)));
    EXPECT_EQ(Groups().FindLift(DBGUID() = G(4).c_str())->m_Lift, Lift(0, 3));
    EXPECT_EQ(Groups().MaxNumGroup(), 3);
    EXPECT_EQ(Groups().FindNumber(3), &c);
    EXPECT_EQ(Groups().FindName(L"C"), &c);
    EXPECT_EQ(A().FindSubGroup(6), A().m_Groups.at(0));

    CRect rect;
    EXPECT_EQ(Groups().FindGroup(CPoint(115, 155), &rect), A().m_Groups.at(0));
    EXPECT_EQ(rect, CRect(110, 150, 300, 250));
    EXPECT_EQ(Groups().FindGroup(CPoint(105, 55), &rect), &A());
    EXPECT_EQ(rect, CRect(100, 50, 400, 300));
    EXPECT_EQ(Groups().FindGroup(CPoint(400, 55), nullptr), nullptr);
    EXPECT_EQ(A().m_Groups.at(0)->m_Lifts.at(0)->GetPoint(), CPoint(115, 155));
    EXPECT_EQ(A().CalcRect(), CRect(0, 0, 60, 15));
    EXPECT_EQ(A().CalcRectSel(), CRect());
    EXPECT_EQ(std::make_pair(A().MinLeftSel(), A().MaxBottomSel()), std::make_pair(-1, -1));

    // Removing: every placement of a lift, however deep; a group wherever it is.
    EXPECT_EQ(Groups().RemoveLift(DBGUID() = G(4).c_str()), 1);
    CGroupB stray;
    EXPECT_FALSE(Groups().Remove(&stray));
    EXPECT_TRUE(Groups().Remove(A().m_Groups.at(0)));
    EXPECT_EQ(m_cloud->Text().find("Name=\"B\""), std::string::npos);
}

TEST_F(CloudGroupTest, EditorSelectsAlignsMovesUndoesDistributesSavesAndCreates) {
    Load(Layout());
    CGroupB& a = A();
    EXPECT_EQ(a.SetGroupSel(CRect(0, 0, 105, 51)), 1);  // the corner of cell 1 only
    EXPECT_EQ(a.SetGroupSel(CRect(105, 52, 160, 60)), 3);
    EXPECT_EQ(std::make_pair(a.MinLeftSel(), a.MaxBottomSel()), std::make_pair(0, 0));
    a.SetBottomSel(20);
    a.MoveSel(1, 2);
    EXPECT_EQ(Points(a), "1,22;11,22;51,22;");  // sorted by GUID: cells 1, 2, 3
    EXPECT_TRUE(a.UpdoPosLift());
    EXPECT_EQ(Points(a), "0,0;10,0;50,5;");
    a.DistrHoriz();
    EXPECT_EQ(Points(a), "0,0;25,0;50,5;");
    EXPECT_TRUE(Punct()->IsModify());

    a.ClrGroupSel();
    a.SetGroupSel(CRect(100, 50, 105, 55));
    a.SetGroupSel(CRect(150, 55, 151, 56));
    a.MoveSel(0, 7);
    a.DistrHoriz();  // two cells: nothing moves, but the points are saved
    EXPECT_FALSE(a.UpdoPosLift());
    CGroupB four;  // the inner cells go one and two steps from the first, in order of X
    for (int x : {0, 40, 1, 90}) {
        four.m_Lifts.push_back(four.CreateLiftInGroup());
        four.m_Lifts.back()->m_X = x;
        four.m_Lifts.back()->m_Sel = true;
    }
    four.DistrHoriz();
    EXPECT_EQ(std::make_pair(four.m_Lifts[1]->m_X, four.m_Lifts[2]->m_X), std::make_pair(60, 30));
    a.SetLeftSel(4);

    Reload();
    EXPECT_EQ(Points(A()), "4,7;25,0;4,12;");
    EXPECT_EQ(Points(*A().m_Groups.at(0)), "5,5;");

    // A factory-made group and placement are written with their defaults.
    CGroupB* g = Punct()->CreateGroup();
    Groups().push_back(g);
    g->m_Name = L"N";
    CLiftInGroup* cell = g->CreateLiftInGroup();
    g->m_Lifts.push_back(cell);
    cell->m_Y = 9;
    cell->Clear();
    cell->m_GUID = G(5).c_str();
    cell->m_X = 3;
    m_cloud->XMLCreate();
    EXPECT_NE(m_cloud->Text().find("<GROUP Name=\"N\" Rect=\"0,0,0,0\" Color=\"255,251,240\"><LIFT "
                                   "GUID=\"" +
                                   G(5) + "\" Point=\"3,0\"/></GROUP></DISP>"),
              std::string::npos);
}

TEST_F(CloudGroupTest, RemovingADispatchPointPrunesEveryProfile) {
    const std::string profiles =
        "<PROFILES><PULT Name=\"V\"><DISP Name=\"x\" IdPunct=\"7\"><GROUP Name=\"g\">" +
        Cell(9, "1,1") + "</GROUP></DISP><DISP IdPunct=\"8\"/></PULT></PROFILES>";
    Load(Layout(profiles + "<TabUserDisp><User Name=\"u\" Access=\"0\">" + profiles +
                "</User></TabUserDisp>"));
    EXPECT_EQ(m_cloud->m_Msgs.size(), 2u);  // a profile may place a lift of no structure
    auto* view = static_cast<CProfilP*>(Team()->m_TabProfil.m_Child.at(0));
    ASSERT_NE(view->FindPunct(7), nullptr);
    EXPECT_EQ(view->FindPunct(7)->m_Group.m_Groups.at(0)->m_Lifts.size(), 1u);

    m_cloud->XMLCreate();
    EXPECT_STREQ(reinterpret_cast<const char*>(view->FindPunct(7)->m_XMLNodeG->properties->name),
                 "IdPunct");
    Team()->RemovePunct(7);
    const std::string text = m_cloud->Text();
    EXPECT_EQ(text.find("IdPunct=\"7\""), std::string::npos) << text;
    EXPECT_EQ(text.find(G(9)), std::string::npos);
    EXPECT_NE(text.find("AvtoGGS=\"0\"/></PULT></PROFILES></User>"), std::string::npos);
    EXPECT_EQ(view->FindPunct(7), nullptr);
    EXPECT_TRUE(view->m_Modify);
    Team()->Clear();
    EXPECT_TRUE(Team()->m_TabProfil.m_Child.empty());
}

TEST_F(CloudUserTest, AccessTextReadsLeadingMasksAndWritesAll23) {
    CUserTeam& u = LoadUsers(
        "<User Name=\"a\" Access=\" 1,2,-1\" IDTelegram=\"5000000000\" BegNotify=\"8:30:0\"/>");
    EXPECT_EQ(std::make_pair(u.m_Access[1], u.m_Access[2]), std::make_pair(2u, 0xFFFFFFFFu));
    EXPECT_EQ(u.m_EndNotify, DBTime(2000, 1, 1, 23, 59, 59));  // absent: the end of the day
    u.SetTypAccess(RootA::taClearErr, 32);
    u.XMLUpdateG();
    EXPECT_EQ(Attr(u.m_XMLNodeG, "Access"),
              "1,2,4294967295,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,2147483648");
    EXPECT_EQ(Attr(u.m_XMLNodeG, "IDTelegram") + " " + Attr(u.m_XMLNodeG, "BegNotify") + " " +
                  Attr(u.m_XMLNodeG, "EndNotify"),
              "5000000000 08:30:00 <absent>");
    const std::string text = m_cloud->Text();
    EXPECT_EQ(Reload().Text(), text);
}

TEST_F(CloudUserTest, MalformedAccessStopsTheLoadWithTheConversionError) {
    for (const char* bad : {"", "x", "1,", "1,,2", "1, x"})
        EXPECT_THROW(LoadUsers(U(1, 0, "a", bad)), std::invalid_argument) << bad;
    EXPECT_THROW(LoadUsers("<User Name=\"a\"/>"), std::invalid_argument);
    try {
        LoadUsers(U(1, 0, "a", "1,99999999999999999999"));
        ADD_FAILURE();
    } catch (const std::out_of_range& e) {
        EXPECT_NE(std::string(e.what()).find("User a"), std::string::npos) << e.what();
    }
}

TEST_F(CloudUserTest, ThreeDeepChainInheritsNamesRightsAndProfiles) {
    const char* view = "<PROFILES><PULT Name=\"V\"/></PROFILES>";
    LoadUsers(U(3, 2, "c", "0", view) + U(2, 1, "b") +
              U(1, 0, "a", "0,8",
                (std::string(view) + "<TabAlertMsg><AlertMsg/></TabAlertMsg>").c_str()));
    CUserTeam& c = User(0);
    EXPECT_EQ(c.PathName() + L"|" + c.FullName() + L"|" + c.SortName(),
              L"a\\b\\c|a\\b\\c (c_c)|c_a b c_c");
    EXPECT_EQ(c.LevelInherit(), 2);
    EXPECT_EQ(std::make_tuple(c.ExistAccess(RootA::taManage, 4), c.ExistAccess(RootA::taManage, 3),
                              User(2).ExistAccess(RootA::taManage, 4)),
              std::make_tuple(true, false, true));
    EXPECT_TRUE(c.IsExistAlert());
    EXPECT_EQ(c.FindProfil(L"V"), User(2).m_TabProfil.m_Child.at(0));
    EXPECT_FALSE(User(1).NoHeir());
    EXPECT_TRUE(c.NoHeir());

    c.CopyAccessFromSrc();
    EXPECT_EQ(c.m_Access[1], 8u);
    EXPECT_EQ(c.m_Src, &User(1));  // still inherits
    CUserTeam* b = &User(1);
    ASSERT_EQ(Team()->m_UserTab.Find(L"b"), b);
    EXPECT_TRUE(Team()->m_UserTab.Delete(L"b"));
    delete b;  // Delete only takes the user out of the table
}

TEST_F(CloudUserTest, LoopingChainIsCutAtItsFirstRepeat) {
    LoadUsers(U(1, 3, "a", "1") + U(2, 1, "b", "2") + U(3, 2, "c", "4"));
    CUserTeam& a = User(0);
    EXPECT_EQ(a.PathName(), L"b\\c\\a");
    EXPECT_EQ(a.LevelInherit(), 2);
    EXPECT_TRUE(a.IsInherit(&User(1)));
    EXPECT_FALSE(a.IsInherit(&a) || a.IsExistAlert());
    Team()->m_UserTab.CopyAccessFromSrc();
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(User(i).m_Access[0], 7u) << i;
}

TEST_F(CloudUserTest, RepeatSuppressionHoldsAKeyForItsWindow) {
    CUserTeam u;
    EXPECT_EQ(u.m_EndNotify, DBTime(2000, 1, 1, 23, 59, 59));  // a new user: the whole day
    EXPECT_TRUE(u.IsMsgNoDelay(L"k", 5, 1000));
    EXPECT_FALSE(u.IsMsgNoDelay(L"k", 5, 1299));
    EXPECT_TRUE(u.IsMsgNoDelay(L"other", 0, 1299));
    EXPECT_TRUE(u.IsMsgNoDelay(L"k", 5, 1300));
    EXPECT_FALSE(u.IsMsgNoDelay(L"k", 5, 1599));
    EXPECT_TRUE(u.IsMsgNoDelay(L"z", 1, 1600));  // passes the expired "k" and drops it
    EXPECT_EQ(u.m_NoDelay.count(L"k"), 0u);
}

}  // namespace
