// ISO base media files: HEIF and AVIF keep EXIF as an item of the top-level meta box; QuickTime,
// MP4 and 3GP keep their dates in the movie box, which often follows the media data, so the walk
// reads box headers only and steps over everything else.
#include <algorithm>
#include <limits>
#include <string_view>

#include "common/core/DateTime.h"
#include "media/core/ByteOrder.h"
#include "media/core/DateText.h"
#include "media/core/MediaFormats.h"

namespace pw {
namespace {

struct Box {
  std::uint32_t Type = 0;
  std::uint64_t Start = 0;  // the payload, after the header
  std::uint64_t End = 0;
};

// The box whose header is at `at`; nothing when the header is cut or damaged, or the box does not
// fit in its parent.
std::optional<Box> BoxAt(MediaReader& reader, std::uint64_t at, std::uint64_t parentEnd) {
  if (at > parentEnd || parentEnd - at < 8) return std::nullopt;
  const std::span<const std::uint8_t> header = reader.View(at, 8);
  if (header.empty()) return std::nullopt;
  std::uint64_t size = Be32(header.data()), headerSize = 8;
  const std::uint32_t type = Be32(header.data() + 4);
  if (size == 1) {  // a 64-bit size follows the type
    const std::span<const std::uint8_t> large = parentEnd - at >= 16 ? reader.View(at + 8, 8) : std::span<const std::uint8_t>{};
    if (large.empty()) return std::nullopt;
    size = Be64(large.data());
    headerSize = 16;
  } else if (size == 0) {  // up to the end of the parent
    size = parentEnd - at;
  }
  if (size < headerSize || size > parentEnd - at) return std::nullopt;
  return Box{.Type = type, .Start = at + headerSize, .End = at + size};
}

// The first child of the given type among the boxes in [start, end).
std::optional<Box> FindChild(MediaReader& reader, std::uint64_t start, std::uint64_t end, std::uint32_t type) {
  for (std::uint64_t at = start; at < end && reader.Step();) {
    const std::optional<Box> box = BoxAt(reader, at, end);
    if (!box) return std::nullopt;
    if (box->Type == type) return box;
    at = box->End;
  }
  return std::nullopt;
}

// Big-endian fields read one after the other inside a box; once one is missing, all that follow
// read as 0 and Ok() says so.
class FieldCursor {
public:
  FieldCursor(MediaReader& reader, std::uint64_t at, std::uint64_t end) : reader_(reader), at_(at), end_(end) {}

  // `bytes` is 0 (a field the writer left out: 0), 1, 2, 3, 4 or 8.
  std::uint64_t Read(std::size_t bytes) {
    if (bytes == 0 || !Skip(0)) return 0;
    const std::span<const std::uint8_t> field = end_ - at_ >= bytes ? reader_.View(at_, bytes) : std::span<const std::uint8_t>{};
    if (field.empty()) {
      ok_ = false;
      return 0;
    }
    at_ += bytes;
    std::uint64_t value = 0;
    for (const std::uint8_t byte : field) value = value << 8 | byte;
    return value;
  }

  bool Skip(std::uint64_t bytes) {
    if (ok_ && bytes <= end_ - at_) at_ += bytes;
    else ok_ = false;
    return ok_;
  }

