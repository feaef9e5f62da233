#include "common/core/DateFormat.h"

#include "common/core/CaselessText.h"

namespace pw {
namespace {

const std::array<const wchar_t*, 12> kLongMonths = {
    L"January", L"February", L"March",     L"April",   L"May",      L"June",
    L"July",    L"August",   L"September", L"October", L"November", L"December"};
const std::array<const wchar_t*, 7> kLongDays = {L"Sunday",   L"Monday", L"Tuesday", L"Wednesday",
                                                 L"Thursday", L"Friday", L"Saturday"};

template <std::size_t N>
void FillMissing(std::array<std::wstring, N>& names, const std::array<const wchar_t*, N>& english,
                 std::size_t length) {
  for (std::size_t i = 0; i < N; ++i) {
    if (names[i].empty()) names[i] = std::wstring(english[i]).substr(0, length);
  }
}

void AppendNumber(std::wstring& out, int value, int minDigits) {
  wchar_t buffer[16];
  int n = 0;
  bool negative = value < 0;
  unsigned v = negative ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
  do {
    buffer[n++] = static_cast<wchar_t>(L'0' + v % 10);
    v /= 10;
  } while (v != 0);
  while (n < minDigits) buffer[n++] = L'0';
  if (negative) out += L'-';
  while (n > 0) out += buffer[--n];
}

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// The longest of the names that the text continues with, compared as the list compares captions.
int MatchName(std::wstring_view text, std::size_t& pos, const std::wstring* names,
              std::size_t count) {
  int best = -1;
  std::size_t bestLength = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const std::wstring& name = names[i];
    if (name.empty() || name.size() <= bestLength || text.size() - pos < name.size()) continue;
    if (CompareJoined({{text.substr(pos, name.size()), {}, {}}}, {{name, {}, {}}}) == 0) {
      best = static_cast<int>(i);
      bestLength = name.size();
    }
  }
  pos += bestLength;
  return best;
}

}  // namespace

