// Table rules: later numbers replace earlier ones, which entries XMLCreate writes, and how adding
// the first and removing the last entry makes and drops the table element.
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "dblib/CloudStr.h"
#include "tests/dblib/CloudFixture.h"

using namespace TERQCloud;

namespace {

class CloudTabTest : public CloudTest {};

TEST_F(CloudTabTest, LaterNumberReplacesAndKeysKeepOrder) {
    Load(
        "<PULT><TabState><State Number=\"33\" ShortName=\"a\"/><x/><State Number=\"33\" "
        "ShortName=\"b\"/></TabState><TabKey><Key Number=\"2\" Owner=\"o2\"/><Key Number=\"1\"/>"
        "<Key Number=\"2\" Owner=\"o3\"/></TabKey></PULT>");
    CTeamB* team = Team();
    ASSERT_EQ(team->m_TabState.size(), 1u);
    EXPECT_EQ(team->m_TabState.Find(33)->m_ShortName, L"b");
    EXPECT_TRUE(team->m_TabState.IsExistAndDefine(33));
    EXPECT_FALSE(team->m_TabState.IsExistAndDefine(34));
    EXPECT_EQ(team->m_TabKey.size(), 3u);
    EXPECT_EQ(team->m_TabKey.GetOwner(2), L"o2");
    EXPECT_EQ(team->m_TabKey.GetOwner(7), L"");
    EXPECT_EQ(team->m_TabKey.Find(7), nullptr);
}

TEST_F(CloudTabTest, CreateWritesOnlyTheSharedEntries) {
    CTestCloud& cloud = Build();
    CTeamB* team = Team();
    CLiftB* lift = Lift();
    for (int n : {5, 33, 36}) {
        CStateB* s = team->CreateState(n);
        s->m_Define = true;
        team->m_TabState.Insert(s);
    }
    for (int n : {1, 3}) {
        COutB* o = team->CreateOut(n);
        o->m_Define = true;
        team->m_TabOut.Insert(o);
    }
    team->m_TabOut.Insert(team->CreateOut(2));
    CStateB* own = lift->CreateState(34);
    own->m_Define = true;
    lift->m_TabState.Insert(own);
    lift->m_TabOut.Insert(lift->CreateOut(1));  // no defined entry: no element at all
    team->m_TabKey.Insert(team->CreateKey());
    cloud.XMLCreate();
    const std::string text = cloud.Text();
    EXPECT_NE(text.find("<TabState><State Number=\"33\" Pulsar=\"1\" GroupSost=\"11\"/></TabState>"
                        "<TabOut><Out Number=\"1\"/></TabOut><TabKey><Key/></TabKey>"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("InsContr=\"1\"><TabState><State Number=\"34\" Pulsar=\"1\" "
                        "GroupSost=\"11\"/></TabState></LIFT>"),
              std::string::npos)
        << text;
    // Entries left out are unbound: a later write cannot reach a freed element.
    EXPECT_EQ(team->m_TabState.Find(5)->m_XMLNodeG, nullptr);
    team->m_TabState.Find(5)->XMLUpdateG();
}

TEST_F(CloudTabTest, FirstEntryAddsAndLastEntryRemovesTheTableElement) {
    CTestCloud& cloud = Load(OneLift("Name=\"L\""));
    CLiftB* lift = Lift();
    const std::string bare = cloud.Text();
    const auto Has = [&](const char* text) { return cloud.Text().find(text) != std::string::npos; };

    COutB* out = lift->CreateOut(1);
    out->XMLAddG();
    lift->m_TabOut.Insert(out);
    COutB* out2 = lift->CreateOut(2);
    out2->XMLAddG();
    lift->m_TabOut.Insert(out2);
    EXPECT_TRUE(Has("<TabOut><Out Number=\"1\"/><Out Number=\"2\"/></TabOut>"));
    out->XMLRemoveG();
    EXPECT_TRUE(Has("<TabOut><Out Number=\"2\"/></TabOut>"));
    out2->XMLRemoveG();
    EXPECT_EQ(cloud.Text(), bare);

    CTermDevB* dev = new CTermDevB(&lift->m_TabDev);
    dev->m_Address = 3;
    dev->XMLAddG();
    lift->m_TabDev.Insert(dev);
    EXPECT_TRUE(Has("<TabDev><Dev Address=\"3\" Typ=\"-1\"/></TabDev>"));
    dev->XMLRemoveG();
    EXPECT_EQ(cloud.Text(), bare);

    CStateB* state = lift->CreateState(40);
    state->m_Disabl = 1;
    state->XMLAddG();
    lift->m_TabState.Insert(state);
    EXPECT_TRUE(Has("<TabState><State Number=\"40\" Pulsar=\"1\" GroupSost=\"11\" Disabl=\"1\"/>"));
    // Without a parent an entry adds nothing.
    CKeyB loose;
    loose.XMLAddG();
    EXPECT_EQ(loose.m_XMLNodeG, nullptr);
}

TEST_F(CloudTabTest, AlertMessagesFindValidateAndRemove) {
    CTestCloud& cloud = Load(
        "<TabAlertMsg><AlertMsg NumMsg=\"5\" Filter=\"door\"/><AlertMsg NumMsg=\"5\"/>"
        "<AlertMsg NumMsg=\"44\"><AlertLift CodLift=\"3\"/></AlertMsg></TabAlertMsg>");
    CTeamB owner;
    CTabAlertMsg table(&owner);
    table.XMLLoadG(cloud.m_XMLNodeG->children);
    ASSERT_EQ(table.m_Child.size(), 3u);
    EXPECT_EQ(table.Find(5, L"the door is open"), table.m_Child[0]);
    EXPECT_EQ(table.Find(5, L"power"), table.m_Child[1]);
    EXPECT_EQ(table.Find(6, L"door"), nullptr);

    auto* msg = static_cast<CAlertMsg*>(table.m_Child[2]);
    EXPECT_TRUE(msg->IsValid());  // 44 is valid in every form
    auto* lift = static_cast<CAlertLift*>(msg->m_Child[0]);
    msg->Remove(lift);
    delete lift;
    EXPECT_TRUE(msg->m_Modify);
    EXPECT_EQ(cloud.Text().find("AlertLift"), std::string::npos);
    while (!table.m_Child.empty()) {
        CNodeTreeB* first = table.m_Child[0];
        table.Remove(static_cast<CAlertMsg*>(first));
        delete first;
    }
    EXPECT_TRUE(owner.m_Modify);
    EXPECT_EQ(cloud.Text(), "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<TERQCLOUD/>\n");
}

TEST_F(CloudTabTest, CopiesTakeValuesButNeverTheElement) {
    Load(OneLift("", "<TabDev><Dev Address=\"3\" Full=\"F\" IdDB=\"4\"/></TabDev>") +
         "<PULT><TabState><State Number=\"33\" ShortName=\"s\" IdDB=\"4\"/></TabState><TabKey>"
         "<Key Number=\"2\" IdDB=\"4\"/></TabKey></PULT>");
    const CStateB state(*Team(1)->m_TabState.Find(33));
    EXPECT_EQ(state.m_ShortName, L"s");
    EXPECT_TRUE(state.m_Define);
    EXPECT_EQ(state.m_IdentDB, 0);
    EXPECT_EQ(state.m_XMLNodeG, nullptr);
    const CKeyB key(*Team(1)->m_TabKey.front());
    EXPECT_EQ(key.m_Number, 2);
    EXPECT_EQ(key.m_IdentDB, 0);
    CTermDevB dev;
    dev = *Lift()->m_TabDev.Find(3);
    EXPECT_EQ(dev.m_Name, L"F");
    EXPECT_EQ(dev.m_IdentDB, 4);
    EXPECT_EQ(dev.m_XMLNodeG, nullptr);
}

}  // namespace
