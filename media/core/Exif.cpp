#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "media/core/ByteOrder.h"
#include "media/core/DateText.h"
#include "media/core/MediaFormats.h"

namespace pw {
namespace {

// The tags a date is made of, and the pointer from IFD0 to the Exif IFD.
enum TagSlot : std::size_t { kOriginal, kOriginalSubSec, kOriginalOffset, kDigitized, kDigitizedSubSec,
                             kDigitizedOffset, kMake, kModel, kSerial, kSlotCount };
struct WantedTag {
  std::uint16_t Tag;
  TagSlot Slot;
};
constexpr WantedTag kWantedTags[] = {
    {.Tag = 0x9003, .Slot = kOriginal},        {.Tag = 0x9291, .Slot = kOriginalSubSec},
    {.Tag = 0x9011, .Slot = kOriginalOffset},  {.Tag = 0x9004, .Slot = kDigitized},
    {.Tag = 0x9292, .Slot = kDigitizedSubSec}, {.Tag = 0x9012, .Slot = kDigitizedOffset},
    // The camera, which tells one clock from another: Make and Model, BodySerialNumber.
    {.Tag = 0x010F, .Slot = kMake},            {.Tag = 0x0110, .Slot = kModel},
    {.Tag = 0xA431, .Slot = kSerial},
};
constexpr std::uint16_t kExifIfdPointer = 0x8769;

// IFD0 and the Exif IFD hold a few dozen entries; a count beyond this is damage.
constexpr std::size_t kMostEntries = 1000;
constexpr std::size_t kEntryBytes = 12;
// The longest text kept of a tag: a date is 20 bytes with its NUL.
constexpr std::size_t kLongestText = 32;

struct TagText {
  std::array<char, kLongestText> Bytes{};
  std::size_t Length = 0;
  bool Found = false;
  std::string_view View() const { return {Bytes.data(), Length}; }
};
using DateTags = std::array<TagText, kSlotCount>;

// An entry kept from an IFD until its value is read: the entries' bytes may be gone by then.
struct PendingEntry {
  TagSlot Slot = kSlotCount;  // kSlotCount: the Exif IFD pointer
  std::uint16_t Type = 0;
  std::uint32_t Count = 0;
  std::array<std::uint8_t, 4> Value{};
};

class TiffBlock {
public:
  TiffBlock(MediaReader& reader, std::uint64_t start, std::uint64_t end)
      : reader_(reader), start_(start), length_(end > start ? end - start : 0) {}

  bool ReadHeader(std::uint32_t& firstIfd) {
    const std::span<const std::uint8_t> header = View(0, 8);
    if (header.empty()) return false;
    if (header[0] == 'I' && header[1] == 'I') bigEndian_ = false;
    else if (header[0] == 'M' && header[1] == 'M') bigEndian_ = true;
    else return false;
    // 42 for TIFF and EXIF; Olympus ORF uses "RO" or "RS", Panasonic RW2 "U".
    const std::uint16_t magic = U16(&header[2]);
    if (magic != 42 && magic != 0x4F52 && magic != 0x5352 && magic != 0x55) return false;
    firstIfd = U32(&header[4]);
    return true;
  }

  // Reads the wanted tags of the IFD at `offset`; `exifIfd` gets the Exif IFD pointer when there.
  void ReadIfd(std::uint32_t offset, DateTags& tags, std::optional<std::uint32_t>& exifIfd) {
    const std::span<const std::uint8_t> countBytes = View(offset, 2);
    if (countBytes.empty()) return;
    // A cut IFD gives the entries that are there.
    const std::uint64_t room = (length_ - offset - 2) / kEntryBytes;
    const std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>({U16(countBytes.data()), room, kMostEntries}));
    if (count == 0) return;
    const std::span<const std::uint8_t> entries = View(std::uint64_t{offset} + 2, count * kEntryBytes);
    if (entries.empty()) return;

