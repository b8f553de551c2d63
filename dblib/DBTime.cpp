#include "dblib/DBTime.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

// Summer time. Calendar fields go to mktime with the daylight-saving flag cleared. In a zone
// with summer time that alone reads a summer wall-clock time as standard time, one hour late
// (12:00 would read back as 13:00), so when the result lands in summer time the fields are
// converted again with the flag set, and that value is kept when it is in summer time too.
// - Zones without summer time (UTC, Europe/Moscow since 2014) never take the second step: there
//   the result is exactly mktime with the flag cleared.
// - The hour skipped in spring keeps the first conversion (02:30 becomes 03:30); the hour
//   repeated in autumn resolves to its standard-time, later, instance.
// - CurDate and LastOperDay build midnight the same way instead of reusing the flag of now, so
//   that on a changeover day midnight stays on its date.
// - Bias() stays as defined: in summer it gives the zone's standard bias.

namespace {

constexpr int64_t kSecondsPerDay = 86400;

const wchar_t* const kMonthGenitive[12] = {
    L"января", L"февраля", L"марта",    L"апреля",  L"мая",    L"июня",
    L"июля",   L"августа", L"сентября", L"октября", L"ноября", L"декабря",
};

const int kMonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// The type's own leap rule: every fourth year, except year 0 and 1900 (so 2100 is a leap year).
bool IsLeap(int64_t year) { return year % 4 == 0 && year != 0 && year != 1900; }

int YearDays(int64_t year) { return IsLeap(year) ? 366 : 365; }

struct tm LocalFields(time_t t) {
    struct tm tm {};
    if (!localtime_r(&t, &tm)) {
        // Out of the platform's range: fields of the epoch rather than garbage.
        const time_t zero = 0;
        localtime_r(&zero, &tm);
    }
    return tm;
}

// Local wall-clock fields (month 1-12) to seconds; mktime normalises out-of-range fields.
// A result before 1970, or fields mktime cannot represent, give 0 (null).
time_t FromFields(
    int64_t year, int64_t month, int64_t day, int64_t hour, int64_t minute, int64_t second) {
    constexpr int64_t kMin = std::numeric_limits<int>::min();
    constexpr int64_t kMax = std::numeric_limits<int>::max();
    const int64_t fields[] = {year - 1900, month - 1, day, hour, minute, second};
    for (int64_t f : fields) {
        if (f < kMin || f > kMax) return 0;
    }
    struct tm tm {};
    tm.tm_year = static_cast<int>(year - 1900);
    tm.tm_mon = static_cast<int>(month - 1);
    tm.tm_mday = static_cast<int>(day);
    tm.tm_hour = static_cast<int>(hour);
    tm.tm_min = static_cast<int>(minute);
    tm.tm_sec = static_cast<int>(second);
    tm.tm_isdst = 0;
    struct tm summer = tm;
    time_t t = mktime(&tm);
    if (t != static_cast<time_t>(-1) && tm.tm_isdst > 0) {
        summer.tm_isdst = 1;
        const time_t t2 = mktime(&summer);
        if (t2 != static_cast<time_t>(-1) && summer.tm_isdst > 0) t = t2;
    }
    return t < 0 ? 0 : t;
}

// Days from 1900-01-01 (day 0) to the given date, by the type's month table and leap rule.
// Full years in closed form, so that far-off years cost no loop.
int64_t DaysSince1900(int year, int month, int day) {
    int64_t days = 0;
    if (year > 1900) {
        const int64_t leapYears = (int64_t{year} - 1) / 4 - 1899 / 4 - 1;  // 1900 not leap
        days = (int64_t{year} - 1900) * 365 + leapYears;
    }
    for (int m = 1; m < month; ++m) days += DBTime::MonDay(m, year);
    return days + day - 1;
}

}  // namespace

DBTime::DBTime(int year, int month, int day, int hour, int minute, int second)
    : m_time(FromFields(year, month, day, hour, minute, second)) {}

DBTime::DBTime(int day, int month, int year) : m_time(FromFields(year, month, day, 0, 0, 0)) {}

