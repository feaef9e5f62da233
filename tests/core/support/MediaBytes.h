#pragma once
// Files built byte by byte for the date readers' tests: TIFF structures in either byte order, ISO
// media boxes, and sources that count what the readers read.
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "media/core/ByteSource.h"
#include "media/core/FoundDate.h"

namespace testmedia {

using Bytes = std::vector<std::uint8_t>;

void PutBe(Bytes& into, std::uint64_t value, int width);
void PutLe(Bytes& into, std::uint64_t value, int width);
Bytes Be(std::uint64_t value, int width);
Bytes Le(std::uint64_t value, int width);
Bytes Text(std::string_view text);
Bytes Join(std::initializer_list<Bytes> parts);

// A text tag (ASCII, NUL-terminated as writers store it) or a number tag (LONG) of an IFD.
struct TiffEntry {
  std::uint16_t Tag = 0;
  std::string Value;
  std::optional<std::uint32_t> Number;  // a LONG instead of the text
};
TiffEntry TextTag(std::uint16_t tag, std::string value);
TiffEntry LongTag(std::uint16_t tag, std::uint32_t value);
// A TIFF structure: IFD0 with `first` (and the Exif IFD pointer when `exif` is not empty), then the
// Exif IFD, then the values too long to stand in their entries.
Bytes Tiff(bool bigEndian, const std::vector<TiffEntry>& first, const std::vector<TiffEntry>& exif);
// The usual shape: DateTimeOriginal with the given sub-seconds and offset ("" leaves a tag out).
Bytes ExifWithOriginal(bool bigEndian, const std::string& date, const std::string& subSec = "",
                       const std::string& offset = "");

// An ISO media box with a 32-bit size; FullBox prefixes its payload with version and flags.
Bytes Box(std::string_view type, const Bytes& payload);
Bytes FullBox(std::string_view type, int version, const Bytes& payload);
// A JPEG holding the TIFF structure in its APP1 segment, after an APP0.
Bytes JpegWithExif(const Bytes& tiff);

// Reads a date from bytes as ReadTakenDate does.
std::optional<pw::FoundDate> TakenDate(const Bytes& file);

// A source of `size` bytes that are zero except where pieces are placed, counting what is read:
// files far larger than memory, such as a movie with gigabytes of media data.
class SparseSource final : public pw::ByteSource {
public:
  explicit SparseSource(std::uint64_t size) : size_(size) {}
  void Place(std::uint64_t offset, Bytes bytes) { pieces_.push_back({offset, std::move(bytes)}); }
  std::uint64_t Size() const override { return size_; }
  std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> into) override;
  std::uint64_t BytesRead() const { return bytesRead_; }

private:
  struct Piece {
    std::uint64_t Offset;
    Bytes Content;
  };
  std::uint64_t size_;
  std::vector<Piece> pieces_;
  std::uint64_t bytesRead_ = 0;
};

// File time of a Unix time, computed without the program's calendar code.
constexpr std::uint64_t FromUnix(std::int64_t seconds, std::uint32_t ticks = 0) {
  return static_cast<std::uint64_t>(seconds + 11'644'473'600) * 10'000'000 + ticks;
}

}  // namespace testmedia

namespace pw {
// Failures show the fields, not the bytes.
void PrintTo(const WallClock& clock, std::ostream* out);
}  // namespace pw
