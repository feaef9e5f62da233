#pragma once
// The model of the file list: one entry per row, holding raw values. The row texts are made on
// demand, only for what is painted or read.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/core/DateFormat.h"
#include "common/core/DateTime.h"
#include "browse/core/NamePool.h"

namespace pw {

enum class ItemKind : std::uint8_t { File, Folder, Parent, Drives };

// Icons that are not a system image index: none at all, and the folder-up icon of the parent and
// drives entries.
inline constexpr std::int32_t kNoIcon = -1, kUpIcon = -2;

struct FileItem {
  // file/folder: the found name; parent: "[name]"/"[..]"; drives: "[Drives]". The text lives in the
  // model's name pool: one pointer, so that a row takes 56 bytes.
  NameRef Caption;
  std::uint64_t Size = 0;
  std::uint64_t Created = 0, Modified = 0, Accessed = 0;  // UTC file times
  std::uint32_t Attributes = 0;  // parent entry: the attributes of the listed folder itself
  std::int32_t TypeIndex = -1;   // index into FileTextContext::TypeNames, -1 = no shell type name
  std::int32_t IconIndex = kNoIcon;  // the shell's system image index for the entry's type, or as above
  ItemKind Kind = ItemKind::File;
  // The shell draws this entry's icon from the entry itself (a program, a shortcut): asked for when
  // its row is first painted, with the type's icon as the fallback.
  bool OwnIcon = false;
};

// A million rows are most of a listing's memory.
static_assert(sizeof(void*) != 8 || sizeof(FileItem) <= 56, "a row takes 56 bytes");

struct FileTextContext {
  std::wstring ListedFolder;  // with trailing backslash
  std::wstring ThousandSep = L",";
  std::wstring TimeSep = L":";
  DateFormatter Date;
  std::vector<std::wstring> TypeNames;
  // UTC file time -> local calendar fields; when empty the UTC fields are shown.
  std::function<bool(std::uint64_t, CalendarTime&)> ToLocal;
};

// Sub-items of a row; the columns show 0..5, 6 and 7 are read by the commands.
enum FileSubItem : int {
  SubSize = 0, SubType, SubCreated, SubModified, SubAccessed, SubAttributes, SubPath, SubKind,
  SubItemCount
};

// Kind letter of sub-item 7: "F" for a file, "D" for everything that leads to another listing.
wchar_t ItemKindLetter(const FileItem& item);
// Whether the caption marks one of the bracketed entries kept on top of the list.
bool IsBracketed(const FileItem& item);

std::wstring ItemFullPath(const FileItem& item, const FileTextContext& ctx);  // sub-item 6
// The shell's type name when known, else the type text made from the name.
std::wstring ItemTypeText(const FileItem& item, const FileTextContext& ctx);
// Sub-items 0..7; a time that cannot be converted gives "".
std::wstring ItemSubText(const FileItem& item, int subItem, const FileTextContext& ctx);

}  // namespace pw
