#include "dblib/LoadRes.h"

#include <initializer_list>
#include <map>
#include <regex>
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
                  Range(41242, 41297),    Range(41311, 41317),
                  Range(41320, 41350, 3), Range(41369, 41377),
                  Range(41382, 41383),    {41386, 41389, 41392},
                  Range(43006, 43097),    Range(43132, 43133),
                  Range(43298, 43310),    Range(43323, 43328),
                  Range(43471, 43478),    Range(43501, 43511),
                  Range(43603, 43614),    Range(43617, 43619),
                  Range(43700, 43725),    Range(43850, 43853)});
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
    static const std::regex spec("%%|%[-+ #0-9.lhzjt]*.");
    std::vector<std::string> specs;
    for (std::sregex_iterator it(format.begin(), format.end(), spec), end; it != end; ++it)
        if (it->str() != "%%") specs.push_back(it->str());
    return specs;
}

TEST_F(LoadResTest, EachLayerFillsExactlyItsBlocksInBothLanguages) {
    const struct {
        const char* name;
        void (*rus)();
        void (*enu)();
        IdSet ids;
        std::size_t count;
    } layers[] = {
        {"lib", TERQLib_rc, TERQLibENU_rc, LibIds(), 418},
        {"dblib", TERQDbLib_rc, TERQDbLibENU_rc, Range(42000, 42101), 102},
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
    EXPECT_EQ(g_StringLocale.size(), 418u + 102u + 118u + 9u);
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
    InsertResource(g_StringLocale, "RUS", 7, "\xD0");  // a lead byte without its continuation
    EXPECT_EQ(LoadStringFromResource(7), L"?utf-32?");
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
        g_StringENU = true;
        EXPECT_EQ(_S_(t.id), t.enu);
        g_StringENU = false;
        EXPECT_EQ(_S_(t.id), t.rus);
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
    EXPECT_EQ(LoadStringFromResourceENU(IDS_MAKER_URL).Find(L"://"), 5);  // "https://..."
    EXPECT_EQ(g_StringLocale.count(IDS_MAKER_NAME), 1u);
}

}  // namespace
