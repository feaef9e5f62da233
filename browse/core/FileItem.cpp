#include "browse/core/FileItem.h"

#include "browse/core/FileText.h"

namespace pw {
namespace {

std::wstring TimeText(std::uint64_t fileTime, const FileTextContext& ctx) {
  CalendarTime t;
  const bool ok = ctx.ToLocal ? ctx.ToLocal(fileTime, t) : FileTimeToCalendar(fileTime, t);
  return ok ? FileTimeText(t, ctx.Date, ctx.TimeSep) : std::wstring();
}

}  // namespace

wchar_t ItemKindLetter(const FileItem& item) {
  return item.Kind == ItemKind::File ? L'F' : L'D';
}

bool IsBracketed(const FileItem& item) {
  return !item.Caption.empty() && item.Caption.front() == L'[';
}

std::wstring ItemFullPath(const FileItem& item, const FileTextContext& ctx) {
  switch (item.Kind) {
    case ItemKind::File:
    case ItemKind::Folder: return ctx.ListedFolder + std::wstring(item.Caption);
    case ItemKind::Parent: return ctx.ListedFolder;
    case ItemKind::Drives: break;
  }
  return {};
}

std::wstring ItemTypeText(const FileItem& item, const FileTextContext& ctx) {
  if (item.Kind == ItemKind::Drives) return {};
  if (item.TypeIndex >= 0 && static_cast<std::size_t>(item.TypeIndex) < ctx.TypeNames.size() &&
      !ctx.TypeNames[static_cast<std::size_t>(item.TypeIndex)].empty()) {
    return ctx.TypeNames[static_cast<std::size_t>(item.TypeIndex)];
  }
  // The parent entry is a folder whatever attributes could be read for it.
  const std::uint32_t attributes =
      item.Kind == ItemKind::File ? item.Attributes : item.Attributes | AttrDirectory;
  return FileTypeText(item.Caption, attributes);
}

std::wstring ItemSubText(const FileItem& item, int subItem, const FileTextContext& ctx) {
  if (subItem == SubKind) return std::wstring(1, ItemKindLetter(item));
  if (subItem == SubPath) return ItemFullPath(item, ctx);
  if (item.Kind == ItemKind::Drives) return {};
  switch (subItem) {
    case SubSize:
      return item.Kind == ItemKind::File ? FormatGrouped(item.Size, ctx.ThousandSep)
                                         : std::wstring();
    case SubType: return ItemTypeText(item, ctx);
    case SubCreated: return TimeText(item.Created, ctx);
    case SubModified: return TimeText(item.Modified, ctx);
    case SubAccessed: return TimeText(item.Accessed, ctx);
    case SubAttributes: return AttributeText(item.Attributes);
    default: return {};
  }
}

}  // namespace pw