  bool Ok() const { return ok_; }
  std::uint64_t At() const { return at_; }

private:
  MediaReader& reader_;
  std::uint64_t at_, end_;
  bool ok_ = true;
};

// ---- HEIF and AVIF: meta / iinf / infe names the Exif item, meta / iloc says where it lies --------

std::optional<std::uint32_t> ExifItemId(MediaReader& reader, const Box& iinf) {
  FieldCursor header(reader, iinf.Start, iinf.End);
  const std::uint64_t version = header.Read(1);
  header.Skip(3 + (version == 0 ? 2 : 4));  // flags, entry count: the entries are boxes, walked as such
  if (!header.Ok()) return std::nullopt;
  for (std::uint64_t at = header.At(); at < iinf.End && reader.Step();) {
    const std::optional<Box> infe = BoxAt(reader, at, iinf.End);
    if (!infe) return std::nullopt;
    at = infe->End;
    if (infe->Type != FourCc("infe")) continue;
    FieldCursor entry(reader, infe->Start, infe->End);
    const std::uint64_t entryVersion = entry.Read(1);
    entry.Skip(3);
    // Versions 0 and 1 carry no item type.
    if (entryVersion < 2) continue;
    const auto id = static_cast<std::uint32_t>(entry.Read(entryVersion == 2 ? 2 : 4));
    entry.Skip(2);  // protection index
    if (entry.Read(4) == FourCc("Exif") && entry.Ok()) return id;
  }
  return std::nullopt;
}

struct Extent {
  std::uint64_t Offset = 0, Length = 0;
};

bool IsFieldSize(std::uint64_t size) { return size == 0 || size == 4 || size == 8; }

// The file extent of the item (its first; EXIF is written in one). Only items stored in the file
// itself (construction method 0) are followed.
std::optional<Extent> ItemExtent(MediaReader& reader, const Box& iloc, std::uint32_t itemId) {
  FieldCursor cursor(reader, iloc.Start, iloc.End);
  const std::uint64_t version = cursor.Read(1);
  cursor.Skip(3);
  const std::uint64_t sizes = cursor.Read(1), moreSizes = cursor.Read(1);
  const std::uint64_t offsetSize = sizes >> 4, lengthSize = sizes & 15, baseSize = moreSizes >> 4,
                      indexSize = version == 0 ? 0 : moreSizes & 15;
  if (version > 2 || !IsFieldSize(offsetSize) || !IsFieldSize(lengthSize) || !IsFieldSize(baseSize) ||
      !IsFieldSize(indexSize))
    return std::nullopt;
  const std::uint64_t itemCount = cursor.Read(version < 2 ? 2 : 4);
  for (std::uint64_t i = 0; i < itemCount && cursor.Ok() && reader.Step(); ++i) {
    const std::uint64_t id = cursor.Read(version < 2 ? 2 : 4);
    const std::uint64_t method = version == 0 ? 0 : cursor.Read(2) & 15;
    const std::uint64_t dataReference = cursor.Read(2);
    const std::uint64_t base = cursor.Read(baseSize);
    const std::uint64_t extentCount = cursor.Read(2);
    if (id != itemId) {
      cursor.Skip(extentCount * (indexSize + offsetSize + lengthSize));
      continue;
    }
    // Data elsewhere (another file, the idat box, other items) is not followed.
    if (method != 0 || dataReference != 0 || extentCount == 0) return std::nullopt;
    cursor.Read(indexSize);
    const std::uint64_t offset = cursor.Read(offsetSize), length = cursor.Read(lengthSize);
    if (!cursor.Ok() || offset > reader.Size() || base > reader.Size() - offset) return std::nullopt;
    const std::uint64_t start = base + offset;
    // A length of 0 means the rest of the file.
    return Extent{.Offset = start, .Length = length == 0 ? reader.Size() - start : length};
  }
  return std::nullopt;
}

std::optional<FoundDate> HeifExifDate(MediaReader& reader, const Box& meta) {
  const std::uint64_t children = meta.Start + 4;  // a full box: version and flags first
  const std::optional<Box> iinf = FindChild(reader, children, meta.End, FourCc("iinf"));
  const std::optional<std::uint32_t> item = iinf ? ExifItemId(reader, *iinf) : std::nullopt;
  if (!item) return std::nullopt;
  const std::optional<Box> iloc = FindChild(reader, children, meta.End, FourCc("iloc"));
  const std::optional<Extent> extent = iloc ? ItemExtent(reader, *iloc, *item) : std::nullopt;
  if (!extent || extent->Length < 4) return std::nullopt;
  // The item starts with the offset from its fifth byte to the TIFF header.
  const std::span<const std::uint8_t> skip = reader.View(extent->Offset, 4);
  if (skip.empty()) return std::nullopt;
  const std::uint64_t end = extent->Length > reader.Size() - extent->Offset ? reader.Size() : extent->Offset + extent->Length;
  return ReadExifDate(reader, extent->Offset + 4 + Be32(skip.data()), end);
}

// ---- QuickTime, MP4, 3GP: moov / meta with Apple's keys, else moov / mvhd ---------------------------

constexpr std::string_view kCreationDateKey = "com.apple.quicktime.creationdate";
constexpr std::size_t kLongestDateText = 64;

// The 1-based index of the creation date among the keys, as ilst names its items.
std::optional<std::uint32_t> CreationDateKeyIndex(MediaReader& reader, const Box& keys) {
  FieldCursor cursor(reader, keys.Start, keys.End);
  cursor.Skip(4);  // version and flags
  const std::uint64_t count = cursor.Read(4);
  for (std::uint64_t index = 1; index <= count && cursor.Ok() && reader.Step(); ++index) {
    const std::uint64_t at = cursor.At(), size = cursor.Read(4), space = cursor.Read(4);
    if (!cursor.Ok() || size < 8 || !cursor.Skip(size - 8)) return std::nullopt;
    if (space != FourCc("mdta") || size - 8 != kCreationDateKey.size()) continue;
    const std::span<const std::uint8_t> name = reader.View(at + 8, kCreationDateKey.size());
    if (!name.empty() && std::equal(name.begin(), name.end(), kCreationDateKey.begin()))
      return static_cast<std::uint32_t>(index);
  }
  return std::nullopt;
}

std::optional<FoundDate> AppleCreationDate(MediaReader& reader, const Box& meta) {
  // QuickTime writes meta as a plain box, MP4 as a full box with version and flags first.
  const std::span<const std::uint8_t> start = reader.View(meta.Start, std::min<std::uint64_t>(8, meta.End - meta.Start));
  if (start.size() < 8) return std::nullopt;
  const std::uint64_t children = Be32(start.data() + 4) == FourCc("hdlr") ? meta.Start : meta.Start + 4;

  const std::optional<Box> hdlr = FindChild(reader, children, meta.End, FourCc("hdlr"));
  if (!hdlr) return std::nullopt;
  FieldCursor handler(reader, hdlr->Start, hdlr->End);
  handler.Skip(8);  // version, flags, and QuickTime's component type
  if (handler.Read(4) != FourCc("mdta") || !handler.Ok()) return std::nullopt;

  const std::optional<Box> keys = FindChild(reader, children, meta.End, FourCc("keys"));
  const std::optional<std::uint32_t> index = keys ? CreationDateKeyIndex(reader, *keys) : std::nullopt;
  const std::optional<Box> ilst = index ? FindChild(reader, children, meta.End, FourCc("ilst")) : std::nullopt;
  const std::optional<Box> item = ilst ? FindChild(reader, ilst->Start, ilst->End, *index) : std::nullopt;
  const std::optional<Box> data = item ? FindChild(reader, item->Start, item->End, FourCc("data")) : std::nullopt;
  // The value follows its type and locale words.
  if (!data || data->End - data->Start <= 8) return std::nullopt;
  const std::size_t length = static_cast<std::size_t>(std::min<std::uint64_t>(data->End - data->Start - 8, kLongestDateText));
  const std::span<const std::uint8_t> value = reader.View(data->Start + 8, length);
  if (value.empty()) return std::nullopt;
  const std::optional<IsoDateTime> read =
      ReadIsoDateTime(std::string_view(reinterpret_cast<const char*>(value.data()), value.size()));
  if (!read) return std::nullopt;
  return FoundDate{.Origin = DateOrigin::QuickTimeKey, .Clock = read->Clock, .UtcOffset = read->UtcOffset};
}

// Seconds since 1904-01-01 UTC; 0, anything before 1970 and 1970-01-01 00:00:00 itself are what
// writers leave when they do not know the time (count from 1970 by mistake, or have a clock that
// was never set).
std::optional<FoundDate> MovieHeaderDate(MediaReader& reader, const Box& mvhd) {
  constexpr std::uint64_t kSeconds1904To1970 = 2'082'844'800;
  FieldCursor cursor(reader, mvhd.Start, mvhd.End);
  const std::uint64_t version = cursor.Read(1);
  cursor.Skip(3);
  const std::uint64_t seconds = cursor.Read(version == 1 ? 8 : 4);
  std::uint64_t epoch = 0;
  if (!cursor.Ok() || seconds <= kSeconds1904To1970 || !CalendarToFileTime(CalendarTime{.Year = 1904, .Month = 1, .Day = 1}, epoch))
    return std::nullopt;
  if (seconds > (std::numeric_limits<std::uint64_t>::max() - epoch) / kTicksPerSecond) return std::nullopt;
  CalendarTime utc;
  if (!FileTimeToCalendar(epoch + seconds * kTicksPerSecond, utc)) return std::nullopt;
  return FoundDate{.Origin = DateOrigin::MovieHeader,
                   .Clock = {.Year = utc.Year, .Month = utc.Month, .Day = utc.Day, .Hour = utc.Hour,
                             .Minute = utc.Minute, .Second = utc.Second},
                   .UtcOffset = 0};
}

std::optional<FoundDate> MovieDate(MediaReader& reader, const Box& moov) {
  if (const std::optional<Box> meta = FindChild(reader, moov.Start, moov.End, FourCc("meta")))
    if (std::optional<FoundDate> date = AppleCreationDate(reader, *meta)) return date;
  const std::optional<Box> mvhd = FindChild(reader, moov.Start, moov.End, FourCc("mvhd"));
  return mvhd ? MovieHeaderDate(reader, *mvhd) : std::nullopt;
}

}  // namespace

std::optional<FoundDate> IsoMediaTakenDate(MediaReader& reader) {
  std::optional<Box> meta, moov;
  for (std::uint64_t at = 0; at < reader.Size() && !(meta && moov) && reader.Step();) {
    const std::optional<Box> box = BoxAt(reader, at, reader.Size());
    if (!box) break;
    if (box->Type == FourCc("meta") && !meta) meta = box;
    if (box->Type == FourCc("moov") && !moov) moov = box;
    at = box->End;
  }
  if (meta)
    if (std::optional<FoundDate> date = HeifExifDate(reader, *meta)) return date;
  return moov ? MovieDate(reader, *moov) : std::nullopt;
}

}  // namespace pw
