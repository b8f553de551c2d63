// Lifts: address texts, floors, kinds and state logic; the numbered tables and how their element
// comes and goes; the plain records: 6/8-bit packing, event codes, scans, addresses, access masks.
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "dblib/BaseCloudA.h"
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
    CLiftB detached;
    EXPECT_EQ(detached.AdrNoID() + detached.Adr() + detached.RAdr() + detached.FullAdr(), L"");
    EXPECT_EQ(detached.Team(), nullptr);

    // Names, floors below ground, level and its name; an empty name gives the real level: no
    // floor 0, below ground counts down from -1.
    const std::tuple<const wchar_t*, int, int, const wchar_t*> floors[] = {
        {L"B;G; 1 ;2", 1, -3, L"B"}, {L"B;G; 1 ;2", 1, 1, L"B"}, {L"B;G; 1 ;2", 1, 2, L"G"},
        {L"B;G; 1 ;2", 1, 3, L"1"},  {L"B;G; 1 ;2", 1, 4, L"2"}, {L"B;G; 1 ;2", 1, 5, L"4"},
        {L"B;G; 1 ;2", 1, 6, L"5"},  {L";;", 2, 1, L"-2"},       {L";;", 2, 2, L"-1"},
        {L";;", 2, 3, L"1"}};
    for (const auto& [names, under, level, name] : floors) {
        lift->m_NameFloor = names;
        lift->m_TotLvlUnder = under;
        EXPECT_EQ(lift->NameFloor(level), name) << level;
    }

    const std::tuple<int, const wchar_t*, bool> kinds[] = {{0, L"Lift", false},
                                                           {1, L"Escalator", true},
                                                           {2, L"Travelator", true},
                                                           {3, L"Hoist", false},
                                                           {7, L"????", false}};
    for (const auto& [typ, name, escal] : kinds) {
        lift->m_Typ = static_cast<CLiftB::typLift>(typ);
        EXPECT_EQ(std::make_pair(CLiftB::nameTypDev(lift->m_Typ), lift->IsEscal()),
                  std::make_pair(DBString(name), escal));
    }
}

// The console's state 40 is disabled and its out 2 defined; the lift's own state 33 (Pulsar 0)
// hides the console's. SetSost tracks changes and keeps bit 40.
TEST_F(CloudLiftTest, UserStatesOutsAndSetSost) {
    Load(OneLift("", "<TabState><State Number=\"33\" Pulsar=\"0\"/></TabState>",
                 "<TabState><State Number=\"33\"/><State Number=\"40\" Disabl=\"1\"/></TabState>"
                 "<TabOut><Out Number=\"1\"/><Out Number=\"2\"/></TabOut>"));
    CTeamB* team = Team();
    CLiftB* lift = Lift();
    EXPECT_EQ(lift->FindUserState(CSostDev::bitIdle1Hour), team->m_TabState.Find(40));
    EXPECT_EQ(lift->FindUserState(CSostDev::bitUser2), lift->m_TabState.Find(33));
    EXPECT_EQ(lift->FindUserState(CSostDev::bitUser1), nullptr);
    EXPECT_EQ(lift->FindUserOut(2), team->m_TabOut.Find(2));
    EXPECT_EQ(lift->FindUserOut(3), nullptr);
    lift->m_Sost = Word({CSostDev::bitIdle1Hour, 3});
    EXPECT_FALSE(lift->tstBit(CSostDev::bitIdle1Hour));
    EXPECT_TRUE(lift->tstBit(CSostDev::bitMachRoomEntry));
    // Pulsar 0 on the lift's state 33: that bit never counts as a new error.
    EXPECT_FALSE(lift->NewErrorSost(Word({}), Word({CSostDev::bitUser2})));
    EXPECT_TRUE(lift->NewErrorSost(Word({}), Word({CSostDev::bitUser1})));

    Load(OneLift(""));
    lift = Lift();
    const auto set = [lift](CSostDev s) { return lift->SetSost(s); };
    EXPECT_FALSE(lift->IsKnovSost());
    // The first state always counts as a change.
    EXPECT_TRUE(set(Word({3})));
    EXPECT_TRUE(lift->IsKnovSost());
    EXPECT_EQ(lift->m_TimeErr == lift->m_TimeSost, Word({3}).IsError());
    EXPECT_EQ(lift->m_Change, 257);
    lift->m_Change = 0;
    // Bits 21 and 22 alone make no difference for a lift.
    EXPECT_FALSE(set(Word({3, CSostDev::bitMainDriveOn, CSostDev::bitReserved1})));
    EXPECT_EQ(lift->m_Change, 0);
    // Bit 40 comes from the lift's own state, not from the new one.
    set(Word({3, CSostDev::bitIdle1Hour}));
    EXPECT_FALSE(lift->m_Sost.tstBit(CSostDev::bitIdle1Hour));
    lift->m_Sost.setBit(CSostDev::bitIdle1Hour);
    set(Word({3}));
    EXPECT_TRUE(lift->m_Sost.tstBit(CSostDev::bitIdle1Hour));
    // An escalator counts bit 21.
    lift->m_Typ = CLiftB::tlEscalator;
    EXPECT_TRUE(set(Word({3, CSostDev::bitMainDriveOn})));
}

