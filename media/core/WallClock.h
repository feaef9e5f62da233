#pragma once
// A date as a clock showed it, with no offset, and how it becomes an instant in the zone the user
// picks: a fixed offset, or this computer's zone, whose clocks skip an hour in spring and repeat
// one in autumn.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/core/DateTime.h"

namespace pw {

struct WallClock {
  int Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0;
  std::uint32_t SubSecond = 0;  // 100-ns ticks below the second
  friend bool operator==(const WallClock&, const WallClock&) = default;
};

// True when the fields name a real moment that a file time can hold.
bool IsValidWallClock(const WallClock& clock);
// The clock's reading counted like a file time (100 ns since 1601-01-01 on that same clock);
// nothing for invalid fields.
std::optional<std::uint64_t> WallClockTicks(const WallClock& clock);
// The instant the clock shows at `offsetMinutes` east of UTC; nothing outside the file times.
std::optional<std::uint64_t> InstantAtOffset(const WallClock& clock, std::int32_t offsetMinutes);

// The zone a wall-clock time is read in.
struct ReadingZone {
  // Minutes east of UTC (+120 for UTC+02:00); without it, this computer's zone below.
  std::optional<std::int32_t> FixedOffsetMinutes;
  // The biases (minutes to add to local time to get UTC) the zone uses around the year, and its own
  // UTC -> local conversion of file times.
  std::function<std::vector<std::int32_t>(int year)> BiasesAround;
  std::function<std::optional<std::uint64_t>(std::uint64_t utc)> ToLocal;
};

// Without an instant the file is skipped, and Problem says why ("02:30 does not exist on
// 2021-03-28 in this zone").
struct ZonedTime {
  std::optional<std::uint64_t> Instant;  // UTC file time
  bool Repeated = false;                 // the clock showed it twice; the earlier instant is taken
  std::wstring Problem;                  // why there is no instant, as the preview shows it
};

ZonedTime PlaceInZone(const WallClock& clock, const ReadingZone& zone);

}  // namespace pw
