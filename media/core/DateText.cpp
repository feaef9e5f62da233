#include "media/core/DateText.h"

namespace pw {
namespace {

// Formats end their texts with NULs and pad them with blanks; neither is part of the value.
std::string_view Trimmed(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

bool IsAt(std::string_view text, std::size_t at, std::string_view choices) {
  return at < text.size() && choices.find(text[at]) != std::string_view::npos;
}

// "YYYY?MM?DD?HH:MM:SS" with the given separators; the fields are checked by the caller.
std::optional<WallClock> ReadFields(std::string_view text, std::string_view dateSeparators) {
  if (!IsAt(text, 4, dateSeparators) || !IsAt(text, 7, dateSeparators) || !IsAt(text, 10, " T") ||
      !IsAt(text, 13, ":") || !IsAt(text, 16, ":"))
    return std::nullopt;
  const auto year = DigitsAt(text, 0, 4), month = DigitsAt(text, 5, 2), day = DigitsAt(text, 8, 2),
             hour = DigitsAt(text, 11, 2), minute = DigitsAt(text, 14, 2), second = DigitsAt(text, 17, 2);
  if (!year || !month || !day || !hour || !minute || !second) return std::nullopt;
  const WallClock clock{.Year = *year, .Month = *month, .Day = *day, .Hour = *hour, .Minute = *minute,
                        .Second = *second};
  if (!IsValidWallClock(clock)) return std::nullopt;
  return clock;
}

constexpr std::size_t kDateTimeLength = 19;  // "YYYY:MM:DD HH:MM:SS"

}  // namespace

std::optional<WallClock> ReadExifDateTime(std::string_view text) {
  text = Trimmed(text);
  if (text.size() != kDateTimeLength) return std::nullopt;
  // Some writers put dashes in the date, as ISO does.
  return ReadFields(text, ":-");
}

std::optional<std::uint32_t> ReadSubSeconds(std::string_view text) {
  text = Trimmed(text);
  if (text.empty()) return std::nullopt;
  std::uint32_t ticks = 0, scale = static_cast<std::uint32_t>(kTicksPerSecond);
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    scale /= 10;
    ticks += static_cast<std::uint32_t>(c - '0') * scale;
  }
  return ticks;
}

std::optional<std::int32_t> ReadUtcOffset(std::string_view text) {
  text = Trimmed(text);
  if (text == "Z") return 0;
  if (text.size() < 3 || (text[0] != '+' && text[0] != '-')) return std::nullopt;
  const auto hours = DigitsAt(text, 1, 2);
  std::optional<int> minutes = 0;
  if (text.size() == 6 && text[3] == ':') minutes = DigitsAt(text, 4, 2);
  else if (text.size() == 5) minutes = DigitsAt(text, 3, 2);
  else if (text.size() != 3) return std::nullopt;
  // No zone is further than 18 hours from UTC.
  if (!hours || !minutes || *minutes > 59 || *hours * 60 + *minutes > 18 * 60) return std::nullopt;
  const int total = *hours * 60 + *minutes;
  return text[0] == '-' ? -total : total;
}

std::optional<IsoDateTime> ReadIsoDateTime(std::string_view text) {
  text = Trimmed(text);
  if (text.size() < kDateTimeLength) return std::nullopt;
  std::optional<WallClock> clock = ReadFields(text, "-");
  if (!clock) return std::nullopt;
  std::string_view rest = text.substr(kDateTimeLength);
  if (!rest.empty() && rest.front() == '.') {
    const std::size_t digits = rest.find_first_not_of("0123456789", 1);
    const std::optional<std::uint32_t> ticks = ReadSubSeconds(rest.substr(1, digits == std::string_view::npos ? rest.npos : digits - 1));
    if (!ticks) return std::nullopt;
    clock->SubSecond = *ticks;
    rest.remove_prefix(digits == std::string_view::npos ? rest.size() : digits);
  }
  IsoDateTime read{.Clock = *clock, .UtcOffset = std::nullopt};
  if (!rest.empty()) {
    read.UtcOffset = ReadUtcOffset(rest);
    if (!read.UtcOffset) return std::nullopt;
  }
  return read;
}

}  // namespace pw
