#include "media/core/FoundDate.h"

#include <cstdlib>
#include <cwchar>
#include <iterator>

namespace pw {
namespace {

const wchar_t* OriginName(DateOrigin origin) {
  switch (origin) {
    case DateOrigin::ExifOriginal: return L"EXIF";
    case DateOrigin::ExifDigitized: return L"EXIF digitized";
    case DateOrigin::QuickTimeKey:
    case DateOrigin::MovieHeader: return L"QuickTime";
    case DateOrigin::Name: break;
  }
  return L"name";
}

}  // namespace

std::wstring OriginText(const FoundDate& date) {
  std::wstring text = OriginName(date.Origin);
  // A name carries no offset of its own: one known to give UTC says so.
  if (date.Origin == DateOrigin::Name && date.UtcOffset == 0) return text + L", UTC";
  // The movie header is UTC by definition: its offset is no news to the user.
  if (date.UtcOffset && date.Origin != DateOrigin::MovieHeader) {
    const std::int32_t minutes = std::abs(*date.UtcOffset);
    wchar_t hoursAndMinutes[16];
    std::swprintf(hoursAndMinutes, std::size(hoursAndMinutes), L"%02d:%02d", static_cast<int>(minutes / 60),
                  static_cast<int>(minutes % 60));
    text += *date.UtcOffset < 0 ? L", -" : L", +";
    text += hoursAndMinutes;
  }
  return text;
}

ZonedTime PlaceDate(const FoundDate& date, const ReadingZone& zone) {
  if (!date.UtcOffset) return PlaceInZone(date.Clock, zone);
  ZonedTime placed;
  placed.Instant = InstantAtOffset(date.Clock, *date.UtcOffset);
  if (!placed.Instant) placed.Problem = L"outside the range of file times";
  return placed;
}

}  // namespace pw
