// XMP is XML, but only three simple properties are wanted: they are found as text, never parsed
// as a document, so no DTD, entity or reference is ever expanded and any input costs one pass.
#include <algorithm>
#include <string_view>

#include "media/core/ByteOrder.h"
#include "media/core/DateText.h"
#include "media/core/MediaReader.h"
#include "media/core/Sidecar.h"
#include "media/core/TakenDate.h"

namespace pw {
namespace {

// In the order they are trusted; "xap:" is the prefix of XMP's first versions.
constexpr std::string_view kProperties[] = {"exif:DateTimeOriginal", "photoshop:DateCreated", "xmp:CreateDate",
                                            "xap:CreateDate"};
constexpr std::size_t kLongestValue = 64;
// How far after a property's name its value may end: a value is short, and a bound keeps a file
// full of names without values from costing more than one pass.
constexpr std::size_t kValueReach = 512;

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ':' || c == '_' ||
         c == '-' || c == '.';
}

std::string_view SkipSpace(std::string_view text) {
  while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
  return text;
}

// The value at `rest` (just after the property's name): `="..."` or `='...'` as an attribute, `>...<`
// as an element; nothing for anything else (a closing tag, an element holding more elements).
std::optional<std::string_view> ValueAfter(std::string_view rest, bool element) {
  if (element) {
    const std::size_t close = rest.find('>');
    if (close == rest.npos || (close > 0 && rest[close - 1] == '/')) return std::nullopt;
    rest.remove_prefix(close + 1);
    const std::size_t end = rest.find('<');
    if (end == rest.npos) return std::nullopt;
    return rest.substr(0, end);
  }
  rest = SkipSpace(rest);
  if (rest.empty() || rest.front() != '=') return std::nullopt;
  rest = SkipSpace(rest.substr(1));
  if (rest.empty() || (rest.front() != '"' && rest.front() != '\'')) return std::nullopt;
  const char quote = rest.front();
  rest.remove_prefix(1);
  const std::size_t end = rest.find(quote);
  if (end == rest.npos) return std::nullopt;
  return rest.substr(0, end);
}

std::optional<FoundDate> DateOf(std::string_view value) {
  while (!value.empty() && IsSpace(value.front())) value.remove_prefix(1);
  while (!value.empty() && IsSpace(value.back())) value.remove_suffix(1);
  if (value.empty() || value.size() > kLongestValue || value.find('&') != value.npos) return std::nullopt;
  if (std::optional<IsoDateTime> iso = ReadIsoDateTime(value))
    return FoundDate{.Origin = DateOrigin::Xmp, .Clock = iso->Clock, .UtcOffset = iso->UtcOffset};
  // Some writers copy EXIF's form into XMP.
  if (value.size() >= 19 && value[4] == ':')
    if (std::optional<IsoDateTime> exif = ReadIsoDateTime(std::string(value.substr(0, 4)) + "-" +
                                                          std::string(value.substr(5, 2)) + "-" +
                                                          std::string(value.substr(8))))
      return FoundDate{.Origin = DateOrigin::Xmp, .Clock = exif->Clock, .UtcOffset = exif->UtcOffset};
  return std::nullopt;
}

std::optional<FoundDate> FindProperty(std::string_view text, std::string_view name) {
  for (std::size_t at = text.find(name); at != text.npos; at = text.find(name, at + 1)) {
    const std::size_t after = at + name.size();
    if (at == 0 || (after < text.size() && IsNameChar(text[after]))) continue;
    const char before = text[at - 1];
    if (before != '<' && !IsSpace(before)) continue;
    if (const std::optional<std::string_view> value = ValueAfter(text.substr(after, kValueReach), before == '<'))
      if (std::optional<FoundDate> date = DateOf(*value)) return date;
  }
  return std::nullopt;
}

// ---- XMP inside a file ---------------------------------------------------------------------------

std::optional<FoundDate> XmpAt(MediaReader& reader, std::uint64_t start, std::uint64_t end) {
  if (end <= start) return std::nullopt;
  const std::size_t length = static_cast<std::size_t>(std::min<std::uint64_t>(end - start, MediaReader::kLargestView));
  const std::span<const std::uint8_t> bytes = reader.View(start, length);
  return bytes.empty() ? std::nullopt : ReadXmpDate(bytes);
}

bool StartsWith(MediaReader& reader, std::uint64_t at, std::uint64_t end, std::string_view prefix) {
  if (end < at || end - at < prefix.size()) return false;
  const std::span<const std::uint8_t> bytes = reader.View(at, prefix.size());
  return !bytes.empty() && std::equal(bytes.begin(), bytes.end(), prefix.begin(),
                                      [](std::uint8_t byte, char c) { return byte == static_cast<std::uint8_t>(c); });
}

std::optional<FoundDate> JpegXmp(MediaReader& reader) {
  constexpr std::string_view kName{"http://ns.adobe.com/xap/1.0/\0", 29};
  for (std::uint64_t at = 2; reader.Step();) {
    const std::span<const std::uint8_t> marker = reader.View(at, 4);
    if (marker.empty() || marker[0] != 0xFF) return std::nullopt;
    const std::uint8_t code = marker[1];
    if (code == 0xFF) {
      ++at;
      continue;
    }
    if (code == 0x01 || (code >= 0xD0 && code <= 0xD7)) {
      at += 2;
      continue;
    }
    if (code == 0xD9 || code == 0xDA) return std::nullopt;
    const std::uint16_t length = Be16(marker.data() + 2);
    if (length < 2) return std::nullopt;
    const std::uint64_t end = at + 2 + length;
    if (code == 0xE1 && StartsWith(reader, at + 4, end, kName)) return XmpAt(reader, at + 4 + kName.size(), end);
    at = end;
  }
  return std::nullopt;
}

std::optional<FoundDate> PngXmp(MediaReader& reader) {
  constexpr std::string_view kKeyword{"XML:com.adobe.xmp\0", 18};
  for (std::uint64_t at = 8; reader.Step();) {
    const std::span<const std::uint8_t> header = reader.View(at, 8);
    if (header.empty()) return std::nullopt;
    const std::uint32_t length = Be32(header.data()), type = Be32(header.data() + 4);
    if (length > 0x7FFF'FFFF || type == FourCc("IEND")) return std::nullopt;
    const std::uint64_t data = at + 8, end = data + length;
    if (type == FourCc("iTXt") && StartsWith(reader, data, end, kKeyword)) {
      // Then the compression flag and method, and the language and translated keyword, each ended
      // by a NUL; a compressed text is not read.
      std::uint64_t text = data + kKeyword.size();
      const std::span<const std::uint8_t> flags = end - text >= 2 ? reader.View(text, 2) : std::span<const std::uint8_t>{};
      if (flags.empty() || flags[0] != 0) return std::nullopt;
      text += 2;
      for (int nul = 0; nul < 2; ++nul) {
        const std::size_t room = static_cast<std::size_t>(std::min<std::uint64_t>(end - text, 256));
        const std::span<const std::uint8_t> tags = room ? reader.View(text, room) : std::span<const std::uint8_t>{};
        const auto zero = std::find(tags.begin(), tags.end(), 0);
        if (zero == tags.end()) return std::nullopt;
        text += static_cast<std::uint64_t>(zero - tags.begin()) + 1;
      }
      return XmpAt(reader, text, end);
    }
    at = end + 4;
  }
  return std::nullopt;
}

// The box at `at`: its type, payload start and end; nothing when it does not fit.
struct Box {
  std::uint32_t Type = 0;
  std::uint64_t Start = 0, End = 0;
};
std::optional<Box> BoxAt(MediaReader& reader, std::uint64_t at, std::uint64_t end) {
  if (at > end || end - at < 8) return std::nullopt;
  const std::span<const std::uint8_t> header = reader.View(at, 8);
  if (header.empty()) return std::nullopt;
  std::uint64_t size = Be32(header.data()), headerSize = 8;
  if (size == 1) {
    const std::span<const std::uint8_t> large = end - at >= 16 ? reader.View(at + 8, 8) : std::span<const std::uint8_t>{};
    if (large.empty()) return std::nullopt;
    size = Be64(large.data());
    headerSize = 16;
  } else if (size == 0) {
    size = end - at;
  }
  if (size < headerSize || size > end - at) return std::nullopt;
  return Box{Be32(header.data() + 4), at + headerSize, at + size};
}

std::optional<Box> Child(MediaReader& reader, std::uint64_t start, std::uint64_t end, std::uint32_t type) {
  for (std::uint64_t at = start; at < end && reader.Step();) {
    const std::optional<Box> box = BoxAt(reader, at, end);
    if (!box) return std::nullopt;
    if (box->Type == type) return box;
    at = box->End;
  }
  return std::nullopt;
}

std::optional<FoundDate> IsoXmp(MediaReader& reader) {
  constexpr std::string_view kXmpUuid{"\xBE\x7A\xCF\xCB\x97\xA9\x42\xE8\x9C\x71\x99\x94\x91\xE3\xAF\xAC", 16};
  for (std::uint64_t at = 0; at < reader.Size() && reader.Step();) {
    const std::optional<Box> box = BoxAt(reader, at, reader.Size());
    if (!box) return std::nullopt;
    at = box->End;
    if (box->Type == FourCc("uuid") && StartsWith(reader, box->Start, box->End, kXmpUuid))
      if (auto date = XmpAt(reader, box->Start + kXmpUuid.size(), box->End)) return date;
    if (box->Type == FourCc("moov"))
      if (const std::optional<Box> udta = Child(reader, box->Start, box->End, FourCc("udta")))
        if (const std::optional<Box> xmp = Child(reader, udta->Start, udta->End, FourCc("XMP_")))
          if (auto date = XmpAt(reader, xmp->Start, xmp->End)) return date;
  }
  return std::nullopt;
}

}  // namespace

std::optional<FoundDate> ReadXmpDate(std::span<const std::uint8_t> bytes) {
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), std::min(bytes.size(), kLargestSidecar));
  for (const std::string_view name : kProperties)
    if (std::optional<FoundDate> date = FindProperty(text, name)) return date;
  return std::nullopt;
}

std::optional<FoundDate> ReadEmbeddedXmp(ByteSource& source) {
  MediaReader reader(source);
  const std::span<const std::uint8_t> head = reader.View(0, static_cast<std::size_t>(std::min<std::uint64_t>(reader.Size(), 12)));
  switch (MediaKindOf(head)) {
    case MediaKind::Jpeg: return JpegXmp(reader);
    case MediaKind::Png: return PngXmp(reader);
    case MediaKind::IsoMedia: return IsoXmp(reader);
    default: break;
  }
  return std::nullopt;
}

}  // namespace pw
