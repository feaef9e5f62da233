#pragma once
// The date texts the formats write, read into clock fields: EXIF's "YYYY:MM:DD HH:MM:SS" with its
// sub-seconds and offset tags, and the ISO 8601 form QuickTime's keys use.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "media/core/WallClock.h"

namespace pw {

// `count` decimal digits at `at`; nothing when the text ends first or any of them is not a digit.
template <class Char>
std::optional<int> DigitsAt(std::basic_string_view<Char> text, std::size_t at, std::size_t count) {
  if (at > text.size() || count > text.size() - at) return std::nullopt;
  int value = 0;
  for (std::size_t i = at; i < at + count; ++i) {
    if (text[i] < Char('0') || text[i] > Char('9')) return std::nullopt;
    value = value * 10 + static_cast<int>(text[i] - Char('0'));
  }
  return value;
}

// "YYYY:MM:DD HH:MM:SS"; nothing when blank, all zero or not a real moment.
std::optional<WallClock> ReadExifDateTime(std::string_view text);
// The digits of a fraction of a second as 100-ns ticks: "457" is 4,570,000; digits past the
// seventh are cut, not rounded. Nothing when there are no digits or anything else is there.
std::optional<std::uint32_t> ReadSubSeconds(std::string_view text);
// "+02:00", "-05:30", "+0200", "+02" or "Z" as minutes east of UTC; nothing for blanks or anything
// else.
std::optional<std::int32_t> ReadUtcOffset(std::string_view text);

struct IsoDateTime {
  WallClock Clock;
  std::optional<std::int32_t> UtcOffset;  // nothing when the text gives no zone
};
// "2023-05-14T14:22:33", optionally with a fraction of the second and an offset or "Z".
std::optional<IsoDateTime> ReadIsoDateTime(std::string_view text);

}  // namespace pw