    std::array<PendingEntry, std::size(kWantedTags) + 1> pending;
    std::size_t pendingCount = 0;
    for (std::size_t i = 0; i < count && reader_.Step(); ++i) {
      const std::uint8_t* entry = &entries[i * kEntryBytes];
      const std::uint16_t tag = U16(entry);
      TagSlot slot = kSlotCount;
      if (tag != kExifIfdPointer) {
        const auto wanted = std::find_if(std::begin(kWantedTags), std::end(kWantedTags),
                                         [tag](const WantedTag& w) { return w.Tag == tag; });
        if (wanted == std::end(kWantedTags)) continue;
        slot = wanted->Slot;
      }
      if (pendingCount == pending.size()) break;
      PendingEntry& kept = pending[pendingCount++];
      kept.Slot = slot;
      kept.Type = U16(entry + 2);
      kept.Count = U32(entry + 4);
      std::copy_n(entry + 8, 4, kept.Value.begin());
    }
    for (std::size_t i = 0; i < pendingCount; ++i) {
      const PendingEntry& entry = pending[i];
      if (entry.Slot == kSlotCount) {
        // LONG, or IFD as later writers type it.
        if ((entry.Type == 4 || entry.Type == 13) && entry.Count == 1) exifIfd = U32(entry.Value.data());
      } else {
        ReadText(entry, tags[entry.Slot]);
      }
    }
  }

private:
  // ASCII as the standard says; BYTE and UNDEFINED as some writers have it.
  void ReadText(const PendingEntry& entry, TagText& into) {
    if ((entry.Type != 2 && entry.Type != 1 && entry.Type != 7) || entry.Count == 0) return;
    std::span<const std::uint8_t> bytes;
    if (entry.Count <= 4) {
      bytes = std::span<const std::uint8_t>(entry.Value).first(entry.Count);
    } else {
      // A count past the end of the structure keeps what is there: the text stops at its NUL.
      const std::uint32_t offset = U32(entry.Value.data());
      const std::uint64_t there = offset < length_ ? length_ - offset : 0;
      const std::size_t length = static_cast<std::size_t>(std::min<std::uint64_t>({entry.Count, kLongestText, there}));
      if (length == 0) return;
      bytes = View(offset, length);
    }
    if (bytes.empty()) return;
    std::copy(bytes.begin(), bytes.end(), into.Bytes.begin());
    into.Length = bytes.size();
    into.Found = true;
  }

  std::span<const std::uint8_t> View(std::uint64_t offset, std::size_t length) {
    if (offset > length_ || length > length_ - offset) return {};
    return reader_.View(start_ + offset, length);
  }
  std::uint16_t U16(const std::uint8_t* p) const { return bigEndian_ ? Be16(p) : Le16(p); }
  std::uint32_t U32(const std::uint8_t* p) const { return bigEndian_ ? Be32(p) : Le32(p); }

  MediaReader& reader_;
  std::uint64_t start_, length_;
  bool bigEndian_ = false;
};

std::optional<FoundDate> DateFrom(const DateTags& tags, TagSlot date, TagSlot subSec, TagSlot offset, DateOrigin origin) {
  if (!tags[date].Found) return std::nullopt;
  const std::optional<WallClock> clock = ReadExifDateTime(tags[date].View());
  if (!clock) return std::nullopt;
  FoundDate found{.Origin = origin, .Clock = *clock, .UtcOffset = std::nullopt};
  if (tags[subSec].Found) found.Clock.SubSecond = ReadSubSeconds(tags[subSec].View()).value_or(0);
  if (tags[offset].Found) found.UtcOffset = ReadUtcOffset(tags[offset].View());
  return found;
}

std::optional<FoundDate> DateFrom(const DateTags& tags) {
  if (auto original = DateFrom(tags, kOriginal, kOriginalSubSec, kOriginalOffset, DateOrigin::ExifOriginal))
    return original;
  return DateFrom(tags, kDigitized, kDigitizedSubSec, kDigitizedOffset, DateOrigin::ExifDigitized);
}

// "Make Model #Serial", each part that is there, texts ending at their NUL.
std::string CameraOf(const DateTags& first, const DateTags& exif) {
  std::string camera;
  for (const TagText* tag : {&first[kMake], &first[kModel], &exif[kSerial]}) {
    std::string_view text = tag->View();
    text = text.substr(0, text.find('\0'));
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    if (!tag->Found || text.empty()) continue;
    if (!camera.empty()) camera += ' ';
    if (tag == &exif[kSerial]) camera += '#';
    camera += text;
  }
  return camera;
}

}  // namespace

std::optional<FoundDate> ReadExifDate(MediaReader& reader, std::uint64_t start, std::uint64_t end) {
  TiffBlock block(reader, start, std::min(end, reader.Size()));
  std::uint32_t firstIfd = 0;
  if (!block.ReadHeader(firstIfd)) return std::nullopt;
  DateTags inFirst, inExif;
  std::optional<std::uint32_t> exifIfd, pointerInExif;
  block.ReadIfd(firstIfd, inFirst, exifIfd);
  if (exifIfd) block.ReadIfd(*exifIfd, inExif, pointerInExif);
  // The dates belong in the Exif IFD; TIFF/EP files (some raw formats) keep them in IFD0.
  std::optional<FoundDate> date = DateFrom(inExif);
  if (!date) date = DateFrom(inFirst);
  if (date) date->Camera = CameraOf(inFirst, inExif);
  return date;
}

std::optional<FoundDate> ReadExifPayload(MediaReader& reader, std::uint64_t start, std::uint64_t end) {
  constexpr std::uint8_t kExifName[] = {'E', 'x', 'i', 'f', 0, 0};
  const std::span<const std::uint8_t> name = start < end && end - start >= sizeof(kExifName)
                                                 ? reader.View(start, sizeof(kExifName))
                                                 : std::span<const std::uint8_t>{};
  if (!name.empty() && std::equal(name.begin(), name.end(), std::begin(kExifName))) start += sizeof(kExifName);
  return ReadExifDate(reader, start, end);
}

std::optional<FoundDate> TiffTakenDate(MediaReader& reader) { return ReadExifDate(reader, 0, reader.Size()); }

}  // namespace pw
