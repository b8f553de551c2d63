#include "dblib/LoadRes.h"

#include <initializer_list>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "dblib/TERQDbLibRes.h"
#include "lib/TERQLibRes.h"

namespace {

using IdSet = std::set<int>;

IdSet Range(int first, int last, int step = 1) {
    IdSet ids;
    for (int id = first; id <= last; id += step) ids.insert(id);
    return ids;
}

IdSet Union(std::initializer_list<IdSet> parts) {
    IdSet all;
    for (const auto& p : parts) all.insert(p.begin(), p.end());
    return all;
}

// The identifier blocks each layer must fill, as the product documents them.
IdSet LibIds() {
    return Union({Range(41000, 41009),    {41040},
                  Range(41071, 41090),    Range(41093, 41104),
                  Range(41110, 41216),    Range(41227, 41229),
                  Range(41242, 41296),    Range(41311, 41317),
                  Range(41320, 41350, 3), Range(41369, 41377),
                  Range(41382, 41383),    {41386, 41389, 41392},
                  Range(43006, 43097),    Range(43132, 43133),
                  Range(43298, 43310),    Range(43323, 43328),
                  Range(43471, 43478),    Range(43501, 43511),
                  Range(43603, 43614),    Range(43617, 43619),
                  Range(43850, 43853)});
}

IdSet Keys(const std::map<int, std::string>& table) {
    IdSet ids;
    for (const auto& entry : table) ids.insert(entry.first);
    return ids;
}

// Each test starts and ends with empty tables and Russian selected, so no test depends on order.
class LoadResTest : public ::testing::Test {
protected:
    void SetUp() override { Reset(); }
    void TearDown() override { Reset(); }
    static void Reset() {
        g_StringLocale.clear();
        g_StringLocaleENU.clear();
        g_StringENU = false;
    }
    // Runs fill with standard error captured and returns what was written there.
    template <typename F>
    static std::string StderrOf(F fill) {
        testing::internal::CaptureStderr();
        fill();
        return testing::internal::GetCapturedStderr();
    }
    static void FillAll() {
        TERQLib_rc();
        TERQDbLib_rc();
        TERQUiLib_rc();
        TERQLibENU_rc();
        TERQDbLibENU_rc();
        TERQUiLibENU_rc();
        TERQClientCfg_rc();
        TERQClientCfgENU_rc();
    }
};

// The conversion specifications of a printf format, in order ("%%" is not one).
std::vector<std::string> Conversions(const std::string& format) {
    std::vector<std::string> specs;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') continue;
        std::size_t j = i + 1;
        if (j < format.size() && format[j] == '%') {
            i = j;
            continue;
        }
        while (j < format.size() &&
               std::string("-+ #0123456789.lhzjt").find(format[j]) != std::string::npos)
            ++j;
        specs.push_back(format.substr(i, j + 1 - i));
        i = j;
    }
    return specs;
}

TEST(LoadResConversionsTest, FindsEverySpecification) {
    EXPECT_EQ(Conversions("Slot %d:%d:%d"), (std::vector<std::string>{"%d", "%d", "%d"}));
    EXPECT_EQ(Conversions("%ls code 0x%02X, 100%% %u"),
              (std::vector<std::string>{"%ls", "%02X", "%u"}));
    EXPECT_TRUE(Conversions("no format").empty());
}

TEST_F(LoadResTest, EachLayerFillsExactlyItsBlocksInBothLanguages) {
    const struct {
        const char* name;
        void (*rus)();
        void (*enu)();
        IdSet ids;
        std::size_t count;
    } layers[] = {
        {"lib", TERQLib_rc, TERQLibENU_rc, LibIds(), 391},
        {"dblib", TERQDbLib_rc, TERQDbLibENU_rc, Range(42000, 42098), 99},
        {"uilib", TERQUiLib_rc, TERQUiLibENU_rc, Range(25000, 25117), 118},
        {"tool", TERQClientCfg_rc, TERQClientCfgENU_rc, Range(10000, 10008), 9},
    };
    for (const auto& layer : layers) {
        SCOPED_TRACE(layer.name);
        Reset();
        ASSERT_EQ(layer.ids.size(), layer.count);  // the block list itself
        // A fill that registered an id twice would report it here.
        EXPECT_EQ(StderrOf(layer.rus), "");
        EXPECT_EQ(StderrOf(layer.enu), "");
        EXPECT_EQ(Keys(g_StringLocale), layer.ids);
        EXPECT_EQ(Keys(g_StringLocaleENU), layer.ids);
    }
}

