// The folder listing: the model of lvFiles (one FileItem per row), filled whole from one
// enumeration and shown by the owner-data list view, whose texts are made only for painted rows.
#include <windows.h>
#include <shellapi.h>

#include "app/kwFileBrowser.h"
#include "browse/core/FileCompare.h"
#include "browse/core/FileText.h"
#include "browse/core/ListingRules.h"
#include "browse/platform/UserFormats.h"
#include "common/platform/LocalTime.h"

namespace {

std::uint64_t FileTimeOf(const FILETIME& ft) { return pw::ToUInt64(ft); }

}  // namespace

bool TfrmFileBrowser::ListFolder() {
  const std::wstring listed = ShownFolder();
  if (listed.empty() || !SetCurrentDirectoryW(listed.c_str())) return false;

  FileCount = 0;
  FolderCount = 0;

  HWND list = lvFiles.Handle();
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  SuppressSelectionEvents = true;
  ClearFileSelection(false);
  ListView_SetItemCountEx(list, 0, 0);
  SuppressSelectionEvents = false;
  popupAttached_ = false;  // nothing is selected in a fresh listing
  Items.clear();

  pw::LocalTimeZone& zone = pw::LocalZone();
  zone.Refresh();
  pw::LoadUserFormats(TextContext);
  TextContext.ListedFolder = listed;
  TextContext.ToLocal = [&zone](std::uint64_t utc, pw::CalendarTime& local) { return zone.ToLocal(utc, local); };

  bool root = pw::IsDriveRoot(listed);
  if (root) {
    pw::FileItem drives;
    drives.Caption = L"[Drives]";
    drives.Kind = pw::ItemKind::Drives;
    drives.IconIndex = UpIconIndex;
    Items.push_back(std::move(drives));
  }

  WIN32_FIND_DATAW found;
  ui::ScopedFind find(FindFirstFileExW((listed + L"*.*").c_str(), FindExInfoBasic, &found,
                                       FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
  // An empty drive root has no entries at all, not even "." and "..".
  const DWORD findError = find ? ERROR_SUCCESS : GetLastError();
  const bool read =
      findError == ERROR_SUCCESS || findError == ERROR_FILE_NOT_FOUND || findError == ERROR_NO_MORE_FILES;
  if (find) {
    ui::WaitCursor wait;
    do {
      const wchar_t* name = found.cFileName;
      if (name[0] == L'.' && name[1] == 0) continue;
      bool dotdot = name[0] == L'.' && name[1] == L'.' && name[2] == 0;
      if (dotdot && root) continue;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        if (!HideFolders) AddFileItem(found);
      } else if (pw::PassesAttributeFilter(found.dwFileAttributes, static_cast<std::uint32_t>(AttrMask))) {
        AddFileItem(found);
      }
    } while (FindNextFileW(find.get(), &found));
  }

  SortItems();
  ListView_SetItemCountEx(list, static_cast<int>(Items.size()), 0);
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  if (!Items.empty()) ListView_EnsureVisible(list, 0, FALSE);
  InvalidateRect(list, nullptr, TRUE);

  StatusBar.SetText(0, L"Files: " + std::to_wstring(FileCount));
  StatusBar.SetText(1, L"Folders: " + std::to_wstring(FolderCount));
  StatusBar.SetText(2, L"");
  lvDrives.SetVisible(false);
  lvFiles.SetVisible(true);
  History.Visit(listed);
  return read;
}

void TfrmFileBrowser::AddFileItem(const WIN32_FIND_DATAW& found) {
  const std::wstring& listed = TextContext.ListedFolder;
  pw::FileItem item;
  item.Created = FileTimeOf(found.ftCreationTime);
  item.Modified = FileTimeOf(found.ftLastWriteTime);
  item.Accessed = FileTimeOf(found.ftLastAccessTime);
  std::wstring_view name = found.cFileName;
  bool folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  pw::ShellTypeCache::Entry shell = shellTypes_.Lookup(name, found.dwFileAttributes, TextContext.TypeNames);
  item.TypeIndex = shell.TypeIndex;

  if (name == L"..") {
    item.Kind = pw::ItemKind::Parent;
    item.Caption = pw::ParentCaption(listed);
    DWORD attrs = GetFileAttributesW(listed.c_str());
    item.Attributes = attrs == INVALID_FILE_ATTRIBUTES ? 0 : attrs;
    item.IconIndex = UpIconIndex;
  } else if (folder) {
    item.Kind = pw::ItemKind::Folder;
    item.Caption = name;
    item.Attributes = found.dwFileAttributes;
    ++FolderCount;
  } else {
    item.Kind = pw::ItemKind::File;
    item.Caption = name;
    item.Attributes = found.dwFileAttributes;
    item.Size = (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    ++FileCount;
  }
  // Entries with an icon of their own keep -1 and ask the shell when their row is painted.
  if (item.Kind != pw::ItemKind::Parent && !pw::ShellTypeCache::HasOwnIcon(name, found.dwFileAttributes))
    item.IconIndex = Icons.FromSystem(shell.IconIndex);
  Items.push_back(std::move(item));
}

void TfrmFileBrowser::ClearFileSelection(bool keepSelected) {
  // Item by item, not for "all" (-1): for "all" the list visits every row, which costs tens of
  // milliseconds in a folder of 100,000 entries.
  HWND list = lvFiles.Handle();
  if (!keepSelected) {
    for (int i : lvFiles.SelectedRows()) ListView_SetItemState(list, i, 0, LVIS_SELECTED);
  }
  int focused = lvFiles.Focused();
  if (focused >= 0 && focused < lvFiles.Count()) ListView_SetItemState(list, focused, 0, LVIS_FOCUSED);
  ListView_SetSelectionMark(list, -1);
}

const pw::FileItem* TfrmFileBrowser::ItemAt(int index) const {
  if (index < 0 || static_cast<size_t>(index) >= Items.size()) return nullptr;
  return &Items[static_cast<size_t>(index)];
}

std::wstring TfrmFileBrowser::ItemSubText(int index, int subItem) const {
  const pw::FileItem* item = ItemAt(index);
  return item ? pw::ItemSubText(*item, subItem, TextContext) : std::wstring();
}

void TfrmFileBrowser::lvFilesGetDispInfo(NMLVDISPINFOW& info) {
  if (info.item.iItem < 0 || static_cast<size_t>(info.item.iItem) >= Items.size()) return;
  pw::FileItem& item = Items[static_cast<size_t>(info.item.iItem)];
  if ((info.item.mask & LVIF_TEXT) && info.item.pszText && info.item.cchTextMax > 0) {
    std::wstring text = info.item.iSubItem == 0 ? item.Caption
                                                : pw::ItemSubText(item, info.item.iSubItem - 1, TextContext);
    lstrcpynW(info.item.pszText, text.c_str(), info.item.cchTextMax);
  }
  if (info.item.mask & LVIF_IMAGE) {
    if (item.IconIndex == -1 && (item.Kind == pw::ItemKind::File || item.Kind == pw::ItemKind::Folder)) {
      std::int32_t icon = pw::ShellTypeCache::EntryIcon(pw::ItemFullPath(item, TextContext));
      if (icon < 0) icon = shellTypes_.Lookup(item.Caption, item.Attributes, TextContext.TypeNames).IconIndex;
      int mapped = Icons.FromSystem(icon);
      item.IconIndex = mapped >= 0 ? mapped : I_IMAGENONE;  // asked once, even when there is none
    }
    info.item.iImage = item.IconIndex;
  }
}

int TfrmFileBrowser::lvFilesFindItem(const NMLVFINDITEMW& find) const {
  if (!(find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find.lvfi.psz) return -1;
  const std::wstring_view wanted = find.lvfi.psz;
  const int count = static_cast<int>(Items.size());
  if (count == 0) return -1;
  const bool partial = (find.lvfi.flags & LVFI_PARTIAL) != 0;
  const bool wrap = (find.lvfi.flags & LVFI_WRAP) != 0;
  int start = find.iStart < 0 ? 0 : find.iStart;
  for (int n = 0; n < count; ++n) {
    int i = start + n;
    if (i >= count) {
      if (!wrap) break;
      i -= count;
    }
    const std::wstring& caption = Items[static_cast<size_t>(i)].Caption;
    if (partial ? caption.size() < wanted.size() : caption.size() != wanted.size()) continue;
    if (CompareStringOrdinal(caption.data(), static_cast<int>(wanted.size()), wanted.data(),
                             static_cast<int>(wanted.size()), TRUE) == CSTR_EQUAL)
      return i;
  }
  return -1;
}