TEST_F(CloudLiftTest, StateComparisonAndNewErrors) {
    CLiftB lift;
    const CSostDev noLink = Word({CSostDev::bitNoLink});
    const std::tuple<CSostDev, CSostDev, bool> same[] = {
        {Word({1}), Word({1, CSostDev::bitReserved1}), true},
        {Word({1}), Word({2}), false},
        {noLink, Word({}), false},
        {noLink, noLink, true},
    };
    for (const auto& [cur, next, eq] : same) {
        lift.m_Sost = cur;
        EXPECT_EQ(lift.SostEQ(next), eq);
    }
    // Old and new state; the answer for a lift and for an escalator.
    const std::tuple<CSostDev, CSostDev, bool, bool> errors[] = {
        {Word({2}), Word({2, 3}), true, true},
        {Word({2, 3}), Word({2}), false, false},  // an error going away is no new error
        {Word({}), Word({CSostDev::bitMainDriveOn}), false, true},
        {Word({CSostDev::bitStopClamped}), Word({}), false, true},
        {Word({}), noLink, true, true},
        {noLink, Word({}), true, true},
        {noLink, noLink, false, false},
    };
    for (const auto& [old, now, forLift, forEscal] : errors) {
        lift.m_Typ = CLiftB::tlLift;
        EXPECT_EQ(lift.NewErrorSost(old, now), forLift);
        lift.m_Typ = CLiftB::tlEscalator;
        EXPECT_EQ(lift.NewErrorSost(old, now), forEscal);
    }
}

using CloudTabTest = CloudTest;

TEST_F(CloudTabTest, CreateWritesOnlyTheSharedEntries) {
    CTestCloud& cloud = Load(OneLift("", "<TabState><State Number=\"34\"/></TabState>",
                                     "<TabState><State Number=\"5\"/><State Number=\"33\"/><State "
                                     "Number=\"36\"/></TabState><TabOut><Out Number=\"1\"/><Out "
                                     "Number=\"3\"/></TabOut><TabKey><Key/></TabKey>"));
    Team()->m_TabOut.Insert(Team()->CreateOut(2));
    Lift()->m_TabOut.Insert(Lift()->CreateOut(1));  // no defined entry: no element at all
    cloud.XMLCreate();
    EXPECT_NE(
        cloud.Text().find("InsContr=\"0\"><TabState><State Number=\"34\"/></TabState></LIFT></HOME>"
                          "</STREET></DISP><TabState><State Number=\"33\"/></TabState><TabOut><Out "
                          "Number=\"1\"/></TabOut><TabKey><Key/></TabKey></PULT>"),
        std::string::npos)
        << cloud.Text();
    // Entries left out are unbound: a later write cannot reach a freed element.
    EXPECT_EQ(Team()->m_TabState.Find(5)->m_XMLNodeG, nullptr);
    Team()->m_TabState.Find(5)->XMLUpdateG();
}

