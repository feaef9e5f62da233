#include <algorithm>

#include "media/core/ByteOrder.h"
#include "media/core/MediaFormats.h"

namespace pw {
namespace {

constexpr std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::uint32_t kLongestChunk = 0x7FFF'FFFF;  // PNG's own limit
constexpr std::size_t kChunkHeader = 8, kChunkCrc = 4;

}  // namespace

std::optional<FoundDate> PngTakenDate(MediaReader& reader) {
  const std::span<const std::uint8_t> signature = reader.View(0, sizeof(kSignature));
  if (signature.empty() || !std::equal(signature.begin(), signature.end(), std::begin(kSignature)))
    return std::nullopt;
  // eXIf may stand anywhere before IEND, also after the image data.
  for (std::uint64_t at = sizeof(kSignature); reader.Step();) {
    const std::span<const std::uint8_t> header = reader.View(at, kChunkHeader);
    if (header.empty()) return std::nullopt;
    const std::uint32_t length = Be32(header.data()), type = Be32(header.data() + 4);
    if (length > kLongestChunk || type == FourCc("IEND")) return std::nullopt;
    const std::uint64_t data = at + kChunkHeader;
    if (type == FourCc("eXIf")) return ReadExifPayload(reader, data, data + length);
    at = data + length + kChunkCrc;
  }
  return std::nullopt;
}

}  // namespace pw