DBTime::DBTime(double date, bool shift, int minutes) {
    // Day numbers from 10000-01-01 on (by this type's calendar) are where ToDATE gives 0.0 too;
    // NaN fails the first test.
    static const double kYear10000 = static_cast<double>(2 + DaysSince1900(10000, 1, 1));
    if (!(date >= 0.0) || date >= kYear10000) return;
    double whole = 0.0;
    const double fraction = std::modf(date, &whole);
    int64_t days = static_cast<int64_t>(whole) - 2;
    if (days < 0) return;  // before 1900-01-01: long before 1970
    int year = 1900;
    while (days >= YearDays(year)) days -= YearDays(year++);
    int month = 1;
    while (days >= MonDay(month, year)) days -= MonDay(month++, year);
    const int64_t secs = static_cast<int64_t>(fraction * 86400.0 + 0.5);
    const time_t t = FromFields(year, month, days + 1, secs / 3600, secs / 60 % 60, secs % 60);
    if (t <= 0) return;
    m_time = shift ? t - static_cast<time_t>(minutes) * 60 : t;
}

DBTime DBTime::CurDateTime() { return DBTime(time(nullptr)); }

DBTime DBTime::CurDate() {
    const struct tm now = LocalFields(time(nullptr));
    return DBTime(FromFields(now.tm_year + int64_t{1900}, now.tm_mon + 1, now.tm_mday, 0, 0, 0));
}

DBTime DBTime::LastOperDay() {
    // Steps by calendar day, so that a 23- or 25-hour day cannot skip or repeat a date.
    const struct tm now = LocalFields(time(nullptr));
    for (int back = 1;; ++back) {
        const DBTime day(FromFields(now.tm_year + int64_t{1900}, now.tm_mon + 1,
                                    int64_t{now.tm_mday} - back, 0, 0, 0));
        if (day.testJob() || day.IsEmpty()) return day;
    }
}

int DBTime::Day() const { return LocalFields(m_time).tm_mday; }
int DBTime::Mon() const { return LocalFields(m_time).tm_mon + 1; }
int DBTime::Year() const { return LocalFields(m_time).tm_year + 1900; }
int DBTime::Year1() const { return Year() % 10; }
int DBTime::Year2() const { return Year() % 100; }
int DBTime::Hour() const { return LocalFields(m_time).tm_hour; }
int DBTime::Min() const { return LocalFields(m_time).tm_min; }
int DBTime::Sec() const { return LocalFields(m_time).tm_sec; }

int DBTime::DayWeek() const {
    const int wday = LocalFields(m_time).tm_wday;
    return wday == 0 ? 7 : wday;
}

int DBTime::GetDayOfWeek() const { return LocalFields(m_time).tm_wday + 1; }

bool DBTime::testJob() const {
    const int wday = LocalFields(m_time).tm_wday;
    return wday >= 1 && wday <= 5;
}

int DBTime::TotDay() const {
    if (IsEmpty()) return 0;
    const struct tm tm = LocalFields(m_time);
    return static_cast<int>(DaysSince1900(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday));
}

int DBTime::MonDay(int month, int year) {
    if (month < 1 || month > 12) return 0;
    return month == 2 && IsLeap(year) ? 29 : kMonthDays[month - 1];
}

int DBTime::Bias() {
    const time_t now = time(nullptr);
    struct tm utc {};
    struct tm local {};
    gmtime_r(&now, &utc);
    localtime_r(&now, &local);
    return static_cast<int>((mktime(&utc) - mktime(&local)) / 60);
}

int DBTime::TotlMon(DBTime later, DBTime earlier) {
    if (later.IsEmpty()) return 0;  // whether or not earlier is set
    if (!earlier.IsEmpty() && later.m_time < earlier.m_time) return 0;
    const struct tm l = LocalFields(later.m_time);
    const struct tm e = LocalFields(earlier.m_time);
    int months = (l.tm_year - e.tm_year) * 12 + (l.tm_mon - e.tm_mon);
    if (l.tm_mday > e.tm_mday) ++months;  // a started month counts as a whole one
    return months;
}

