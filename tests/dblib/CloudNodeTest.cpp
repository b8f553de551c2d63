// The node base and the root's document: loading, duplicate reports, serialising subtrees,
// saving files, search, sorting, the lift index, modification flags and the service state.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>
#include <unistd.h>

#include "dblib/CloudStr.h"
#include "tests/dblib/CloudFixture.h"

using namespace TERQCloud;
namespace fs = std::filesystem;

namespace {

class CloudNodeTest : public CloudTest {};

TEST_F(CloudNodeTest, LoadsTheFirstTerqcloudElementOnly) {
    CTestCloud cloud;
    cloud.XMLLoadStr(
        "<!-- c --><?pi x?><TERQCLOUD IdDB=\"9\"><PULT Name=\"A\"/><x/>"
        "<PULT Name=\"B\"/></TERQCLOUD>");
    ASSERT_EQ(cloud.m_Child.size(), 2u);
    EXPECT_EQ(cloud.m_Child[1]->m_Name, L"B");
    EXPECT_EQ(cloud.m_IdentDB, 9);
    CTestCloud other;
    other.XMLLoadStr("<OTHER><PULT Name=\"A\"/></OTHER>");
    EXPECT_TRUE(other.m_Child.empty());
    EXPECT_TRUE(other.m_Msgs.empty());
    try {
        other.XMLLoadStr("<TERQCLOUD>");
        FAIL() << "no ErrorXML";
    } catch (const ErrorXML& e) {
        EXPECT_EQ(e.m_Text, L"Error loadXML");
    }
    EXPECT_EQ(other.m_XMLDOMG, nullptr);
}

TEST_F(CloudNodeTest, DuplicatesAreReportedAndKept) {
    const struct {
        std::string body;
        const wchar_t* msg;
    } rows[] = {
        {"<PULT Name=\"A\"/><PULT Name=\"A\"/>", L"A - repeated definition team"},
        {"<PULT><DISP Name=\"D\"/><DISP Name=\"D\"/></PULT>",
         L"D - repeated definition control room"},
        {"<PULT><DISP><STREET Name=\" S\"/><STREET Name=\" S\"/></DISP></PULT>",
         L" S - repeated definition street"},
        {"<PULT><DISP><STREET Name=\"S\"><HOME Name=\"H\"/><HOME "
         "Name=\"H\"/></STREET></DISP></PULT>",
         L"S,H - repeated definition home in street"},
        {OneLift("Name=\"L\""), nullptr},  // one lift: nothing to report
        {"<PULT><DISP><STREET Name=\"S\"><HOME Name=\"H\"><LIFT Name=\"L\"/><LIFT Name=\"L\"/>"
         "</HOME></STREET></DISP></PULT>",
         L"S,H,L - repeated definition lift"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.body);
        CTestCloud& cloud = Load(row.body);
        if (row.msg == nullptr) {
            EXPECT_TRUE(cloud.m_Msgs.empty());
            continue;
        }
        ASSERT_EQ(cloud.m_Msgs.size(), 1u);
        EXPECT_EQ(cloud.m_Msgs[0], row.msg);
        EXPECT_EQ(cloud.m_Codes[0], 0);
        // Both stay: the document saves as loaded.
        EXPECT_EQ(cloud.Text(), "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<TERQCLOUD>" +
                                    row.body + "</TERQCLOUD>\n");
    }
}

// Every position among siblings: first, middle, last and only child, and the root itself.
TEST_F(CloudNodeTest, SubtreeTextAndFileLeaveTheDocumentAsItWas) {
    CTestCloud& cloud = Load(
        "<PULT Name=\"P\"><!--c--><DISP Name=\"A\"><STREET Name=\"S1\"/>\n<STREET Name=\"S2\">"
        "<HOME Name=\"H\"/></STREET><STREET Name=\"S3\"/></DISP></PULT>");
    const std::string before = cloud.Text();
    CPunctB* punct = Punct();
    const struct {
        CNodeB* node;
        const char* own;
        const char* file;  // indented
    } rows[] = {
        {punct->m_Child[0], "<STREET Name=\"S1\"/>", "<STREET Name=\"S1\"/>"},
        {punct->m_Child[1], "<STREET Name=\"S2\"><HOME Name=\"H\"/></STREET>",
         "<STREET Name=\"S2\">\n  <HOME Name=\"H\"/>\n</STREET>"},
        {punct->m_Child[2], "<STREET Name=\"S3\"/>", "<STREET Name=\"S3\"/>"},
        {punct->m_Child[1]->m_Child[0], "<HOME Name=\"H\"/>", "<HOME Name=\"H\"/>"},
        {punct, nullptr, nullptr},
        {&cloud, nullptr, nullptr},
    };
    const std::string decl = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";
    const fs::path dir = fs::temp_directory_path() / ("cloud" + std::to_string(getpid()));
    fs::create_directories(dir);
    const std::string path = (dir / "out.xml").string();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.own ? row.own : "upper");
        std::string out;
        row.node->XMLStr(out);
        EXPECT_EQ(cloud.Text(), before);
        row.node->XMLFile(path.c_str());
        EXPECT_EQ(cloud.Text(), before);
        std::ifstream file(path);
        const std::string saved{std::istreambuf_iterator<char>(file), {}};
        if (row.own != nullptr) {
            EXPECT_EQ(out, decl + row.own + "\n");
            EXPECT_EQ(saved, decl + row.file + "\n");
        }
    }
    EXPECT_TRUE(cloud.m_Msgs.empty());
    // Only the file itself: no temporary left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
    fs::remove_all(dir);

    cloud.XMLFile("/nonexistent-folder/out.xml");
    ASSERT_EQ(cloud.m_Msgs.size(), 1u);
    EXPECT_EQ(cloud.m_Msgs[0], L"Error save to /nonexistent-folder/out.xml");
    EXPECT_EQ(cloud.Text(), before);
}

