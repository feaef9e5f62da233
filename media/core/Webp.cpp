#include <algorithm>

#include "media/core/ByteOrder.h"
#include "media/core/MediaFormats.h"

namespace pw {

std::optional<FoundDate> WebpTakenDate(MediaReader& reader) {
  const std::span<const std::uint8_t> header = reader.View(0, 12);
  if (header.empty() || Be32(header.data()) != FourCc("RIFF") || Be32(header.data() + 8) != FourCc("WEBP"))
    return std::nullopt;
  // The RIFF size counts from after itself; a file cut short ends the walk earlier.
  const std::uint64_t end = std::min<std::uint64_t>(std::uint64_t{Le32(header.data() + 4)} + 8, reader.Size());
  // EXIF follows the image data, so it usually lies beyond the head.
  for (std::uint64_t at = 12; at + 8 <= end && reader.Step();) {
    const std::span<const std::uint8_t> chunk = reader.View(at, 8);
    if (chunk.empty()) return std::nullopt;
    const std::uint32_t length = Le32(chunk.data() + 4);
    const std::uint64_t data = at + 8;
    if (Be32(chunk.data()) == FourCc("EXIF")) return ReadExifPayload(reader, data, std::min(data + length, end));
    at = data + length + (length & 1);  // chunks are padded to an even size
  }
  return std::nullopt;
}

}  // namespace pw
