#pragma once
// Local time as the Windows shell shows it: each stamp converted with the time-zone rules in force
// at its own date (summer stamps keep their summer offset in winter), and the user's date, time
// and number formats.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "browse/DateTime.h"
#include "browse/FileItem.h"
#include "browse/FileText.h"

namespace pw {

class LocalTimeZone {
public:
  LocalTimeZone() { Refresh(); }
  // Reads the user's zone again; the rules of each year are then fetched once, when first needed.
  void Refresh();
  bool ToLocal(std::uint64_t utc, CalendarTime& local);
  bool ToUtc(const CalendarTime& local, std::uint64_t& utc);

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

// The user's short date pattern, month and day names, thousands and time separators.
void LoadUserFormats(FileTextContext& ctx);

// Conversions between UTC file times and the program's local date-time values.
double FileTimeToLocalDateTime(const FILETIME& fileTime);
// A date-time of 0 or less gives the all-zero file time (meaning "leave this stamp alone").
void LocalDateTimeToFileTime(double dateTime, FILETIME& fileTime);
// "<short date> hh:mm:ss:zzz" in the user's formats; empty for a stamp that cannot be converted.
std::wstring FileTimeToText(const FILETIME& fileTime);

SYSTEMTIME ToSystemTime(const CalendarTime& t);
CalendarTime FromSystemTime(const SYSTEMTIME& st);

inline std::uint64_t ToUInt64(const FILETIME& ft) {
  return (static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}
inline FILETIME ToFileTime(std::uint64_t v) {
  return FILETIME{static_cast<DWORD>(v & 0xFFFFFFFFu), static_cast<DWORD>(v >> 32)};
}

}  // namespace pw
