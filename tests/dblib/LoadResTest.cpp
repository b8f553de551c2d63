#include "dblib/LoadRes.h"

#include <regex>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dblib/TERQDbLibRes.h"
#include "lib/TERQLibRes.h"

namespace {

// The conversions of a printf format, in order ("%%" is not one).
std::vector<std::string> Conversions(const std::string& format) {
    static const std::regex pattern("%%|%[-+ #0-9.lhzjt]*.");
    std::vector<std::string> found;
    for (std::sregex_iterator it(format.begin(), format.end(), pattern), end; it != end; ++it)
        if (it->str() != "%%") found.push_back(it->str());
    return found;
}

}  // namespace

// The start-up fill of every layer in both languages: no identifier twice, the same identifiers
// in both, every text valid UTF-8 taking the same arguments in either language (and only the
// kinds the wide Format is fed with), and every named range free of gaps.
TEST(LoadResTest, EveryLayerFillsBothLanguagesAlike) {
    g_StringLocale.clear();
    g_StringLocaleENU.clear();
    testing::internal::CaptureStderr();
    for (auto fill : {TERQLib_rc, TERQDbLib_rc, TERQUiLib_rc, TERQClientCfg_rc, TERQLibENU_rc,
                      TERQDbLibENU_rc, TERQUiLibENU_rc, TERQClientCfgENU_rc})
        fill();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    std::set<int> rus, enu;
    for (const auto& entry : g_StringLocale) rus.insert(entry.first);
    for (const auto& entry : g_StringLocaleENU) enu.insert(entry.first);
    EXPECT_EQ(rus, enu);
    const std::set<std::string> allowed = {"%ls", "%d", "%u", "%x", "%02X"};
    for (const auto& entry : g_StringLocale) {
        const auto id = static_cast<unsigned short>(entry.first);
        for (const DBString& text : {LoadStringFromResource(id), LoadStringFromResourceENU(id)})
            EXPECT_FALSE(text.empty() || text == L"?utf-32?") << id;
        const auto conversions = Conversions(entry.second);
        EXPECT_EQ(conversions, Conversions(g_StringLocaleENU[entry.first])) << id;
        for (const auto& c : conversions) EXPECT_EQ(allowed.count(c), 1u) << id << c;
    }
    const int ranges[][2] = {
        {IDS_MODE_LIFT_BASE, IDS_MODE_LIFT_COUNT}, {IDS_TYP_LB_BASE, IDS_TYP_LB_COUNT},
        {IDS_DESIGN_LB_BASE, IDS_DESIGN_LB_COUNT}, {IDS_TYP_CODEC_BASE, IDS_TYP_CODEC_COUNT},
        {IDS_TYP_TERM7_BASE, IDS_TYP_TERM7_COUNT}, {IDS_TYP_DEV_BASE, IDS_TYP_DEV_COUNT},
        {IDS_TYP_BUS_BASE, IDS_TYP_BUS_COUNT},     {IDS_CLI_GCM_BASE, IDS_CLI_GCM_COUNT},
        {IDS_ACCESS_BASE, IDS_ACCESS_COUNT},       {IDS_MES_BASE + 1, IDS_MES_COUNT - 1}};
    for (const auto& r : ranges)
        for (int id = r[0]; id < r[0] + r[1]; ++id) EXPECT_EQ(rus.count(id), 1u) << id;
    // A second text for an identifier is reported and dropped.
    const DBString first = LoadStringFromResource(10003);
    testing::internal::CaptureStderr();
    InsertResource(g_StringLocale, "RUS", 10003, "Другое");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "duplicate resource RUS identifier: 10003\n");
    EXPECT_EQ(LoadStringFromResource(10003), first);
}

// A missing identifier gives the placeholder of its language, never the other language's text.
TEST(LoadResTest, MissingIdentifierGivesPlaceholderOfItsLanguage) {
    InsertResource(g_StringLocale, "RUS", 500, "только русский");
    InsertResource(g_StringLocaleENU, "ENU", 501, "English only");
    InsertResource(g_StringLocale, "RUS", 7, "\xD0");  // a lead byte without its continuation
    const struct {
        unsigned short id;
        const wchar_t *rus, *enu;
    } cases[] = {{0, L"RUS0", L"ENU0"},
                 {65535, L"RUS65535", L"ENU65535"},
                 {41010, L"RUS41010", L"ENU41010"},  // gap inside the library block
                 {500, L"только русский", L"ENU500"},
                 {501, L"RUS501", L"English only"},
                 {7, L"?utf-32?", L"ENU7"}};
    for (const auto& c : cases) {
        EXPECT_EQ(LoadStringFromResource(c.id), c.rus);
        EXPECT_EQ(LoadStringFromResourceENU(c.id), c.enu);
        g_StringENU = true;
        EXPECT_EQ(_S_(c.id), c.enu);
        g_StringENU = false;
        EXPECT_EQ(_S_(c.id), c.rus);
    }
}
