#include "common/platform/LocalTime.h"

#include <cwchar>

#include "common/core/TimeText.h"

namespace pw {

std::wstring LocaleString(LCTYPE type, const wchar_t* fallback) {
  wchar_t buf[128];
  int n = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, buf, 128);
  return n > 1 ? std::wstring(buf, static_cast<size_t>(n - 1)) : std::wstring(fallback);
}

SYSTEMTIME ToSystemTime(const CalendarTime& t) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(t.Year);
  st.wMonth = static_cast<WORD>(t.Month);
  st.wDayOfWeek = static_cast<WORD>(t.DayOfWeek);
  st.wDay = static_cast<WORD>(t.Day);
  st.wHour = static_cast<WORD>(t.Hour);
  st.wMinute = static_cast<WORD>(t.Minute);
  st.wSecond = static_cast<WORD>(t.Second);
  st.wMilliseconds = static_cast<WORD>(t.Millisecond);
  return st;
}

CalendarTime FromSystemTime(const SYSTEMTIME& st) {
  CalendarTime t;
  t.Year = st.wYear;
  t.Month = st.wMonth;
  t.DayOfWeek = st.wDayOfWeek;
  t.Day = st.wDay;
  t.Hour = st.wHour;
  t.Minute = st.wMinute;
  t.Second = st.wSecond;
  t.Millisecond = st.wMilliseconds;
  return t;
}

void LocalTimeZone::Refresh() {
  years_.clear();
  GetTimeZoneInformation(&current_);
  haveDynamic_ = GetDynamicTimeZoneInformation(&dynamic_) != TIME_ZONE_ID_INVALID;
}

const TIME_ZONE_INFORMATION& LocalTimeZone::ForYear(int year) {
  for (const auto& y : years_)
    if (y.Year == year) return y.Rules;
  TIME_ZONE_INFORMATION rules = current_;
  if (haveDynamic_ && year >= 1601 && year <= 30827) {
    TIME_ZONE_INFORMATION found{};
    if (GetTimeZoneInformationForYear(static_cast<USHORT>(year), &dynamic_, &found)) rules = found;
  }
  years_.push_back(YearRules{year, rules});
  return years_.back().Rules;
}

bool LocalTimeZone::ToLocal(std::uint64_t utc, CalendarTime& local) {
  CalendarTime u;
  if (!FileTimeToCalendar(utc, u)) return false;
  SYSTEMTIME su = ToSystemTime(u), sl{};
  if (!SystemTimeToTzSpecificLocalTime(&ForYear(u.Year), &su, &sl)) return false;
  local = FromSystemTime(sl);
  return true;
}

std::vector<std::int32_t> LocalTimeZone::BiasesAround(int year) {
  // This year's offsets and, near New Year, the neighbours', whose rules may differ.
  std::vector<std::int32_t> biases;
  for (int around : {year - 1, year, year + 1}) {
    if (around < 1601 || around > 30827) continue;
    const TIME_ZONE_INFORMATION& tz = ForYear(around);
    for (std::int32_t bias : {static_cast<std::int32_t>(tz.Bias + tz.StandardBias),
                              static_cast<std::int32_t>(tz.Bias + tz.DaylightBias)})
      biases.push_back(bias);
  }
  return biases;
}

std::optional<std::uint64_t> LocalTimeZone::LocalTicks(std::uint64_t utc) {
  CalendarTime local;
  std::uint64_t ticks = 0;
  if (!ToLocal(utc, local) || !CalendarToFileTime(local, ticks)) return std::nullopt;
  return ticks;
}

bool LocalTimeZone::ToUtc(const CalendarTime& local, std::uint64_t& utc) {
  std::uint64_t localTicks = 0;
  if (!CalendarToFileTime(local, localTicks)) return false;
  const std::vector<std::int32_t> biases = BiasesAround(local.Year);
  const std::optional<std::uint64_t> resolved =
      ResolveLocalTime(localTicks, biases, [this](std::uint64_t candidate) { return LocalTicks(candidate); });
  if (!resolved) return false;
  utc = *resolved;
  return true;
}

LocalTimeZone& LocalZone() {
  static LocalTimeZone zone;
  return zone;
}

DateFormatter UserDateFormat() {
  LocaleNames names;
  for (int i = 0; i < 12; ++i) {
    names.LongMonths[i] = LocaleString(LOCALE_SMONTHNAME1 + i, L"");
    names.ShortMonths[i] = LocaleString(LOCALE_SABBREVMONTHNAME1 + i, L"");
  }
  // The locale lists the days from Monday; the formatter counts from Sunday.
  for (int i = 0; i < 7; ++i) {
    const int sundayBased = (i + 1) % 7;
    names.LongDays[sundayBased] = LocaleString(LOCALE_SDAYNAME1 + i, L"");
    names.ShortDays[sundayBased] = LocaleString(LOCALE_SABBREVDAYNAME1 + i, L"");
  }
  return DateFormatter(LocaleString(LOCALE_SSHORTDATE, L"M/d/yyyy"), names);
}

std::wstring ExactStampText(std::uint64_t utc, const DateFormatter& date) {
  CalendarTime local;
  if (!LocalZone().ToLocal(utc, local)) return L"?";
  wchar_t digits[16];
  swprintf(digits, 16, L"%07u", static_cast<unsigned>(utc % 10'000'000));
  const wchar_t separator = UserTimeSeparator();
  std::wstring text = date.Format(local) + L' ';
  text += TimeOfDayText(TimeOfDay{local.Hour, local.Minute, local.Second, 0}, separator).substr(0, 8);
  return text + L'.' + digits;
}

wchar_t UserTimeSeparator() { return TimeSeparatorChar(LocaleString(LOCALE_STIME, L":")); }

double FileTimeToLocalDateTime(std::uint64_t fileTime) {
  CalendarTime local;
  if (!LocalZone().ToLocal(fileTime, local)) return 0;
  return CalendarToDateTime(local);
}

std::optional<std::uint64_t> LocalDateTimeToFileTime(double dateTime) {
  CalendarTime local;
  std::uint64_t utc = 0;
  if (!DateTimeToCalendar(dateTime, local) || !LocalZone().ToUtc(local, utc)) return std::nullopt;
  return utc;
}

double NowLocalDateTime() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  return CalendarToDateTime(FromSystemTime(st));
}

}  // namespace pw
