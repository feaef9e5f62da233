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
    case DateOrigin::Xmp: return L"XMP";
    case DateOrigin::ExportTaken: return L"JSON";
    case DateOrigin::ExportCreated: return L"JSON creation time";
    case DateOrigin::Name: break;
  }
  return L"name";
}

bool UtcByDefinition(DateOrigin origin) {
  return origin == DateOrigin::MovieHeader || origin == DateOrigin::ExportTaken || origin == DateOrigin::ExportCreated;
}

std::wstring WithOffset(std::wstring text, const FoundDate& date) {
  // UTC by definition, or a name read as UTC: its offset is no news to the user.
  if (date.UtcOffset && !UtcByDefinition(date.Origin) && date.Origin != DateOrigin::Name) {
    const std::int32_t minutes = std::abs(*date.UtcOffset);
    wchar_t hoursAndMinutes[16];
    std::swprintf(hoursAndMinutes, std::size(hoursAndMinutes), L"%02d:%02d", static_cast<int>(minutes / 60),
                  static_cast<int>(minutes % 60));
    text += *date.UtcOffset < 0 ? L", -" : L", +";
    text += hoursAndMinutes;
  }
  return text;
}

}  // namespace

std::wstring OriginText(const FoundDate& date) {
  if (date.Origin == DateOrigin::Name && date.UtcOffset == 0) return L"name, UTC";
  return WithOffset(OriginName(date.Origin), date);
}

std::wstring ZoneRuleText(const FoundDate& date) {
  // A name carries no offset of its own: one known to give UTC (a Pixel phone's) says so.
  if (UtcByDefinition(date.Origin) || (date.Origin == DateOrigin::Name && date.UtcOffset == 0)) return L"UTC";
  return date.UtcOffset ? L"exact" : L"zone picked";
}

std::wstring DateNote(const FoundDate& date, std::wstring_view origin) {
  std::wstring text = WithOffset(origin.empty() ? std::wstring(OriginName(date.Origin)) : std::wstring(origin), date);
  if (date.Origin == DateOrigin::ExportCreated && !origin.empty()) text += L", creation time";
  return text + L" (" + ZoneRuleText(date) + L")";
}

ZonedTime PlaceDate(const FoundDate& date, const ReadingZone& zone) {
  if (!date.UtcOffset) return PlaceInZone(date.Clock, zone);
  ZonedTime placed;
  placed.Instant = InstantAtOffset(date.Clock, *date.UtcOffset);
  if (!placed.Instant) placed.Problem = L"outside the range of file times";
  return placed;
}

}  // namespace pw
