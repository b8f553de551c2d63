#include "dblib/DBTime.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

// Independent oracle: seconds since 1970 of a proleptic Gregorian UTC date-time
// (the days-from-civil reckoning with March-based years).
time_t Utc(int y, int m, int d, int hh = 0, int mi = 0, int ss = 0) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153LL * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long long days = era * 146097 + yoe * 365 + yoe / 4 - yoe / 100 + doy - 719468;
    return static_cast<time_t>(days * 86400 + hh * 3600 + mi * 60 + ss);
}

// Moscow has been UTC+3 all year since 2014.
time_t Msk(int y, int m, int d, int hh = 0, int mi = 0, int ss = 0) {
    return Utc(y, m, d, hh, mi, ss) - 3 * 3600;
}

// Each test starts in Moscow; the process's zone comes back after it.
class DBTimeTest : public ::testing::Test {
protected:
    void SetUp() override { Zone("Europe/Moscow"); }
    void TearDown() override { Zone(m_old.empty() ? nullptr : m_old.c_str()); }
    static void Zone(const char* zone) {
        zone ? setenv("TZ", zone, 1) : unsetenv("TZ");
        tzset();
    }
    const std::string m_old = std::getenv("TZ") ? std::getenv("TZ") : "";
};

// Local fields through mktime's normalisation; results up to 1970-01-01 00:00:00 UTC are null.
TEST_F(DBTimeTest, ConstructorsAndFieldsAreLocalAndNullBefore1970) {
    const struct {
        DBTime t;
        time_t expected;
    } cases[] = {
        {DBTime(2026, 3, 5, 9, 7, 3), 1772690823},
        {DBTime(29, 2, 2028), Msk(2028, 2, 29)},
        {DBTime(29, 2, 2100), Msk(2100, 3, 1)},
        {DBTime(2026, 1, 1, 25, 61, 61), Msk(2026, 1, 2, 2, 2, 1)},
        {DBTime(1, 1, 1970), 0},  // 1969-12-31 21:00 UTC
        {DBTime(1970, 1, 1, 3, 0, 0), 0},
        {DBTime(1970, 1, 1, 3, 0, 1), 1},
        {DBTime(INT_MIN, 1, 1, 0, 0, 0), 0},  // beyond what the fields can hold
    };
    for (const auto& c : cases) EXPECT_EQ(c.t.GetTime(), c.expected) << c.expected;
    const DBTime t(2026, 3, 5, 9, 7, 3);
    // 21:30 UTC on 31 December is already 1 January in Moscow
    const DBTime late(Utc(2026, 12, 31, 21, 30, 0));
    EXPECT_EQ((std::vector<int>{t.Year1(), t.Year2(), t.Hour(), t.Min(), t.Sec(), late.Year(),
                                late.Mon(), late.Day(), DBTime(1, 1, 2100).Year2()}),
              (std::vector<int>{6, 26, 9, 7, 3, 2027, 1, 1, 0}));
    // 7 December 2026 is a Monday (1970-01-01 was a Thursday).
    for (int i = 0; i < 7; ++i) {
        const DBTime d(2026, 12, 7 + i, 23, 59, 59);
        EXPECT_EQ((std::vector<int>{d.DayWeek(), d.GetDayOfWeek(), d.testJob()}),
                  (std::vector<int>{i + 1, (i + 1) % 7 + 1, i < 5}));
    }
}

