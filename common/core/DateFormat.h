#pragma once
// Dates in the user's short date pattern, formatted and read back without a system call per
// stamp: the pattern is parsed once, and Format only walks the prepared fields.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/core/DateTime.h"

namespace pw {

struct LocaleNames {  // may be empty (English names stand in); index 0 = January / Sunday
  std::array<std::wstring, 12> LongMonths, ShortMonths;
  std::array<std::wstring, 7> LongDays, ShortDays;
};

// Two-digit years read back into this window, as Windows does by default.
inline constexpr int TwoDigitYearMax = 2049;

class DateFormatter {  // the locale's short date pattern, e.g. M/d/yyyy, dd.MM.yyyy, yyyy-MM-dd
public:
  DateFormatter() : DateFormatter(L"M/d/yyyy") {}
  explicit DateFormatter(std::wstring_view pattern, LocaleNames names = {});

  // d dd ddd dddd M MM MMM MMMM y yy yyyy yyyyy; g/gg ignored; 'quoted' literals, '' = quote.
  std::wstring Format(const CalendarTime& t) const;
  // Reads back what Format wrote: the whole text must match. Fills the date and its DayOfWeek and
  // zeroes the time of day.
  bool Parse(std::wstring_view text, CalendarTime& out) const;

  const std::wstring& Pattern() const { return pattern_; }

private:
  enum class Field : std::uint8_t {
    Literal, Day, Day2, DayShortName, DayLongName, Month, Month2, MonthShortName, MonthLongName,
    Year1, Year2, YearFull
  };
  struct Token {
    Field Kind = Field::Literal;
    std::wstring Text;  // the literal text
  };

  static bool IsNumeric(Field f);
  bool ParseNumber(std::wstring_view text, std::size_t& pos, std::size_t index, int& value) const;

  std::wstring pattern_;
  LocaleNames names_;
  std::vector<Token> tokens_;
};

}  // namespace pw
