// Users: the access text, source chains (three deep and looping), repeat suppression.
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "dblib/CloudStr.h"
#include "tests/dblib/CloudFixture.h"

using namespace TERQCloud;

namespace {

class CloudUserTest : public CloudTest {
protected:
    CUserTeam& Load(const std::string& users) {
        CloudTest::Load("<PULT Name=\"P\"><TabUserDisp>" + users + "</TabUserDisp></PULT>");
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

TEST_F(CloudUserTest, AccessTextReadsLeadingMasksAndWritesAll23) {
    CUserTeam& u = Load(
        "<User Name=\"a\" Access=\" 1,2,-1\" IDTelegram=\"5000000000\" BegNotify=\"8:30:0\"/>");
    EXPECT_EQ(u.m_Access[1], 2u);
    EXPECT_EQ(u.m_Access[2], 0xFFFFFFFFu);
    u.SetTypAccess(RootA::taClearErr, 32);
    u.XMLUpdateG();
    EXPECT_EQ(Attr(u.m_XMLNodeG, "Access"),
              "1,2,4294967295,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,2147483648");
    EXPECT_EQ(Attr(u.m_XMLNodeG, "IDTelegram"), "5000000000");
    EXPECT_EQ(Attr(u.m_XMLNodeG, "BegNotify"), "08:30:00");
    EXPECT_EQ(Attr(u.m_XMLNodeG, "EndNotify"), "<absent>");

    const std::string text = m_cloud->Text();
    CTestCloud again;
    again.XMLLoadStr(text.c_str());
    std::string back;
    again.XMLStr(back);
    EXPECT_EQ(back, text);
}

TEST_F(CloudUserTest, MalformedAccessStopsTheLoadWithTheConversionError) {
    for (const char* bad : {"", "x", "1,", "1,,2", "1, x"})
        EXPECT_THROW(Load(U(1, 0, "a", bad)), std::invalid_argument) << bad;
    EXPECT_THROW(Load("<User Name=\"a\"/>"), std::invalid_argument);
    try {
        Load(U(1, 0, "a", "1,99999999999999999999"));
        ADD_FAILURE();
    } catch (const std::out_of_range& e) {
        EXPECT_NE(std::string(e.what()).find("User a"), std::string::npos) << e.what();
    }
}

TEST_F(CloudUserTest, ThreeDeepChainInheritsNamesRightsAndProfiles) {
    const char* view = "<PROFILES><PULT Name=\"V\"/></PROFILES>";
    Load(U(3, 2, "c", "0", view) + U(2, 1, "b") +
         U(1, 0, "a", "0,8",
           (std::string(view) + "<TabAlertMsg><AlertMsg/></TabAlertMsg>").c_str()));
    CUserTeam& c = User(0);
    EXPECT_EQ(c.PathName(), L"a\\b\\c");
    EXPECT_EQ(c.FullName(), L"a\\b\\c (c_c)");
    EXPECT_EQ(c.SortName(), L"c_a b c_c");
    EXPECT_EQ(c.LevelInherit(), 2);
    EXPECT_TRUE(c.ExistAccess(RootA::taManage, 4));
    EXPECT_FALSE(c.ExistAccess(RootA::taManage, 3));
    EXPECT_TRUE(c.IsExistAlert());
    EXPECT_EQ(c.FindProfil(L"V"), User(2).m_TabProfil.m_Child.at(0));
    EXPECT_FALSE(User(1).NoHeir());
    EXPECT_TRUE(c.NoHeir());

    c.CopyAccessFromSrc();
    EXPECT_EQ(c.m_Access[1], 8u);
    EXPECT_EQ(c.m_Src, &User(1));  // still inherits
}

TEST_F(CloudUserTest, LoopingChainIsCutAtItsFirstRepeat) {
    Load(U(1, 3, "a", "1") + U(2, 1, "b", "2") + U(3, 2, "c", "4"));
    CUserTeam& a = User(0);
    EXPECT_EQ(a.PathName(), L"b\\c\\a");
    EXPECT_EQ(a.LevelInherit(), 2);
    EXPECT_TRUE(a.IsInherit(&User(1)));
    EXPECT_FALSE(a.IsInherit(&a));
    Team()->m_UserTab.CopyAccessFromSrc();
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(User(i).m_Access[0], 7u) << i;
}

TEST_F(CloudUserTest, RepeatSuppressionHoldsAKeyForItsWindow) {
    CUserTeam u;
    EXPECT_TRUE(u.IsMsgNoDelay(L"k", 5, 1000));
    EXPECT_FALSE(u.IsMsgNoDelay(L"k", 5, 1299));
    EXPECT_TRUE(u.IsMsgNoDelay(L"other", 0, 1299));
    EXPECT_TRUE(u.IsMsgNoDelay(L"k", 5, 1300));
    EXPECT_FALSE(u.IsMsgNoDelay(L"k", 5, 1599));
    EXPECT_TRUE(u.IsMsgNoDelay(L"z", 1, 1600));  // passes the expired "k" and drops it
    EXPECT_EQ(u.m_NoDelay.count(L"k"), 0u);
}

}  // namespace
