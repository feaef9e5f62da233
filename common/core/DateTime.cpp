#include "common/core/DateTime.h"

#include <cmath>

namespace pw {
namespace {

// Days from 1970-01-01 to the given civil date (H. Hinnant's algorithm; any year).
std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
  y -= m <= 2 ? 1 : 0;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(std::int64_t z, std::int64_t& y, int& m, int& d) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = yoe + era * 400 + (m <= 2 ? 1 : 0);
}

// 1970-01-01 was a Thursday.
int DayOfWeekFromDays(std::int64_t days) {
  const std::int64_t w = (days + 4) % 7;
  return static_cast<int>(w < 0 ? w + 7 : w);
}

const std::int64_t kDays1601 = DaysFromCivil(1601, 1, 1);
const std::int64_t kDays1899 = DaysFromCivil(1899, 12, 30);
constexpr int kMaxYear = 30827;

bool FillFromDays(std::int64_t days, std::int64_t msOfDay, CalendarTime& out) {
  std::int64_t year = 0;
  int month = 0, day = 0;
  CivilFromDays(days, year, month, day);
  if (year < 1 || year > kMaxYear) return false;
  out.Year = static_cast<int>(year);
  out.Month = month;
  out.Day = day;
  out.DayOfWeek = DayOfWeekFromDays(days);
  out.Hour = static_cast<int>(msOfDay / 3600000);
  out.Minute = static_cast<int>(msOfDay / 60000 % 60);
  out.Second = static_cast<int>(msOfDay / 1000 % 60);
  out.Millisecond = static_cast<int>(msOfDay % 1000);
  return true;
}

std::int64_t MsOfDay(const CalendarTime& t) {
  return std::int64_t{t.Hour} * 3600000 + std::int64_t{t.Minute} * 60000 +
         std::int64_t{t.Second} * 1000 + t.Millisecond;
}

}  // namespace

bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool IsValidCalendar(const CalendarTime& t) {
  return t.Year >= 1601 && t.Year <= kMaxYear && t.Month >= 1 && t.Month <= 12 && t.Day >= 1 &&
         t.Day <= DaysInMonth(t.Year, t.Month) && t.Hour >= 0 && t.Hour <= 23 && t.Minute >= 0 &&
         t.Minute <= 59 && t.Second >= 0 && t.Second <= 59 && t.Millisecond >= 0 &&
         t.Millisecond <= 999;
}

bool FileTimeToCalendar(std::uint64_t fileTime, CalendarTime& out) {
  const std::uint64_t ms = fileTime / FileTimeTicksPerMs;
  const auto days = static_cast<std::int64_t>(ms / MsPerDay);
  return FillFromDays(kDays1601 + days, static_cast<std::int64_t>(ms % MsPerDay), out);
}

bool CalendarToFileTime(const CalendarTime& t, std::uint64_t& out) {
  if (!IsValidCalendar(t)) return false;
  const std::int64_t days = DaysFromCivil(t.Year, t.Month, t.Day) - kDays1601;
  const auto ms = static_cast<std::uint64_t>(days * MsPerDay + MsOfDay(t));
  out = ms * FileTimeTicksPerMs;
  return true;
}

CivilDate CivilDateOfDay(std::int64_t daysSince1601) {
  CivilDate date;
  CivilFromDays(kDays1601 + daysSince1601, date.Year, date.Month, date.Day);
  return date;
}

std::int64_t DayOfCivilDate(const CivilDate& date) {
  return DaysFromCivil(date.Year, date.Month, date.Day) - kDays1601;
}

double CalendarToDateTime(const CalendarTime& t) {
  const std::int64_t days = DaysFromCivil(t.Year, t.Month, t.Day) - kDays1899;
  const double fraction = static_cast<double>(MsOfDay(t)) / static_cast<double>(MsPerDay);
  const auto whole = static_cast<double>(days);
  return days < 0 ? whole - fraction : whole + fraction;
}

