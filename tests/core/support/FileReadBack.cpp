#include <limits>

#include "support/FileReadBack.h"

namespace pw {

std::int64_t SizeTextToNumber(std::wstring_view text) {
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  std::int64_t value = 0;
  for (const wchar_t c : text) {
    if (c < L'0' || c > L'9') continue;
    const int digit = c - L'0';
    if (value > (kMax - digit) / 10) return kMax;
    value = value * 10 + digit;
  }
  return value;
}

double DateTimeTextToValue(std::wstring_view text, const DateFormatter& date) {
  CalendarTime t;
  if (date.Parse(text, t)) return CalendarToDateTime(t);
  // The time part is the fixed-width tail after a blank. Splitting at the last blank rather than
  // the first also reads dates whose pattern contains blanks ("d. M. yyyy").
  const std::size_t blank = text.rfind(L' ');
  if (blank == std::wstring_view::npos || !date.Parse(text.substr(0, blank), t)) return 0.0;
  const std::wstring_view time = text.substr(blank + 1);
  if (time.size() != 12) return 0.0;
  auto number = [&time](std::size_t pos, std::size_t count, int& out) {
    out = 0;
    for (std::size_t i = pos; i < pos + count; ++i) {
      if (time[i] < L'0' || time[i] > L'9') return false;
      out = out * 10 + (time[i] - L'0');
    }
    return true;
  };
  if (!number(0, 2, t.Hour) || !number(3, 2, t.Minute) || !number(6, 2, t.Second) ||
      !number(9, 3, t.Millisecond) || t.Hour > 23 || t.Minute > 59 || t.Second > 59) {
    return 0.0;
  }
  return CalendarToDateTime(t);
}

}  // namespace pw
