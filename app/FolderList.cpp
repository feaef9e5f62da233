// The folder listing: the model of lvFiles filled whole from one enumeration, and shown by the
// owner-data list view, whose texts are made only for painted rows.
#include <windows.h>
#include <shellapi.h>

#include "app/kwFileBrowser.h"
#include "browse/platform/UserFormats.h"
#include "common/core/PathRules.h"
#include "common/platform/LocalTime.h"

namespace {

pw::FoundEntry Found(const WIN32_FIND_DATAW& found) {
  return pw::FoundEntry{found.cFileName, found.dwFileAttributes,
                        (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow,
                        pw::ToUInt64(found.ftCreationTime), pw::ToUInt64(found.ftLastWriteTime),
                        pw::ToUInt64(found.ftLastAccessTime)};
}

// The way the file system matches names: letter case ignored by the system's upper-case table.
bool SameCaption(std::wstring_view a, std::wstring_view b) {
  return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
         CSTR_EQUAL;
}

}  // namespace

std::wstring TfrmFileBrowser::ShownFolder() const {
  std::wstring folder = pw::FolderPart(CurrentPath);
  if (folder.empty() && lvFiles.Visible() && !lvDrives.Visible()) folder = Model.ListedFolder();
  return folder;
}

bool TfrmFileBrowser::ListFolder() {
  const std::wstring listed = ShownFolder();
  if (listed.empty() || !SetCurrentDirectoryW(listed.c_str())) return false;

  HWND list = lvFiles.Handle();
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  suppressSelectionEvents_ = true;
  ClearFileSelection(false);
  ListView_SetItemCountEx(list, 0, 0);
  suppressSelectionEvents_ = false;
  popupAttached_ = false;  // nothing is selected in a fresh listing

  pw::FileTextContext& text = Model.Text();
  pw::LocalTimeZone& zone = pw::LocalZone();
  zone.Refresh();
  pw::LoadUserFormats(text);
  text.ToLocal = [&zone](std::uint64_t utc, pw::CalendarTime& local) { return zone.ToLocal(utc, local); };
  Model.Begin(listed, UpIconIndex);

  WIN32_FIND_DATAW found;
  ui::ScopedFind find(FindFirstFileExW((listed + L"*.*").c_str(), FindExInfoBasic, &found,
                                       FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
  // An empty drive root has no entries at all, not even "." and "..".
  const DWORD findError = find ? ERROR_SUCCESS : GetLastError();
  const bool read =
      findError == ERROR_SUCCESS || findError == ERROR_FILE_NOT_FOUND || findError == ERROR_NO_MORE_FILES;
  if (find) {
    ui::WaitCursor wait;
    DWORD folderAttributes = GetFileAttributesW(listed.c_str());
    if (folderAttributes == INVALID_FILE_ATTRIBUTES) folderAttributes = 0;
    do {
      if (Model.Keeps(found.cFileName, found.dwFileAttributes)) AddFileItem(found, folderAttributes);
    } while (FindNextFileW(find.get(), &found));
  }

  Model.Sort();
  ListView_SetItemCountEx(list, static_cast<int>(Model.Count()), 0);
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  if (!Model.Empty()) ListView_EnsureVisible(list, 0, FALSE);
  InvalidateRect(list, nullptr, TRUE);

  StatusBar.SetText(0, L"Files: " + std::to_wstring(Model.FileCount()));
  StatusBar.SetText(1, L"Folders: " + std::to_wstring(Model.FolderCount()));
  StatusBar.SetText(2, L"");
  lvDrives.SetVisible(false);
  lvFiles.SetVisible(true);
  History.Visit(listed);
  return read;
}

void TfrmFileBrowser::AddFileItem(const WIN32_FIND_DATAW& found, std::uint32_t folderAttributes) {
  pw::FileItem& item = Model.Add(Found(found), folderAttributes, UpIconIndex);
  const std::wstring_view name = found.cFileName;
  pw::ShellTypeCache::Entry shell = shellTypes_.Lookup(name, found.dwFileAttributes, Model.Text().TypeNames);
  item.TypeIndex = shell.TypeIndex;  // the parent entry is typed as the folder it is
  if (item.Kind == pw::ItemKind::Parent) return;
  // Entries with an icon of their own keep -1 and ask the shell when their row is painted.
  if (!pw::ShellTypeCache::HasOwnIcon(name, found.dwFileAttributes)) item.IconIndex = Icons.FromSystem(shell.IconIndex);
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

void TfrmFileBrowser::lvFilesGetDispInfo(NMLVDISPINFOW& info) {
  pw::FileItem* item = Model.At(info.item.iItem);
  if (!item) return;
  if ((info.item.mask & LVIF_TEXT) && info.item.pszText && info.item.cchTextMax > 0) {
    const std::wstring text = info.item.iSubItem == 0 ? std::wstring(item->Caption)
                                                      : Model.SubText(info.item.iItem, info.item.iSubItem - 1);
    lstrcpynW(info.item.pszText, text.c_str(), info.item.cchTextMax);
  }
  if (info.item.mask & LVIF_IMAGE) {
    if (item->IconIndex == -1 && (item->Kind == pw::ItemKind::File || item->Kind == pw::ItemKind::Folder)) {
      std::int32_t icon = pw::ShellTypeCache::EntryIcon(Model.Path(info.item.iItem));
      if (icon < 0) icon = shellTypes_.Lookup(item->Caption, item->Attributes, Model.Text().TypeNames).IconIndex;
      const int mapped = Icons.FromSystem(icon);
      item->IconIndex = mapped >= 0 ? mapped : I_IMAGENONE;  // asked once, even when there is none
    }
    info.item.iImage = item->IconIndex;
  }
}

int TfrmFileBrowser::lvFilesFindItem(const NMLVFINDITEMW& find) const {
  if (!(find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find.lvfi.psz) return -1;
  return Model.FindCaption(find.lvfi.psz, find.iStart, (find.lvfi.flags & LVFI_PARTIAL) != 0,
                           (find.lvfi.flags & LVFI_WRAP) != 0, SameCaption);
}
