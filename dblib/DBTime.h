// Point in time with second resolution; calendar fields and texts in local time. 0 is null.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

#include "dblib/DBString.h"
#include "dblib/DBTimeSpan.h"

class DBTime {
public:
    DBTime() = default;
    explicit DBTime(time_t seconds) : m_time(seconds) {}
    // Local time from fields (month 1-12); a result before 1970 is null.
    DBTime(int year, int month, int day, int hour, int minute, int second);
    // Local midnight of that date (note the order day, month, year).
    DBTime(int day, int month, int year);
    // From an OLE Automation date; with shift, minutes*60 seconds are subtracted from the result.
    DBTime(double date, bool shift, int minutes);

    static DBTime CurDateTime();
    static DBTime CurDate();
    static DBTime LastOperDay();

    int Day() const;
    int Mon() const;
    int Year() const;
    int Year1() const;
    int Year2() const;
    int Hour() const;
    int Min() const;
    int Sec() const;
    int DayWeek() const;       // 1 = Monday ... 7 = Sunday
    int GetDayOfWeek() const;  // 1 = Sunday ... 7 = Saturday
    bool testJob() const;      // Monday to Friday
    int TotDay() const;        // days since 1900-01-01; 0 for null
    bool IsEmpty() const { return m_time == 0; }
    time_t GetTime() const { return m_time; }

    static int MonDay(int month, int year);
    static int Bias();
    static int TotlMon(DBTime later, DBTime earlier);

    DBTime operator+(int days) const;
    DBTime operator-(int days) const;
    DBTime operator+(DBTimeSpan span) const;
    DBTime operator-(DBTimeSpan span) const;
    DBTime& operator+=(DBTimeSpan span);
    DBTime& operator-=(DBTimeSpan span);
    DBTimeSpan operator-(DBTime other) const;

    DBTime AddHour(int hours) const;
    DBTime AddMon(int months) const;
    DBTime AddPeriod(int months) const;
    int FullCompare(DBTime& other) const;
    double ToDATE(bool shift, int minutes) const;

    // Null operands follow their own rules: see the comparison table of the type's documentation
    // in the .cpp; null sorts before every set time.
    bool operator==(const DBTime& other) const;
    bool operator!=(const DBTime& other) const;
    bool operator<(const DBTime& other) const;
    bool operator<=(const DBTime& other) const;
    bool operator>(const DBTime& other) const;
    bool operator>=(const DBTime& other) const;

    DBString DatString() const;
    DBString DatODBCString() const;
    DBString DatShortString() const;
    DBString DatShort2String() const;
    DBString TimShortString() const;
    DBString DatTimString() const;  // "dd.mm.yyyy hh:mm:ss " (trailing blank)
    std::string DatTimStr() const;  // the same, narrow
    std::string DatTimForLog() const;

    time_t m_time = 0;
};