// The day count is meant to fit in int (days * 86400 as a 32-bit product); it is widened here
// so that a larger count shifts by what it says instead of overflowing.
DBTime DBTime::operator+(int days) const { return DBTime(m_time + days * kSecondsPerDay); }
DBTime DBTime::operator-(int days) const { return DBTime(m_time - days * kSecondsPerDay); }
DBTime DBTime::operator+(DBTimeSpan span) const { return DBTime(m_time + span.m_span); }
DBTime DBTime::operator-(DBTimeSpan span) const { return DBTime(m_time - span.m_span); }

DBTime& DBTime::operator+=(DBTimeSpan span) {
    m_time += span.m_span;
    return *this;
}

DBTime& DBTime::operator-=(DBTimeSpan span) {
    m_time -= span.m_span;
    return *this;
}

DBTimeSpan DBTime::operator-(DBTime other) const { return DBTimeSpan(m_time - other.m_time); }

DBTime DBTime::AddHour(int hours) const {
    const struct tm tm = LocalFields(m_time);
    int64_t hour = int64_t{tm.tm_hour} + hours;
    int64_t days = hour / 24;
    hour %= 24;
    if (hour < 0) {  // carry downwards too, so the hour stays 0-23
        hour += 24;
        --days;
    }
    const struct tm shifted = LocalFields(static_cast<time_t>(m_time + days * kSecondsPerDay));
    return DBTime(FromFields(shifted.tm_year + int64_t{1900}, shifted.tm_mon + 1, shifted.tm_mday,
                             hour, 0, 0));
}

namespace {
// Steps (year, month 1-12) by months, carrying into the year; same as stepping one at a time.
void StepMonths(int64_t& year, int64_t& month, int months) {
    int64_t index = year * 12 + (month - 1) + months;
    int64_t rem = index % 12;
    if (rem < 0) rem += 12;
    year = (index - rem) / 12;
    month = rem + 1;
}
}  // namespace

DBTime DBTime::AddMon(int months) const {
    const struct tm tm = LocalFields(m_time);
    int64_t year = tm.tm_year + int64_t{1900};
    int64_t month = tm.tm_mon + 1;
    StepMonths(year, month, months);
    return DBTime(FromFields(year, month, 1, 0, 0, 0));
}

DBTime DBTime::AddPeriod(int months) const {
    const struct tm tm = LocalFields(m_time);
    int64_t year = tm.tm_year + int64_t{1900};
    int64_t month = tm.tm_mon + 1;
    int64_t day = tm.tm_mday;
    if (day == 31) {
        day = 1;
        StepMonths(year, month, 1);
    }
    StepMonths(year, month, months);
    // Divisibility by 4 alone here: 29 February 2100 survives this step (mktime then moves it).
    if (month == 2 && (day == 30 || (day == 29 && year % 4 != 0))) {
        month = 3;
        day = 1;
    }
    return DBTime(FromFields(year, month, day, 0, 0, 0));
}

int DBTime::FullCompare(DBTime& other) const {
    const struct tm a = LocalFields(m_time);
    const struct tm b = LocalFields(other.m_time);
    const int left[] = {a.tm_year, a.tm_mon, a.tm_mday, a.tm_hour, a.tm_min, a.tm_sec};
    const int right[] = {b.tm_year, b.tm_mon, b.tm_mday, b.tm_hour, b.tm_min, b.tm_sec};
    for (int i = 0; i < 6; ++i) {
        if (left[i] != right[i]) return left[i] > right[i] ? 1 : -1;
    }
    return 0;
}

double DBTime::ToDATE(bool shift, int minutes) const {
    time_t t = m_time;
    if (shift) t += static_cast<time_t>(minutes) * 60;
    const struct tm tm = LocalFields(t);
    const int year = tm.tm_year + 1900;
    if (year >= 10000) return 0.0;
    const int64_t day = 2 + DaysSince1900(year, tm.tm_mon + 1, tm.tm_mday);
    return static_cast<double>(day) + (tm.tm_hour * 3600 + tm.tm_min * 60 + tm.tm_sec) / 86400.0;
}