TEST_F(LoadResTest, FullStartUpFillReportsNoDuplicate) {
    EXPECT_EQ(StderrOf(FillAll), "");
    EXPECT_EQ(g_StringLocale.size(), 391u + 99u + 118u + 9u);
    EXPECT_EQ(Keys(g_StringLocale), Keys(g_StringLocaleENU));
}

TEST_F(LoadResTest, MissingIdentifierGivesPlaceholderOfItsLanguage) {
    const struct {
        unsigned short id;
        const wchar_t* rus;
        const wchar_t* enu;
    } cases[] = {
        {10009, L"RUS10009", L"ENU10009"},  // just past the tool's block
        {0, L"RUS0", L"ENU0"},
        {65535, L"RUS65535", L"ENU65535"},
        {41010, L"RUS41010", L"ENU41010"},  // gap inside the library block
    };
    for (int filled = 0; filled < 2; ++filled) {
        if (filled) FillAll();
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << "id " << c.id << " filled " << filled);
            EXPECT_EQ(LoadStringFromResource(c.id), c.rus);
            EXPECT_EQ(LoadStringFromResourceENU(c.id), c.enu);
            g_StringENU = false;
            EXPECT_EQ(_S_(c.id), c.rus);
            g_StringENU = true;
            EXPECT_EQ(_S_(c.id), c.enu);
            g_StringENU = false;
        }
    }
}

TEST_F(LoadResTest, NoFallbackBetweenLanguages) {
    InsertResource(g_StringLocale, "RUS", 500, "только русский");
    InsertResource(g_StringLocaleENU, "ENU", 501, "English only");
    EXPECT_EQ(LoadStringFromResource(500), L"только русский");
    EXPECT_EQ(LoadStringFromResourceENU(500), L"ENU500");
    EXPECT_EQ(LoadStringFromResourceENU(501), L"English only");
    EXPECT_EQ(LoadStringFromResource(501), L"RUS501");
    g_StringENU = true;
    EXPECT_EQ(_S_(500), L"ENU500");
}

TEST_F(LoadResTest, DuplicateKeepsFirstTextAndIsReported) {
    TERQClientCfg_rc();
    TERQClientCfgENU_rc();
    EXPECT_EQ(StderrOf([] { InsertResource(g_StringLocaleENU, "ENU", 10000, "Other"); }),
              "duplicate resource ENU identifier: 10000\n");
    EXPECT_EQ(LoadStringFromResourceENU(10000), L"Language");
    EXPECT_EQ(StderrOf([] { InsertResource(g_StringLocale, "RUS", 10003, "Другое"); }),
              "duplicate resource RUS identifier: 10003\n");
    EXPECT_EQ(LoadStringFromResource(10003), L"Сохранить");
    // Running a whole fill twice reports each of its ids once more.
    EXPECT_EQ(StderrOf(TERQClientCfg_rc).size(),
              9 * std::string("duplicate resource RUS identifier: 1000x\n").size());
}

TEST_F(LoadResTest, SelectsTextByLanguageSwitch) {
    FillAll();
    EXPECT_EQ(_S_(10000), L"Язык");
    g_StringENU = true;
    EXPECT_EQ(_S_(10000), L"Language");
    g_StringENU = false;
    EXPECT_EQ(_S_(10001), L"Русский");
}

TEST_F(LoadResTest, ToolTextsAreExact) {
    FillAll();
    const struct {
        unsigned short id;
        const wchar_t* enu;
        const wchar_t* rus;
    } texts[] = {
        {10000, L"Language", L"Язык"},
        {10001, L"Russian", L"Русский"},
        {10002, L"English", L"Английский"},
        {10003, L"Save", L"Сохранить"},
        {10004, L"About TERQClientCfg...", L"О TERQClientCfg..."},
        {10005, L"Save changes?", L"Сохранить изменения ?"},  // blank before "?" in Russian only
        {10006, L"Finish work without saving?", L"Завершить работы без сохранения ?"},
        {10007, L"saved", L"сохранено"},
        {10008, L"Configuring the terq-client package", L"Настройка пакета terq-client"},
    };
    for (const auto& t : texts) {
        SCOPED_TRACE(t.id);
        EXPECT_EQ(LoadStringFromResourceENU(t.id), t.enu);
        EXPECT_EQ(LoadStringFromResource(t.id), t.rus);
    }
}

