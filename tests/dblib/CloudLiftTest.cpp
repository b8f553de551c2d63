// Lifts: address texts, floors, kinds, and the state logic against the console's user states.
#include <string>

#include <gtest/gtest.h>

#include "dblib/CloudStr.h"
#include "tests/dblib/CloudFixture.h"

using namespace TERQCloud;

namespace {

// A state word with the given unit bits set (four units).
CSostDev Word(std::initializer_list<int> bits) {
    CSostDev s;
    const unsigned char zero[6] = {};
    s.SetData(zero, 6);
    for (int b : bits) s.setBit(b);
    return s;
}

using CloudLiftTest = CloudTest;

TEST_F(CloudLiftTest, AddressTextsFloorsAndKinds) {
    Load(OneLift("Name=\"L\" ID=\"7\""));
    CLiftB* lift = Lift();
    EXPECT_EQ(lift->AdrNoID() + L"|" + lift->Adr() + L"|" + lift->RAdr() + L"|" + lift->FullAdr(),
              L"S,H,L|S,H,L (7)|L,H,S|D,S,H,L");
    EXPECT_EQ(lift->Team(), Team());
    CLiftB detached;
    EXPECT_EQ(detached.AdrNoID() + detached.Adr() + detached.RAdr() + detached.FullAdr(), L"");
    EXPECT_EQ(detached.Team(), nullptr);

    // An empty name gives the real level: no floor 0, below ground counts down from -1.
    const struct {
        const wchar_t* names;
        int under, level;
        const wchar_t* name;
    } floors[] = {{L"B;G; 1 ;2", 1, -3, L"B"}, {L"B;G; 1 ;2", 1, 1, L"B"},
                  {L"B;G; 1 ;2", 1, 2, L"G"},  {L"B;G; 1 ;2", 1, 3, L"1"},
                  {L"B;G; 1 ;2", 1, 4, L"2"},  {L"B;G; 1 ;2", 1, 5, L"4"},
                  {L"B;G; 1 ;2", 1, 6, L"5"},  {L";;", 2, 1, L"-2"},
                  {L";;", 2, 2, L"-1"},        {L";;", 2, 3, L"1"}};
    for (const auto& f : floors) {
        lift->m_NameFloor = f.names;
        lift->m_TotLvlUnder = f.under;
        EXPECT_EQ(lift->NameFloor(f.level), f.name) << f.level;
    }

    const struct {
        int typ;
        const wchar_t* name;
        bool escal;
    } kinds[] = {{0, L"Lift", false},
                 {1, L"Escalator", true},
                 {2, L"Travelator", true},
                 {3, L"Hoist", false},
                 {7, L"????", false}};
    for (const auto& k : kinds) {
        lift->m_Typ = static_cast<CLiftB::typLift>(k.typ);
        EXPECT_EQ(CLiftB::nameTypDev(lift->m_Typ), k.name);
        EXPECT_EQ(lift->IsEscal(), k.escal);
    }
}

TEST_F(CloudLiftTest, UserStatesFallBackToTheConsole) {
    Load(OneLift("", "<TabState><State Number=\"33\" Pulsar=\"0\"/></TabState>"));
    // The console's table: state 40 disabled, state 33 also defined there.
    CTeamB* team = Team();
    for (int n : {33, 40}) {
        CStateB* s = team->CreateState(n);
        s->m_Disabl = n == 40;
        s->m_Define = true;
        team->m_TabState.Insert(s);
    }
    CLiftB* lift = Lift();
    EXPECT_EQ(lift->FindUserState(CSostDev::bitIdle1Hour), team->m_TabState.Find(40));
    EXPECT_EQ(lift->FindUserState(CSostDev::bitUser2), lift->m_TabState.Find(33));
    EXPECT_EQ(lift->FindUserState(CSostDev::bitUser1), nullptr);
    lift->m_Sost = Word({CSostDev::bitIdle1Hour, 3});
    EXPECT_FALSE(lift->tstBit(CSostDev::bitIdle1Hour));
    EXPECT_TRUE(lift->tstBit(CSostDev::bitMachRoomEntry));
    EXPECT_EQ(lift->FindUserOut(1), nullptr);
    // Pulsar 0 on the lift's state 33: that bit never counts as a new error.
    EXPECT_FALSE(lift->NewErrorSost(Word({}), Word({CSostDev::bitUser2})));
    EXPECT_TRUE(lift->NewErrorSost(Word({}), Word({CSostDev::bitUser1})));
}

TEST_F(CloudLiftTest, SetSostTracksChangesAndKeepsBit40) {
    Load(OneLift(""));
    CLiftB* lift = Lift();
    EXPECT_FALSE(lift->IsKnovSost());
    CSostDev s = Word({3});
    // The first state always counts as a change.
    EXPECT_TRUE(lift->SetSost(s));
    EXPECT_TRUE(lift->IsKnovSost());
    EXPECT_EQ(lift->m_Change, 257);
    lift->m_Change = 0;
    // Bits 21 and 22 alone make no difference for a lift.
    CSostDev same = Word({3, CSostDev::bitMainDriveOn, CSostDev::bitReserved1});
    EXPECT_FALSE(lift->SetSost(same));
    EXPECT_EQ(lift->m_Change, 0);
    // Bit 40 comes from the lift's own state, not from the new one.
    CSostDev idle = Word({3});
    idle.setBit(CSostDev::bitIdle1Hour);
    lift->SetSost(idle);
    EXPECT_FALSE(lift->m_Sost.tstBit(CSostDev::bitIdle1Hour));
    // An escalator counts bit 21.
    lift->m_Typ = CLiftB::tlEscalator;
    CSostDev moving = Word({3, CSostDev::bitMainDriveOn});
    EXPECT_TRUE(lift->SetSost(moving));
}

TEST_F(CloudLiftTest, StateComparisonAndNewErrors) {
    CLiftB lift;
    CSostDev noLink = Word({});
    noLink.setBit(CSostDev::bitNoLink);
    const struct {
        CSostDev cur, next;
        bool eq;
    } eqRows[] = {
        {Word({1}), Word({1, CSostDev::bitReserved1}), true},
        {Word({1}), Word({2}), false},
        {noLink, Word({}), false},
        {noLink, noLink, true},
    };
    for (const auto& row : eqRows) {
        lift.m_Sost = row.cur;
        EXPECT_EQ(lift.SostEQ(row.next), row.eq);
    }
    const struct {
        CSostDev old, now;
        bool lift, escal;  // answer for a lift and for an escalator
    } rows[] = {
        {Word({2}), Word({2, 3}), true, true},
        {Word({2, 3}), Word({2}), false, false},  // an error going away is no new error
        {Word({}), Word({CSostDev::bitMainDriveOn}), false, true},
        {Word({}), noLink, true, true},
        {noLink, Word({}), true, true},
        {noLink, noLink, false, false},
    };
    for (const auto& row : rows) {
        lift.m_Typ = CLiftB::tlLift;
        EXPECT_EQ(lift.NewErrorSost(row.old, row.now), row.lift);
        lift.m_Typ = CLiftB::tlEscalator;
        EXPECT_EQ(lift.NewErrorSost(row.old, row.now), row.escal);
    }
}

TEST_F(CloudLiftTest, CopyTakesTablesAndServiceKey) {
    Load(OneLift("Name=\"L\"", "<TabOut><Out Number=\"1\" ShortOn=\"on\"/></TabOut>"));
    CLiftB* lift = Lift();
    lift->m_KeyCode = 65279;
    lift->m_Sost = Word({CSostDev::bitMaintenance});
    EXPECT_TRUE(lift->IsKeyServ());
    CLiftB copy(*lift);
    EXPECT_EQ(copy.m_Name, L"L");
    EXPECT_EQ(copy.m_XMLNodeG, nullptr);
    ASSERT_NE(copy.m_TabOut.Find(1), nullptr);
    EXPECT_EQ(copy.m_TabOut.Find(1)->m_Parent, &copy.m_TabOut);
    EXPECT_EQ(copy.m_TabOut.Find(1)->m_ShortOn, L"on");
    copy.m_KeyCode = 65280;
    EXPECT_FALSE(copy.IsKeyServ());
}

}  // namespace
