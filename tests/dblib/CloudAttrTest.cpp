// Every attribute of every node class through load, write and reload: the read and write rule of
// each kind, the creation defaults, the values an absent attribute gives, and the composite forms.
#include <cstring>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "dblib/CloudStr.h"
#include "tests/dblib/CloudFixture.h"

using namespace TERQCloud;

namespace {

const char* const kAbsent = "<absent>";

// How an attribute reads and writes.
enum Kind {
    kIntOmit,    // int, omitted when 0
    kIntAlways,  // int, "0" written
    kStr,        // trimmed, empty removes
    kRaw,        // untrimmed, empty removes
    kBool,       // non-zero is "1", false removes
    kDouble,     // "%f", below 1e-9 removes
};

struct Probe {
    const char* in;  // null: attribute absent
    const char* out;
};

std::vector<Probe> Probes(Kind kind) {
    switch (kind) {
        case kIntOmit:
            return {
                {"5", "5"}, {"0", kAbsent}, {nullptr, kAbsent}, {" -7x", "-7"}, {"abc", kAbsent}};
        case kIntAlways:
            return {{"5", "5"}, {"0", "0"}, {nullptr, "0"}};
        case kStr:
            return {
                {"  a b  ", "a b"}, {"", kAbsent}, {nullptr, kAbsent}, {"\xD0\xAF", "\xD0\xAF"}};
        case kRaw:
            return {{"  a b  ", "  a b  "}, {"", kAbsent}, {nullptr, kAbsent}};
        case kBool:
            return {{"2", "1"}, {"0", kAbsent}, {"abc", kAbsent}, {nullptr, kAbsent}};
        case kDouble:
            return {{"1.5", "1.500000"},
                    {"0", kAbsent},
                    {"0.0000000001", kAbsent},
                    {"-2", "-2.000000"}};
    }
    return {};
}

struct Element {
    const char* name;
    // The document around the element; "@" stands for its attributes.
    std::string doc;
    std::function<CNodeB*(CloudTest&)> find;
    std::vector<std::pair<const char*, Kind>> attrs;
};

class CloudAttrTest : public CloudTest {
public:
    CNodeB* Node(const Element& e, const std::string& attrs) {
        std::string doc = e.doc;
        doc.replace(doc.find('@'), 1, attrs);
        Load(doc);
        return e.find(*this);
    }
    // A table loaded by hand from the element under the root: its owner is not in this model.
    std::unique_ptr<CTabAlertMsg> m_alerts;
};

const std::string kLift = OneLift("@");
const std::string kInLift = OneLift("", "@");

TEST_F(CloudAttrTest, EveryAttributeReadsAndWritesByItsKind) {
    const Element elements[] = {
        {"PULT",
         "<PULT @/>",
         [](CloudTest& t) { return static_cast<CloudAttrTest&>(t).Team(); },
         {{"Name", kStr},
          {"TimeAsk", kIntOmit},
          {"TimeDriv", kIntAlways},
          {"TimeGGS", kIntAlways},
          {"OnLift", kIntOmit},
          {"LockOut", kIntOmit},
          {"OnTimer", kIntOmit},
          {"MaxVisibleRec", kIntOmit},
          {"IntervSTAT", kIntAlways},
          {"DivIntSTAT", kIntOmit},
          {"NameLock", kStr},
          {"CRC", kIntOmit},
          {"AvtoOpenNewErr", kIntOmit},
          {"AvtoCloseNewErr", kIntAlways},
          {"AdrLift", kIntAlways},
          {"DisGrad", kIntOmit},
          {"DisServKey", kIntOmit},
          {"EnableGCM", kBool},
          {"EnablePushNotify", kBool},
          {"EnableEmailNotify", kBool},
          {"EnablePOSTNotify", kBool},
          {"EnableTelegrNotify", kBool},
          {"Language", kIntOmit},
          {"TreePos", kStr},
          {"TabPos", kStr},
          {"LogPos", kStr},
          {"ColLog", kStr},
          {"WindowPos", kStr},
          {"AlarmAdmin", kIntOmit},
          {"TypProfil", kIntOmit},
          {"DaySavCheck", kIntAlways},
          {"DaySavEvents", kIntAlways},
          {"DaySavVoice", kIntAlways},
          {"DaySavStat", kIntAlways},
          {"Providers", kIntOmit},
          {"TypConnSIP", kIntOmit},
          {"OnAfterConfSIP", kBool},
          {"CodDTMF_SIP", kIntOmit},
          {"DialUpSecSIP", kIntOmit},
          {"CallDurSecSIP", kIntOmit},
          {"DTMFProlongSIP", kIntOmit},
          {"DomainSIP", kStr},
          {"LoginSIP", kStr},
          {"PassWDSIP", kStr},
          {"DelaySIP", kIntOmit},
          {"IdDB", kIntOmit}}},
        {"DISP",
         "<PULT><DISP @/></PULT>",
         [](CloudTest& t) { return static_cast<CloudAttrTest&>(t).Punct(); },
         {{"Name", kRaw},
          {"TypViewLift", kIntOmit},
          {"TestMoveLift", kIntOmit},
          {"AskLift", kIntOmit},
          {"SpeakGDP", kIntAlways},
          {"AvtoGGS", kIntAlways},
          {"TwoCol", kBool},
          {"IdDB", kIntOmit}}},
        {"STREET",
         "<PULT><DISP><STREET @/></DISP></PULT>",
         [](CloudTest& t) { return static_cast<CloudAttrTest&>(t).Punct()->m_Child.at(0); },
         {{"Name", kRaw}, {"IdDB", kIntOmit}}},
        {"HOME",
         "<PULT><DISP><STREET><HOME @/></STREET></DISP></PULT>",
         [](CloudTest& t) {
             return static_cast<CloudAttrTest&>(t).Punct()->m_Child.at(0)->m_Child.at(0);
         },
         {{"Name", kRaw}, {"Lat", kDouble}, {"Long", kDouble}, {"IdDB", kIntOmit}}},
        {"LIFT",
         kLift,
         [](CloudTest& t) { return static_cast<CloudAttrTest&>(t).Lift(); },
         {{"Name", kRaw},           {"ID", kStr},
          {"Ident", kIntOmit},      {"IDPro", kIntOmit},
          {"InsContr", kIntAlways}, {"NameLock", kStr},
          {"Owner", kStr},          {"ServBrig", kStr},
          {"Mehan", kStr},          {"RegNum", kStr},
          {"Model", kStr},          {"Wight", kStr},
          {"Speed", kStr},          {"TotlStop", kStr},
          {"JobYear", kStr},        {"DatTO", kStr},
          {"Manuf", kStr},          {"Reduct", kStr},
          {"ElDriver", kStr},       {"Kanat", kStr},
          {"SkafManag", kStr},      {"SignalMan", kStr},
          {"FactoryNumLU", kStr},   {"SIPAddr", kStr},
          {"SIPLogin", kStr},       {"SIPPasswd", kStr},
          {"Typ", kIntOmit},        {"TotLvlUnder", kIntOmit},
          {"NameFloor", kStr},      {"Access", kIntOmit},
          {"Comment", kStr},        {"VideoCmd", kStr},
          {"VideoPhone", kStr},     {"Lat", kDouble},
          {"Long", kDouble},        {"ExclStat", kBool},
          {"IdDB", kIntOmit}}},
        {"State",
         OneLift("", "<TabState><State Number=\"40\" @/></TabState>"),
         [](CloudTest& t) { return static_cast<CloudAttrTest&>(t).Lift()->m_TabState.Find(40); },
         {{"ShortName", kStr},
          {"MesForLog", kStr},
          {"InsLog", kIntOmit},
          {"Pulsar", kIntOmit},
          {"GroupSost", kIntOmit},
          {"Disabl", kIntOmit},
          {"IdDB", kIntOmit}}},
        {"State number",
         OneLift("", "<TabState><State @/></TabState>"),
         [](CloudTest& t) {
             return static_cast<CloudAttrTest&>(t).Lift()->m_TabState.begin()->second;
         },
         {{"Number", kIntAlways}}},
        {"Out",
         "<PULT><TabOut><Out Number=\"1\" @/></TabOut></PULT>",
         [](CloudTest& t) { return static_cast<CloudAttrTest&>(t).Team()->m_TabOut.Find(1); },
         {{"ShortOn", kStr},
          {"LongOn", kStr},
          {"ShortOff", kStr},
          {"LongOff", kStr},
          {"Disabl", kIntOmit},
          {"InsLog", kIntOmit},
          {"IdDB", kIntOmit}}},
        {"Key",
         "<PULT><TabKey><Key @/></TabKey></PULT>",
         [](CloudTest& t) { return static_cast<CloudAttrTest&>(t).Team()->m_TabKey.front(); },
         {{"Level", kIntOmit},
          {"Prefix", kIntOmit},
          {"Number", kIntOmit},
          {"Owner", kStr},
          {"Comm", kStr},
          {"IdDB", kIntOmit}}},
        {"Dev",
         OneLift("", "<TabDev><Dev @/></TabDev>"),
         [](CloudTest& t) {
             return static_cast<CloudAttrTest&>(t).Lift()->m_TabDev.begin()->second;
         },
         {{"Address", kIntOmit},
          {"Short", kStr},
          {"Full", kStr},
          {"Typ", kIntOmit},
          {"Vers", kIntOmit},
          {"IdDB", kIntOmit}}},
        {"AlertMsg",
         "<TabAlertMsg><AlertMsg @/></TabAlertMsg>",
         [](CloudTest& t) -> CNodeB* {
             auto& self = static_cast<CloudAttrTest&>(t);
             self.m_alerts = std::make_unique<CTabAlertMsg>(self.m_cloud.get());
             self.m_alerts->XMLLoadG(self.m_cloud->m_XMLNodeG->children);
             return self.m_alerts->m_Child.at(0);
         },
         {{"CodAlertMsg", kIntOmit},
          {"NumMsg", kIntOmit},
          {"Comment", kStr},
          {"Filter", kStr},
          {"Annot", kStr},
          {"Flags", kIntOmit},
          {"GroupMask", kIntOmit},
          {"Test", kIntOmit},
          {"DelayNext", kIntOmit},
          {"IdDB", kIntOmit}}},
        {"AlertLift",
         "<TabAlertMsg><AlertMsg><AlertLift @/></AlertMsg></TabAlertMsg>",
         [](CloudTest& t) -> CNodeB* {
             auto& self = static_cast<CloudAttrTest&>(t);
             self.m_alerts = std::make_unique<CTabAlertMsg>(self.m_cloud.get());
             self.m_alerts->XMLLoadG(self.m_cloud->m_XMLNodeG->children);
             return self.m_alerts->m_Child.at(0)->m_Child.at(0);
         },
         {{"CodAlertLift", kIntOmit},
          {"Filter", kStr},
          {"Annot", kStr},
          {"CodLift", kIntOmit},
          {"IdDB", kIntOmit}}},
    };
    for (const Element& e : elements) {
        for (const auto& [attr, kind] : e.attrs) {
            for (const Probe& p : Probes(kind)) {
                SCOPED_TRACE(std::string(e.name) + " " + attr + "=" + (p.in ? p.in : "(absent)"));
                const std::string attrs = p.in ? std::string(attr) + "=\"" + p.in + "\"" : "";
                CNodeB* node = Node(e, attrs);
                ASSERT_NE(node, nullptr);
                node->XMLUpdateG();
                EXPECT_EQ(Attr(node->m_XMLNodeG, attr), p.out);
                // Reload what was written: the same text again.
                const std::string saved = m_cloud->Text();
                CTestCloud again;
                again.XMLLoadStr(saved.c_str());
                EXPECT_EQ(again.Text(), saved);
            }
        }
    }
}

// A factory-made node writes its creation defaults; the same element without attributes
// loads the values of absent attributes. GUIDs are masked.
TEST_F(CloudAttrTest, CreationDefaultsAndAbsentValuesAsWritten) {
    const std::string decl = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";
    CTestCloud built;
    CTeamB* team = built.CreateTeam();
    built.m_Child.push_back(team);
    CPunctB* punct = team->CreatePunct();
    team->m_Child.push_back(punct);
    CStreetB* street = punct->CreateStreet();
    punct->m_Child.push_back(street);
    CHomeB* home = street->CreateHome();
    street->m_Child.push_back(home);
    CLiftB* lift = home->CreateLift();
    home->m_Child.push_back(lift);
    built.XMLCreate();
    const struct {
        CNodeB* node;
        const char* created;
        const char* absent;  // the same element loaded without attributes and written
    } rows[] = {
        {team,
         "<PULT TimeAsk=\"1\" TimeDriv=\"180\" TimeGGS=\"180\" Timer=\"00:00:00\" "
         "MaxVisibleRec=\"5000\" GUID=\"#\" IntervSTAT=\"1\" AvtoCloseNewErr=\"1\" AdrLift=\"1\" "
         "Language=\"20\" DaySavCheck=\"366\" DaySavEvents=\"366\" DaySavVoice=\"366\" "
         "DaySavStat=\"366\" FirstTestMove=\"8\" SecondTestMove=\"18\">",
         "<PULT TimeDriv=\"0\" TimeGGS=\"0\" Timer=\"00:00:00\" GUID=\"#\" IntervSTAT=\"0\" "
         "AvtoCloseNewErr=\"0\" AdrLift=\"0\" DaySavCheck=\"0\" DaySavEvents=\"0\" "
         "DaySavVoice=\"0\" DaySavStat=\"0\" FirstTestMove=\"8\" SecondTestMove=\"18\"/>"},
        {punct,
         "<DISP TypViewLift=\"2\" SpeakGDP=\"1\" SizeLiftGrp=\"32,32\" FonGrp=\"255,255,255\" "
         "AvtoGGS=\"1\">",
         "<DISP SpeakGDP=\"0\" SizeLiftGrp=\"0,0\" FonGrp=\"0,0,0\" AvtoGGS=\"0\"/>"},
        {street, "<STREET Fon=\"255,255,255\">", "<STREET Fon=\"0,0,0\"/>"},
        {home, "<HOME>", "<HOME/>"},
        {lift, "<LIFT GUID=\"#\" SubNet=\"0\" UM=\"0\" Slot=\"0\" Addr=\"0\" InsContr=\"1\"/>",
         "<LIFT GUID=\"#\" SubNet=\"0\" UM=\"0\" Slot=\"0\" Addr=\"0\" InsContr=\"0\"/>"},
    };
    const auto masked = [](std::string text) {
        const size_t at = text.find("GUID=\"");
        if (at != std::string::npos) text.replace(at + 6, 32, "#");
        return text;
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.created);
        std::string out;
        row.node->XMLStr(out);
        EXPECT_EQ(masked(out).substr(0, decl.size() + std::strlen(row.created)),
                  decl + row.created);
        const std::string absent = row.absent;
        const std::string name = absent.substr(1, absent.find_first_of(" /") - 1);
        std::string body = "<" + name + "/>";
        bool above = false;
        for (const char* outer : {"LIFT", "HOME", "STREET", "DISP", "PULT"}) {
            if (above) body = std::string("<") + outer + ">" + body + "</" + outer + ">";
            above = above || name == outer;
        }
        Load(body);
        CNodeB* loaded = Team();
        while (loaded->TypNode() != row.node->TypNode())
            loaded = static_cast<CNodeTreeB*>(loaded)->m_Child.at(0);
        loaded->XMLUpdateG();
        loaded->XMLStr(out);
        EXPECT_EQ(masked(out), decl + row.absent + "\n");
    }
}

