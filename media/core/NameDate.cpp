#include "media/core/NameDate.h"

#include "media/core/DateText.h"

namespace pw {
namespace {

// A known prefix (compared ignoring case), then the layout: Y M D h m s f stand for the digits of
// the year, month, day, hour, minute, second and millisecond; any other character stands for
// itself, ignoring case. Longer layouts come before the shorter ones they start with.
struct NamePattern {
  std::wstring_view Prefix;
  std::wstring_view Layout;
  bool Utc = false;  // the name gives the time in UTC, not on the phone's clock
};
constexpr NamePattern kPatterns[] = {
    {.Prefix = L"IMG_", .Layout = L"YYYYMMDD_hhmmss"},
    {.Prefix = L"VID_", .Layout = L"YYYYMMDD_hhmmss"},
    // Google's Pixel camera names its files by UTC (the photo's own EXIF has the local time and offset).
    {.Prefix = L"PXL_", .Layout = L"YYYYMMDD_hhmmssfff", .Utc = true},
    {.Prefix = L"Screenshot_", .Layout = L"YYYY-MM-DD-hh-mm-ss"},
    {.Prefix = L"IMG-", .Layout = L"YYYYMMDD-WA"},  // WhatsApp: a date and a counter
    {.Prefix = L"", .Layout = L"YYYYMMDD_hhmmss"},
    {.Prefix = L"", .Layout = L"YYYY-MM-DD hh.mm.ss"},
    {.Prefix = L"", .Layout = L"YYYY-MM-DD_hh-mm-ss"},
    {.Prefix = L"", .Layout = L"YYYY-MM-DD"},
};

constexpr int kFirstYear = 1900, kLastYear = 2100;

wchar_t Lower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

bool StartsWithCaseless(std::wstring_view text, std::wstring_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (Lower(text[i]) != Lower(prefix[i])) return false;
  return true;
}

// The field a layout character stands for, or nothing for a literal.
int* FieldOf(wchar_t code, WallClock& clock, int& millisecond) {
  switch (code) {
    case L'Y': return &clock.Year;
    case L'M': return &clock.Month;
    case L'D': return &clock.Day;
    case L'h': return &clock.Hour;
    case L'm': return &clock.Minute;
    case L's': return &clock.Second;
    case L'f': return &millisecond;
    default: return nullptr;
  }
}

std::optional<WallClock> Match(std::wstring_view name, const NamePattern& pattern) {
  if (!StartsWithCaseless(name, pattern.Prefix)) return std::nullopt;
  const std::wstring_view text = name.substr(pattern.Prefix.size());
  if (text.size() < pattern.Layout.size()) return std::nullopt;
  WallClock clock;
  int millisecond = 0;
  for (std::size_t i = 0; i < pattern.Layout.size();) {
    const wchar_t code = pattern.Layout[i];
    int* field = FieldOf(code, clock, millisecond);
    if (!field) {
      if (Lower(text[i]) != Lower(code)) return std::nullopt;
      ++i;
      continue;
    }
    std::size_t width = 1;
    while (i + width < pattern.Layout.size() && pattern.Layout[i + width] == code) ++width;
    const std::optional<int> value = DigitsAt(text, i, width);
    if (!value) return std::nullopt;
    *field = *value;
    i += width;
  }
  // A date inside a longer run of digits is a counter or a number, not a date.
  if (FieldOf(pattern.Layout.back(), clock, millisecond) && text.size() > pattern.Layout.size() &&
      IsDigit(text[pattern.Layout.size()]))
    return std::nullopt;
  clock.SubSecond = static_cast<std::uint32_t>(millisecond) * static_cast<std::uint32_t>(kTicksPerSecond / 1000);
  if (clock.Year < kFirstYear || clock.Year > kLastYear || !IsValidWallClock(clock)) return std::nullopt;
  return clock;
}

}  // namespace

std::optional<FoundDate> NameDate(std::wstring_view name) {
  if (const std::size_t slash = name.find_last_of(L"\\/"); slash != std::wstring_view::npos)
    name.remove_prefix(slash + 1);
  for (const NamePattern& pattern : kPatterns)
    if (const std::optional<WallClock> clock = Match(name, pattern))
      return FoundDate{.Origin = DateOrigin::Name,
                       .Clock = *clock,
                       .UtcOffset = pattern.Utc ? std::optional<std::int32_t>(0) : std::nullopt};
  return std::nullopt;
}

}  // namespace pw
