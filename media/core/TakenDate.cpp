#include "media/core/TakenDate.h"

#include <algorithm>

#include "media/core/ByteOrder.h"
#include "media/core/MediaFormats.h"
#include "media/core/Sidecar.h"

namespace pw {
namespace {

struct Signature {
  std::uint32_t Bytes;  // the file's first four bytes
  MediaKind Kind;
};
// TIFF in both byte orders, Olympus ORF and Panasonic RW2; the raw formats built on TIFF (DNG,
// CR2, NEF, ARW, PEF) start like TIFF itself.
constexpr Signature kSignatures[] = {
    {.Bytes = FourCc("II*\0"), .Kind = MediaKind::Tiff}, {.Bytes = FourCc("MM\0*"), .Kind = MediaKind::Tiff},
    {.Bytes = FourCc("IIRO"), .Kind = MediaKind::Tiff},  {.Bytes = FourCc("IIRS"), .Kind = MediaKind::Tiff},
    {.Bytes = FourCc("MMOR"), .Kind = MediaKind::Tiff},  {.Bytes = FourCc("IIU\0"), .Kind = MediaKind::Tiff},
    {.Bytes = 0x8950'4E47, .Kind = MediaKind::Png},      {.Bytes = FourCc("RIFF"), .Kind = MediaKind::Webp},
};

// The box types an ISO media file starts with: ftyp, or in old QuickTime files without one, the
// movie, its data or padding.
constexpr std::uint32_t kFirstBoxes[] = {FourCc("ftyp"), FourCc("moov"), FourCc("mdat"), FourCc("wide"),
                                         FourCc("free"), FourCc("skip"), FourCc("pnot")};

}  // namespace

MediaKind MediaKindOf(std::span<const std::uint8_t> head) {
  if (head.size() >= 3 && head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF) return MediaKind::Jpeg;
  if (head.size() < 8) return MediaKind::Unknown;
  const std::uint32_t first = Be32(head.data());
  if (const auto* known = std::find_if(std::begin(kSignatures), std::end(kSignatures),
                                       [first](const Signature& s) { return s.Bytes == first; });
      known != std::end(kSignatures)) {
    // RIFF holds many formats; only WebP is dated here.
    if (known->Kind == MediaKind::Webp && (head.size() < 12 || Be32(head.data() + 8) != FourCc("WEBP")))
      return MediaKind::Unknown;
    return known->Kind;
  }
  if (std::find(std::begin(kFirstBoxes), std::end(kFirstBoxes), Be32(head.data() + 4)) != std::end(kFirstBoxes))
    return MediaKind::IsoMedia;
  return MediaKind::Unknown;
}

namespace {

std::optional<FoundDate> MetadataDate(MediaReader& reader, MediaKind kind) {
  switch (kind) {
    case MediaKind::Jpeg: return JpegTakenDate(reader);
    case MediaKind::Tiff: return TiffTakenDate(reader);
    case MediaKind::Png: return PngTakenDate(reader);
    case MediaKind::Webp: return WebpTakenDate(reader);
    case MediaKind::IsoMedia: return IsoMediaTakenDate(reader);
    case MediaKind::Unknown: break;
  }
  return std::nullopt;
}

}  // namespace

std::optional<FoundDate> ReadTakenDate(ByteSource& source) {
  MediaKind kind = MediaKind::Unknown;
  {
    MediaReader reader(source);
    const std::span<const std::uint8_t> head = reader.View(0, static_cast<std::size_t>(std::min<std::uint64_t>(reader.Size(), 12)));
    kind = MediaKindOf(head);
    if (std::optional<FoundDate> date = MetadataDate(reader, kind)) return date;
  }
  // XMP only where EXIF and QuickTime gave nothing: exports and converters that drop the rest.
  if (kind == MediaKind::Jpeg || kind == MediaKind::Png || kind == MediaKind::IsoMedia) return ReadEmbeddedXmp(source);
  return std::nullopt;
}

}  // namespace pw