TEST_F(CloudTabTest, FirstEntryAddsAndLastEntryRemovesTheTableElement) {
    CTestCloud& cloud = Load(OneLift("Name=\"L\""));
    CLiftB* lift = Lift();
    const std::string bare = cloud.Text();
    const auto has = [&](const char* text) { return cloud.Text().find(text) != std::string::npos; };
    const auto add = [](auto* entry, auto& table) {
        entry->XMLAddG();
        table.Insert(entry);
        return entry;
    };
    COutB* out = add(lift->CreateOut(1), lift->m_TabOut);
    COutB* out2 = add(lift->CreateOut(2), lift->m_TabOut);
    EXPECT_TRUE(has("<TabOut><Out Number=\"1\"/><Out Number=\"2\"/></TabOut>"));
    out->XMLRemoveG();
    EXPECT_TRUE(has("<TabOut><Out Number=\"2\"/></TabOut>"));
    out2->XMLRemoveG();
    EXPECT_EQ(cloud.Text(), bare);

    CTermDevB* dev = new CTermDevB(&lift->m_TabDev);
    dev->m_Address = 3;
    add(dev, lift->m_TabDev);
    CKeyB* key = add(Team()->CreateKey(), Team()->m_TabKey);
    EXPECT_TRUE(has("<TabDev><Dev Address=\"3\" Typ=\"-1\"/></TabDev>"));
    EXPECT_TRUE(has("</DISP><TabKey><Key/></TabKey></PULT>"));
    dev->XMLRemoveG();
    key->XMLRemoveG();
    EXPECT_EQ(cloud.Text(), bare);

    add(lift->CreateState(40), lift->m_TabState)->m_Disabl = 1;
    lift->m_TabState.Find(40)->XMLUpdateG();
    EXPECT_TRUE(has("<TabState><State Number=\"40\" Pulsar=\"1\" GroupSost=\"11\" Disabl=\"1\"/>"));
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
    EXPECT_EQ((std::vector<CNodeTreeB*>{table.Find(5, L"the door is open"), table.Find(5, L"power"),
                                        table.Find(6, L"door")}),
              (std::vector<CNodeTreeB*>{table.m_Child[0], table.m_Child[1], nullptr}));

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
    EXPECT_EQ(cloud.Text(), kDecl + "<TERQCLOUD/>\n");
}

// A later number replaces an earlier one; keys keep every entry in document order. Copies take
// the values (and the tables of a lift) but never the element nor the identifier.
TEST_F(CloudTabTest, LoadAndCopy) {
    Load(OneLift("Name=\"L\"",
                 "<TabOut><Out Number=\"1\" ShortOn=\"on\" IdDB=\"4\"/></TabOut><TabDev><Dev "
                 "Address=\"3\" Full=\"F\" IdDB=\"4\"/></TabDev>",
                 "<TabState><State Number=\"33\" ShortName=\"a\"/><x/><State Number=\"33\" "
                 "ShortName=\"s\" IdDB=\"4\"/></TabState><TabKey><Key Number=\"2\" Owner=\"o2\" "
                 "IdDB=\"4\"/><Key Number=\"1\"/><Key Number=\"2\" Owner=\"o3\"/></TabKey><TabOut>"
                 "<Out/></TabOut>"));
    CTeamB* team = Team();
    EXPECT_EQ(std::make_pair(team->m_TabState.size(), team->m_TabKey.size()),
              std::make_pair(size_t{1}, size_t{3}));
    EXPECT_EQ(std::make_pair(team->m_TabState.IsExistAndDefine(33),
                             team->m_TabState.IsExistAndDefine(34)),
              std::make_pair(true, false));
    EXPECT_NE(team->m_TabOut.Find(0), nullptr);  // no number: 0
    EXPECT_EQ(team->m_TabKey.GetOwner(2) + L"|" + team->m_TabKey.GetOwner(7), L"o2|");

    const CStateB state(*team->m_TabState.Find(33));  // the later one
    const CKeyB key(*team->m_TabKey.front());
    CTermDevB dev;
    dev = *Lift()->m_TabDev.Find(3);
    EXPECT_EQ(std::make_tuple(state.m_ShortName, state.m_Define, key.m_Number, dev.m_Name),
              std::make_tuple(DBString(L"s"), true, 2, DBString(L"F")));
    EXPECT_EQ(std::make_tuple(state.m_IdentDB, key.m_IdentDB, dev.m_IdentDB),
              std::make_tuple(0, 0, 4));
    EXPECT_TRUE(state.m_XMLNodeG == nullptr && dev.m_XMLNodeG == nullptr);

    CLiftB* lift = Lift();
    lift->m_KeyCode = 65279;
    lift->m_Sost = Word({CSostDev::bitMaintenance});
    EXPECT_TRUE(lift->IsKeyServ());
    CLiftB copy(*lift);
    EXPECT_EQ(copy.m_Name, L"L");
    EXPECT_EQ(copy.m_XMLNodeG, nullptr);
    const COutB* out = copy.m_TabOut.Find(1);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(std::make_tuple(out->m_Parent, out->m_ShortOn, out->m_IdentDB),
              std::make_tuple(static_cast<CNodeB*>(&copy.m_TabOut), DBString(L"on"), 0));
    copy.m_KeyCode = 65280;
    EXPECT_FALSE(copy.IsKeyServ());
}

using BaseCloudATest = CloudTest;

