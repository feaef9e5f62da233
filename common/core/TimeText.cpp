#include "common/core/TimeText.h"

#include <algorithm>

namespace pw {
namespace {

void AppendTwoDigits(std::wstring& out, int value) {
  value = std::clamp(value, 0, 99);
  out += static_cast<wchar_t>(L'0' + value / 10);
  out += static_cast<wchar_t>(L'0' + value % 10);
}

}  // namespace

wchar_t TimeSeparatorChar(std::wstring_view localeSeparator) {
  return localeSeparator.empty() ? L':' : localeSeparator.front();
}

std::wstring TimeOfDayText(const TimeOfDay& t, wchar_t separator) {
  std::wstring out;
  out.reserve(12);
  AppendTwoDigits(out, t.hour);
  out += separator;
  AppendTwoDigits(out, t.minute);
  out += separator;
  AppendTwoDigits(out, t.second);
  out += separator;
  const int ms = std::clamp(t.millisecond, 0, 999);
  out += static_cast<wchar_t>(L'0' + ms / 100);
  AppendTwoDigits(out, ms % 100);
  return out;
}

std::wstring TimeOfDayText(const CalendarTime& t, std::wstring_view timeSep) {
  return TimeOfDayText(TimeOfDay{t.Hour, t.Minute, t.Second, t.Millisecond}, TimeSeparatorChar(timeSep));
}

TimeOfDay TimeOfDayFromText(std::wstring_view text) {
  auto read = [text](std::size_t start, std::size_t length) {
    int value = 0;
    for (std::size_t i = start; i < start + length; ++i) {
      const wchar_t c = i < text.size() ? text[i] : L'0';
      value = value * 10 + (c >= L'0' && c <= L'9' ? c - L'0' : 0);
    }
    return value;
  };
  return TimeOfDay{read(0, 2), read(3, 2), read(6, 2), read(9, 3)};
}

}  // namespace pw
