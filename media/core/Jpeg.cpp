#include <algorithm>

#include "media/core/ByteOrder.h"
#include "media/core/MediaFormats.h"

namespace pw {
namespace {

constexpr std::uint8_t kMarker = 0xFF, kStartOfImage = 0xD8, kEndOfImage = 0xD9, kStartOfScan = 0xDA,
                       kApp1 = 0xE1, kTemporary = 0x01, kFirstRestart = 0xD0, kLastRestart = 0xD7;
constexpr std::uint8_t kExifName[] = {'E', 'x', 'i', 'f', 0};
// The marker, the length, and the name with its padding byte.
constexpr std::size_t kExifHeaderBytes = 2 + 2 + sizeof(kExifName) + 1;

}  // namespace

std::optional<FoundDate> JpegTakenDate(MediaReader& reader) {
  const std::span<const std::uint8_t> start = reader.View(0, 2);
  if (start.empty() || start[0] != kMarker || start[1] != kStartOfImage) return std::nullopt;
  std::uint64_t at = 2;
  while (reader.Step()) {
    const std::span<const std::uint8_t> marker = reader.View(at, 2);
    if (marker.empty() || marker[0] != kMarker) return std::nullopt;
    const std::uint8_t code = marker[1];
    if (code == kMarker) {  // fill byte before a marker
      ++at;
      continue;
    }
    if (code == kTemporary || (code >= kFirstRestart && code <= kLastRestart)) {  // no length follows
      at += 2;
      continue;
    }
    // The EXIF segment comes before the image data.
    if (code == kEndOfImage || code == kStartOfScan) return std::nullopt;
    const std::span<const std::uint8_t> lengthBytes = reader.View(at + 2, 2);
    if (lengthBytes.empty()) return std::nullopt;
    const std::uint16_t length = Be16(lengthBytes.data());
    if (length < 2) return std::nullopt;
    const std::uint64_t end = at + 2 + length;
    if (code == kApp1 && at + kExifHeaderBytes <= end) {
      // Some cameras pad the name with 0xFF instead of a second NUL.
      const std::span<const std::uint8_t> name = reader.View(at + 4, sizeof(kExifName));
      // A segment without a date (a thumbnail's, one an editor added) may come before the camera's.
      if (!name.empty() && std::equal(name.begin(), name.end(), std::begin(kExifName)))
        if (std::optional<FoundDate> date = ReadExifDate(reader, at + kExifHeaderBytes, end)) return date;
    }
    at = end;
  }
  return std::nullopt;
}

}  // namespace pw
