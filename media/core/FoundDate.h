#pragma once
// A date found in a file's content or its name, where it came from, and the instant it stands for
// in the zone the user picks.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "media/core/WallClock.h"

namespace pw {

enum class DateOrigin : std::uint8_t {
  ExifOriginal,   // DateTimeOriginal
  ExifDigitized,  // DateTimeDigitized, when the original is not there
  QuickTimeKey,   // com.apple.quicktime.creationdate
  MovieHeader,    // the movie header's creation time, in UTC
  Name,           // the file's name
  Xmp,            // XMP: exif:DateTimeOriginal, photoshop:DateCreated or xmp:CreateDate
  ExportTaken,    // a photo export's JSON: photoTakenTime, seconds since 1970 in UTC
  ExportCreated,  // the same JSON's creationTime, when it holds no photoTakenTime
};

struct FoundDate {
  DateOrigin Origin = DateOrigin::Name;
  WallClock Clock;  // as the file writes it; for the movie header, in UTC
  // Minutes east of UTC when the file fixes the offset (0 for UTC): the date is an instant then,
  // else a wall-clock time read in the user's zone.
  std::optional<std::int32_t> UtcOffset;
  // The camera EXIF names ("Canon EOS R5 #012345": make, model, serial); empty when none is named.
  std::string Camera = {};
  friend bool operator==(const FoundDate&, const FoundDate&) = default;
};

// Where the date came from, for the preview: "EXIF, +02:00", "EXIF", "EXIF digitized",
// "QuickTime", "QuickTime, -05:30", "name", "name, UTC".
std::wstring OriginText(const FoundDate& date);

// How the date became an instant, for the preview, so that a user sees why two files of one
// moment agree: "UTC" (the movie header, the export's timestamps), "exact" (an offset of its
// own), "zone picked" (a wall-clock date read in the zone the run was given).
std::wstring ZoneRuleText(const FoundDate& date);
// The preview's "from": the origin (or `origin` in its place, a sidecar's name), the offset, the
// rule: "EXIF, +02:00 (exact)", "QuickTime (UTC)", "sidecar: a.jpg.json (UTC)".
std::wstring DateNote(const FoundDate& date, std::wstring_view origin = {});

// The instant the date stands for: its own offset when it has one, else the zone's reading.
ZonedTime PlaceDate(const FoundDate& date, const ReadingZone& zone);

}  // namespace pw
