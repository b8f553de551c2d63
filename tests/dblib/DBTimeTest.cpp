#include "dblib/DBTime.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

// Sets TZ for one test and puts the previous value back afterwards.
class ScopedTZ {
public:
    explicit ScopedTZ(const char* zone) : m_old(std::getenv("TZ") ? std::getenv("TZ") : "") {
        Set(zone);
    }
    ~ScopedTZ() { Set(m_old.empty() ? nullptr : m_old.c_str()); }

private:
    static void Set(const char* zone) {
        zone ? setenv("TZ", zone, 1) : unsetenv("TZ");
        tzset();
    }
    std::string m_old;
};

// Independent oracle: seconds since 1970 of a proleptic Gregorian UTC date-time
// (the days-from-civil reckoning with March-based years).
time_t Utc(int y, int m, int d, int hh = 0, int mi = 0, int ss = 0) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153LL * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const long long days = era * 146097 + doe - 719468;
    return static_cast<time_t>(days * 86400 + hh * 3600 + mi * 60 + ss);
}

// Moscow has been UTC+3 all year since 2014.
time_t Msk(int y, int m, int d, int hh = 0, int mi = 0, int ss = 0) {
    return Utc(y, m, d, hh, mi, ss) - 3 * 3600;
}

class DBTimeTest : public ::testing::Test {
protected:
    ScopedTZ m_tz{"Europe/Moscow"};
};

TEST_F(DBTimeTest, ConstructorsBuildLocalTimeAndNullBefore1970) {
    // Hand check of the oracle: 2026-12-04 is Unix day 20791 (OLE day 46360 - 25569).
    EXPECT_EQ(DBTime(4, 12, 2026).GetTime(), 20791LL * 86400 - 3 * 3600);
    EXPECT_EQ(DBTime(2026, 3, 5, 9, 7, 3).GetTime(), 1772690823);
    EXPECT_EQ(DBTime(29, 2, 2028).GetTime(), Msk(2028, 2, 29));
    // mktime normalisation: month 13, day 32, 30 February, 29 February 2100, 25:61:61
    EXPECT_EQ(DBTime(2026, 13, 1, 0, 0, 0).GetTime(), Msk(2027, 1, 1));
    EXPECT_EQ(DBTime(30, 2, 2028).GetTime(), Msk(2028, 3, 1));
    EXPECT_EQ(DBTime(29, 2, 2100).GetTime(), Msk(2100, 3, 1));
    EXPECT_EQ(DBTime(2026, 1, 1, 25, 61, 61).GetTime(), Msk(2026, 1, 2, 2, 2, 1));
    // Results before 1970 are null.
    EXPECT_TRUE(DBTime(1969, 12, 31, 23, 0, 0).IsEmpty());
    EXPECT_TRUE(DBTime(1, 1, 1970).IsEmpty());           // 1969-12-31 21:00 UTC
    EXPECT_TRUE(DBTime(1970, 1, 1, 3, 0, 0).IsEmpty());  // exactly 0
    EXPECT_EQ(DBTime(1970, 1, 1, 3, 0, 1).GetTime(), 1);
    EXPECT_TRUE(DBTime(INT_MIN, 1, 1, 0, 0, 0).IsEmpty());  // beyond what the fields can hold
}

TEST_F(DBTimeTest, FieldsAreLocal) {
    const DBTime t(2026, 3, 5, 9, 7, 3);
    // 21:30 UTC on 31 December is already 1 January in Moscow
    const DBTime late(Utc(2026, 12, 31, 21, 30, 0));
    EXPECT_EQ((std::vector<int>{t.Year1(), t.Year2(), t.Hour(), t.Min(), t.Sec(), late.Year(),
                                late.Mon(), late.Day(), DBTime(1, 1, 2100).Year2()}),
              (std::vector<int>{6, 26, 9, 7, 3, 2027, 1, 1, 0}));
    // 7 December 2026 is a Monday (1970-01-01 was a Thursday).
    for (int i = 0; i < 7; ++i) {
        SCOPED_TRACE(i);
        const DBTime d(2026, 12, 7 + i, 23, 59, 59);
        EXPECT_EQ(d.DayWeek(), i + 1);
        EXPECT_EQ(d.GetDayOfWeek(), (i + 1) % 7 + 1);
        EXPECT_EQ(d.testJob(), i < 5);
    }
}

