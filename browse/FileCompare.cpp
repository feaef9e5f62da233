#include "browse/FileCompare.h"

#include <algorithm>
#include <array>
#include <limits>
#include <numeric>

#include "browse/FileText.h"

namespace pw {
namespace {

unsigned Fold(wchar_t c) {
  const auto u = static_cast<unsigned>(c);
  return u >= L'a' && u <= L'z' ? u - 32 : u;
}

// A text made of up to three pieces, compared as if they were joined, without joining them.
struct JoinedText {
  std::array<std::wstring_view, 3> Parts;
};

int CompareJoined(const JoinedText& a, const JoinedText& b) {
  std::size_t ap = 0, ai = 0, bp = 0, bi = 0;
  for (;;) {
    while (ap < a.Parts.size() && ai == a.Parts[ap].size()) ++ap, ai = 0;
    while (bp < b.Parts.size() && bi == b.Parts[bp].size()) ++bp, bi = 0;
    const bool aEnd = ap == a.Parts.size(), bEnd = bp == b.Parts.size();
    if (aEnd || bEnd) return aEnd == bEnd ? 0 : aEnd ? -1 : 1;
    const unsigned ca = Fold(a.Parts[ap][ai++]), cb = Fold(b.Parts[bp][bi++]);
    if (ca != cb) return ca < cb ? -1 : 1;
  }
}

constexpr std::wstring_view kKindD = L"D";
constexpr std::wstring_view kKindF = L"F";
constexpr std::wstring_view kFileSuffix = L" File";
constexpr std::wstring_view kFolderType = L"File Folder";

// Everything one comparison needs of an item, made once per item for a sort.
struct SortKey {
  std::uint64_t Number = 0;     // size, or a file time in milliseconds
  std::wstring_view Caption;
  std::wstring_view Head;       // type text or attribute letters
  std::wstring_view Tail;       // " File" after a bare extension
  std::uint32_t Index = 0;
  std::uint8_t Group = 0;       // 0 parent/drives, 1 other bracketed captions, 2 the rest
  std::uint8_t Special = 0;     // drives before parent
  bool Folder = false;          // kind "D"
};

// The type text as FileTypeText would give it, as pieces of the caption: the caseless
// comparison folds a-z just as the type text upper-cases them.
void TypePieces(const FileItem& item, const FileTextContext& ctx, SortKey& key) {
  if (item.Kind == ItemKind::Drives) return;
  if (item.TypeIndex >= 0 && static_cast<std::size_t>(item.TypeIndex) < ctx.TypeNames.size() &&
      !ctx.TypeNames[static_cast<std::size_t>(item.TypeIndex)].empty()) {
    key.Head = ctx.TypeNames[static_cast<std::size_t>(item.TypeIndex)];
    return;
  }
  if (item.Kind != ItemKind::File || (item.Attributes & AttrDirectory)) {
    key.Head = kFolderType;
    return;
  }
  const std::wstring_view name = item.Caption;
  const std::size_t separator = name.find_last_of(L"\\:");
  const std::size_t nameStart = separator == std::wstring_view::npos ? 0 : separator + 1;
  const std::size_t dot = name.rfind(L'.');
  if (dot != std::wstring_view::npos && dot >= nameStart) {
    if (dot + 1 == name.size()) return;  // a lone trailing dot: no type text at all
    key.Head = name.substr(dot + 1);
  }
  key.Tail = kFileSuffix;
}

SortKey MakeKey(const FileItem& item, int sortColumn, const FileTextContext& ctx) {
  SortKey key;
  key.Caption = item.Caption;
  key.Folder = item.Kind != ItemKind::File;
  if (item.Kind == ItemKind::Drives || item.Kind == ItemKind::Parent) {
    key.Group = 0;
    key.Special = item.Kind == ItemKind::Drives ? 0 : 1;
  } else {
    key.Group = IsBracketed(item) ? 1 : 2;
  }
  switch (sortColumn) {
    case ColSize: key.Number = item.Size; break;
    case ColType: TypePieces(item, ctx, key); break;
    case ColCreated: key.Number = item.Created / FileTimeTicksPerMs; break;
    case ColModified: key.Number = item.Modified / FileTimeTicksPerMs; break;
    case ColAccessed: key.Number = item.Accessed / FileTimeTicksPerMs; break;
    case ColAttributes:
      if (item.Kind != ItemKind::Drives) key.Head = AttributeLetters(item.Attributes);
      break;
    default: break;
  }
  return key;
}

int CompareCaptions(const SortKey& a, const SortKey& b) {
  return CaselessCompare(a.Caption, b.Caption);
}

int CompareNumbers(const SortKey& a, const SortKey& b) {
  if (a.Number != b.Number) return a.Number < b.Number ? -1 : 1;
  return CompareCaptions(a, b);
}

// Same-kind entries by the sort column, ascending.
int CompareByColumn(const SortKey& a, const SortKey& b, int sortColumn) {
  const std::wstring_view kindA = a.Folder ? kKindD : kKindF;
  const std::wstring_view kindB = b.Folder ? kKindD : kKindF;
  switch (sortColumn) {
    case ColSize:
      return a.Folder && b.Folder ? CompareCaptions(a, b) : CompareNumbers(a, b);
    case ColType:
      return CompareJoined({{a.Head, a.Tail, a.Caption}}, {{b.Head, b.Tail, b.Caption}});
    case ColCreated:
    case ColModified:
    case ColAccessed: return CompareNumbers(a, b);
    case ColAttributes:
      return CompareJoined({{kindA, a.Head, a.Caption}}, {{kindB, b.Head, b.Caption}});
    default: return CompareJoined({{kindA, a.Caption, {}}}, {{kindB, b.Caption, {}}});
  }
}

int CompareKeys(const SortKey& a, const SortKey& b, int sortColumn, bool ascending) {
  if (a.Group != b.Group) return a.Group < b.Group ? -1 : 1;
  if (a.Group == 0 && a.Special != b.Special) return a.Special < b.Special ? -1 : 1;
  int result = 0;
  if (a.Folder != b.Folder) {
    result = a.Folder ? -1 : 1;
  } else {
    result = CompareByColumn(a, b, sortColumn);
  }
  return ascending ? result : -result;
}

}  // namespace

int CaselessCompare(std::wstring_view a, std::wstring_view b) {
  return CompareJoined({{a, {}, {}}}, {{b, {}, {}}});
}

std::int64_t SizeTextToNumber(std::wstring_view text) {
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  std::int64_t value = 0;
  for (const wchar_t c : text) {
    if (c < L'0' || c > L'9') continue;
    const int digit = c - L'0';
    if (value > (kMax - digit) / 10) return kMax;
    value = value * 10 + digit;
  }
  return value;
}

double DateTimeTextToValue(std::wstring_view text, const DateFormatter& date) {
  CalendarTime t;
  if (date.Parse(text, t)) return CalendarToDateTime(t);
  // The time part is the fixed-width tail after a blank. Splitting at the last blank rather than
  // the first also reads dates whose pattern contains blanks ("d. M. yyyy").
  const std::size_t blank = text.rfind(L' ');
  if (blank == std::wstring_view::npos || !date.Parse(text.substr(0, blank), t)) return 0.0;
  const std::wstring_view time = text.substr(blank + 1);
  if (time.size() != 12) return 0.0;
  auto number = [&time](std::size_t pos, std::size_t count, int& out) {
    out = 0;
    for (std::size_t i = pos; i < pos + count; ++i) {
      if (time[i] < L'0' || time[i] > L'9') return false;
      out = out * 10 + (time[i] - L'0');
    }
    return true;
  };
  if (!number(0, 2, t.Hour) || !number(3, 2, t.Minute) || !number(6, 2, t.Second) ||
      !number(9, 3, t.Millisecond) || t.Hour > 23 || t.Minute > 59 || t.Second > 59) {
    return 0.0;
  }
  return CalendarToDateTime(t);
}

int CompareFileItems(const FileItem& a, const FileItem& b, int sortColumn, bool ascending,
                     const FileTextContext& ctx) {
  return CompareKeys(MakeKey(a, sortColumn, ctx), MakeKey(b, sortColumn, ctx), sortColumn,
                     ascending);
}

void SortFileItems(std::vector<FileItem>& items, int sortColumn, bool ascending,
                   const FileTextContext& ctx) {
  std::vector<SortKey> keys;
  keys.reserve(items.size());
  for (std::size_t i = 0; i < items.size(); ++i) {
    keys.push_back(MakeKey(items[i], sortColumn, ctx));
    keys.back().Index = static_cast<std::uint32_t>(i);
  }
  std::stable_sort(keys.begin(), keys.end(), [&](const SortKey& a, const SortKey& b) {
    return CompareKeys(a, b, sortColumn, ascending) < 0;
  });
  std::vector<FileItem> sorted;
  sorted.reserve(items.size());
  for (const SortKey& key : keys) sorted.push_back(std::move(items[key.Index]));
  items = std::move(sorted);
}

}  // namespace pw