DateFormatter::DateFormatter(std::wstring_view pattern, LocaleNames names)
    : pattern_(pattern), names_(std::move(names)) {
  FillMissing(names_.LongMonths, kLongMonths, std::wstring::npos);
  FillMissing(names_.ShortMonths, kLongMonths, 3);
  FillMissing(names_.LongDays, kLongDays, std::wstring::npos);
  FillMissing(names_.ShortDays, kLongDays, 3);

  auto addLiteral = [this](wchar_t c) {
    if (tokens_.empty() || tokens_.back().Kind != Field::Literal) tokens_.push_back({});
    tokens_.back().Text += c;
  };
  std::size_t i = 0;
  while (i < pattern.size()) {
    const wchar_t c = pattern[i];
    if (c == L'\'') {
      ++i;
      if (i < pattern.size() && pattern[i] == L'\'') {  // '' stands for one quote
        addLiteral(L'\'');
        ++i;
        continue;
      }
      // A quoted run, up to the closing quote or the end of the pattern.
      while (i < pattern.size()) {
        if (pattern[i] == L'\'') {
          if (i + 1 < pattern.size() && pattern[i + 1] == L'\'') {
            addLiteral(L'\'');
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        addLiteral(pattern[i++]);
      }
      continue;
    }
    if (c != L'd' && c != L'M' && c != L'y' && c != L'g') {
      addLiteral(c);
      ++i;
      continue;
    }
    std::size_t run = 1;
    while (i + run < pattern.size() && pattern[i + run] == c) ++run;
    i += run;
    Field field = Field::Literal;
    switch (c) {
      case L'd':
        field = run == 1 ? Field::Day : run == 2 ? Field::Day2 : run == 3 ? Field::DayShortName
                                                                           : Field::DayLongName;
        break;
      case L'M':
        field = run == 1   ? Field::Month
                : run == 2 ? Field::Month2
                : run == 3 ? Field::MonthShortName
                           : Field::MonthLongName;
        break;
      case L'y':
        field = run == 1 ? Field::Year1 : run == 2 ? Field::Year2 : Field::YearFull;
        break;
      default:  // the era is never shown: the Gregorian calendar has one
        continue;
    }
    tokens_.push_back({field, {}});
  }
}

bool DateFormatter::IsNumeric(Field f) {
  return f == Field::Day || f == Field::Day2 || f == Field::Month || f == Field::Month2 ||
         f == Field::Year1 || f == Field::Year2 || f == Field::YearFull;
}

std::wstring DateFormatter::Format(const CalendarTime& t) const {
  std::wstring out;
  out.reserve(pattern_.size() + 8);
  const bool monthOk = t.Month >= 1 && t.Month <= 12;
  const bool dayOfWeekOk = t.DayOfWeek >= 0 && t.DayOfWeek <= 6;
  for (const Token& token : tokens_) {
    switch (token.Kind) {
      case Field::Literal: out += token.Text; break;
      case Field::Day: AppendNumber(out, t.Day, 1); break;
      case Field::Day2: AppendNumber(out, t.Day, 2); break;
      case Field::DayShortName:
        if (dayOfWeekOk) out += names_.ShortDays[static_cast<std::size_t>(t.DayOfWeek)];
        break;
      case Field::DayLongName:
        if (dayOfWeekOk) out += names_.LongDays[static_cast<std::size_t>(t.DayOfWeek)];
        break;
      case Field::Month: AppendNumber(out, t.Month, 1); break;
      case Field::Month2: AppendNumber(out, t.Month, 2); break;
      case Field::MonthShortName:
        if (monthOk) out += names_.ShortMonths[static_cast<std::size_t>(t.Month - 1)];
        break;
      case Field::MonthLongName:
        if (monthOk) out += names_.LongMonths[static_cast<std::size_t>(t.Month - 1)];
        break;
      case Field::Year1: AppendNumber(out, t.Year % 100, 1); break;
      case Field::Year2: AppendNumber(out, t.Year % 100, 2); break;
      case Field::YearFull: AppendNumber(out, t.Year, 4); break;
    }
  }
  return out;
}

bool DateFormatter::ParseNumber(std::wstring_view text, std::size_t& pos, std::size_t index,
                                int& value) const {
  const Field kind = tokens_[index].Kind;
  // A field written right against another number has its full width, so stop there.
  const bool numberFollows = index + 1 < tokens_.size() && IsNumeric(tokens_[index + 1].Kind);
  std::size_t maxDigits = 2;
  if (kind == Field::YearFull) maxDigits = numberFollows ? 4 : 5;
  std::size_t n = 0;
  value = 0;
  while (n < maxDigits && pos < text.size() && IsDigit(text[pos])) {
    value = value * 10 + (text[pos] - L'0');
    ++pos;
    ++n;
  }
  return n > 0;
}

bool DateFormatter::Parse(std::wstring_view text, CalendarTime& out) const {
  int year = -1, month = -1, day = -1;
  bool twoDigitYear = false;
  std::size_t pos = 0;
  for (std::size_t i = 0; i < tokens_.size(); ++i) {
    const Token& token = tokens_[i];
    int value = 0;
    switch (token.Kind) {
      case Field::Literal:
        if (text.substr(pos, token.Text.size()) != token.Text) return false;
        pos += token.Text.size();
        break;
      case Field::Day:
      case Field::Day2:
        if (!ParseNumber(text, pos, i, value)) return false;
        day = value;
        break;
      case Field::Month:
      case Field::Month2:
        if (!ParseNumber(text, pos, i, value)) return false;
        month = value;
        break;
      case Field::Year1:
      case Field::Year2:
        if (!ParseNumber(text, pos, i, value)) return false;
        year = value;
        twoDigitYear = true;
        break;
      case Field::YearFull:
        if (!ParseNumber(text, pos, i, value)) return false;
        year = value;
        twoDigitYear = false;
        break;
      case Field::DayShortName:
      case Field::DayLongName: {
        // The day's name follows from the date; it only has to be there.
        const auto& names =
            token.Kind == Field::DayShortName ? names_.ShortDays : names_.LongDays;
        if (MatchName(text, pos, names.data(), names.size()) < 0) return false;
        break;
      }
      case Field::MonthShortName:
      case Field::MonthLongName: {
        const auto& names =
            token.Kind == Field::MonthShortName ? names_.ShortMonths : names_.LongMonths;
        const int found = MatchName(text, pos, names.data(), names.size());
        if (found < 0) return false;
        month = found + 1;
        break;
      }
    }
  }
  if (pos != text.size() || year < 0 || month < 0 || day < 0) return false;
  if (twoDigitYear) {
    year += (TwoDigitYearMax / 100) * 100;
    if (year > TwoDigitYearMax) year -= 100;
  }
  if (year < 1 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) {
    return false;
  }
  CalendarTime t;
  t.Year = year;
  t.Month = month;
  t.Day = day;
  // Goes through the date-time maths only to learn the day of the week.
  CalendarTime withDay;
  if (!DateTimeToCalendar(CalendarToDateTime(t), withDay)) return false;
  out = withDay;
  return true;
}

}  // namespace pw