TEST_F(DBTimeTest, MonthLengthsAndDayCountFollowTheTypesLeapRule) {
    const int cases[][3] = {
        {2, 1900, 28}, {2, 2000, 29}, {2, 2100, 29},  {2, 2026, 28}, {2, 0, 28},
        {4, 2026, 30}, {8, 2026, 31}, {12, 2026, 31}, {0, 2026, 0},  {13, 2026, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c[0]) + "/" + std::to_string(c[1]));
        EXPECT_EQ(DBTime::MonDay(c[0], c[1]), c[2]);
    }
    EXPECT_EQ(DBTime().TotDay(), 0);
    EXPECT_EQ(DBTime(1970, 1, 1, 12, 0, 0).TotDay(), 70 * 365 + 17);  // 1904-1968 leap
    EXPECT_EQ(DBTime(1, 3, 2028).TotDay(), 46811);
    // 2100 gets a 29 February the calendar does not have
    EXPECT_EQ(DBTime(1, 3, 2100).TotDay(), 73049 + 31 + 29);
    EXPECT_EQ(DBTime(1, 1, 2101).TotDay(), 201 * 365 + 50);
}

TEST_F(DBTimeTest, AddsDaysAndSpans) {
    const struct {
        time_t from;
        int days;
        time_t expected;
    } cases[] = {
        {Msk(2028, 2, 28), 1, Msk(2028, 2, 29)},
        {Msk(2026, 12, 31), 1, Msk(2027, 1, 1)},
        {Msk(2100, 3, 1), -1, Msk(2100, 2, 28)},
        {Msk(2026, 1, 1), 24855, Msk(2026, 1, 1) + 24855LL * 86400},  // largest 32-bit product
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.days);
        EXPECT_EQ((DBTime(c.from) + c.days).GetTime(), c.expected);
        EXPECT_EQ((DBTime(c.expected) - c.days).GetTime(), c.from);
    }
    DBTime t(2026, 3, 5, 9, 7, 3);
    const DBTimeSpan span(1, 2, 3, 4);
    EXPECT_EQ((t + span).GetTime(), Msk(2026, 3, 6, 11, 10, 7));
    EXPECT_EQ((t - span).GetTime(), Msk(2026, 3, 4, 7, 3, 59));
    t += span;
    t -= DBTimeSpan(2, 0, 0, 0);
    EXPECT_EQ(t.GetTime(), Msk(2026, 3, 4, 11, 10, 7));
}

TEST_F(DBTimeTest, AddHourAddMonAddPeriod) {
    enum { kHour, kMon, kPeriod };
    const struct {
        int op;
        time_t from;
        int n;
        time_t expected;
    } cases[] = {
        // AddHour: start of the reached hour, days carried both ways
        {kHour, Msk(2026, 3, 1, 1, 30, 10), -3, Msk(2026, 2, 28, 22)},
        {kHour, Msk(2026, 3, 1, 1, 30, 10), 0, Msk(2026, 3, 1, 1)},
        {kHour, Msk(2026, 3, 1, 1, 30, 10), -49, Msk(2026, 2, 27, 0)},
        {kHour, Msk(2026, 12, 31, 23, 59, 59), 1, Msk(2027, 1, 1, 0)},
        {kHour, Msk(2028, 2, 28, 22, 15), 48, Msk(2028, 3, 1, 22)},
        // AddMon: first of the reached month
        {kMon, Msk(2026, 1, 15, 10), -1, Msk(2025, 12, 1)},
        {kMon, Msk(2026, 12, 15), 1, Msk(2027, 1, 1)},
        {kMon, Msk(2026, 5, 20), 25, Msk(2028, 6, 1)},
        // AddPeriod: same day with the 31st and February rules
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
        SCOPED_TRACE(DBTime(c.from).DatTimStr() + std::to_string(c.op) + " " + std::to_string(c.n));
        const DBTime t(c.from);
        const DBTime r = c.op == kHour  ? t.AddHour(c.n)
                         : c.op == kMon ? t.AddMon(c.n)
                                        : t.AddPeriod(c.n);
        EXPECT_EQ(r.GetTime(), c.expected);
    }
}