TEST_F(CloudNodeTest, UnboundNodesGiveTheDiagnosticText) {
    CTestCloud& cloud = Load("<PULT><TabState><State Number=\"1\"/></TabState></PULT>");
    CPunctB* punct = Team()->CreatePunct();
    punct->m_Name = L"\u0414";
    punct->m_IdentDB = 7;
    std::string out;
    punct->XMLStr(out);
    EXPECT_EQ(out, "CNodeB::XMLStr TypNode=1 Name=\xD0\x94 IdentDB=7 m_XMLNodeG == 0");
    delete punct;
    cloud.XMLRelease();
    EXPECT_EQ(Team()->m_TabState.m_XMLNodeG, nullptr);  // nothing points into the freed document
    Team()->XMLUpdateG();
    Team()->XMLStr(out);
    EXPECT_EQ(out, "CNodeB::XMLStr TypNode=5 Name= IdentDB=0 Root()->m_XMLDOMG == 0");
    CStreetB detached;
    detached.XMLStr(out);
    EXPECT_EQ(out, "CNodeB::XMLStr TypNode=2 Name= IdentDB=0 Root()->m_XMLDOMG == 0");
}

TEST_F(CloudNodeTest, FindIDTypSortByNameAndLiftIndex) {
    Load(
        "<PULT><DISP Name=\"b\"><STREET Name=\"z\" IdDB=\"5\"><HOME Name=\"H\">"
        "<LIFT Name=\"y\" IdDB=\"5\"/><LIFT Name=\"x\" IdDB=\"0\"/><LIFT Name=\"w\" IdDB=\"3\"/>"
        "</HOME></STREET><STREET Name=\"a\"/></DISP><DISP Name=\"a\"/></PULT>");
    CTeamB* team = Team();
    EXPECT_EQ(team->FindIDTyp(5, CNodeB::typLift)->m_Name, L"y");
    EXPECT_EQ(team->FindIDTyp(5, CNodeB::typStreet)->m_Name, L"z");
    EXPECT_EQ(team->FindIDTyp(5, CNodeB::typHome), nullptr);

    EXPECT_EQ(team->FindLift(5), nullptr);  // no index before SetStruct
    team->SetStruct();
    EXPECT_EQ(team->FindLift(5)->m_Name, L"y");
    EXPECT_EQ(team->FindLift(3)->m_Name, L"w");
    EXPECT_EQ(team->FindLift(0), nullptr);  // even though lift x has 0
    EXPECT_EQ(team->FindLift(4), nullptr);
    EXPECT_EQ(Punct()->FindLift(3)->m_Name, L"w");
    EXPECT_EQ(team->m_SortLift.FindIndex(team->FindLift(5)), 2);
    EXPECT_EQ(team->TotalLift(), 3);

    team->SortByName();
    EXPECT_EQ(Punct(0)->m_Name, L"a");
    CNodeTreeB* b = Punct(1);
    EXPECT_EQ(b->m_Child[0]->m_Name, L"a");
    const CNodeArrayB& lifts = b->m_Child[1]->m_Child[0]->m_Child;
    EXPECT_EQ(lifts[0]->m_Name + lifts[1]->m_Name + lifts[2]->m_Name, L"wxy");
}

