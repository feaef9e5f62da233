#pragma once
// Calendar maths for file times and the program's date-time values. Pure arithmetic in the
// proleptic Gregorian calendar: no time zone, no system calls.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>

namespace pw {

struct CalendarTime {
  int Year = 0, Month = 0, Day = 0, DayOfWeek = 0, Hour = 0, Minute = 0, Second = 0,
      Millisecond = 0;  // DayOfWeek 0 = Sunday
};

// 100-nanosecond intervals per millisecond and per day.
inline constexpr std::uint64_t FileTimeTicksPerMs = 10000;
inline constexpr std::int64_t MsPerDay = 86400000;
inline constexpr std::uint64_t kTicksPerSecond = 10'000'000;
inline constexpr std::uint64_t kTicksPerDay = 86'400 * kTicksPerSecond;

// The latest file time the platform takes: 30828-09-14 02:48:05.4775807 UTC.
inline constexpr std::uint64_t kLastFileTime = 0x7FFF'FFFF'FFFF'FFFFull;

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);  // 0 for a month outside 1..12

// True when every field (DayOfWeek aside) names a real moment between 1601 and 30827, the range
// a file time can express.
bool IsValidCalendar(const CalendarTime& t);

// UTC file time (100 ns units since 1601-01-01) <-> calendar fields. Sub-millisecond ticks are
// dropped when splitting, as the platform does.
bool FileTimeToCalendar(std::uint64_t fileTime, CalendarTime& out);  // false past year 30827
bool CalendarToFileTime(const CalendarTime& t, std::uint64_t& out);  // false for invalid fields

// A day counted from 1601-01-01 and its civil date, both ways, in any year without a range check:
// the last file times lie in 30828, past what CalendarTime takes.
struct CivilDate {
  std::int64_t Year = 0;
  int Month = 0, Day = 0;
};
CivilDate CivilDateOfDay(std::int64_t daysSince1601);
std::int64_t DayOfCivilDate(const CivilDate& date);

// The program's date-time: days since 30 Dec 1899, time of day as fraction; for negative values
// the fraction counts away from zero (-1.25 = 29 Dec 1899 06:00). Conversions round to the
// millisecond.
double CalendarToDateTime(const CalendarTime& t);
bool DateTimeToCalendar(double dateTime, CalendarTime& out);  // fills DayOfWeek too; false when
                                                              // not finite or outside 1..30827

// A date-time split into its day number and its time of day rounded to the millisecond. A time
// that rounds up to 24:00 becomes midnight of the following day. Values that are not finite give
// day 0 at midnight.
struct DateTimeSplit {
  double days = 0;  // a whole number; the calendar day index
  int msOfDay = 0;  // 0 .. 86'399'999
};
DateTimeSplit SplitDateTime(double dateTime);
// The inverse: the day's number with the time of day added, or subtracted for days before
// 30 December 1899.
double JoinDateTime(double days, int msOfDay);

struct TimeOfDay {
  int hour = 0, minute = 0, second = 0, millisecond = 0;
  friend bool operator==(const TimeOfDay&, const TimeOfDay&) = default;
};
TimeOfDay TimeOfDayFromMilliseconds(int msOfDay);
int TimeOfDayMilliseconds(const TimeOfDay& t);

// How a local wall-clock time falls in a zone: once, twice (the hour repeated when the clocks go
// back), never (the hour skipped when they go forward), or not at all because no bias fits.
enum class LocalTimeFit : std::uint8_t { Once, Repeated, Skipped, Unresolved };

struct LocalTimeResolution {
  LocalTimeFit Fit = LocalTimeFit::Unresolved;
  // Once or Repeated: the (earlier) instant. Skipped: the moment the clock, still on the offset in
  // force before the change, would have shown the time. Unresolved: 0.
  std::uint64_t Utc = 0;
};

// The UTC instant of a local wall-clock time. `biases` are the offsets the zone uses in that
// year, in minutes to add to local time to get UTC (standard and daylight); `toLocal` is the
// zone's own UTC to local conversion.
LocalTimeResolution ClassifyLocalTime(
    std::uint64_t local, std::span<const std::int32_t> biases,
    const std::function<std::optional<std::uint64_t>(std::uint64_t utc)>& toLocal);

// The same, for callers that always want an instant: a local time that occurs twice is the
// earlier instant; one that never occurs is read as the clock showed it before the change, so
// 02:30 on a spring-forward night at 02:00 is the moment the clock then jumped past, shown as
// 03:30. Nothing when no bias fits.
std::optional<std::uint64_t> ResolveLocalTime(
    std::uint64_t local, std::span<const std::int32_t> biases,
    const std::function<std::optional<std::uint64_t>(std::uint64_t utc)>& toLocal);

}  // namespace pw
