#include "common/core/IsoTime.h"

#include <iterator>

#include "common/core/DateTime.h"

namespace pw {
namespace {

// The last year a file time reaches.
constexpr std::uint64_t kLastYear = 30828;

// Writes `width` digits of `value` ending just before `end`, zeros in front; returns where they
// begin.
char* PutDigits(char* end, std::uint64_t value, int width) {
  for (int i = 0; i < width; ++i, value /= 10) *--end = static_cast<char>('0' + value % 10);
  return end;
}

// Reads `width` digits at `at`; false when any is not a digit.
bool ReadDigits(std::string_view text, std::size_t at, std::size_t width, std::uint64_t& value) {
  value = 0;
  for (std::size_t i = at; i < at + width; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    value = value * 10 + static_cast<std::uint64_t>(text[i] - '0');
  }
  return true;
}

}  // namespace

void AppendIsoUtc(std::string& out, std::uint64_t fileTime) {
  const CivilDate date = CivilDateOfDay(static_cast<std::int64_t>(fileTime / kTicksPerDay));
  const std::uint64_t ticksOfDay = fileTime % kTicksPerDay;
  const std::uint64_t seconds = ticksOfDay / kTicksPerSecond;
  // Filled from the end, in one piece: a save writes three of these for every entry.
  char text[32];
  char* at = std::end(text);
  *--at = 'Z';
  at = PutDigits(at, ticksOfDay % kTicksPerSecond, 7);
  *--at = '.';
  at = PutDigits(at, seconds % 60, 2);
  *--at = ':';
  at = PutDigits(at, seconds / 60 % 60, 2);
  *--at = ':';
  at = PutDigits(at, seconds / 3600, 2);
  *--at = 'T';
  at = PutDigits(at, static_cast<std::uint64_t>(date.Day), 2);
  *--at = '-';
  at = PutDigits(at, static_cast<std::uint64_t>(date.Month), 2);
  *--at = '-';
  const auto year = static_cast<std::uint64_t>(date.Year);
  at = PutDigits(at, year, year > 9999 ? 5 : 4);
  out.append(at, std::end(text));
}

std::string IsoUtcText(std::uint64_t fileTime) {
  std::string out;
  AppendIsoUtc(out, fileTime);
  return out;
}

std::optional<std::uint64_t> ParseIsoUtc(std::string_view text) {
  // "-MM-DDThh:mm:ss.fffffffZ" follows the year.
  constexpr std::size_t kAfterYear = 24;
  if (text.size() != 4 + kAfterYear && text.size() != 5 + kAfterYear) return std::nullopt;
  const std::size_t yearDigits = text.size() - kAfterYear;
  const std::string_view form = "-00-00T00:00:00.0000000Z";
  std::uint64_t year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, fraction = 0;
  for (std::size_t i = 0; i < form.size(); ++i) {
    const char c = text[yearDigits + i];
    if (form[i] == '0' ? (c < '0' || c > '9') : c != form[i]) return std::nullopt;
  }
  if (!ReadDigits(text, 0, yearDigits, year) || text[0] == '0') return std::nullopt;
  const std::size_t at = yearDigits;
  ReadDigits(text, at + 1, 2, month);
  ReadDigits(text, at + 4, 2, day);
  ReadDigits(text, at + 7, 2, hour);
  ReadDigits(text, at + 10, 2, minute);
  ReadDigits(text, at + 13, 2, second);
  ReadDigits(text, at + 16, 7, fraction);
  if (year < 1601 || year > kLastYear || month < 1 || month > 12 || day < 1 ||
      day > static_cast<std::uint64_t>(DaysInMonth(static_cast<int>(year), static_cast<int>(month))) ||
      hour > 23 || minute > 59 || second > 59) {
    return std::nullopt;
  }
  const std::int64_t days =
      DayOfCivilDate({.Year = static_cast<std::int64_t>(year), .Month = static_cast<int>(month), .Day = static_cast<int>(day)});
  // Within those years the sum stays far inside 64 bits; only the last days of 30828 are too late.
  const std::uint64_t ticks = static_cast<std::uint64_t>(days) * kTicksPerDay +
                              ((hour * 60 + minute) * 60 + second) * kTicksPerSecond + fraction;
  if (ticks > kLastFileTime) return std::nullopt;
  return ticks;
}

}  // namespace pw