TEST_F(LoadResTest, EveryTextIsNonEmptyValidUtf8) {
    FillAll();
    for (const auto* table : {&g_StringLocale, &g_StringLocaleENU}) {
        for (const auto& entry : *table) {
            SCOPED_TRACE(entry.first);
            const auto id = static_cast<unsigned short>(entry.first);
            const DBString text = table == &g_StringLocale ? LoadStringFromResource(id)
                                                           : LoadStringFromResourceENU(id);
            EXPECT_FALSE(text.empty());
            EXPECT_NE(text, L"?utf-32?");
        }
    }
    // The Russian table holds Russian, not a copy of the English texts.
    EXPECT_EQ(LoadStringFromResource(IDS_LIFT), L"Лифт");
}

TEST_F(LoadResTest, BrokenUtf8ComesBackAsMarker) {
    InsertResource(g_StringLocale, "RUS", 7, "\xD0");  // a lead byte without its continuation
    EXPECT_EQ(LoadStringFromResource(7), L"?utf-32?");
}

// A format text must take the same arguments in either language, and only the kinds the
// wide Format is fed with.
TEST_F(LoadResTest, PlaceholdersAgreeBetweenLanguages) {
    FillAll();
    const std::set<std::string> allowed = {"%ls", "%d", "%u", "%x", "%02X"};
    for (const auto& entry : g_StringLocale) {
        SCOPED_TRACE(entry.first);
        const auto enu = g_StringLocaleENU.find(entry.first);
        ASSERT_NE(enu, g_StringLocaleENU.end());
        const auto rusSpecs = Conversions(entry.second);
        EXPECT_EQ(rusSpecs, Conversions(enu->second));
        for (const auto& spec : rusSpecs) EXPECT_EQ(allowed.count(spec), 1u) << spec;
    }
}

TEST_F(LoadResTest, XmlErrorTexts) {
    FillAll();
    const std::pair<unsigned short, const wchar_t*> texts[] = {
        {41074, L"%ls elements %ls"},
        {41075, L"%ls parameters %ls elements %ls"},
        {41076, L"Error append"},
        {41077, L"Error read"},
        {41078, L"Error create"},
        {41079, L"Error query of interface"},
        {41080, L"Error create of XML parsers"},
        {41081, L"Error appendChild"},
        {41082, L"Error createProcessingInstruction"},
        {41083, L"Error loadXML"},
        {41084, L"Error get_firstChild"},
        {41085, L"Error replaceChild"},
        {41086, L"Error get_nextSibling"},
        {41087, L"Error get_xml"},
        {41088, L"Error XMLDOMSave->save"},
        {41089, L"Error m_XMLDOM->load"},
        {41090, L"Error query of interface IXMLDOMNode by IXMLDOMDocument"},
    };
    for (const auto& t : texts) {
        SCOPED_TRACE(t.first);
        EXPECT_EQ(LoadStringFromResourceENU(t.first), t.second);
    }
    EXPECT_EQ(IDS_XML_APPEND, 41076);
    EXPECT_EQ(IDS_XML_SAVE, 41088);
}