// A leaf whose service state the test sets.
class CLeaf : public CNodeTreeB {
public:
    CLeaf(bool notServiced, int all, int notAll)
        : m_notServiced(notServiced), m_all(all), m_notAll(notAll) {}
    int TypNode() override { return typHome; }
    bool IsNotServiced() override { return m_notServiced; }
    int AllHasSameError() override { return m_all; }
    int NotAllHasSameError() override { return m_notAll; }
    bool m_notServiced;
    int m_all, m_notAll;
};

TEST_F(CloudNodeTest, ServiceStateOverMixedChildren) {
    struct LeafState {
        bool notServiced;
        int all, notAll;
    };
    const struct {
        std::vector<LeafState> leaves;
        bool notServiced;
        int all, notAll, icon, kind;
    } rows[] = {
        {{}, true, 0, 0, 0, 0},                            // no children
        {{{true, 3, 3}, {true, 4, 4}}, true, 0, 0, 0, 0},  // none serviced
        {{{false, 3, 3}, {false, 3, 3}, {true, 9, 9}}, false, 3, 3, 3, 0},
        {{{false, 3, 3}, {false, 4, 4}}, false, -1, -1, 0, 0},
        {{{false, 0, 0}, {false, 2, 2}}, false, -1, 2, 2, 1},  // zero skipped by NotAll only
        {{{false, 0, 0}, {false, 0, 0}}, false, 0, 0, 0, 0},
        {{{false, -1, -1}, {false, 2, 2}}, false, -1, -1, 0, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.leaves.size());
        CStreetB node;
        for (const LeafState& l : row.leaves)
            node.m_Child.push_back(new CLeaf(l.notServiced, l.all, l.notAll));
        EXPECT_EQ(node.IsNotServiced(), row.notServiced);
        EXPECT_EQ(node.AllHasSameError(), row.all);
        EXPECT_EQ(node.NotAllHasSameError(), row.notAll);
        int icon = -5, kind = -5;
        node.NodeIcon(icon, kind);
        EXPECT_EQ(icon, row.icon);
        EXPECT_EQ(kind, row.kind);
    }
}

TEST_F(CloudNodeTest, ModificationReachesUpThroughListsAndTables) {
    Load(OneLift("", "<TabOut><Out Number=\"1\"/></TabOut>") +
         "<PULT><TabKey><Key/></TabKey></PULT>");
    CTestCloud& cloud = *m_cloud;
    EXPECT_FALSE(cloud.IsModify());
    Lift()->m_TabOut.Find(1)->m_Modify = true;
    EXPECT_TRUE(Team()->IsModify());
    EXPECT_TRUE(cloud.IsModify());
    cloud.ClearModify();
    EXPECT_FALSE(Lift()->m_TabOut.Find(1)->m_Modify);
    Team(1)->m_TabKey.front()->m_Modify = true;
    EXPECT_TRUE(cloud.IsModify());
    EXPECT_FALSE(Team(0)->IsModify());
}

TEST_F(CloudNodeTest, ClearAndArrayRemoveDoNotTouchTheDocument) {
    CTestCloud& cloud = Load("<PULT Name=\"A\"/><PULT Name=\"B\"/>");
    const std::string before = cloud.Text();
    CNodeTreeB* a = cloud.m_Child.Find(L"A");
    cloud.m_Child.Remove(a);
    delete a;
    EXPECT_EQ(cloud.m_Child.size(), 1u);
    cloud.Clear();
    EXPECT_TRUE(cloud.m_Child.empty());
    EXPECT_EQ(cloud.Text(), before);
}

}  // namespace
