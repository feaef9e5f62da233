#include "browse/core/FileText.h"

#include "common/core/TimeText.h"

#include <algorithm>
#include <array>

namespace pw {
namespace {

constexpr std::uint32_t kLetterBits = AttrReadOnly | AttrHidden | AttrSystem | AttrArchive |
                                      AttrNormal;

// Index of the five letter bits packed into 0..31.
unsigned LetterIndex(std::uint32_t attributes) {
  return (attributes & 0x07u) | ((attributes & AttrArchive) >> 2) | ((attributes & AttrNormal) >> 3);
}

struct LetterTable {
  std::array<std::wstring, 32> Texts;
  LetterTable() {
    for (unsigned i = 0; i < 32; ++i) {
      std::wstring& s = Texts[i];
      if (i & 0x01) s += L'R';
      if (i & 0x02) s += L'H';
      if (i & 0x04) s += L'S';
      if (i & 0x08) s += L'A';
      if (i & 0x10) s += L'N';
      if (s.empty()) s = L".";
    }
  }
};

const LetterTable& Letters() {
  static const LetterTable table;
  return table;
}

wchar_t AsciiUpper(wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - 32) : c; }

}  // namespace

std::wstring_view AttributeLetters(std::uint32_t attributes) {
  static_assert(kLetterBits == 0xA7);
  return Letters().Texts[LetterIndex(attributes)];
}

std::wstring AttributeText(std::uint32_t attributes) {
  return std::wstring(AttributeLetters(attributes));
}

std::wstring FileTypeText(std::wstring_view path, std::uint32_t attributes) {
  if (attributes & AttrDirectory) return L"File Folder";
  const std::size_t separator = path.find_last_of(L"\\:");
  const std::size_t nameStart = separator == std::wstring_view::npos ? 0 : separator + 1;
  const std::size_t dot = path.rfind(L'.');
  std::wstring extension;
  if (dot != std::wstring_view::npos && dot >= nameStart) {
    extension.assign(path.substr(dot + 1));
    std::transform(extension.begin(), extension.end(), extension.begin(), AsciiUpper);
    if (extension.empty()) return {};  // the name ends in a lone dot
  }
  return extension + L" File";
}


std::wstring FormatKilobytes(std::int64_t bytes, std::wstring_view thousandSep) {
  const std::int64_t kilobytes = bytes / 1024;
  std::wstring out;
  if (kilobytes < 0) {
    out = L"-";
    out += FormatGrouped(0u - static_cast<std::uint64_t>(kilobytes), thousandSep);
  } else {
    out = FormatGrouped(static_cast<std::uint64_t>(kilobytes), thousandSep);
  }
  out += L" KB";
  return out;
}

std::wstring FormatSerial(std::uint32_t serial) {
  static constexpr wchar_t kHex[] = L"0123456789ABCDEF";
  std::wstring out(9, L'-');
  for (int i = 0; i < 8; ++i) {
    const unsigned nibble = (serial >> (28 - 4 * i)) & 0xFu;
    out[static_cast<std::size_t>(i < 4 ? i : i + 1)] = kHex[nibble];
  }
  return out;
}

std::wstring DriveTypeText(std::uint32_t driveType) {
  static constexpr const wchar_t* kTexts[] = {L"Unknown", L"NotExists", L"Removable", L"Fixed",
                                              L"Remote",  L"CDROM",     L"RAMDisk"};
  return driveType < std::size(kTexts) ? kTexts[driveType] : L"";
}

std::wstring FileTimeText(const CalendarTime& local, const DateFormatter& date,
                          std::wstring_view timeSep) {
  std::wstring out = date.Format(local);
  out += L' ';
  out += TimeOfDayText(local, timeSep);
  return out;
}

}  // namespace pw