TEST_F(DBTimeTest, MonthLengthsAndCountsFollowTheTypesLeapRule) {
    const int cases[][3] = {
        {2, 1900, 28}, {2, 2000, 29}, {2, 2100, 29},  {2, 2026, 28}, {2, 0, 28},
        {4, 2026, 30}, {8, 2026, 31}, {12, 2026, 31}, {0, 2026, 0},  {13, 2026, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(DBTime::MonDay(c[0], c[1]), c[2]) << c[0] << "/" << c[1];
    // 1904-1968 leap; 2100 gets a 29 February the calendar does not have
    EXPECT_EQ((std::vector<int>{DBTime().TotDay(), DBTime(1970, 1, 1, 12, 0, 0).TotDay(),
                                DBTime(1, 3, 2028).TotDay(), DBTime(1, 3, 2100).TotDay(),
                                DBTime(1, 1, 2101).TotDay()}),
              (std::vector<int>{0, 70 * 365 + 17, 46811, 73049 + 31 + 29, 201 * 365 + 50}));
    // TotlMon counts started months
    const struct {
        DBTime later, earlier;
        int expected;
    } months[] = {
        {DBTime(16, 2, 2026), DBTime(15, 1, 2026), 2},
        {DBTime(15, 1, 2026), DBTime(16, 2, 2026), 0},
        {DBTime(1, 1, 2027), DBTime(31, 12, 2026), 1},
        {DBTime(), DBTime(15, 1, 2026), 0},
        {DBTime(15, 3, 1971), DBTime(), 15},  // a null earlier reads as 1970-01-01 local
    };
    for (const auto& c : months)
        EXPECT_EQ(DBTime::TotlMon(c.later, c.earlier), c.expected) << c.later.DatTimStr();
}

TEST_F(DBTimeTest, MovesByDaysSpansHoursMonthsAndPeriods) {
    for (const auto& c : {std::make_pair(Msk(2028, 2, 28), 1), std::make_pair(Msk(2100, 3, 1), -1),
                          std::make_pair(Msk(2026, 1, 1), 24855)}) {  // largest 32-bit product
        EXPECT_EQ((DBTime(c.first) + c.second).GetTime(), c.first + c.second * 86400LL);
        EXPECT_EQ((DBTime(c.first) - c.second).GetTime(), c.first - c.second * 86400LL);
    }
    DBTime t(2026, 3, 5, 9, 7, 3);
    const DBTimeSpan span(1, 2, 3, 4);
    EXPECT_EQ((t + span).GetTime(), Msk(2026, 3, 6, 11, 10, 7));
    EXPECT_EQ((t - span).GetTime(), Msk(2026, 3, 4, 7, 3, 59));
    t += span;
    t -= DBTimeSpan(2, 0, 0, 0);
    EXPECT_EQ(t.GetTime(), Msk(2026, 3, 4, 11, 10, 7));
    // AddHour: start of the reached hour; AddMon: first of the reached month; AddPeriod: the
    // same day with the 31st and February rules.
    enum { kHour, kMon, kPeriod };
    const struct {
        int op;
        time_t from;
        int n;
        time_t expected;
    } cases[] = {
        {kHour, Msk(2026, 3, 1, 1, 30, 10), -3, Msk(2026, 2, 28, 22)},
        {kHour, Msk(2026, 3, 1, 1, 30, 10), -49, Msk(2026, 2, 27, 0)},
        {kHour, Msk(2026, 12, 31, 23, 59, 59), 1, Msk(2027, 1, 1, 0)},
        {kHour, Msk(2028, 2, 28, 22, 15), 48, Msk(2028, 3, 1, 22)},
        {kMon, Msk(2026, 1, 15, 10), -1, Msk(2025, 12, 1)},
        {kMon, Msk(2026, 12, 15), 1, Msk(2027, 1, 1)},
        {kMon, Msk(2026, 5, 20), 25, Msk(2028, 6, 1)},
        {kPeriod, Msk(2026, 1, 31), 1, Msk(2026, 3, 1)},
        {kPeriod, Msk(2026, 1, 30), 1, Msk(2026, 3, 1)},  // no 30 February
        {kPeriod, Msk(2028, 1, 29), 1, Msk(2028, 2, 29)},
        {kPeriod, Msk(2028, 1, 28, 15, 45), 1, Msk(2028, 2, 28)},
        {kPeriod, Msk(2026, 12, 31), 0, Msk(2027, 1, 1)},
        {kPeriod, Msk(2026, 12, 31), 1, Msk(2027, 2, 1)},
        {kPeriod, Msk(2028, 3, 29), -1, Msk(2028, 2, 29)},
        {kPeriod, Msk(2026, 5, 15), -17, Msk(2024, 12, 15)},
        // 2100 passes the divisible-by-4 test; the calendar then makes 29 February 1 March
        {kPeriod, Msk(2100, 1, 29), 1, Msk(2100, 3, 1)},
    };
    for (const auto& c : cases) {
        const DBTime from(c.from);
        const DBTime r = c.op == kHour  ? from.AddHour(c.n)
                         : c.op == kMon ? from.AddMon(c.n)
                                        : from.AddPeriod(c.n);
        EXPECT_EQ(r.GetTime(), c.expected) << from.DatTimStr() << " op " << c.op << " " << c.n;
    }
}

TEST_F(DBTimeTest, ComparisonTableIncludingNullOperands) {
    const DBTime null, early(1, 1, 2026), late(2, 1, 2026);
    // Columns: null/null, null/set, set/null, early/late, late/early, early/early.
    const std::pair<DBTime, DBTime> pairs[] = {{null, null},  {null, early}, {early, null},
                                               {early, late}, {late, early}, {early, early}};
    const char* expected[] = {"010111", "001111", "110000", "001101", "110001", "010110"};
    for (int col = 0; col < 6; ++col) {
        const DBTime &l = pairs[col].first, &r = pairs[col].second;
        std::string got;
        for (const bool b : {l > r, l >= r, l < r, l <= r, l == r, l != r}) got += b ? '1' : '0';
        EXPECT_EQ(got, expected[col]) << "column " << col;
    }
    DBTime base(2026, 3, 5, 9, 7, 3);
    for (auto c : {std::make_pair(DBTime(2026, 3, 5, 9, 7, 3), 0),
                   std::make_pair(DBTime(2026, 3, 5, 9, 7, 4), -1),
                   std::make_pair(DBTime(2026, 2, 28, 23, 0, 0), 1), std::make_pair(DBTime(), 1)}) {
        EXPECT_EQ(base.FullCompare(c.first), c.second) << c.first.DatTimStr();
        EXPECT_EQ(c.first.FullCompare(base), -c.second) << c.first.DatTimStr();
    }
}

TEST_F(DBTimeTest, TextFormsAndNullTexts) {
    auto all = [](const DBTime& t) {
        return std::wstring(t.DatString()) + L"|" + std::wstring(t.DatODBCString()) + L"|" +
               std::wstring(t.DatShortString()) + L"|" + std::wstring(t.DatShort2String()) + L"|" +
               std::wstring(t.TimShortString()) + L"|" + std::wstring(t.DatTimString()) + L"|" +
               DBString(t.DatTimStr() + "|" + t.DatTimForLog()).c_str();
    };
    EXPECT_EQ(all(DBTime(2026, 3, 5, 9, 7, 3)),
              L"05 марта 2026 г.|{ts '2026-03-05 09:07:03'}|05.03.2026|05.03.26|09:07:03|"
              L"05.03.2026 09:07:03 |05.03.2026 09:07:03 |05.03.2026 09:07.03");
    EXPECT_EQ(all(DBTime()),
              L"не задана|{ts '1900-01-01 00:00:00'}|00.00.0000|00.00.00|00:00:00|"
              L"00.00.0000 00:00:00 |00.00.0000 00:00:00 |00.00.0000 00:00.00");
    EXPECT_EQ(std::wstring(DBTime(2100, 12, 31, 23, 59, 58).DatShort2String()) +
                  std::wstring(DBTime(4, 12, 2026).DatString()),
              L"31.12.0004 декабря 2026 г.");
}

// The type's calendar counts 2100 ... 9900 as leap; the fraction rounds to the nearest second.
TEST_F(DBTimeTest, OleDateBothWays) {
    const DBTime noon(2000, 1, 1, 12, 0, 0);
    // shift adds minutes before converting and subtracts them after reading
    EXPECT_DOUBLE_EQ(noon.ToDATE(true, -720), 36526.0);
    EXPECT_EQ(DBTime(36526.5, true, 60).GetTime(), noon.GetTime() - 3600);
    const std::pair<time_t, double> cases[] = {
        {noon.GetTime(), 36526.5},
        {Msk(2028, 2, 29, 18), 46812.75},
        {Msk(2026, 3, 5, 9, 7, 3), 46086.0 + 32823.0 / 86400},
        {Msk(2100, 3, 1), 73111.0},
        {Msk(2101, 1, 1), 73417.0},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(DBTime(c.first).ToDATE(false, 0), c.second) << c.second;
        EXPECT_EQ(DBTime(c.second, false, 0).GetTime(), c.first);
    }
    EXPECT_EQ(DBTime(73110.5, false, 0).GetTime(), Msk(2100, 3, 1, 12));
    EXPECT_EQ(DBTime(46023.0 + 1.6 / 86400, false, 0).GetTime(), Msk(2026, 1, 1, 0, 0, 2));
    EXPECT_DOUBLE_EQ(DBTime().ToDATE(false, 0), 25569.125);  // null: 1970-01-01 03:00 local
    Zone("UTC");
    EXPECT_DOUBLE_EQ(DBTime(Utc(1900, 3, 1)).ToDATE(false, 0), 61.0);
    EXPECT_TRUE(DBTime(25569.5, true, 720).IsEmpty());  // shifted onto 1970-01-01 00:00:00
    for (double bad : {25569.0, 61.0, -1.5, std::nan(""), 1e300, 2958526.0})
        EXPECT_TRUE(DBTime(bad, false, 0).IsEmpty()) << bad;
    const time_t last = Utc(9999, 12, 31);  // 2958465 in the common calendar, plus 60
    EXPECT_DOUBLE_EQ(DBTime(last).ToDATE(false, 0), 2958525.0);
    EXPECT_EQ(DBTime(2958525.0, false, 0).GetTime(), last);
    EXPECT_DOUBLE_EQ(DBTime(last).ToDATE(true, 1440), 0.0);  // year 10000
}

TEST_F(DBTimeTest, CurrentDateAndLastWorkingDay) {
    const DBTime now = DBTime::CurDateTime(), today = DBTime::CurDate();
    EXPECT_NEAR(static_cast<double>(now.GetTime()), static_cast<double>(time(nullptr)), 5);
    EXPECT_EQ(today.Hour() + today.Min() + today.Sec(), 0);
    EXPECT_GT(today.GetTime() + 86400, now.GetTime());
    const DBTime last = DBTime::LastOperDay();
    EXPECT_TRUE(last.testJob());
    const time_t gap = today.GetTime() - last.GetTime();
    ASSERT_EQ(gap % 86400, 0);
    EXPECT_LE(gap / 86400, 3);  // Monday goes back to Friday
    for (time_t d = last.GetTime() + 86400; d < today.GetTime(); d += 86400)
        EXPECT_FALSE(DBTime(d).testJob());
}

// Bias: minutes to add to local time, with the POSIX sign in "Etc/GMT+5". Wall-clock fields in a
// zone with summer time: the skipped hour reads as 03:30 CEST, the repeated one as its CET one.
TEST_F(DBTimeTest, BiasAndSummerTimeZones) {
    EXPECT_EQ(DBTime::Bias(), -180);
    for (const auto& c : {std::make_pair("UTC", 0), std::make_pair("Etc/GMT+5", 300)}) {
        Zone(c.first);
        EXPECT_EQ(DBTime::Bias(), c.second) << c.first;
    }
    Zone("Europe/Berlin");
    EXPECT_EQ(DBTime(2026, 7, 1, 0, 0, 0).GetTime(), Utc(2026, 6, 30, 22));
    EXPECT_EQ(DBTime(2026, 3, 29, 2, 30, 0).GetTime(), Utc(2026, 3, 29, 1, 30));
    EXPECT_EQ(DBTime(2026, 10, 25, 2, 30, 0).GetTime(), Utc(2026, 10, 25, 1, 30));
    EXPECT_EQ(DBTime(2026, 3, 29, 5, 10, 0).AddHour(-3).GetTime(), Utc(2026, 3, 29, 1));
    EXPECT_EQ(DBTime(46204.5, false, 0).GetTime(), Utc(2026, 7, 1, 10));
}

}  // namespace