// The rules for null operands are listed at the operators in the header.
bool DBTime::operator==(const DBTime& other) const {
    if (IsEmpty()) return true;
    if (other.IsEmpty()) return false;
    return m_time == other.m_time;
}

bool DBTime::operator!=(const DBTime& other) const {
    if (IsEmpty()) return true;
    if (other.IsEmpty()) return false;
    return m_time != other.m_time;
}

bool DBTime::operator<(const DBTime& other) const {
    if (IsEmpty()) return !other.IsEmpty();
    if (other.IsEmpty()) return false;
    return m_time < other.m_time;
}

bool DBTime::operator<=(const DBTime& other) const {
    if (IsEmpty()) return true;
    if (other.IsEmpty()) return false;
    return m_time <= other.m_time;
}

bool DBTime::operator>(const DBTime& other) const {
    if (IsEmpty()) return false;
    if (other.IsEmpty()) return true;
    return m_time > other.m_time;
}

bool DBTime::operator>=(const DBTime& other) const {
    if (IsEmpty()) return other.IsEmpty();
    if (other.IsEmpty()) return true;
    return m_time >= other.m_time;
}

DBString DBTime::DatString() const {
    if (IsEmpty()) return DBString(L"не задана");
    const struct tm tm = LocalFields(m_time);
    DBString s;
    s.Format(L"%02d %ls %d г.", tm.tm_mday, kMonthGenitive[tm.tm_mon], tm.tm_year + 1900);
    return s;
}

DBString DBTime::DatODBCString() const {
    if (IsEmpty()) return DBString(L"{ts '1900-01-01 00:00:00'}");
    const struct tm tm = LocalFields(m_time);
    DBString s;
    s.Format(L"{ts '%04d-%02d-%02d %02d:%02d:%02d'}", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
             tm.tm_hour, tm.tm_min, tm.tm_sec);
    return s;
}

DBString DBTime::DatShortString() const {
    if (IsEmpty()) return DBString(L"00.00.0000");
    const struct tm tm = LocalFields(m_time);
    DBString s;
    s.Format(L"%02d.%02d.%04d", tm.tm_mday, tm.tm_mon + 1, tm.tm_year + 1900);
    return s;
}

DBString DBTime::DatShort2String() const {
    if (IsEmpty()) return DBString(L"00.00.00");
    const struct tm tm = LocalFields(m_time);
    DBString s;
    s.Format(L"%02d.%02d.%02d", tm.tm_mday, tm.tm_mon + 1, (tm.tm_year + 1900) % 100);
    return s;
}

DBString DBTime::TimShortString() const {
    if (IsEmpty()) return DBString(L"00:00:00");
    const struct tm tm = LocalFields(m_time);
    DBString s;
    s.Format(L"%02d:%02d:%02d", tm.tm_hour, tm.tm_min, tm.tm_sec);
    return s;
}

DBString DBTime::DatTimString() const {
    if (IsEmpty()) return DBString(L"00.00.0000 00:00:00 ");
    const struct tm tm = LocalFields(m_time);
    DBString s;
    s.Format(L"%02d.%02d.%04d %02d:%02d:%02d ", tm.tm_mday, tm.tm_mon + 1, tm.tm_year + 1900,
             tm.tm_hour, tm.tm_min, tm.tm_sec);
    return s;
}

namespace {
std::string NarrowFormat(const char* format, const struct tm& tm) {
    char buf[64];
    const int n = std::snprintf(buf, sizeof buf, format, tm.tm_mday, tm.tm_mon + 1,
                                tm.tm_year + 1900, tm.tm_hour, tm.tm_min, tm.tm_sec);
    return n < 0 ? std::string() : std::string(buf, std::min<size_t>(n, sizeof buf - 1));
}
}  // namespace

std::string DBTime::DatTimStr() const {
    if (IsEmpty()) return "00.00.0000 00:00:00 ";
    return NarrowFormat("%02d.%02d.%04d %02d:%02d:%02d ", LocalFields(m_time));
}

std::string DBTime::DatTimForLog() const {
    if (IsEmpty()) return "00.00.0000 00:00.00";
    return NarrowFormat("%02d.%02d.%04d %02d:%02d.%02d", LocalFields(m_time));
}