TEST_F(LoadResTest, StateNamesSitAtTheirNumbers) {
    FillAll();
    // Numbers in state order: 41158, 41216, 41163-41166, 41168-41172, 41175-41178, 41181,
    // 41182, 41185-41187, 41190, 41191, 41196-41211, 41215, 41229, 41212-41214.
    std::vector<int> numbers = {41158, 41216};
    auto append = [&numbers](int first, int last) {
        for (int n = first; n <= last; ++n) numbers.push_back(n);
    };
    append(41163, 41166);
    append(41168, 41172);
    append(41175, 41178);
    append(41181, 41182);
    append(41185, 41187);
    append(41190, 41191);
    append(41196, 41211);
    append(41215, 41215);
    append(41229, 41229);
    append(41212, 41214);
    const wchar_t* names[] = {L"Maintenance mode",
                              L"Firmware restart",
                              L"Multiple door reversing",
                              L"Machine room penetration",
                              L"Lift is not powered",
                              L"\u2018STOP\u2019 button clamped",
                              L"Cabin door opened",
                              L"Safety chain open",
                              L"Door is not closed",
                              L"Safety chain short circuit",
                              L"Dispatcher call",
                              L"Unauthorized cabin movement",
                              L"Main drive fault",
                              L"Door drive fault",
                              L"Shaft penetration",
                              L"Safety Device fault",
                              L"Out of service",
                              L"Machine room open",
                              L"Cabin between floors",
                              L"Cabin door sensor fault",
                              L"Lack of serial port communication",
                              L"Main drive is ON",
                              L"RESERVED1",
                              L"Voltage at safety chain begin checkpoint",
                              L"Movement with safety chain open",
                              L"Refining call - from machine room",
                              L"Fault voice route",
                              L"Low bits statistics",
                              L"High bits statistics",
                              L"Passenger in cabin",
                              L"RESERVED30",
                              L"RESERVED31",
                              L"USER1 state",
                              L"USER2 state",
                              L"USER3 state",
                              L"USER4 state",
                              L"No mains power",
                              L"Safety circuit AC voltage",
                              L"Fire hazard",
                              L"Backup battery fault",
                              L"Idle lift 1 hour",
                              L"Not information",
                              L"Not link"};
    ASSERT_EQ(numbers.size(), 43u);
    ASSERT_EQ(static_cast<int>(std::size(IDS_SOST)), IDS_SOST_COUNT);
    for (int bit = 0; bit < IDS_SOST_COUNT; ++bit) {
        SCOPED_TRACE(bit);
        EXPECT_EQ(IDS_SOST[bit], numbers[static_cast<std::size_t>(bit)]);
        EXPECT_EQ(LoadStringFromResourceENU(IDS_SOST[bit]), names[bit]);
    }
}

TEST_F(LoadResTest, OperatorEventTextsFollowTheBase) {
    FillAll();
    const wchar_t* events[] = {L"Start",
                               L"Stop",
                               L"Mode - Operator",
                               L"Mode - Customizing",
                               L"Lost link with LBC in slot %d:%d:%d",
                               L"On LBS in slot %d:%d:%d",
                               L"- - -",
                               L"Restart LU - code 0x%02X",
                               L"Restart in slot %d:%d:%d",
                               L"On LSC in slot %d:%d:%d",
                               L"Off LSC in slot %d:%d:%d",
                               L"On LSC with lift car",
                               L"On LSC with MR",
                               L"Off LSC",
                               L"Deferred servicing",
                               L"Errors cleaning",
                               L"Run driving dialog",
                               L"Lift power-up",
                               L"Lift power down",
                               L"Export log into CSV file",
                               L"Log truncate",
                               L"Enter password for customizings",
                               L"Enter password to switch on Lift",
                               L"Extracted SK in slot %d:%d:%d",
                               L"In slot %d:%d:%d insert SK",
                               L"Not way to slot %d:%d:%d",
                               L"Appear way to slot %d:%d:%d",
                               L"Busy COM port for IMI",
                               L"Not exchange by IMI",
                               L"Penetration in well",
                               L"Expireware in slot %d:%d:%d",
                               L"LBC %d:%d:%d not define in net structure (TERQDrvCfg)",
                               L"Fault LB in slot %d:%d:%d",
                               L"Fault current source 60v in slot %d:%d:%d",
                               L"Emergency power in slot %d:%d:%d",
                               L"Gradual shutdowns of lifts",
                               L"Lift possibly long time not move",
                               L"Lift probably long time not move",
                               L"Turn-on outputs",
                               L"Turn-off outputs",
                               L"The number of the current floor",
                               L"Bad storage battery in slot %d:%d:%d",
                               L"reserve channel %d:%d:%d",
                               L"Operator message",
                               L"Elevator operating mode",
                               L"Faulty voice codec in slot %d:%d:%d"};
    ASSERT_EQ(std::size(events) + 1, static_cast<std::size_t>(IDS_MES_COUNT));
    for (int n = 1; n < IDS_MES_COUNT; ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(LoadStringFromResourceENU(static_cast<unsigned short>(IDS_MES_BASE + n)),
                  events[n - 1]);
    }
    EXPECT_EQ(IDS_MES_START, IDS_MES_BASE + 1);
    EXPECT_EQ(IDS_MES_LAST, IDS_MES_BASE + 46);
}

