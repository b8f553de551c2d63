// The node base and the root's document: loading, duplicate reports, subtrees as text and file,
// search, sorting, the lift index, modification, service state, readers against an editor; every
// attribute of every element by its kind, the creation defaults and the composite forms.
#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>

#include "dblib/CloudStr.h"
#include "tests/dblib/CloudFixture.h"

using namespace TERQCloud;
namespace fs = std::filesystem;

namespace {

const char* const kAbsent = "<absent>";

// Per kind of attribute (int: omitted when 0; always: int, "0" written; str: trimmed; raw:
// untrimmed; empty text removes both; bool: non-zero is "1", false removes; double: "%f", below
// 1e-9 removes): its text (null: absent) and what is written back.
const std::map<std::string, std::vector<std::pair<const char*, const char*>>> kProbes = {
    {"int:", {{"5", "5"}, {"0", kAbsent}, {nullptr, kAbsent}, {" -7x", "-7"}, {"abc", kAbsent}}},
    {"always:", {{"5", "5"}, {"0", "0"}, {nullptr, "0"}}},
    {"str:", {{"  a b  ", "a b"}, {"", kAbsent}, {nullptr, kAbsent}, {"\xD0\xAF", "\xD0\xAF"}}},
    {"raw:", {{"  a b  ", "  a b  "}, {"", kAbsent}, {nullptr, kAbsent}}},
    {"bool:", {{"2", "1"}, {"0", kAbsent}, {"abc", kAbsent}, {nullptr, kAbsent}}},
    {"double:",
     {{"1.5", "1.500000"}, {"0", kAbsent}, {"0.0000000001", kAbsent}, {"-2", "-2.000000"}}},
};

// Every element that carries attributes, "@" and its name standing for its attributes.
const std::string kSkeleton =
    "<PULT @PULT><DISP @DISP><STREET @STREET><HOME @HOME><LIFT @LIFT><TabState><State "
    "Number=\"33\" @State/></TabState><TabDev><Dev @Dev/></TabDev></LIFT></HOME></STREET>"
    "<GROUP @GROUP/></DISP><TabOut><Out Number=\"1\" @Out/></TabOut><TabKey><Key @Key/></TabKey>"
    "<TabUserDisp><User Access=\"0\" @User><TabAlertMsg><AlertMsg @AlertMsg><AlertLift "
    "@AlertLift/></AlertMsg></TabAlertMsg></User></TabUserDisp><TabGroupDisp><Group @Group/>"
    "</TabGroupDisp></PULT>";

using CloudNodeTest = CloudTest;

TEST_F(CloudNodeTest, LoadsTheFirstTerqcloudElementOnly) {
    CTestCloud cloud;
    cloud.XMLLoadStr(
        "<!-- c --><?pi x?><TERQCLOUD IdDB=\"9\"><PULT Name=\"A\"/><x/>"
        "<PULT Name=\"B\"/></TERQCLOUD>");
    EXPECT_EQ(std::make_tuple(cloud.m_Child.size(), cloud.m_Child.at(1)->m_Name, cloud.m_IdentDB),
              std::make_tuple(size_t{2}, DBString(L"B"), 9));
    // A document without the element loads and reports nothing; the old one is freed and unbound.
    cloud.XMLLoadStr("<OTHER><PULT Name=\"A\"/></OTHER>");
    EXPECT_TRUE(cloud.m_Child.size() == 2 && cloud.m_Msgs.empty());
    EXPECT_EQ(cloud.m_Child[0]->m_XMLNodeG, nullptr);
    try {
        cloud.XMLLoadStr("<TERQCLOUD>");
        FAIL() << "no ErrorXML";
    } catch (const ErrorXML& e) {
        EXPECT_EQ(e.m_Text, L"Error loadXML");
    }
    EXPECT_EQ(cloud.m_XMLDOMG, nullptr);
}

TEST_F(CloudNodeTest, DuplicatesAreReportedAndKept) {
    const std::pair<std::string, const wchar_t*> rows[] = {
        {"<PULT Name=\"A\"/><PULT Name=\"A\"/>", L"A - repeated definition team"},
        {"<PULT><DISP Name=\"D\"/><DISP Name=\"D\"/></PULT>",
         L"D - repeated definition control room"},
        {"<PULT><DISP><STREET Name=\" S\"/><STREET Name=\" S\"/></DISP></PULT>",
         L" S - repeated definition street"},
        {"<PULT><DISP><STREET Name=\"S\"><HOME Name=\"H\"/><HOME "
         "Name=\"H\"/></STREET></DISP></PULT>",
         L"S,H - repeated definition home in street"},
        {"<PULT><DISP><STREET><HOME><LIFT Name=\"L\"/><LIFT Name=\"M\"/></HOME></STREET></DISP>"
         "</PULT>",
         nullptr},  // other names: nothing to report
        {"<PULT><DISP><STREET Name=\"S\"><HOME Name=\"H\"><LIFT Name=\"L\"/><LIFT Name=\"L\"/>"
         "</HOME></STREET></DISP></PULT>",
         L"S,H,L - repeated definition lift"},
    };
    for (const auto& [body, msg] : rows) {
        CTestCloud& cloud = Load(body);
        EXPECT_EQ(cloud.m_Msgs, msg ? std::vector<DBString>{msg} : std::vector<DBString>()) << body;
        // Both stay: the document saves as loaded.
        EXPECT_EQ(cloud.Text(), kDecl + "<TERQCLOUD>" + body + "</TERQCLOUD>\n");
    }
}

// Every position among siblings: first, middle, last and only child, and the root itself.
TEST_F(CloudNodeTest, SubtreeTextAndFileLeaveTheDocumentAsItWas) {
    CTestCloud& cloud = Load(
        "<PULT Name=\"P\"><!--c--><DISP Name=\"A\"><STREET Name=\"S1\"/>\n<STREET Name=\"S2\">"
        "<HOME Name=\"H\"/></STREET><STREET Name=\"S3\"/></DISP></PULT>");
    const std::string before = cloud.Text();
    CPunctB* punct = Punct();
    const std::tuple<CNodeB*, const char*, const char*> rows[] = {
        // node, text, indented file
        {punct->m_Child[0], "<STREET Name=\"S1\"/>", "<STREET Name=\"S1\"/>"},
        {punct->m_Child[1], "<STREET Name=\"S2\"><HOME Name=\"H\"/></STREET>",
         "<STREET Name=\"S2\">\n  <HOME Name=\"H\"/>\n</STREET>"},
        {punct->m_Child[2], "<STREET Name=\"S3\"/>", "<STREET Name=\"S3\"/>"},
        {punct->m_Child[1]->m_Child[0], "<HOME Name=\"H\"/>", "<HOME Name=\"H\"/>"},
        {punct, nullptr, nullptr},
        {&cloud, nullptr, nullptr},
    };
    const fs::path dir = fs::temp_directory_path() / ("cloud" + std::to_string(getpid()));
    fs::create_directories(dir);
    const std::string path = (dir / "out.xml").string();
    for (const auto& [node, own, file] : rows) {
        SCOPED_TRACE(own ? own : "upper");
        std::string out;
        node->XMLStr(out);
        node->XMLFile(path.c_str());
        EXPECT_EQ(cloud.Text(), before);
        std::ifstream saved(path);
        if (own != nullptr) {
            EXPECT_EQ(out, kDecl + own + "\n");
            EXPECT_EQ(std::string(std::istreambuf_iterator<char>(saved), {}), kDecl + file + "\n");
        }
    }
    // Only the file itself: no temporary left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
    fs::remove_all(dir);

    cloud.XMLFile("/nonexistent-folder/out.xml");
    EXPECT_EQ(cloud.m_Msgs, std::vector<DBString>{L"Error save to /nonexistent-folder/out.xml"});
    EXPECT_EQ(cloud.Text(), before);
}

TEST_F(CloudNodeTest, UnboundNodesGiveTheDiagnosticText) {
    CTestCloud& cloud = Load(std::regex_replace(kSkeleton, std::regex(" @\\w+"), ""));
    CPunctB* punct = Team()->CreatePunct();
    punct->m_Name = L"\u0414";
    punct->m_IdentDB = 7;
    std::string out;
    punct->XMLStr(out);
    EXPECT_EQ(out, "CNodeB::XMLStr TypNode=1 Name=\xD0\x94 IdentDB=7 m_XMLNodeG == 0");
    delete punct;
    cloud.XMLRelease();
    // Nothing points into the freed document.
    EXPECT_EQ((std::vector<xmlNode*>{
                  Lift()->m_TabState.m_XMLNodeG, Team()->m_GroupTab.m_XMLNodeG,
                  Lift()->m_TabDev.m_XMLNodeG,
                  static_cast<CUserTeam*>(Team()->m_UserTab.m_Child[0])->m_TabAlert.m_XMLNodeG}),
              std::vector<xmlNode*>(4));
    Team()->XMLUpdateG();
    Team()->XMLStr(out);
    EXPECT_EQ(out, "CNodeB::XMLStr TypNode=5 Name= IdentDB=0 Root()->m_XMLDOMG == 0");
    CStreetB detached;
    detached.XMLStr(out);
    EXPECT_EQ(out, "CNodeB::XMLStr TypNode=2 Name= IdentDB=0 Root()->m_XMLDOMG == 0");
}

TEST_F(CloudNodeTest, FindIDTypSortByNameAndLiftIndex) {
    Load(
        "<PULT><DISP Name=\"b\"><STREET Name=\"z\" IdDB=\"5\"><HOME Name=\"H\" IdDB=\"4\">"
        "<LIFT Name=\"y\" IdDB=\"5\"/><LIFT Name=\"x\" IdDB=\"0\"/><LIFT Name=\"w\" IdDB=\"3\"/>"
        "</HOME></STREET><STREET Name=\"a\"/></DISP><DISP Name=\"a\"/></PULT>");
    CTeamB* team = Team();
    EXPECT_EQ(
        team->FindIDTyp(5, CNodeB::typLift)->m_Name + team->FindIDTyp(5, CNodeB::typStreet)->m_Name,
        L"yz");
    EXPECT_EQ(team->FindIDTyp(5, CNodeB::typHome), nullptr);
    EXPECT_EQ(team->FindHome(4), Lift()->m_Parent);
    EXPECT_EQ(static_cast<CNodeB*>(Lift())->Punct(), Punct());

    EXPECT_EQ(team->FindLift(5), nullptr);  // no index before SetStruct
    team->SetStruct();
    team->SetStruct();  // a second time builds the same index
    EXPECT_EQ(team->FindLift(5)->m_Name + team->FindLift(3)->m_Name, L"yw");
    EXPECT_TRUE(team->FindLift(0) == nullptr && team->FindLift(4) == nullptr);  // x has 0
    EXPECT_EQ(Punct()->m_SortLift.FindIndex(Punct()->FindLift(3)), 1);
    EXPECT_EQ(team->m_SortLift.FindIndex(team->FindLift(5)), 2);
    EXPECT_EQ(team->TotalLift(), 3);
    EXPECT_FALSE(team->m_SortLift.Remove(nullptr));

    team->SortByName();
    const CNodeArrayB& lifts = Punct(1)->m_Child[1]->m_Child[0]->m_Child;
    EXPECT_EQ(Punct(0)->m_Name + Punct(1)->m_Child[0]->m_Name + lifts[0]->m_Name +
                  lifts[1]->m_Name + lifts[2]->m_Name,
              L"aawxy");
}

// A leaf whose service state the test sets: not serviced, all and not all same error.
struct CLeaf : CNodeTreeB {
    explicit CLeaf(std::tuple<bool, int, int> state) : m_state(state) {}
    int TypNode() override { return typHome; }
    bool IsNotServiced() override { return std::get<0>(m_state); }
    int AllHasSameError() override { return std::get<1>(m_state); }
    int NotAllHasSameError() override { return std::get<2>(m_state); }
    std::tuple<bool, int, int> m_state;
};

TEST_F(CloudNodeTest, ServiceStateOverMixedChildren) {
    // The leaves; not serviced, all same error, not all same error, icon and kind of the node.
    const std::pair<std::vector<std::tuple<bool, int, int>>, std::tuple<bool, int, int, int, int>>
        rows[] = {
            {{}, {true, 0, 0, 0, 0}},
            {{{true, 3, 3}, {true, 4, 4}}, {true, 0, 0, 0, 0}},  // none serviced
            {{{false, 3, 3}, {false, 3, 3}, {true, 9, 9}}, {false, 3, 3, 3, 0}},
            {{{false, 3, 3}, {false, 4, 4}}, {false, -1, -1, 0, 0}},
            {{{false, 0, 0}, {false, 2, 2}}, {false, -1, 2, 2, 1}},  // zero skipped by NotAll only
            {{{false, 0, 0}, {false, 0, 0}}, {false, 0, 0, 0, 0}},
            {{{false, -1, -1}, {false, 2, 2}}, {false, -1, -1, 0, 0}},
        };
    for (const auto& [leaves, state] : rows) {
        CStreetB node;
        for (const auto& leaf : leaves) node.m_Child.push_back(new CLeaf(leaf));
        int icon = -5, kind = -5;
        node.NodeIcon(icon, kind);
        EXPECT_EQ(std::make_tuple(node.IsNotServiced(), node.AllHasSameError(),
                                  node.NotAllHasSameError(), icon, kind),
                  state)
            << leaves.size();
    }
}

// Modification reaches up through lists and tables; removing from a list and clearing the root
// leave the document as it was.
TEST_F(CloudNodeTest, ModificationRemoveAndClear) {
    CTestCloud& cloud =
        Load(OneLift("", "<TabOut><Out Number=\"1\"/></TabOut>") +
             "<PULT Name=\"A\"><TabKey><Key/></TabKey><TabGroupDisp><Group Number=\"2\"/>"
             "</TabGroupDisp></PULT>");
    const std::string before = cloud.Text();
    EXPECT_FALSE(cloud.IsModify());
    Lift()->m_TabOut.Find(1)->m_Modify = true;
    EXPECT_EQ(Team(1)->m_GroupTab.FindNumber(2), Team(1)->m_GroupTab.m_Child[0]);
    Team(1)->m_GroupTab.m_Child[0]->m_Modify = true;
    EXPECT_TRUE(Team(0)->IsModify());
    cloud.ClearModify();
    EXPECT_FALSE(Lift()->m_TabOut.Find(1)->m_Modify || Team(1)->IsModify());
    Team(1)->m_TabKey.front()->m_Modify = true;
    EXPECT_TRUE(cloud.IsModify());
    EXPECT_FALSE(Team(0)->IsModify());

    CNodeTreeB* a = cloud.m_Child.Find(L"A");
    cloud.m_Child.Remove(a);
    delete a;
    EXPECT_EQ(cloud.m_Child.size(), 1u);
    cloud.Clear();
    EXPECT_TRUE(cloud.m_Child.empty());
    EXPECT_EQ(cloud.Text(), before);
}

// The attribute of the first element of that name in the text, or "<absent>".
std::string AttrIn(const std::string& text, const std::string& element, const std::string& attr) {
    std::smatch tag, value;
    std::regex_search(text, tag, std::regex("<" + element + "[ />][^>]*"));
    const std::string own = tag.str();
    return std::regex_search(own, value, std::regex(" " + attr + "=\"([^\"]*)\"")) ? value.str(1)
                                                                                   : kAbsent;
}

class CloudAttrTest : public CloudTest {
public:
    // Loads the skeleton with attrs on the element, rebuilds the structure from the tree, checks
    // that a reload writes the same and gives the named attributes' values, blank-separated.
    std::string Written(const std::string& element, const std::string& attrs, const char* names) {
        const std::string doc =
            std::regex_replace(kSkeleton, std::regex(" @" + element + "\\b"), " " + attrs);
        Load(std::regex_replace(doc, std::regex(" @\\w+"), ""));
        m_cloud->XMLCreate();
        const std::string text = m_cloud->Text();
        EXPECT_EQ(Reload().Text(), text);
        std::string values;
        std::istringstream list(names);
        for (std::string name; list >> name;)
            values += (values.empty() ? "" : " ") + AttrIn(text, element, name);
        return values;
    }
};

// Each attribute loaded alone, the structure rebuilt and reloaded. A word ending in ":" gives the
// kind of the attributes after it.
TEST_F(CloudAttrTest, EveryAttributeReadsAndWritesByItsKind) {
    const std::pair<const char*, const char*> rows[] = {
        {"PULT",
         "str: Name NameLock TreePos TabPos LogPos ColLog WindowPos DomainSIP LoginSIP PassWDSIP "
         "int: TimeAsk OnLift LockOut OnTimer MaxVisibleRec DivIntSTAT CRC AvtoOpenNewErr DisGrad "
         "DisServKey Language AlarmAdmin TypProfil Providers TypConnSIP CodDTMF_SIP DialUpSecSIP "
         "CallDurSecSIP DTMFProlongSIP DelaySIP IdDB always: TimeDriv TimeGGS IntervSTAT "
         "AvtoCloseNewErr AdrLift DaySavCheck DaySavEvents DaySavVoice DaySavStat bool: EnableGCM "
         "EnablePushNotify EnableEmailNotify EnablePOSTNotify EnableTelegrNotify OnAfterConfSIP"},
        {"DISP",
         "raw: Name int: TypViewLift TestMoveLift AskLift IdDB always: SpeakGDP AvtoGGS bool: "
         "TwoCol"},
        {"STREET", "raw: Name int: IdDB"},
        {"HOME", "raw: Name double: Lat Long int: IdDB"},
        {"LIFT",
         "raw: Name str: ID NameLock Owner ServBrig Mehan RegNum Model Wight Speed TotlStop "
         "JobYear "
         "DatTO Manuf Reduct ElDriver Kanat SkafManag SignalMan FactoryNumLU SIPAddr SIPLogin "
         "SIPPasswd NameFloor Comment VideoCmd VideoPhone int: Ident IDPro Typ TotLvlUnder Access "
         "IdDB always: InsContr double: Lat Long bool: ExclStat"},
        {"State", "str: ShortName MesForLog int: InsLog Pulsar GroupSost Disabl IdDB"},
        {"Out", "str: ShortOn LongOn ShortOff LongOff int: Disabl InsLog IdDB"},
        {"Key", "int: Level Prefix Number IdDB str: Owner Comm"},
        {"Dev", "int: Address Typ Vers IdDB str: Short Full"},
        {"User",
         "int: IdDB IdDBSrc TypCliGCM Flags str: Name PassWd Comment Profil Token Phone EMail "
         "SIPURL POSTURL"},
        {"AlertMsg",
         "int: CodAlertMsg NumMsg Flags GroupMask Test DelayNext IdDB str: Comment Filter Annot"},
        {"AlertLift", "int: CodAlertLift CodLift IdDB str: Filter Annot"},
        {"Group", "int: IdDB Number Flags str: Name Comm"},
        {"GROUP", "str: Name FileMap int: Number NoNewError Trasparent NoBorder Decor IdDB"},
    };
    for (const auto& [element, attrs] : rows) {
        std::istringstream list(attrs);
        std::string kind;
        for (std::string attr; list >> attr;) {
            if (attr.back() == ':') {
                kind = attr;
                continue;
            }
            for (const auto& [in, out] : kProbes.at(kind)) {
                const std::string given = in ? attr + "=\"" + in + "\"" : "";
                SCOPED_TRACE(std::string(element) + " " + (in ? given : attr + " absent"));
                EXPECT_EQ(Written(element, given, attr.c_str()), out);
            }
        }
    }
}

// A factory-made structure writes its creation defaults, in writing order. GUIDs are masked.
TEST_F(CloudAttrTest, CreationDefaultsAndCompositeForms) {
    CTestCloud& built = Build();
    built.m_IdentDB = 9;
    built.XMLCreate();
    const std::string created = built.Text();
    EXPECT_EQ(std::regex_replace(created, std::regex("GUID=\"[0-9A-F]{32}\""), "GUID=\"#\""),
              kDecl +
                  "<TERQCLOUD IdDB=\"9\"><PULT TimeAsk=\"1\" TimeDriv=\"180\" TimeGGS=\"180\" "
                  "Timer=\"00:00:00\" MaxVisibleRec=\"5000\" GUID=\"#\" IntervSTAT=\"1\" "
                  "AvtoCloseNewErr=\"1\" AdrLift=\"1\" Language=\"20\" DaySavCheck=\"366\" "
                  "DaySavEvents=\"366\" DaySavVoice=\"366\" DaySavStat=\"366\" "
                  "FirstTestMove=\"8\" SecondTestMove=\"18\"><DISP TypViewLift=\"2\" "
                  "SpeakGDP=\"1\" SizeLiftGrp=\"32,32\" FonGrp=\"255,255,255\" AvtoGGS=\"1\">"
                  "<STREET Fon=\"255,255,255\"><HOME><LIFT GUID=\"#\" SubNet=\"0\" UM=\"0\" "
                  "Slot=\"0\" Addr=\"0\" InsContr=\"1\"/></HOME></STREET></DISP></PULT>"
                  "</TERQCLOUD>\n");
    built.XMLCreate();  // a second time: the same document
    EXPECT_EQ(built.Text(), created);

    // Composite forms (absent and given), attributes read but never written, and the lift's
    // network address, which only a lift without identifiers writes.
    const std::tuple<const char*, const char*, const char*, const char*> rows[] = {
        {"PULT", "", "Timer FirstTestMove SecondTestMove", "00:00:00 8 18"},
        {"DISP", "", "SizeLiftGrp FonGrp", "0,0 0,0,0"},
        {"STREET", "", "Fon", "0,0,0"},
        {"GROUP", "", "Rect Color", "0,0,0,0 0,0,0"},
        {"PULT", "Timer=\"7:5\" FirstTestMove=\"7\" CRC=\"4294967295\"",
         "Timer FirstTestMove SecondTestMove CRC", "07:05:00 7 18 -1"},
        {"DISP", "FonGrp=\"255,1,128\" SizeLiftGrp=\"40\" DisGrad=\"5\" NameLock=\"L\"",
         "FonGrp SizeLiftGrp DisGrad NameLock", "255,1,128 40,0 <absent> <absent>"},
        {"GROUP", "Rect=\"1,2\" Color=\"256,1,2\"", "Rect Color", "1,2,0,0 0,1,2"},
        {"LIFT", "", "SubNet UM Slot Addr InsContr", "0 0 0 0 0"},
        {"LIFT", "SubNet=\"3\" UM=\"5\" Slot=\"6\" Addr=\"4\"", "SubNet UM Slot Addr", "3 5 6 4"},
        {"LIFT", "Ident=\"7\" SubNet=\"3\" Addr=\"4\"", "SubNet UM Slot Addr",
         "<absent> <absent> <absent> <absent>"},
        {"LIFT", "IDPro=\"7\" SubNet=\"3\"", "SubNet Addr", "<absent> <absent>"},
        {"LIFT", "Key=\"00000000000000000000000000000000\"", "Key", kAbsent},
        {"LIFT", "Key=\"0123456789abcdef0123456789ABCDEF\"", "Key",
         "0123456789ABCDEF0123456789ABCDEF"},
        {"LIFT", "Key=\"0123\"", "Key", kAbsent},
        {"LIFT", "GUID=\"00112233445566778899AABBCCDDEEFF\"", "GUID",
         "00112233445566778899AABBCCDDEEFF"},
        {"LIFT", "Comment=\"one\\r\\ntwo\"", "Comment", "one\\r\\ntwo"},
    };
    for (const auto& [element, attrs, names, values] : rows)
        EXPECT_EQ(Written(element, attrs, names), values);
    EXPECT_EQ(Lift()->m_Comment, L"one\r\ntwo");  // the last row, reloaded

    Load("<PULT FirstTestMove=\"7\"><DISP FonGrp=\"255,1,128\"/></PULT>");
    EXPECT_EQ(Team()->m_FirstTestMove.GetTotalSeconds(), 7 * 3600 + 1800);
    EXPECT_EQ(Punct()->m_FonGrp, 0x8001FFu);
    // Hour counts beyond any day do not overflow.
    Load("<PULT FirstTestMove=\"2147483647\"/>");
    EXPECT_EQ(Team()->m_FirstTestMove.GetTotalSeconds(), 2147483647LL * 3600 + 1800);
}

using CloudThreadTest = CloudTest;

TEST_F(CloudThreadTest, ReadersSerialiseWhileOneEditorWrites) {
    const std::string h = "<HOME><LIFT/><LIFT/></HOME>";
    CTestCloud& cloud = Load("<PULT><DISP><STREET>" + h + h + h + h + "</STREET></DISP></PULT>");
    const CNodeArrayB& homes = Punct()->m_Child[0]->m_Child;
    std::atomic<bool> done{false};
    std::atomic<int> bad{0};
    std::vector<std::thread> readers;
    for (size_t r = 0; r < 3; ++r)
        readers.emplace_back([&, r] {
            for (size_t i = r; !done.load(); ++i) {
                std::string out;
                CNodeTreeB* home = homes[i % 4];
                (i / 4 % 3 == 0 ? home : home->m_Child[i / 4 % 3 - 1])->XMLStr(out);
                if (out.rfind("<?xml", 0) != 0 || out.find("<TERQCLOUD") != std::string::npos)
                    ++bad;
            }
        });
    for (int e = 0; e < 300; ++e) {
        auto* lift = static_cast<CLiftB*>(homes[static_cast<size_t>(e) % 4]->m_Child[0]);
        cloud.Lock();
        std::lock_guard<std::mutex> held(cloud.m_Lock, std::adopt_lock);
        lift->m_Owner = DBString(std::to_wstring(e));
        lift->XMLUpdateG();
    }
    done = true;
    for (std::thread& t : readers) t.join();
    EXPECT_EQ(bad.load(), 0);
    EXPECT_NE(cloud.Text().find("Owner=\"299\""), std::string::npos);
}

}  // namespace