TEST_F(CloudAttrTest, CompositeFormsAndNeverWrittenAttributes) {
    Load(
        "<PULT Timer=\"7:5\" FirstTestMove=\"7\" CRC=\"4294967295\"><DISP DisGrad=\"5\" "
        "NameLock=\" L \" FonGrp=\"255,0,128\" SizeLiftGrp=\"40\"/></PULT>");
    CTeamB* team = Team();
    EXPECT_EQ(team->m_Timer, DBTime(1990, 1, 1, 7, 5, 0));
    EXPECT_EQ(team->m_FirstTestMove.GetTotalSeconds(), 7 * 3600 + 1800);
    EXPECT_EQ(team->m_SecondTestMove.GetTotalSeconds(), 18 * 3600 + 1800);
    EXPECT_EQ(team->m_CRC, 0xFFFFFFFFu);
    CPunctB* punct = Punct();
    EXPECT_EQ(punct->m_FonGrp, 0x8000FFu);
    EXPECT_EQ(punct->m_LiftWidth, 40);
    EXPECT_EQ(punct->m_LiftHeight, 0);
    EXPECT_EQ(punct->m_NameLock, L"L");
    punct->m_DisGrad = 9;
    punct->m_NameLock = L"other";
    punct->XMLUpdateG();
    team->XMLUpdateG();
    EXPECT_EQ(Attr(punct->m_XMLNodeG, "DisGrad"), "5");
    EXPECT_EQ(Attr(punct->m_XMLNodeG, "NameLock"), " L ");
    EXPECT_EQ(Attr(punct->m_XMLNodeG, "FonGrp"), "255,0,128");
    EXPECT_EQ(Attr(team->m_XMLNodeG, "Timer"), "07:05:00");
    EXPECT_EQ(Attr(team->m_XMLNodeG, "FirstTestMove"), "7");
    EXPECT_EQ(Attr(team->m_XMLNodeG, "CRC"), "-1");
    // Hour counts beyond any day do not overflow.
    Load("<PULT FirstTestMove=\"2147483647\"/>");
    EXPECT_EQ(Team()->m_FirstTestMove.GetTotalSeconds(), 2147483647LL * 3600 + 1800);
}