bool DateTimeToCalendar(double dateTime, CalendarTime& out) {
  // Beyond this the value cannot hold a year up to 30827; checking first keeps the casts defined.
  if (!std::isfinite(dateTime) || std::fabs(dateTime) > 12000000.0) return false;
  const double whole = std::trunc(dateTime);
  std::int64_t days = static_cast<std::int64_t>(whole);
  std::int64_t ms = std::llround(std::fabs(dateTime - whole) * static_cast<double>(MsPerDay));
  if (ms >= MsPerDay) {  // rounded up to midnight: the next calendar day, whatever the sign
    ms = 0;
    ++days;
  }
  return FillFromDays(kDays1899 + days, ms, out);
}

DateTimeSplit SplitDateTime(double dateTime) {
  DateTimeSplit split;
  if (!std::isfinite(dateTime)) return split;
  split.days = std::trunc(dateTime);
  double ms = std::round(std::fabs(dateTime - split.days) * static_cast<double>(MsPerDay));
  if (ms >= static_cast<double>(MsPerDay)) {
    // The integral part is the calendar day's index whatever its sign, so the next day is + 1.
    split.days += 1;
    ms = 0;
  }
  split.msOfDay = static_cast<int>(ms);
  return split;
}

double JoinDateTime(double days, int msOfDay) {
  const double fraction = static_cast<double>(msOfDay) / static_cast<double>(MsPerDay);
  return days < 0 ? days - fraction : days + fraction;
}

TimeOfDay TimeOfDayFromMilliseconds(int msOfDay) {
  const int perDay = static_cast<int>(MsPerDay);
  msOfDay = ((msOfDay % perDay) + perDay) % perDay;
  return TimeOfDay{msOfDay / 3'600'000, msOfDay / 60'000 % 60, msOfDay / 1000 % 60, msOfDay % 1000};
}

int TimeOfDayMilliseconds(const TimeOfDay& t) {
  return t.hour * 3'600'000 + t.minute * 60'000 + t.second * 1000 + t.millisecond;
}

LocalTimeResolution ClassifyLocalTime(
    std::uint64_t local, std::span<const std::int32_t> biases,
    const std::function<std::optional<std::uint64_t>(std::uint64_t utc)>& toLocal) {
  constexpr std::int64_t kTicksPerMinute = 600'000'000;
  std::optional<std::uint64_t> earliestFit, latestFit, latestCandidate;
  for (const std::int32_t bias : biases) {
    const std::int64_t utc = static_cast<std::int64_t>(local) + std::int64_t{bias} * kTicksPerMinute;
    if (utc < 0) continue;
    const auto candidate = static_cast<std::uint64_t>(utc);
    if (!latestCandidate || candidate > *latestCandidate) latestCandidate = candidate;
    const std::optional<std::uint64_t> back = toLocal(candidate);
    if (!back || *back != local) continue;
    if (!earliestFit || candidate < *earliestFit) earliestFit = candidate;
    if (!latestFit || candidate > *latestFit) latestFit = candidate;
  }
  if (earliestFit)
    return {*earliestFit != *latestFit ? LocalTimeFit::Repeated : LocalTimeFit::Once, *earliestFit};
  // In a skipped hour no offset fits; the largest UTC value is the one with the offset in force
  // before the clocks went forward, since that offset is the smaller one.
  if (latestCandidate) return {LocalTimeFit::Skipped, *latestCandidate};
  return {};
}

std::optional<std::uint64_t> ResolveLocalTime(
    std::uint64_t local, std::span<const std::int32_t> biases,
    const std::function<std::optional<std::uint64_t>(std::uint64_t utc)>& toLocal) {
  const LocalTimeResolution resolution = ClassifyLocalTime(local, biases, toLocal);
  if (resolution.Fit == LocalTimeFit::Unresolved) return std::nullopt;
  return resolution.Utc;
}

}  // namespace pw
