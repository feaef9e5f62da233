#include "media/core/WallClock.h"

#include <cwchar>
#include <iterator>

#include "common/core/DateTime.h"

namespace pw {
namespace {

constexpr std::int64_t kTicksPerMinute = 600'000'000;

CalendarTime ToCalendar(const WallClock& clock) {
  CalendarTime t;
  t.Year = clock.Year;
  t.Month = clock.Month;
  t.Day = clock.Day;
  t.Hour = clock.Hour;
  t.Minute = clock.Minute;
  t.Second = clock.Second;
  return t;
}

std::wstring NeverOccurs(const WallClock& clock) {
  wchar_t text[96];
  if (clock.Second != 0 || clock.SubSecond != 0) {
    std::swprintf(text, std::size(text), L"%02d:%02d:%02d does not exist on %04d-%02d-%02d in this zone", clock.Hour,
                  clock.Minute, clock.Second, clock.Year, clock.Month, clock.Day);
  } else {
    std::swprintf(text, std::size(text), L"%02d:%02d does not exist on %04d-%02d-%02d in this zone", clock.Hour,
                  clock.Minute, clock.Year, clock.Month, clock.Day);
  }
  return text;
}

}  // namespace

bool IsValidWallClock(const WallClock& clock) {
  return clock.SubSecond < kTicksPerSecond && IsValidCalendar(ToCalendar(clock));
}

std::optional<std::uint64_t> WallClockTicks(const WallClock& clock) {
  std::uint64_t ticks = 0;
  if (clock.SubSecond >= kTicksPerSecond || !CalendarToFileTime(ToCalendar(clock), ticks)) return std::nullopt;
  return ticks + clock.SubSecond;
}

std::optional<std::uint64_t> InstantAtOffset(const WallClock& clock, std::int32_t offsetMinutes) {
  const std::optional<std::uint64_t> ticks = WallClockTicks(clock);
  if (!ticks) return std::nullopt;
  const std::int64_t utc = static_cast<std::int64_t>(*ticks) - std::int64_t{offsetMinutes} * kTicksPerMinute;
  if (utc < 0) return std::nullopt;
  return static_cast<std::uint64_t>(utc);
}

ZonedTime PlaceInZone(const WallClock& clock, const ReadingZone& zone) {
  ZonedTime placed;
  if (!IsValidWallClock(clock)) {
    placed.Problem = L"not a valid date";
    return placed;
  }
  if (zone.FixedOffsetMinutes) {
    placed.Instant = InstantAtOffset(clock, *zone.FixedOffsetMinutes);
    if (!placed.Instant) placed.Problem = L"outside the range of file times";
    return placed;
  }
  // Zones change their offsets on whole minutes, and a zone's own conversion may keep only
  // milliseconds: the whole second is placed, and the ticks below it added afterwards.
  WallClock whole = clock;
  whole.SubSecond = 0;
  const std::vector<std::int32_t> biases = zone.BiasesAround ? zone.BiasesAround(clock.Year) : std::vector<std::int32_t>{};
  const LocalTimeResolution resolution =
      zone.ToLocal ? ClassifyLocalTime(*WallClockTicks(whole), biases, zone.ToLocal) : LocalTimeResolution{};
  switch (resolution.Fit) {
    case LocalTimeFit::Once:
    case LocalTimeFit::Repeated:
      placed.Instant = resolution.Utc + clock.SubSecond;
      placed.Repeated = resolution.Fit == LocalTimeFit::Repeated;
      break;
    case LocalTimeFit::Skipped: placed.Problem = NeverOccurs(clock); break;
    case LocalTimeFit::Unresolved: placed.Problem = L"cannot be placed in this zone"; break;
  }
  return placed;
}

}  // namespace pw
