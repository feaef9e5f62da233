// Moving through the file system and the commands on the selection.
#include <windows.h>
#include <shellapi.h>

#include "app/kwFileBrowser.h"
#include "browse/core/ListingRules.h"
#include "browse/platform/DirectoryWatch.h"
#include "common/core/PathRules.h"

void TfrmFileBrowser::OpenItem(int index) {
  const pw::FileItem* item = Model.At(index);
  if (!item) return;
  std::wstring path = Model.Path(index);
  if (item->Kind == pw::ItemKind::File) {
    // The program started inherits the current directory, which is the listed folder.
    ShellExecuteW(hwnd_, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return;
  }
  if (!path.empty()) {
    if (path.back() == L'\\') path = pw::ParentFolderPath(path);
    else path += L'\\';
  }
  OpenFolder(path);
}

bool TfrmFileBrowser::OpenFolder(const std::wstring& folder, AfterListing then) {
  CurrentPath = folder;
  ShowPath();
  if (CurrentPath.empty()) {
    Feed->Cancel();
    StatusBar.SetText(0, L"");
    StatusBar.SetText(1, L"");
    StatusBar.SetText(2, L"");
    lvDrives.SetVisible(true);
    lvFiles.SetVisible(false);
    SelectFocusedOrFirst(lvDrives);
    History.Visit(CurrentPath);
    UpdateBookmarkControls(Bookmarks->State());
    if (then) then(true);
    return true;
  }
  lvDrives.SetVisible(false);
  lvFiles.SetVisible(true);
  const auto shown = [this, then](bool read) {
    SelectFocusedOrFirst(lvFiles);
    UpdateBookmarkControls(Bookmarks->State());
    if (then) then(read);
  };
  if (ListFolder(shown)) return true;
  shown(false);  // the list keeps what it showed
  return false;
}

void TfrmFileBrowser::lvFilesDblClick() { OpenItem(lvFiles.FirstSelected()); }

void TfrmFileBrowser::lvFilesKeyDown(WORD& key) {
  bool details = lvFiles.ViewStyle() == LV_VIEW_DETAILS;
  switch (key) {
    case VK_RETURN:
      OpenItem(lvFiles.FirstSelected());
      break;
    case VK_LEFT:
      // Only the way back (the parent entry or the drives entry); a file whose name begins with
      // "[" is never started by an arrow key.
      if (details && Model.FirstEntryRow() > 0) {
        OpenItem(0);
        key = 0;
      }
      break;
    case VK_RIGHT:
      if (details && lvFiles.SelectedCount() > 0) {
        int first = lvFiles.FirstSelected();
        const pw::FileItem* item = Model.At(first);
        if (item && item->Kind != pw::ItemKind::File && item->Caption.find(L'[') == std::wstring::npos)
          OpenItem(first);
        key = 0;
      }
      break;
    default:
      break;
  }
}

void TfrmFileBrowser::lvFilesSelectItem(int index, bool selected) {
  if (!selected) {
    popupAttached_ = false;
    return;
  }
  if (!Model.At(index)) return;
  popupAttached_ = true;
  CurrentPath = Model.Path(index);
  ShowPath();
  UpdateBookmarkControls(Bookmarks->State());
}

void TfrmFileBrowser::SelectFocusedOrFirst(ui::ListView& list) {
  if (!list.Visible()) return;
  int index = list.Focused();
  if (index < 0 && list.Count() > 0) index = 0;
  if (index < 0) return;
  // A path the user is typing meanwhile keeps the focus (a listing that ends, a folder left).
  if (GetFocus() != edFilename) SetFocus(list.Handle());
  ListView_SetItemState(list.Handle(), index, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
  ListView_EnsureVisible(list.Handle(), index, TRUE);
}

bool TfrmFileBrowser::SelectByCaption(ui::ListView& list, const std::wstring& caption) {
  LVFINDINFOW find{};
  find.flags = LVFI_STRING;
  find.psz = caption.c_str();
  int index = ListView_FindItem(list.Handle(), -1, &find);
  if (index >= 0) ListView_SetItemState(list.Handle(), index, LVIS_FOCUSED, LVIS_FOCUSED);
  SelectFocusedOrFirst(list);
  return index >= 0;
}

void TfrmFileBrowser::SetCurrentPath(const std::wstring& path, AfterListing then) {
  // The same path is not listed again. The list shows its folder when that folder was the last
  // one listed; after a failed listing CurrentPath names a folder the list does not show.
  if (CurrentPath == path) {
    then(lvFiles.Visible() && !Feed->Running() && Model.ListedFolder() == pw::FolderPart(path));
    return;
  }
  CurrentPath = path;
  ShowPath();
  if (!ListFolder(then)) then(false);
}

void TfrmFileBrowser::OpenBookmark(const std::wstring& path) {
  // The menu just closed over the window; repaint before a listing that may take a while.
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  SetCurrentPath(path, [this, path](bool shown) {
    pw::BookmarkChange change = pw::BookmarkChange::Keep;
    const std::wstring caption = pw::BookmarkCaption(path);
    if (shown) {
      if (SelectByCaption(lvFiles, caption)) {
        change = pw::BookmarkChange::MoveToTop;
      } else if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
        // The entry is there, but the attribute filter or Show Folders leaves it out of the list.
        change = pw::BookmarkChange::MoveToTop;
        StatusBar.SetText(2, L"\"" + caption + L"\" is hidden by the view");
      } else {
        change = pw::BookmarkChange::Remove;
      }
    } else if (BookmarkGone(path)) {
      change = pw::BookmarkChange::Remove;
      StatusBar.SetText(2, L"Bookmark removed: \"" + caption + L"\" is no longer there");
    }
    Bookmarks->RecentKeys().UpdateBookmark(path, change);
    UpdateBookmarkControls(Bookmarks->State());
  });
}

bool TfrmFileBrowser::BookmarkGone(const std::wstring& path) const {
  // A folder that cannot be listed is gone only when its drive or share answers and says so: an
  // unplugged stick or an offline share keeps its bookmarks.
  const std::wstring root = pw::RootOf(path);
  return !root.empty() && pw::FolderStateOf(root) == pw::FolderState::There &&
         pw::EntryStateOf(path) == pw::FolderState::Gone;
}

void TfrmFileBrowser::RefreshFileList() {
  const pw::FileItem* first = Model.At(lvFiles.FirstSelected());
  const std::wstring caption = first ? std::wstring(first->Caption) : std::wstring();
  ListFolder([this, caption](bool) { SelectByCaption(lvFiles, caption); });
}

void TfrmFileBrowser::RefreshDriveList() {
  const TDriveItem* drive = DriveAt(lvDrives.FirstSelected());
  std::wstring caption = drive ? drive->Caption : std::wstring();
  FillDriveList();
  SelectByCaption(lvDrives, caption);
}

void TfrmFileBrowser::mnuRefreshClick(const ui::Sender&) {
  if (lvDrives.Visible()) RefreshDriveList();
  else RefreshFileList();
}

void TfrmFileBrowser::mnuAttributesClick(const ui::Sender& sender) {
  sender.Item->SetChecked(!sender.Item->Checked());
  UpdateAttrMask();
  ListFolder();
}

void TfrmFileBrowser::mnuShowFoldersClick(const ui::Sender& sender) {
  sender.Item->SetChecked(!sender.Item->Checked());
  Model.SetHideFolders(!sender.Item->Checked());
  if (lvFiles.Visible()) ListFolder();
}

void TfrmFileBrowser::mnuCopyPathClick(const ui::Sender&) {
  const std::vector<int> rows = lvFiles.SelectedRows();
  if (rows.empty()) return;
  std::wstring text;
  for (int i : rows) {
    text += Model.Path(i);
    text += L'\r';
  }
  text.pop_back();

  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  ui::ScopedGlobal mem(GlobalAlloc(GMEM_MOVEABLE, bytes));
  if (!mem) return;
  void* p = GlobalLock(mem.get());
  if (!p) return;  // an unfilled block never reaches the clipboard
  memcpy(p, text.c_str(), bytes);
  GlobalUnlock(mem.get());
  ui::ClipboardOpen clipboard(hwnd_);
  if (clipboard && EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, mem.get())) mem.release();
}

void TfrmFileBrowser::mnuExitClick(const ui::Sender&) { PostMessageW(hwnd_, WM_CLOSE, 0, 0); }

void TfrmFileBrowser::mnuUpdateClick(const ui::Sender&) { PostMessageW(hwnd_, WM_CLOSE, 0, 0); }
