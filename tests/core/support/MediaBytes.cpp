#include "support/MediaBytes.h"

#include <algorithm>
#include <iomanip>
#include <utility>

#include "media/core/TakenDate.h"

namespace testmedia {

void PutBe(Bytes& into, std::uint64_t value, int width) {
  for (int i = width - 1; i >= 0; --i) into.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void PutLe(Bytes& into, std::uint64_t value, int width) {
  for (int i = 0; i < width; ++i) into.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

Bytes Be(std::uint64_t value, int width) {
  Bytes b;
  PutBe(b, value, width);
  return b;
}

Bytes Le(std::uint64_t value, int width) {
  Bytes b;
  PutLe(b, value, width);
  return b;
}

Bytes Text(std::string_view text) { return Bytes(text.begin(), text.end()); }

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

TiffEntry TextTag(std::uint16_t tag, std::string value) {
  TiffEntry entry;
  entry.Tag = tag;
  entry.Value = std::move(value);
  return entry;
}

TiffEntry LongTag(std::uint16_t tag, std::uint32_t value) {
  TiffEntry entry;
  entry.Tag = tag;
  entry.Number = value;
  return entry;
}

Bytes Tiff(bool bigEndian, const std::vector<TiffEntry>& first, const std::vector<TiffEntry>& exif) {
  const auto put = [bigEndian](Bytes& into, std::uint64_t value, int width) {
    bigEndian ? PutBe(into, value, width) : PutLe(into, value, width);
  };
  std::vector<TiffEntry> ifd0 = first;
  const std::size_t exifPointer = ifd0.size();
  if (!exif.empty()) ifd0.push_back(LongTag(0x8769, 0));
  const auto ifdBytes = [](const std::vector<TiffEntry>& entries) { return 2 + 12 * entries.size() + 4; };
  const std::uint32_t ifd0At = 8, exifAt = static_cast<std::uint32_t>(ifd0At + ifdBytes(ifd0));
  if (!exif.empty()) ifd0[exifPointer].Number = exifAt;
  std::uint32_t valuesAt = static_cast<std::uint32_t>(exifAt + (exif.empty() ? 0 : ifdBytes(exif)));

  Bytes out = Text(bigEndian ? "MM" : "II"), values;
  put(out, 42, 2);
  put(out, ifd0At, 4);
  const auto writeIfd = [&](const std::vector<TiffEntry>& entries) {
    put(out, entries.size(), 2);
    for (const TiffEntry& entry : entries) {
      put(out, entry.Tag, 2);
      if (entry.Number) {
        put(out, 4, 2);
        put(out, 1, 4);
        put(out, *entry.Number, 4);
        continue;
      }
      const std::size_t count = entry.Value.size() + 1;
      put(out, 2, 2);
      put(out, count, 4);
      Bytes text = Text(entry.Value);
      text.push_back(0);
      if (count <= 4) {
        text.resize(4);
        out.insert(out.end(), text.begin(), text.end());
      } else {
        put(out, valuesAt + values.size(), 4);
        values.insert(values.end(), text.begin(), text.end());
      }
    }
    put(out, 0, 4);
  };
  writeIfd(ifd0);
  if (!exif.empty()) writeIfd(exif);
  out.insert(out.end(), values.begin(), values.end());
  return out;
}

Bytes ExifWithOriginal(bool bigEndian, const std::string& date, const std::string& subSec, const std::string& offset) {
  std::vector<TiffEntry> exif = {TextTag(0x9003, date)};
  if (!subSec.empty()) exif.push_back(TextTag(0x9291, subSec));
  if (!offset.empty()) exif.push_back(TextTag(0x9011, offset));
  // ModifyDate, which never counts as the date taken.
  return Tiff(bigEndian, {TextTag(0x0132, "1999:09:09 09:09:09")}, exif);
}

Bytes Box(std::string_view type, const Bytes& payload) {
  return Join({Be(8 + payload.size(), 4), Text(type), payload});
}

Bytes FullBox(std::string_view type, int version, const Bytes& payload) {
  return Box(type, Join({Be(static_cast<std::uint64_t>(version) << 24, 4), payload}));
}

Bytes JpegWithExif(const Bytes& tiff) {
  const Bytes app0 = Join({Text("JFIF"), Bytes(10, 0)});
  const Bytes app1 = Join({Text("Exif"), Bytes(2, 0), tiff});
  return Join({{0xFF, 0xD8, 0xFF, 0xE0}, Be(2 + app0.size(), 2), app0, {0xFF, 0xE1}, Be(2 + app1.size(), 2), app1,
               {0xFF, 0xDA, 0x00, 0x02, 0xFF, 0xD9}});
}

std::optional<pw::FoundDate> TakenDate(const Bytes& file) {
  pw::MemorySource source(file);
  return pw::ReadTakenDate(source);
}

std::size_t SparseSource::ReadAt(std::uint64_t offset, std::span<std::uint8_t> into) {
  if (offset >= size_) return 0;
  const std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(into.size(), size_ - offset));
  std::fill_n(into.begin(), count, std::uint8_t{0});
  for (const Piece& piece : pieces_) {
    const std::uint64_t from = std::max(offset, piece.Offset),
                        to = std::min(offset + count, piece.Offset + piece.Content.size());
    for (std::uint64_t at = from; at < to; ++at) into[at - offset] = piece.Content[at - piece.Offset];
  }
  bytesRead_ += count;
  return count;
}

}  // namespace testmedia

namespace pw {

void PrintTo(const WallClock& clock, std::ostream* out) {
  *out << std::setfill('0') << std::setw(4) << clock.Year << '-' << std::setw(2) << clock.Month << '-' << std::setw(2)
       << clock.Day << ' ' << std::setw(2) << clock.Hour << ':' << std::setw(2) << clock.Minute << ':' << std::setw(2)
       << clock.Second << '+' << std::setw(7) << clock.SubSecond << " ticks";
}

}  // namespace pw