TEST_F(CloudAttrTest, LiftNetworkKeyCommentAndGuid) {
    const struct {
        const char* attrs;
        const char* subNet;  // "SubNet" after writing; UM, Slot, Addr follow it
        const char* key;
    } rows[] = {
        {"SubNet=\"3\" Addr=\"4\"", "3", kAbsent},
        {"Ident=\"7\" SubNet=\"3\" Addr=\"4\"", kAbsent, kAbsent},
        {"IDPro=\"7\" SubNet=\"3\"", kAbsent, kAbsent},
        {"Key=\"00000000000000000000000000000000\"", "0", kAbsent},
        {"Key=\"0123456789abcdef0123456789ABCDEF\"", "0", "0123456789ABCDEF0123456789ABCDEF"},
        {"Key=\"0123\"", "0", kAbsent},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.attrs);
        Load(OneLift(row.attrs));
        CLiftB* lift = Lift();
        lift->XMLUpdateG();
        EXPECT_EQ(Attr(lift->m_XMLNodeG, "SubNet"), row.subNet);
        for (const char* other : {"UM", "Slot", "Addr"})
            EXPECT_EQ(Attr(lift->m_XMLNodeG, other) == kAbsent, std::string(row.subNet) == kAbsent);
        EXPECT_EQ(Attr(lift->m_XMLNodeG, "Key"), row.key);
    }
    Load(OneLift("GUID=\"00112233445566778899AABBCCDDEEFF\""));
    CLiftB* lift = Lift();
    lift->m_Comment = L"one\r\ntwo";
    lift->XMLUpdateG();
    EXPECT_EQ(Attr(lift->m_XMLNodeG, "Comment"), "one\\r\\ntwo");
    EXPECT_EQ(Attr(lift->m_XMLNodeG, "GUID"), "00112233445566778899AABBCCDDEEFF");
    CTestCloud again;
    again.XMLLoadStr(m_cloud->Text().c_str());
    auto* reread =
        static_cast<CLiftB*>(again.m_Child[0]->m_Child[0]->m_Child[0]->m_Child[0]->m_Child[0]);
    EXPECT_EQ(reread->m_Comment, L"one\r\ntwo");
    EXPECT_EQ(reread->m_GUID, lift->m_GUID);
}

}  // namespace
