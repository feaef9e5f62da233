#pragma once
// Local time as the Windows shell shows it: each stamp converted with the time-zone rules in force
// at its own date (summer stamps keep their summer offset in winter), both ways, and the user's
// date, time and number formats. The listing, the time edit and the editor all convert here.
#include <windows.h>

#include <cstdint>
#include <string>
#include <optional>
#include <vector>

#include "common/core/DateFormat.h"
#include "common/core/DateTime.h"

namespace pw {

class LocalTimeZone {
public:
  LocalTimeZone() { Refresh(); }
  // Reads the user's zone again; the rules of each year are then fetched once, when first needed.
  void Refresh();
  bool ToLocal(std::uint64_t utc, CalendarTime& local);
  // A local time repeated when the clocks go back is the earlier instant; one skipped when they go
  // forward is read as the clock showed it before the change.
  bool ToUtc(const CalendarTime& local, std::uint64_t& utc);
  // The offsets the zone uses around a year (minutes to add to local time to get UTC), and a UTC
  // file time as the zone's clock reads it, counted like a file time.
  std::vector<std::int32_t> BiasesAround(int year);
  std::optional<std::uint64_t> LocalTicks(std::uint64_t utc);

private:
  const TIME_ZONE_INFORMATION& ForYear(int year);

  DYNAMIC_TIME_ZONE_INFORMATION dynamic_{};
  TIME_ZONE_INFORMATION current_{};
  bool haveDynamic_ = false;
  struct YearRules {
    int Year;
    TIME_ZONE_INFORMATION Rules;
  };
  std::vector<YearRules> years_;
};

// The program's one view of the user's zone; each folder listing refreshes it.
LocalTimeZone& LocalZone();

// A value of the user's locale settings; the fallback when there is none.
std::wstring LocaleString(LCTYPE type, const wchar_t* fallback);
// The user's short date pattern, with the month and day names.
DateFormatter UserDateFormat();
// A UTC stamp as local time to the last digit: the short date, a blank, hh:mm:ss and the seven
// digits below the second ("12/7/2026 10:04:05.1234567").
std::wstring ExactStampText(std::uint64_t utc, const DateFormatter& date);
// The first character of the user's time separator (":" when there is none).
wchar_t UserTimeSeparator();

// A UTC file time as the program's local date-time; 0 for one that cannot be converted.
double FileTimeToLocalDateTime(std::uint64_t fileTime);
// A local date-time as a UTC file time, days before 30 December 1899 (values below zero)
// included; nothing for one that cannot be converted.
std::optional<std::uint64_t> LocalDateTimeToFileTime(double dateTime);
double NowLocalDateTime();

SYSTEMTIME ToSystemTime(const CalendarTime& t);
CalendarTime FromSystemTime(const SYSTEMTIME& st);

inline std::uint64_t ToUInt64(const FILETIME& ft) {
  return (static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}
inline FILETIME ToFileTime(std::uint64_t v) {
  return FILETIME{static_cast<DWORD>(v & 0xFFFFFFFFu), static_cast<DWORD>(v >> 32)};
}

}  // namespace pw