TEST_F(LoadResTest, DataLayerFixedTexts) {
    FillAll();
    const std::pair<unsigned short, const wchar_t*> texts[] = {
        {42000, L"Lift"},
        {42001, L"Escalator"},
        {42002, L"Travelator"},
        {42003, L"Hoist"},
        {42005, L"Lift %ls already included in group %ls"},
        {42007, L"Lift %ls from group %ls not defined in structure"},
        {IDS_REPEAT_TEAM, L" - repeated definition team"},
        {IDS_REPEAT_PUNCT, L" - repeated definition control room"},
        {IDS_REPEAT_STREET, L" - repeated definition street"},
        {IDS_REPEAT_HOME, L" - repeated definition home in street"},
        {IDS_REPEAT_LIFT, L" - repeated definition lift"},
        {IDS_ERR_SAVE_TO, L"Error save to "},
        {IDS_SLOT_EXISTS, L"Slot %d already exist in UM %d:%d"},
        {IDS_DEV_EXISTS, L"Device %d  already exist in slot %d:%d:%d"},
        {IDS_LINKNET_EXISTS, L"External link (%d:%d)->(%d:%d) already exist in structure"},
        {IDS_LINKCLL_EXISTS, L"Internal link %d (%d:%d)->(%d:%d) already exist in structure"},
    };
    for (const auto& t : texts) {
        SCOPED_TRACE(t.first);
        EXPECT_EQ(LoadStringFromResourceENU(t.first), t.second);
    }
    const wchar_t* access[] = {L"access",
                               L"management",
                               L"setting",
                               L"turn on LBS",
                               L"output control OUT1",
                               L"output control OUT4",
                               L"off Lifts",
                               L"on Lifts",
                               L"service control device interaction LU with MCS to view settings",
                               L"service control device interaction LU with MCS to change settings",
                               L"service control device LU to view settings",
                               L"service control device LU to change settings",
                               L"viewing test parameters of the vocal tract and test results",
                               L"enable/disable a test of the vocal tract and run the test",
                               L"view the results of the last test battery",
                               L"the test run batteries",
                               L"viewing content pages firmware LU",
                               L"changing the state of the firmware pages",
                               L"unloading NVRAM",
                               L"download NVRAM",
                               L"viewing breakpoints in the time of the accident",
                               L"listen to saved talks",
                               L"cleaning the errors, fixed in the lift unit"};
    ASSERT_EQ(std::size(access), static_cast<std::size_t>(IDS_ACCESS_COUNT));
    for (int t = 0; t < IDS_ACCESS_COUNT; ++t) {
        SCOPED_TRACE(t);
        EXPECT_EQ(LoadStringFromResourceENU(static_cast<unsigned short>(42073 + t)), access[t]);
    }
}

// Named code-to-name ranges and single numbers must point into the filled blocks, never at a
// gap that would show a placeholder.
TEST_F(LoadResTest, HeaderNumbersPointAtFilledTexts) {
    FillAll();
    const std::pair<int, int> ranges[] = {
        {IDS_MODE_LIFT_BASE, IDS_MODE_LIFT_COUNT}, {IDS_TYP_LB_BASE, IDS_TYP_LB_COUNT},
        {IDS_DESIGN_LB_BASE, IDS_DESIGN_LB_COUNT}, {IDS_TYP_CODEC_BASE, IDS_TYP_CODEC_COUNT},
        {IDS_TYP_TERM7_BASE, IDS_TYP_TERM7_COUNT}, {IDS_TYP_DEV_BASE, IDS_TYP_DEV_COUNT},
        {IDS_TYP_BUS_BASE, IDS_TYP_BUS_COUNT},     {IDS_CLI_GCM_BASE, IDS_CLI_GCM_COUNT},
        {IDS_MES_BASE + 1, IDS_MES_COUNT - 1},     {IDS_ACCESS_BASE, IDS_ACCESS_COUNT},
    };
    for (const auto& r : ranges) {
        for (int id = r.first; id < r.first + r.second; ++id) {
            SCOPED_TRACE(id);
            EXPECT_EQ(g_StringLocale.count(id), 1u);
        }
    }
    // Code 0 of the device-model and bus tables is "Not defined".
    EXPECT_EQ(LoadStringFromResourceENU(IDS_TYP_DEV_BASE), L"Not defined");
    EXPECT_EQ(LoadStringFromResourceENU(IDS_TYP_BUS_BASE), L"Not defined");
    EXPECT_FALSE(LoadStringFromResourceENU(IDS_MAKER_URL).empty());
    EXPECT_EQ(LoadStringFromResourceENU(IDS_MAKER_URL).Find(L"://"), 5);  // "https://..."
    EXPECT_EQ(g_StringLocale.count(IDS_MAKER_NAME), 1u);
}

}  // namespace
