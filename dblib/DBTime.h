// Point in time with second resolution; calendar fields and texts in local time. 0 is null.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

#include "dblib/DBString.h"
#include "dblib/DBTimeSpan.h"

// A plain value: seconds since 1970-01-01 00:00:00 UTC. No operation throws. Fields are turned into
// a value with mktime, daylight saving cleared; a result before 1970 becomes null. Texts of a null
// value are fixed null texts instead of a formatted date.
class DBTime {
public:
    // Null.
    DBTime() = default;
    // The given second count as it is (0 is null).
    explicit DBTime(time_t seconds) : m_time(seconds) {}
    // Local time from fields (month 1-12; mktime normalises the rest); a result before 1970 is
    // null.
    DBTime(int year, int month, int day, int hour, int minute, int second);
    // Local midnight of that date (note the order day, month, year).
    DBTime(int day, int month, int year);
    // From an OLE Automation date (day 2 is 1900-01-01); a result at or before 1970 is null; with
    // shift, minutes*60 seconds are then subtracted from a set result.
    DBTime(double date, bool shift, int minutes);

    // Now.
    static DBTime CurDateTime();
    // Today at local midnight.
    static DBTime CurDate();
    // Local midnight of the last Monday-to-Friday day strictly before today.
    static DBTime LastOperDay();

    // Day of month 1-31.
    int Day() const;
    // Month 1-12.
    int Mon() const;
    // Full year.
    int Year() const;
    // Year modulo 10.
    int Year1() const;
    // Year modulo 100.
    int Year2() const;
    // Hour 0-23.
    int Hour() const;
    // Minute 0-59.
    int Min() const;
    // Second 0-59.
    int Sec() const;
    // 1 = Monday ... 7 = Sunday.
    int DayWeek() const;
    // 1 = Sunday ... 7 = Saturday.
    int GetDayOfWeek() const;
    // True from Monday to Friday.
    bool testJob() const;
    // Days since 1900-01-01 (day 0) of the local date; 0 for null.
    int TotDay() const;
    // True for null.
    bool IsEmpty() const { return m_time == 0; }
    // The second count.
    time_t GetTime() const { return m_time; }

    // Length of month 1-12 of that year; leap years are those divisible by 4 but 0 and 1900.
    static int MonDay(int month, int year);
    // Minutes to add to local time to get UTC (-180 three hours east of UTC).
    static int Bias();
    // Whole months from earlier to later, a started month counting as one; 0 when later is before
    // earlier or null while earlier is set.
    static int TotlMon(DBTime later, DBTime earlier);

    // Shifted by days * 86400 seconds, formed in int: days * 86400 must fit in an int.
    DBTime operator+(int days) const;
    // Shifted back by days * 86400 seconds, formed in int as operator+.
    DBTime operator-(int days) const;
    // Shifted by the span.
    DBTime operator+(DBTimeSpan span) const;
    // Shifted back by the span.
    DBTime operator-(DBTimeSpan span) const;
    // Shifts this value by the span.
    DBTime& operator+=(DBTimeSpan span);
    // Shifts this value back by the span.
    DBTime& operator-=(DBTimeSpan span);
    // Difference in seconds.
    DBTimeSpan operator-(DBTime other) const;

    // Start of the local hour that lies hours away.
    DBTime AddHour(int hours) const;
    // Local midnight of day 1 of the month months away.
    DBTime AddMon(int months) const;
    // Local midnight of the same day months away: day 31 first moves to day 1 of the next month; a
    // February day 30, or 29 in a year not divisible by 4, becomes March 1.
    DBTime AddPeriod(int months) const;
    // 1, 0 or -1 comparing local year, month, day, hour, minute and second in that order.
    int FullCompare(DBTime& other) const;
    // OLE Automation date (1899-12-30 is day 0); with shift, minutes*60 seconds are added first.
    // 0.0 from year 10000 on; null converts as 1970-01-01 local.
    double ToDATE(bool shift, int minutes) const;

    // The second counts compared, with null operands by these rules (left is *this):
    //
    //   operator | left null          | left set, right null | both set
    //   ---------+--------------------+----------------------+---------------
    //   >        | false              | true                 | left >  right
    //   >=       | true if right null | true                 | left >= right
    //   <        | true if right set  | false                | left <  right
    //   <=       | true               | false                | left <= right
    //   ==       | true               | false                | left == right
    //   !=       | true               | false                | left != right
    //
    // The order operators sort null first. == and != are both true for a null left operand:
    // callers rely on "null == t" to treat an unset time as matching (a lift state not yet known).
    bool operator==(const DBTime& other) const;
    // See operator== for null operands.
    bool operator!=(const DBTime& other) const;
    // See operator== for null operands.
    bool operator<(const DBTime& other) const;
    // See operator== for null operands.
    bool operator<=(const DBTime& other) const;
    // See operator== for null operands.
    bool operator>(const DBTime& other) const;
    // See operator== for null operands.
    bool operator>=(const DBTime& other) const;

    // "dd <month in the genitive> yyyy г."; null: "не задана".
    DBString DatString() const;
    // "{ts 'yyyy-mm-dd hh:mm:ss'}"; null: the same form of 1900-01-01 00:00:00.
    DBString DatODBCString() const;
    // "dd.mm.yyyy"; null: "00.00.0000".
    DBString DatShortString() const;
    // "dd.mm.yy"; null: "00.00.00".
    DBString DatShort2String() const;
    // "hh:mm:ss"; null: "00:00:00".
    DBString TimShortString() const;
    // "dd.mm.yyyy hh:mm:ss " (trailing blank); null: zeros in the same form. Log line stamp.
    DBString DatTimString() const;
    // The same, narrow.
    std::string DatTimStr() const;
    // "dd.mm.yyyy hh:mm.ss" (a point before the seconds, no trailing blank); null: zeros.
    std::string DatTimForLog() const;

    // Seconds since 1970-01-01 00:00:00 UTC; 0 is null.
    time_t m_time = 0;
};
