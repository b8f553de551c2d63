#include "dblib/DBTime.h"

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <string>

#include <gtest/gtest.h>

namespace {

// Sets TZ for one test and puts the previous value back afterwards.
class ScopedTZ {
public:
    explicit ScopedTZ(const char* zone) {
        const char* old = std::getenv("TZ");
        m_had = old != nullptr;
        if (m_had) m_old = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ScopedTZ() {
        if (m_had) {
            setenv("TZ", m_old.c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }
    ScopedTZ(const ScopedTZ&) = delete;
    ScopedTZ& operator=(const ScopedTZ&) = delete;

private:
    bool m_had = false;
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

TEST_F(DBTimeTest, OracleAgreesWithHandComputedInstants) {
    // 2026-12-04 is OLE day 46360, Unix day 20791.
    EXPECT_EQ(Utc(2026, 12, 4), 20791LL * 86400);
    EXPECT_EQ(Msk(2026, 3, 5, 9, 7, 3), 1772690823);
}

TEST_F(DBTimeTest, ConstructorsBuildLocalTime) {
    EXPECT_EQ(DBTime(4, 12, 2026).GetTime(), 1796331600);
    EXPECT_EQ(DBTime(2026, 3, 5, 9, 7, 3).GetTime(), Msk(2026, 3, 5, 9, 7, 3));
    EXPECT_EQ(DBTime(29, 2, 2028).GetTime(), Msk(2028, 2, 29));
    // mktime normalisation: month 13, day 32, 30 February, 29 February of a common year
    EXPECT_EQ(DBTime(2026, 13, 1, 0, 0, 0).GetTime(), Msk(2027, 1, 1));
    EXPECT_EQ(DBTime(2026, 1, 32, 0, 0, 0).GetTime(), Msk(2026, 2, 1));
    EXPECT_EQ(DBTime(30, 2, 2028).GetTime(), Msk(2028, 3, 1));
    EXPECT_EQ(DBTime(29, 2, 2100).GetTime(), Msk(2100, 3, 1));
    EXPECT_EQ(DBTime(2026, 1, 1, 25, 61, 61).GetTime(), Msk(2026, 1, 2, 2, 2, 1));
}

TEST_F(DBTimeTest, ResultsBefore1970AreNull) {
    const DBTime before(1969, 12, 31, 23, 0, 0);
    EXPECT_TRUE(before.IsEmpty());
    EXPECT_EQ(before.DatShortString(), L"00.00.0000");
    EXPECT_TRUE(DBTime(1, 1, 1970).IsEmpty());           // 1969-12-31 21:00 UTC
    EXPECT_TRUE(DBTime(1970, 1, 1, 3, 0, 0).IsEmpty());  // exactly 0
    EXPECT_EQ(DBTime(1970, 1, 1, 3, 0, 1).GetTime(), 1);
    EXPECT_TRUE(DBTime(1, 1, 1900).IsEmpty());
    EXPECT_TRUE(DBTime(-2147483647, 1, 1, 0, 0, 0).IsEmpty());
    {
        ScopedTZ utc("UTC");
        EXPECT_TRUE(DBTime(1, 1, 1970).IsEmpty());
        EXPECT_EQ(DBTime(1970, 1, 1, 0, 0, 1).GetTime(), 1);
    }
}

TEST_F(DBTimeTest, FieldsAreLocal) {
    const DBTime t(2026, 3, 5, 9, 7, 3);
    EXPECT_EQ(t.Day(), 5);
    EXPECT_EQ(t.Mon(), 3);
    EXPECT_EQ(t.Year(), 2026);
    EXPECT_EQ(t.Year1(), 6);
    EXPECT_EQ(t.Year2(), 26);
    EXPECT_EQ(t.Hour(), 9);
    EXPECT_EQ(t.Min(), 7);
    EXPECT_EQ(t.Sec(), 3);
    // 21:30 UTC is already the next day in Moscow
    const DBTime late(Utc(2026, 12, 31, 21, 30, 0));
    EXPECT_EQ(late.Day(), 1);
    EXPECT_EQ(late.Mon(), 1);
    EXPECT_EQ(late.Year(), 2027);
    EXPECT_EQ(late.Hour(), 0);
    EXPECT_EQ(late.Min(), 30);
    EXPECT_EQ(DBTime(1, 1, 2030).Year1(), 0);
    EXPECT_EQ(DBTime(1, 1, 2100).Year2(), 0);
}

TEST_F(DBTimeTest, WeekdaysCountFromMondayAndFromSunday) {
    // 1970-01-01 was a Thursday; 7-12 December 2026 is Monday to Saturday.
    const struct {
        int day, dayWeek, dayOfWeek;
        bool job;
    } cases[] = {
        {7, 1, 2, true},  {8, 2, 3, true},   {9, 3, 4, true},   {10, 4, 5, true},
        {11, 5, 6, true}, {12, 6, 7, false}, {13, 7, 1, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.day);
        const DBTime t(2026, 12, c.day, 23, 59, 59);
        EXPECT_EQ(t.DayWeek(), c.dayWeek);
        EXPECT_EQ(t.GetDayOfWeek(), c.dayOfWeek);
        EXPECT_EQ(t.testJob(), c.job);
    }
}

TEST_F(DBTimeTest, MonthLengthsFollowTheTypesLeapRule) {
    const struct {
        int month, year, days;
    } cases[] = {
        {2, 1900, 28},  {2, 2000, 29},  {2, 2100, 29},  // 2100 counts as leap here
        {2, 2028, 29},  {2, 2026, 28},  {2, 0, 28},    {2, 4, 29},    {1, 2026, 31},
        {4, 2026, 30},  {6, 2026, 30},  {7, 2026, 31}, {8, 2026, 31}, {9, 2026, 30},
        {11, 2026, 30}, {12, 2026, 31}, {0, 2026, 0},  {13, 2026, 0},  // outside 1-12: 0
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.month) + "/" + std::to_string(c.year));
        EXPECT_EQ(DBTime::MonDay(c.month, c.year), c.days);
    }
}

TEST_F(DBTimeTest, TotDayCountsFrom1900) {
    EXPECT_EQ(DBTime().TotDay(), 0);
    // 1970-01-01: 70 years with 17 leap years (1904-1968)
    EXPECT_EQ(DBTime(1970, 1, 1, 12, 0, 0).TotDay(), 70 * 365 + 17);
    EXPECT_EQ(DBTime(1, 1, 2000).TotDay(), 36524);
    EXPECT_EQ(DBTime(29, 2, 2028).TotDay(), 46810);
    EXPECT_EQ(DBTime(1, 3, 2028).TotDay(), 46811);
    // 2100 has 29 days in February by the type's table although the calendar skips that day
    EXPECT_EQ(DBTime(28, 2, 2100).TotDay(), 73049 + 31 + 27);
    EXPECT_EQ(DBTime(1, 3, 2100).TotDay(), 73049 + 31 + 29);
    EXPECT_EQ(DBTime(1, 1, 2101).TotDay(), 201 * 365 + 50);
}

TEST_F(DBTimeTest, AddsDaysAndSpans) {
    const struct {
        DBTime from;
        int days;
        time_t expected;
    } cases[] = {
        {DBTime(28, 2, 2028), 1, Msk(2028, 2, 29)},
        {DBTime(28, 2, 2028), 2, Msk(2028, 3, 1)},
        {DBTime(28, 2, 2026), 1, Msk(2026, 3, 1)},
        {DBTime(31, 12, 2026), 1, Msk(2027, 1, 1)},
        {DBTime(1, 3, 2100), -1, Msk(2100, 2, 28)},
        {DBTime(1, 1, 2027), -366, Msk(2025, 12, 31)},
        {DBTime(1, 1, 2026), 24855, Msk(2026, 1, 1) + 24855LL * 86400},  // largest 32-bit product
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.days);
        EXPECT_EQ((c.from + c.days).GetTime(), c.expected);
        EXPECT_EQ((c.from + c.days - c.days).GetTime(), c.from.GetTime());
    }
    EXPECT_EQ((DBTime(2, 3, 2028) - 2).GetTime(), Msk(2028, 2, 29));

    DBTime t(2026, 3, 5, 9, 7, 3);
    const DBTimeSpan span(1, 2, 3, 4);
    EXPECT_EQ((t + span).GetTime(), Msk(2026, 3, 6, 11, 10, 7));
    EXPECT_EQ((t - span).GetTime(), Msk(2026, 3, 4, 7, 3, 59));
    EXPECT_EQ((t + span - t).GetTotalSeconds(), 93784);
    EXPECT_EQ((t - (t + span)).GetTotalSeconds(), -93784);
    t += span;
    EXPECT_EQ(t.GetTime(), Msk(2026, 3, 6, 11, 10, 7));
    t -= DBTimeSpan(2, 0, 0, 0);
    EXPECT_EQ(t.GetTime(), Msk(2026, 3, 4, 11, 10, 7));
}

TEST_F(DBTimeTest, AddHourGivesStartOfTheReachedHour) {
    const struct {
        time_t from;
        int hours;
        time_t expected;
    } cases[] = {
        {Msk(2026, 3, 1, 1, 30, 10), -3, Msk(2026, 2, 28, 22)},
        {Msk(2026, 3, 1, 1, 30, 10), 0, Msk(2026, 3, 1, 1)},
        {Msk(2026, 3, 1, 1, 30, 10), -1, Msk(2026, 3, 1, 0)},
        {Msk(2026, 3, 1, 1, 30, 10), -2, Msk(2026, 2, 28, 23)},
        {Msk(2026, 3, 1, 1, 30, 10), -26, Msk(2026, 2, 27, 23)},
        {Msk(2026, 3, 1, 1, 30, 10), -49, Msk(2026, 2, 27, 0)},
        {Msk(2026, 12, 31, 23, 59, 59), 1, Msk(2027, 1, 1, 0)},
        {Msk(2028, 2, 28, 22, 15), 3, Msk(2028, 2, 29, 1)},
        {Msk(2028, 2, 28, 22, 15), 48, Msk(2028, 3, 1, 22)},
        {Msk(2028, 2, 28, 22, 15), 2, Msk(2028, 2, 29, 0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.from) + " " + std::to_string(c.hours));
        EXPECT_EQ(DBTime(c.from).AddHour(c.hours).GetTime(), c.expected);
    }
}

TEST_F(DBTimeTest, AddMonGivesFirstOfTheReachedMonth) {
    const struct {
        time_t from;
        int months;
        time_t expected;
    } cases[] = {
        {Msk(2026, 1, 15, 10), -1, Msk(2025, 12, 1)}, {Msk(2026, 1, 15, 10), 0, Msk(2026, 1, 1)},
        {Msk(2026, 12, 15), 1, Msk(2027, 1, 1)},      {Msk(2026, 1, 31), 1, Msk(2026, 2, 1)},
        {Msk(2026, 5, 20), 25, Msk(2028, 6, 1)},      {Msk(2026, 5, 20), -13, Msk(2025, 4, 1)},
        {Msk(2026, 5, 20), -24, Msk(2024, 5, 1)},     {Msk(2026, 12, 1), -12, Msk(2025, 12, 1)},
        {Msk(2026, 12, 1), -11, Msk(2026, 1, 1)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.months);
        EXPECT_EQ(DBTime(c.from).AddMon(c.months).GetTime(), c.expected);
    }
}

TEST_F(DBTimeTest, AddPeriodKeepsTheDayWithItsRules) {
    const struct {
        time_t from;
        int months;
        time_t expected;
    } cases[] = {
        {Msk(2026, 1, 30), 1, Msk(2026, 3, 1)},   // no 30 February
        {Msk(2026, 1, 31), 1, Msk(2026, 3, 1)},   // 31st moves to the 1st of the next month
        {Msk(2028, 1, 29), 1, Msk(2028, 2, 29)},  // leap year keeps the 29th
        {Msk(2026, 1, 29), 1, Msk(2026, 3, 1)},
        {Msk(2028, 1, 28, 15, 45), 1, Msk(2028, 2, 28)},  // time of day dropped
        {Msk(2026, 12, 31), 0, Msk(2027, 1, 1)},
        {Msk(2026, 12, 31), 1, Msk(2027, 2, 1)},
        {Msk(2026, 3, 30), -1, Msk(2026, 3, 1)},
        {Msk(2028, 3, 29), -1, Msk(2028, 2, 29)},
        {Msk(2026, 5, 31), -3, Msk(2026, 3, 1)},  // 1 June, then back to March
        {Msk(2026, 8, 31), 6, Msk(2027, 3, 1)},
        {Msk(2026, 11, 30), 3, Msk(2027, 3, 1)},
        {Msk(2026, 5, 15, 13, 45), 12, Msk(2027, 5, 15)},
        {Msk(2026, 5, 15), -17, Msk(2024, 12, 15)},
        // 2100 passes the divisible-by-4 test; the calendar then turns 29 February into 1 March
        {Msk(2100, 1, 29), 1, Msk(2100, 3, 1)},
        {Msk(2100, 1, 28), 1, Msk(2100, 2, 28)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(DBTime(c.from).DatTimStr() + std::to_string(c.months));
        EXPECT_EQ(DBTime(c.from).AddPeriod(c.months).GetTime(), c.expected);
    }
}

TEST_F(DBTimeTest, TotlMonCountsStartedMonths) {
    const struct {
        DBTime later, earlier;
        int expected;
    } cases[] = {
        {DBTime(16, 2, 2026), DBTime(15, 1, 2026), 2},
        {DBTime(15, 2, 2026), DBTime(15, 1, 2026), 1},
        {DBTime(15, 1, 2026), DBTime(16, 2, 2026), 0},
        {DBTime(15, 1, 2026), DBTime(15, 1, 2026), 0},
        {DBTime(1, 1, 2027), DBTime(31, 12, 2026), 1},
        {DBTime(15, 2, 2028), DBTime(14, 2, 2026), 25},
        {DBTime(2026, 2, 15, 23, 0, 0), DBTime(2026, 2, 15, 1, 0, 0), 0},
        {DBTime(), DBTime(15, 1, 2026), 0},
        {DBTime(), DBTime(), 0},
        // a null earlier reads as 1970-01-01 03:00 local
        {DBTime(15, 3, 1971), DBTime(), 15},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.later.DatTimStr() + c.earlier.DatTimStr());
        EXPECT_EQ(DBTime::TotlMon(c.later, c.earlier), c.expected);
    }
}

TEST_F(DBTimeTest, ComparisonTableIncludingNullOperands) {
    const DBTime null;
    const DBTime early(1, 1, 2026);
    const DBTime late(2, 1, 2026);
    enum { kGt, kGe, kLt, kLe, kEq, kNe };
    auto apply = [](int op, const DBTime& l, const DBTime& r) {
        switch (op) {
            case kGt:
                return l > r;
            case kGe:
                return l >= r;
            case kLt:
                return l < r;
            case kLe:
                return l <= r;
            case kEq:
                return l == r;
            default:
                return l != r;
        }
    };
    const char* names[] = {">", ">=", "<", "<=", "==", "!="};
    // Columns: null/null, null/set, set/null, early/late, late/early, early/early.
    const bool expected[6][6] = {
        /* >  */ {false, false, true, false, true, false},
        /* >= */ {true, false, true, false, true, true},
        /* <  */ {false, true, false, true, false, false},
        /* <= */ {true, true, false, true, false, true},
        /* == */ {true, true, false, false, false, true},
        /* != */ {true, true, false, true, true, false},
    };
    const DBTime* pairs[6][2] = {{&null, &null},  {&null, &early}, {&early, &null},
                                 {&early, &late}, {&late, &early}, {&early, &early}};
    for (int op = 0; op < 6; ++op) {
        for (int col = 0; col < 6; ++col) {
            SCOPED_TRACE(std::string(names[op]) + " column " + std::to_string(col));
            EXPECT_EQ(apply(op, *pairs[col][0], *pairs[col][1]), expected[op][col]);
        }
    }
    // A lift's state time is compared with == against 1990-01-01: null counts as that time.
    EXPECT_TRUE(null == DBTime(1990, 1, 1, 0, 0, 0));
}

TEST_F(DBTimeTest, FullCompareGoesFieldByField) {
    DBTime base(2026, 3, 5, 9, 7, 3);
    const struct {
        DBTime other;
        int expected;
    } cases[] = {
        {DBTime(2026, 3, 5, 9, 7, 3), 0},   {DBTime(2026, 3, 5, 9, 7, 4), -1},
        {DBTime(2026, 3, 5, 9, 7, 2), 1},   {DBTime(2026, 3, 5, 9, 8, 0), -1},
        {DBTime(2026, 3, 5, 8, 59, 59), 1}, {DBTime(2026, 3, 6, 0, 0, 0), -1},
        {DBTime(2026, 2, 28, 23, 0, 0), 1}, {DBTime(2025, 12, 31, 23, 0, 0), 1},
        {DBTime(2027, 1, 1, 0, 0, 0), -1},  {DBTime(), 1},
    };
    for (auto c : cases) {
        SCOPED_TRACE(c.other.DatTimStr());
        EXPECT_EQ(base.FullCompare(c.other), c.expected);
        EXPECT_EQ(c.other.FullCompare(base), -c.expected);
    }
}

TEST_F(DBTimeTest, TextForms) {
    const DBTime t(2026, 3, 5, 9, 7, 3);
    EXPECT_EQ(t.DatString(), L"05 марта 2026 г.");
    EXPECT_EQ(t.DatODBCString(), L"{ts '2026-03-05 09:07:03'}");
    EXPECT_EQ(t.DatShortString(), L"05.03.2026");
    EXPECT_EQ(t.DatShort2String(), L"05.03.26");
    EXPECT_EQ(t.TimShortString(), L"09:07:03");
    EXPECT_EQ(t.DatTimString(), L"05.03.2026 09:07:03 ");
    EXPECT_EQ(t.DatTimStr(), "05.03.2026 09:07:03 ");
    EXPECT_EQ(t.DatTimForLog(), "05.03.2026 09:07.03");
    EXPECT_EQ(DBTime(4, 12, 2026).DatString(), L"04 декабря 2026 г.");
    const DBTime evening(2100, 12, 31, 23, 59, 58);
    EXPECT_EQ(evening.DatShort2String(), L"31.12.00");
    EXPECT_EQ(evening.DatODBCString(), L"{ts '2100-12-31 23:59:58'}");
    EXPECT_EQ(evening.DatTimForLog(), "31.12.2100 23:59.58");
}

TEST_F(DBTimeTest, NullTexts) {
    const DBTime null;
    EXPECT_EQ(null.DatString(), L"не задана");
    EXPECT_EQ(null.DatODBCString(), L"{ts '1900-01-01 00:00:00'}");
    EXPECT_EQ(null.DatShortString(), L"00.00.0000");
    EXPECT_EQ(null.DatShort2String(), L"00.00.00");
    EXPECT_EQ(null.TimShortString(), L"00:00:00");
    EXPECT_EQ(null.DatTimString(), L"00.00.0000 00:00:00 ");
    EXPECT_EQ(null.DatTimStr(), "00.00.0000 00:00:00 ");
    EXPECT_EQ(null.DatTimForLog(), "00.00.0000 00:00.00");
}

TEST_F(DBTimeTest, MonthNamesInTheGenitive) {
    const wchar_t* names[] = {L"января",   L"февраля", L"марта",  L"апреля",
                              L"мая",      L"июня",    L"июля",   L"августа",
                              L"сентября", L"октября", L"ноября", L"декабря"};
    for (int m = 1; m <= 12; ++m) {
        SCOPED_TRACE(m);
        const std::wstring expected = std::wstring(L"01 ") + names[m - 1] + L" 2027 г.";
        EXPECT_EQ(std::wstring(DBTime(1, m, 2027).DatString()), expected);
    }
}

TEST_F(DBTimeTest, OleDateBothWays) {
    const DBTime noon(2000, 1, 1, 12, 0, 0);
    EXPECT_DOUBLE_EQ(noon.ToDATE(false, 0), 36526.5);
    EXPECT_EQ(DBTime(36526.5, false, 0).GetTime(), noon.GetTime());
    // shift adds minutes before converting and subtracts them after reading
    EXPECT_DOUBLE_EQ(noon.ToDATE(true, 60), 36526.5 + 1.0 / 24);
    EXPECT_DOUBLE_EQ(noon.ToDATE(true, -720), 36526.0);
    EXPECT_EQ(DBTime(36526.5, true, 60).GetTime(), noon.GetTime() - 3600);
    EXPECT_EQ(DBTime(36526.5, true, -60).GetTime(), noon.GetTime() + 3600);

    const struct {
        time_t t;
        double date;
    } cases[] = {
        {Msk(2026, 1, 1), 46023.0},
        {Msk(2026, 12, 4), 46360.0},
        {Msk(2028, 2, 29, 18), 46812.75},
        {Msk(2026, 3, 5, 9, 7, 3), 46086.0 + 32823.0 / 86400},
        {Msk(2100, 2, 28), 73109.0},
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
    EXPECT_EQ(DBTime(46023.0 + 1.4 / 86400, false, 0).GetTime(), Msk(2026, 1, 1, 0, 0, 1));
    EXPECT_EQ(DBTime(46023.0 + 1.6 / 86400, false, 0).GetTime(), Msk(2026, 1, 1, 0, 0, 2));
    // A null value converts as 1970-01-01 03:00 local.
    EXPECT_DOUBLE_EQ(DBTime().ToDATE(false, 0), 25569.125);
}

TEST_F(DBTimeTest, OleDateLimits) {
    ScopedTZ utc("UTC");
    EXPECT_DOUBLE_EQ(DBTime().ToDATE(false, 0), 25569.0);
    EXPECT_DOUBLE_EQ(DBTime(Utc(1900, 3, 1)).ToDATE(false, 0), 61.0);
    EXPECT_DOUBLE_EQ(DBTime(Utc(1900, 1, 1, 6)).ToDATE(false, 0), 2.25);
    EXPECT_TRUE(DBTime(25569.0, false, 0).IsEmpty());  // exactly 1970-01-01 00:00:00 UTC
    EXPECT_EQ(DBTime(25569.5, false, 0).GetTime(), 43200);
    EXPECT_TRUE(DBTime(61.0, false, 0).IsEmpty());
    EXPECT_TRUE(DBTime(0.0, false, 0).IsEmpty());
    EXPECT_TRUE(DBTime(-1.5, false, 0).IsEmpty());
    EXPECT_TRUE(DBTime(std::nan(""), false, 0).IsEmpty());
    EXPECT_TRUE(DBTime(1e300, false, 0).IsEmpty());
    EXPECT_TRUE(DBTime(25569.5, true, 720).IsEmpty());  // shifted onto 0
    // 9999-12-31: 2958465 in the common calendar plus the 60 century years
    // (2100 ... 9900 not divisible by 400) this type counts as leap.
    const time_t last = Utc(9999, 12, 31);
    EXPECT_DOUBLE_EQ(DBTime(last).ToDATE(false, 0), 2958525.0);
    EXPECT_EQ(DBTime(2958525.0, false, 0).GetTime(), last);
    EXPECT_DOUBLE_EQ(DBTime(Utc(10000, 1, 1)).ToDATE(false, 0), 0.0);
    EXPECT_DOUBLE_EQ(DBTime(last).ToDATE(true, 1440), 0.0);
    EXPECT_TRUE(DBTime(2958526.0, false, 0).IsEmpty());
}

TEST_F(DBTimeTest, BiasIsMinutesToAddToLocalTime) {
    EXPECT_EQ(DBTime::Bias(), -180);
    {
        ScopedTZ utc("UTC");
        EXPECT_EQ(DBTime::Bias(), 0);
    }
    {
        ScopedTZ india("Asia/Kolkata");
        EXPECT_EQ(DBTime::Bias(), -330);
    }
    {
        ScopedTZ west("Etc/GMT+5");  // POSIX sign: five hours west of UTC
        EXPECT_EQ(DBTime::Bias(), 300);
    }
}

TEST_F(DBTimeTest, CurrentDateAndLastWorkingDay) {
    const DBTime now = DBTime::CurDateTime();
    const DBTime today = DBTime::CurDate();
    const time_t wall = time(nullptr);
    EXPECT_LE(now.GetTime(), wall);
    EXPECT_GE(now.GetTime(), wall - 5);
    EXPECT_EQ(today.Hour(), 0);
    EXPECT_EQ(today.Min(), 0);
    EXPECT_EQ(today.Sec(), 0);
    EXPECT_LE(today.GetTime(), now.GetTime());
    EXPECT_GT(today.GetTime() + 86400, now.GetTime());

    const DBTime last = DBTime::LastOperDay();
    EXPECT_TRUE(last.testJob());
    EXPECT_EQ(last.Hour(), 0);
    const time_t gap = today.GetTime() - last.GetTime();
    ASSERT_EQ(gap % 86400, 0);
    EXPECT_GE(gap / 86400, 1);
    EXPECT_LE(gap / 86400, 3);  // Monday goes back to Friday
    for (time_t d = last.GetTime() + 86400; d < today.GetTime(); d += 86400) {
        EXPECT_FALSE(DBTime(d).testJob());
    }
}

// Wall-clock fields survive a round trip in a zone with summer time.
TEST_F(DBTimeTest, SummerTimeZonesKeepWallClockFields) {
    ScopedTZ berlin("Europe/Berlin");
    const struct {
        int y, m, d, hh, mi;
        time_t expected;
    } cases[] = {
        {2026, 1, 15, 12, 0, Utc(2026, 1, 15, 11)},       // CET
        {2026, 7, 1, 12, 0, Utc(2026, 7, 1, 10)},         // CEST
        {2026, 7, 1, 0, 0, Utc(2026, 6, 30, 22)},         // summer midnight stays on its date
        {2026, 3, 29, 2, 30, Utc(2026, 3, 29, 1, 30)},    // skipped hour: read as 03:30 CEST
        {2026, 10, 25, 2, 30, Utc(2026, 10, 25, 1, 30)},  // repeated hour: the CET instance
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.m) + "/" + std::to_string(c.d));
        EXPECT_EQ(DBTime(c.y, c.m, c.d, c.hh, c.mi, 0).GetTime(), c.expected);
    }
    EXPECT_EQ(DBTime(2026, 7, 1, 12, 0, 0).Hour(), 12);
    EXPECT_EQ(DBTime(1, 7, 2026).AddPeriod(1).Hour(), 0);
    EXPECT_EQ(DBTime(1, 7, 2026).AddMon(1).GetTime(), Utc(2026, 7, 31, 22));
    EXPECT_EQ(DBTime(2026, 3, 29, 5, 10, 0).AddHour(-3).GetTime(), Utc(2026, 3, 29, 1));
    EXPECT_EQ(DBTime(Utc(2026, 7, 1, 10)).ToDATE(false, 0), 46204.5);
    EXPECT_EQ(DBTime(46204.5, false, 0).GetTime(), Utc(2026, 7, 1, 10));
    // Moscow kept summer time until 2011.
    ScopedTZ moscow("Europe/Moscow");
    EXPECT_EQ(DBTime(2005, 7, 1, 12, 0, 0).GetTime(), Utc(2005, 7, 1, 8));
    EXPECT_EQ(DBTime(2005, 1, 1, 12, 0, 0).GetTime(), Utc(2005, 1, 1, 9));
}

}  // namespace
