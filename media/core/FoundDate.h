#pragma once
// A date found in a file's content or its name, where it came from, and the instant it stands for
// in the zone the user picks.
#include <cstdint>
#include <optional>
#include <string>

#include "media/core/WallClock.h"

namespace pw {

enum class DateOrigin : std::uint8_t {
  ExifOriginal,   // DateTimeOriginal
  ExifDigitized,  // DateTimeDigitized, when the original is not there
  QuickTimeKey,   // com.apple.quicktime.creationdate
  MovieHeader,    // the movie header's creation time, in UTC
  Name,           // the file's name
};

struct FoundDate {
  DateOrigin Origin = DateOrigin::Name;
  WallClock Clock;  // as the file writes it; for the movie header, in UTC
  // Minutes east of UTC when the file fixes the offset (0 for UTC): the date is an instant then,
  // else a wall-clock time read in the user's zone.
  std::optional<std::int32_t> UtcOffset;
  friend bool operator==(const FoundDate&, const FoundDate&) = default;
};

// Where the date came from, for the preview: "EXIF, +02:00", "EXIF", "EXIF digitized",
// "QuickTime", "QuickTime, -05:30", "name", "name, UTC".
std::wstring OriginText(const FoundDate& date);

// The instant the date stands for: its own offset when it has one, else the zone's reading.
ZonedTime PlaceDate(const FoundDate& date, const ReadingZone& zone);

}  // namespace pw
