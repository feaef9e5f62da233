#pragma once
// Calendar maths for file times and the program's date-time values. Pure arithmetic in the
// proleptic Gregorian calendar: no time zone, no system calls.

#include <cstdint>

namespace pw {

struct CalendarTime {
  int Year = 0, Month = 0, Day = 0, DayOfWeek = 0, Hour = 0, Minute = 0, Second = 0,
      Millisecond = 0;  // DayOfWeek 0 = Sunday
};

// 100-nanosecond intervals per millisecond and per day.
inline constexpr std::uint64_t FileTimeTicksPerMs = 10000;
inline constexpr std::int64_t MsPerDay = 86400000;

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);  // 0 for a month outside 1..12

// True when every field (DayOfWeek aside) names a real moment between 1601 and 30827, the range
// a file time can express.
bool IsValidCalendar(const CalendarTime& t);

// UTC file time (100 ns units since 1601-01-01) <-> calendar fields. Sub-millisecond ticks are
// dropped when splitting, as the platform does.
bool FileTimeToCalendar(std::uint64_t fileTime, CalendarTime& out);  // false past year 30827
bool CalendarToFileTime(const CalendarTime& t, std::uint64_t& out);  // false for invalid fields

// The program's date-time: days since 30 Dec 1899, time of day as fraction; for negative values
// the fraction counts away from zero (-1.25 = 29 Dec 1899 06:00). Conversions round to the
// millisecond.
double CalendarToDateTime(const CalendarTime& t);
bool DateTimeToCalendar(double dateTime, CalendarTime& out);  // fills DayOfWeek too; false when
                                                              // not finite or outside 1..30827

}  // namespace pw