TEST_F(DBTimeTest, TotlMonCountsStartedMonths) {
    const struct {
        DBTime later, earlier;
        int expected;
    } cases[] = {
        {DBTime(16, 2, 2026), DBTime(15, 1, 2026), 2},
        {DBTime(15, 1, 2026), DBTime(16, 2, 2026), 0},
        {DBTime(1, 1, 2027), DBTime(31, 12, 2026), 1},
        {DBTime(15, 2, 2028), DBTime(14, 2, 2026), 25},
        {DBTime(), DBTime(15, 1, 2026), 0},
        {DBTime(15, 3, 1971), DBTime(), 15},  // a null earlier reads as 1970-01-01 local
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.later.DatTimStr() + c.earlier.DatTimStr());
        EXPECT_EQ(DBTime::TotlMon(c.later, c.earlier), c.expected);
    }
}

TEST_F(DBTimeTest, ComparisonTableIncludingNullOperands) {
    const DBTime null, early(1, 1, 2026), late(2, 1, 2026);
    // Columns: null/null, null/set, set/null, early/late, late/early, early/early.
    const DBTime* pairs[6][2] = {{&null, &null},  {&null, &early}, {&early, &null},
                                 {&early, &late}, {&late, &early}, {&early, &early}};
    auto apply = [](const std::string& op, const DBTime& l, const DBTime& r) {
        if (op == ">") return l > r;
        if (op == ">=") return l >= r;
        if (op == "<") return l < r;
        if (op == "<=") return l <= r;
        if (op == "==") return l == r;
        return l != r;
    };
    const struct {
        const char* op;
        bool expected[6];
    } rows[] = {
        {">", {false, false, true, false, true, false}},
        {">=", {true, false, true, false, true, true}},
        {"<", {false, true, false, true, false, false}},
        {"<=", {true, true, false, true, false, true}},
        {"==", {true, true, false, false, false, true}},
        {"!=", {true, true, false, true, true, false}},
    };
    for (const auto& row : rows) {
        for (int col = 0; col < 6; ++col) {
            SCOPED_TRACE(std::string(row.op) + " column " + std::to_string(col));
            EXPECT_EQ(apply(row.op, *pairs[col][0], *pairs[col][1]), row.expected[col]);
        }
    }
    DBTime base(2026, 3, 5, 9, 7, 3);
    const struct {
        DBTime other;
        int expected;
    } full[] = {
        {DBTime(2026, 3, 5, 9, 7, 3), 0},
        {DBTime(2026, 3, 5, 9, 7, 4), -1},
        {DBTime(2026, 2, 28, 23, 0, 0), 1},
        {DBTime(), 1},
    };
    for (auto c : full) {
        SCOPED_TRACE(c.other.DatTimStr());
        EXPECT_EQ(base.FullCompare(c.other), c.expected);
        EXPECT_EQ(c.other.FullCompare(base), -c.expected);
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
    EXPECT_EQ(std::wstring(DBTime(2100, 12, 31, 23, 59, 58).DatShort2String()), L"31.12.00");
    EXPECT_EQ(std::wstring(DBTime(4, 12, 2026).DatString()) +
                  std::wstring(DBTime(1, 5, 2027).DatString()),
              L"04 декабря 2026 г.01 мая 2027 г.");
}

TEST_F(DBTimeTest, OleDateBothWays) {
    const DBTime noon(2000, 1, 1, 12, 0, 0);
    // shift adds minutes before converting and subtracts them after reading
    EXPECT_DOUBLE_EQ(noon.ToDATE(true, -720), 36526.0);
    EXPECT_EQ(DBTime(36526.5, true, 60).GetTime(), noon.GetTime() - 3600);
    const struct {
        time_t t;
        double date;
    } cases[] = {
        {noon.GetTime(), 36526.5},
        {Msk(2028, 2, 29, 18), 46812.75},
        {Msk(2026, 3, 5, 9, 7, 3), 46086.0 + 32823.0 / 86400},
        {Msk(2100, 3, 1), 73111.0},  // one past the common calendar: 2100 is leap here
        {Msk(2101, 1, 1), 73417.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(DBTime(c.t).DatTimStr());
        EXPECT_DOUBLE_EQ(DBTime(c.t).ToDATE(false, 0), c.date);
        EXPECT_EQ(DBTime(c.date, false, 0).GetTime(), c.t);
    }
    // The day the type's table adds to 2100 is normalised by the calendar.
    EXPECT_EQ(DBTime(73110.5, false, 0).GetTime(), Msk(2100, 3, 1, 12));
    // The fraction is rounded to the nearest second.
    EXPECT_EQ(DBTime(46023.0 + 1.6 / 86400, false, 0).GetTime(), Msk(2026, 1, 1, 0, 0, 2));
    EXPECT_DOUBLE_EQ(DBTime().ToDATE(false, 0), 25569.125);  // null: 1970-01-01 03:00 local
}

TEST_F(DBTimeTest, OleDateLimits) {
    ScopedTZ utc("UTC");
    EXPECT_DOUBLE_EQ(DBTime().ToDATE(false, 0), 25569.0);
    EXPECT_DOUBLE_EQ(DBTime(Utc(1900, 3, 1)).ToDATE(false, 0), 61.0);
    EXPECT_TRUE(DBTime(25569.0, false, 0).IsEmpty());   // exactly 1970-01-01 00:00:00 UTC
    EXPECT_TRUE(DBTime(25569.5, true, 720).IsEmpty());  // shifted onto 0
    for (double bad : {61.0, -1.5, std::nan(""), 1e300})
        EXPECT_TRUE(DBTime(bad, false, 0).IsEmpty());
    // 9999-12-31: 2958465 in the common calendar plus the 60 century years
    // (2100 ... 9900 not divisible by 400) this type counts as leap.
    const time_t last = Utc(9999, 12, 31);
    EXPECT_DOUBLE_EQ(DBTime(last).ToDATE(false, 0), 2958525.0);
    EXPECT_EQ(DBTime(2958525.0, false, 0).GetTime(), last);
    EXPECT_DOUBLE_EQ(DBTime(last).ToDATE(true, 1440), 0.0);  // year 10000
    EXPECT_TRUE(DBTime(2958526.0, false, 0).IsEmpty());
}

TEST_F(DBTimeTest, BiasIsMinutesToAddToLocalTime) {
    EXPECT_EQ(DBTime::Bias(), -180);
    const struct {
        const char* zone;
        int bias;
    } cases[] = {{"UTC", 0}, {"Asia/Kolkata", -330}, {"Etc/GMT+5", 300}};  // POSIX sign
    for (const auto& c : cases) {
        ScopedTZ tz(c.zone);
        EXPECT_EQ(DBTime::Bias(), c.bias) << c.zone;
    }
}

TEST_F(DBTimeTest, CurrentDateAndLastWorkingDay) {
    const DBTime now = DBTime::CurDateTime();
    const DBTime today = DBTime::CurDate();
    EXPECT_NEAR(static_cast<double>(now.GetTime()), static_cast<double>(time(nullptr)), 5);
    EXPECT_EQ(today.Hour() + today.Min() + today.Sec(), 0);
    EXPECT_GT(today.GetTime() + 86400, now.GetTime());

    const DBTime last = DBTime::LastOperDay();
    EXPECT_TRUE(last.testJob());
    const time_t gap = today.GetTime() - last.GetTime();
    ASSERT_EQ(gap % 86400, 0);
    EXPECT_LE(gap / 86400, 3);  // Monday goes back to Friday
    for (time_t d = last.GetTime() + 86400; d < today.GetTime(); d += 86400) {
        EXPECT_FALSE(DBTime(d).testJob());
    }
}

// Wall-clock fields survive a round trip in a zone with summer time.
TEST_F(DBTimeTest, SummerTimeZonesKeepWallClockFields) {
    ScopedTZ berlin("Europe/Berlin");
    EXPECT_EQ(DBTime(2026, 7, 1, 0, 0, 0).GetTime(), Utc(2026, 6, 30, 22));
    // skipped hour: read as 03:30 CEST; repeated hour: the CET instance
    EXPECT_EQ(DBTime(2026, 3, 29, 2, 30, 0).GetTime(), Utc(2026, 3, 29, 1, 30));
    EXPECT_EQ(DBTime(2026, 10, 25, 2, 30, 0).GetTime(), Utc(2026, 10, 25, 1, 30));
    EXPECT_EQ(DBTime(2026, 3, 29, 5, 10, 0).AddHour(-3).GetTime(), Utc(2026, 3, 29, 1));
    EXPECT_EQ(DBTime(46204.5, false, 0).GetTime(), Utc(2026, 7, 1, 10));
}

}  // namespace