TEST_F(BaseCloudATest, SixToEightBitPackingAndEventCodes) {
    const unsigned char in[] = {1, 2, 3, 4, 63};
    unsigned char out[6] = {};
    EXPECT_TRUE(RootA::Conv6To8(4, in, 0, out, 3));   // one group fills the output exactly
    EXPECT_FALSE(RootA::Conv6To8(5, in, 0, out, 5));  // the second group does not fit
    EXPECT_TRUE(RootA::Conv6To8(5, in, 0, out, 6));
    EXPECT_EQ(std::vector<int>(out, out + 4), (std::vector<int>{0x81, 0x30, 0x10, 63}));
    unsigned char back[8];
    EXPECT_TRUE(RootA::Conv8To6(6, out, back, 8));
    EXPECT_EQ(std::vector<int>(back, back + 6), (std::vector<int>{1, 2, 3, 4, 63, 0}));
    EXPECT_FALSE(RootA::Conv8To6(6, out, back, 7));

    // Event codes: status 7 unpacks to both flags set; status 0 to both clear (2).
    const std::pair<int, int> codes[] = {{0, 0x80},  {7, 0x91},  {23, 0xB5}, {24, 0xE0},
                                         {39, 0xEF}, {40, 0xC0}, {41, 0xD4}, {42, 0xD5}};
    for (const auto& [bit, code] : codes) {
        EXPECT_EQ(RootA::ConvNum(static_cast<CSostDev::bitLB>(bit)), code);
        for (const int status : {7, 0}) {
            EventA e;
            e.m_Cod = code;
            e.m_Status = status;
            e.Unpack();
            EXPECT_EQ(std::make_tuple(e.m_NumSost, e.m_Status & 16, e.m_Stat1, e.m_Stat2),
                      std::make_tuple(bit, 16, status ? 1 : 2, status ? 1 : 2));
        }
    }
}

TEST_F(BaseCloudATest, ScanNetAddressMasksAndAccess) {
    EventA e;
    e.m_Sost.setBit(3);
    e.m_Sost.setBit(CSostDev::bitIdle1Hour);
    e.OpenScan();
    DBString name, seen;
    for (CSostDev::bitLB bit{}; e.NextSost(name, bit);)
        seen += DBString(std::to_wstring(bit)) + L":" + name + L";";
    EXPECT_EQ(seen, L"3:" + CSostDev::naimSost(CSostDev::bitMachRoomEntry) + L";40:" +
                        CSostDev::naimSost(CSostDev::bitIdle1Hour) + L";");

    int a = 0, b = 0, c = 0;
    for (const wchar_t* text : {L"no colon", L":1:2:3", L" 1:2:3", L"x 1:2"}) {
        e.m_Text = text;
        EXPECT_FALSE(e.GetNetAddr(a, b, c)) << e.m_Text.ToStr();
    }
    e.m_Text = L"from 12:3:4 lift";
    EXPECT_TRUE(e.GetNetAddr(a, b, c));
    EXPECT_EQ(a * 10000 + b * 100 + c, 120304);

    const unsigned char bits[] = {0, 7, 40};
    unsigned m1 = 0, m2 = 0, m3 = 0;
    EventA::CalcMaskSost(bits, 3, m1, m2, m3);
    EXPECT_EQ(std::make_tuple(m1, m2, m3), std::make_tuple(0x01020000u, 0u, 0x100u));

    // Access: set and clear per type and dispatch point; clearing "access" clears every type.
    UserA user;
    for (RootA::typAccess t : {RootA::taManage, RootA::taLBS, RootA::taOut1})
        user.SetTypAccess(t, 5);
    user.SetTypAccess(RootA::taLBS, 33);  // out of range: nothing
    user.SetTypAccess(static_cast<RootA::typAccess>(23), 1);
    user.ClrTypAccess(RootA::taManage, 5);
    EXPECT_EQ(std::make_tuple(user.m_Access[RootA::taManage], user.m_Access[RootA::taLBS],
                              user.m_Access[RootA::taOut1]),
              std::make_tuple(0u, 16u, 16u));
    user.ClrTypAccess(RootA::taAccess, 5);
    for (std::uint32_t m : user.m_Access) EXPECT_EQ(m, 0u);
    EXPECT_EQ(RootA::nameTypAccess(static_cast<RootA::typAccess>(23)), L"????");
    user.m_TypCliGCM = 11;
    EXPECT_EQ(user.TypCliGCM(), L"(11)");

    AlertMsgA alert;
    alert.m_NumMsg = 47;
    EXPECT_TRUE(alert.IsFromLift());
    alert.m_Flags = 16;
    EXPECT_FALSE(alert.IsFromLift() || alert.IsMustLift());
}

}  // namespace
