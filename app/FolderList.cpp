// The folder listing: the model of lvFiles, filled by a listing that runs on a worker and shown by
// the owner-data list view, whose texts are made only for painted rows. A folder read within the
// first slice is shown at once, whole and sorted; a larger or slower one is shown as it comes,
// with the running count, and in order when it ends.
#include <windows.h>
#include <shellapi.h>

#include "app/kwFileBrowser.h"
#include "browse/platform/DirectoryWatch.h"
#include "browse/core/FileText.h"
#include "browse/platform/UserFormats.h"
#include "common/core/PathRules.h"
#include "common/platform/LocalTime.h"
#include "common/platform/SystemError.h"

namespace {

// How long a listing may take before the window shows it while it goes on.
constexpr DWORD kFirstSliceMs = 50;

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

bool TfrmFileBrowser::ListFolder(AfterListing then) {
  const std::wstring listed = ShownFolder();
  if (listed.empty() || !SetCurrentDirectoryW(listed.c_str())) return false;

  HWND list = lvFiles.Handle();
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
  DWORD folderAttributes = GetFileAttributesW(listed.c_str());
  if (folderAttributes == INVALID_FILE_ATTRIBUTES) folderAttributes = 0;

  listing_ = Lister->Start(listed, Model.Options(), folderAttributes);
  listedSort_ = Model.Options();
  Model.Begin(listed, Lister->Names());
  afterListing_ = std::move(then);
  StatusBar.SetText(2, L"");
  lvDrives.SetVisible(false);
  lvFiles.SetVisible(true);
  History.Visit(listed);
  {
    ui::WaitCursor wait;
    Lister->WaitForEnd(kFirstSliceMs);
  }
  TakeListing(listing_);  // the whole listing, or what the first slice found
  return true;
}

void TfrmFileBrowser::TakeListing(unsigned listing) {
  if (listing != listing_) return;
  std::optional<pw::FolderLister::Progress> got = Lister->Take(listing);
  if (!got) return;  // a message of a batch that the end, taken since, took along
  pw::FolderLister::Progress& taken = *got;
  std::vector<std::wstring>& types = Model.Text().TypeNames;
  types.insert(types.end(), taken.NewTypeNames.begin(), taken.NewTypeNames.end());
  if (taken.Ended) {
    EndListing(taken);
  } else if (Lister->Running()) {
    if (!taken.Found.empty()) {
      Model.Append(std::move(taken.Found), taken.FileCount, taken.FolderCount);
      ListView_SetItemCountEx(lvFiles.Handle(), static_cast<int>(Model.Count()),
                              LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
    }
    StatusBar.SetText(0, L"Files: " + std::to_wstring(Model.FileCount()));
    StatusBar.SetText(1, L"Folders: " + std::to_wstring(Model.FolderCount()));
    StatusBar.SetText(2, L"Listing... " + pw::FormatGrouped(Model.Count(), Model.Text().ThousandSep) + L" entries");
  }
  // What changed on disk since: an ended listing that lost rows to it is not shown anew above.
  if (listing == listing_ && (taken.Relisted || !taken.Changes.empty())) ShowFolderChanges(taken);
  if (listing == listing_ && taken.FolderGone) LeaveGoneFolder();
}

void TfrmFileBrowser::ShowFolderChanges(pw::FolderLister::Progress& taken) {
  // The list view keeps its selection by the old rows until it is told otherwise: it is read only
  // when rows moved, which a large selection makes costly.
  std::vector<std::uint32_t> moved;
  const auto follow = [&moved](const std::vector<std::uint32_t>& step) {
    if (moved.empty()) moved = step;
    else
      for (std::uint32_t& row : moved)
        if (row != pw::FolderModel::kGoneRow) row = step[row];
  };
  if (taken.Relisted)
    follow(Model.Replace(std::move(taken.Sorted), listedSort_, std::move(taken.Names), taken.FileCount,
                         taken.FolderCount));
  for (pw::FolderChanges& changes : taken.Changes) follow(Model.Merge(std::move(changes)));
  // Values changed in place (times written by an edit, say): the rows stay where they are, and so
  // do the selection and the scroll position, however many rows are selected.
  bool inPlace = moved.size() == Model.Count();
  for (std::size_t row = 0; inPlace && row < moved.size(); ++row) inPlace = moved[row] == row;
  if (inPlace) {
    InvalidateRect(lvFiles.Handle(), nullptr, FALSE);
    StatusBar.SetText(0, L"Files: " + std::to_wstring(Model.FileCount()));
    StatusBar.SetText(1, L"Folders: " + std::to_wstring(Model.FolderCount()));
    return;
  }
  const std::vector<int> selected = lvFiles.SelectedRows();
  const int focused = lvFiles.Focused();
  const int top = ListView_GetTopIndex(lvFiles.Handle());
  // The first row shown that stays is shown first again.
  int keepTop = -1;
  for (int row = std::max(top, 0); row >= 0 && static_cast<std::size_t>(row) < moved.size(); ++row)
    if (moved[static_cast<std::size_t>(row)] != pw::FolderModel::kGoneRow) {
      keepTop = static_cast<int>(moved[static_cast<std::size_t>(row)]);
      break;
    }
  const std::wstring status = StatusBar.Text(2);
  ShowEndedListing(selected, focused, moved, keepTop);
  StatusBar.SetText(2, status);
}

void TfrmFileBrowser::LeaveGoneFolder() {
  const std::wstring gone = Model.ListedFolder();
  // The nearest folder above it that is still there, or the drive list.
  std::wstring there = gone;
  do {
    there = pw::IsDriveRoot(there) ? std::wstring() : pw::ParentFolderPath(there);
    if (!there.empty() && pw::FolderThere(there)) break;
  } while (!there.empty());
  // Its name (a drive's root: the root): the list now shows where it was, and the status bar has
  // room for little more.
  const std::wstring name = pw::LastComponent(std::wstring_view(gone).substr(0, gone.size() - 1));
  const std::wstring note = L"Folder no longer there: " + (name.empty() ? gone : name);
  OpenFolder(there, [this, note](bool) { StatusBar.SetText(2, note); });
  StatusBar.SetText(2, note);
}

void TfrmFileBrowser::EndListing(pw::FolderLister::Progress& ended) {
  // A listing shown while it ran may have rows the user selected meanwhile: they stay selected,
  // and the selection the listing's caller would make is not made.
  const std::vector<int> selected = lvFiles.SelectedRows();
  const int focused = lvFiles.Focused();
  std::vector<std::uint32_t> moved;
  const bool read = ended.Error == ERROR_SUCCESS;
  if (read) {
    moved = Model.Finish(std::move(ended.Sorted), ended.Order, ended.FileCount, ended.FolderCount);
    // The user sorted by another column while it listed: the rows follow that order.
    if (Model.SortColumn() != listedSort_.SortColumn || Model.SortAscending() != listedSort_.SortAscending) {
      const std::vector<std::uint32_t> again = Model.Sort();
      for (std::uint32_t& row : moved) row = again[row];
    }
  } else {
    // Never a part presented as the whole: a folder that could not be read to its end shows as
    // one that could not be read at all, its drives entry aside.
    std::vector<pw::FileItem> drives;
    for (const pw::FileItem& item : ended.Sorted)
      if (item.Kind == pw::ItemKind::Drives) drives.push_back(item);
    Model.Finish(std::move(drives), {}, 0, 0);
  }
  ShowEndedListing(selected, focused, moved);
  if (!read) StatusBar.SetText(2, L"Could not be read: " + pw::SystemErrorText(ended.Error));
  AfterListing then = std::move(afterListing_);
  if (then && selected.empty()) then(read);
}

void TfrmFileBrowser::StopListing(const ui::Sender&) {
  if (!Lister->Running()) return;
  Lister->Cancel();
  afterListing_ = nullptr;
  const std::vector<int> selected = lvFiles.SelectedRows();
  const int focused = lvFiles.Focused();
  ShowEndedListing(selected, focused, Model.Sort());
  StatusBar.SetText(2, L"Listing stopped: " + pw::FormatGrouped(Model.Count(), Model.Text().ThousandSep) +
                           L" entries shown");
}

void TfrmFileBrowser::ShowEndedListing(const std::vector<int>& selected, int focused,
                                       const std::vector<std::uint32_t>& moved, int keepTop) {
  HWND list = lvFiles.Handle();
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  suppressSelectionEvents_ = true;
  ClearFileSelection(false);
  // The list takes a while to take a new length, even an unchanged one.
  if (lvFiles.Count() != static_cast<int>(Model.Count()))
    ListView_SetItemCountEx(list, static_cast<int>(Model.Count()), LVSICF_NOSCROLL);
  const auto newRow = [&moved](int row) {
    return row >= 0 && static_cast<std::size_t>(row) < moved.size() ? static_cast<int>(moved[static_cast<std::size_t>(row)])
                                                                     : -1;
  };
  for (int row : selected)
    if (const int to = newRow(row); to >= 0) ListView_SetItemState(list, to, LVIS_SELECTED, LVIS_SELECTED);
  if (const int to = newRow(focused); to >= 0) ListView_SetItemState(list, to, LVIS_FOCUSED, LVIS_FOCUSED);
  suppressSelectionEvents_ = false;
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  const int shown = newRow(focused);
  if (keepTop >= 0) ScrollToTop(keepTop);
  else if (shown >= 0) ListView_EnsureVisible(list, shown, FALSE);
  else if (!Model.Empty()) ListView_EnsureVisible(list, 0, FALSE);
  InvalidateRect(list, nullptr, TRUE);
  popupAttached_ = lvFiles.SelectedCount() > 0;
  StatusBar.SetText(0, L"Files: " + std::to_wstring(Model.FileCount()));
  StatusBar.SetText(1, L"Folders: " + std::to_wstring(Model.FolderCount()));
  StatusBar.SetText(2, L"");
}

void TfrmFileBrowser::ScrollToTop(int row) {
  HWND list = lvFiles.Handle();
  if ((GetWindowLongW(list, GWL_STYLE) & LVS_TYPEMASK) != LVS_REPORT) {
    ListView_EnsureVisible(list, row, FALSE);
    return;
  }
  // In the details view the list scrolls by pixels: rows times the row height.
  RECT rc{};
  if (!ListView_GetItemRect(list, 0, &rc, LVIR_BOUNDS)) return;
  const int rows = row - ListView_GetTopIndex(list);
  if (rows != 0) ListView_Scroll(list, 0, rows * (rc.bottom - rc.top));
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
    if (item->IconIndex == pw::kUpIcon) {
      info.item.iImage = UpIconIndex;
    } else {
      if (item->OwnIcon) {  // asked once, even when there is none
        const std::int32_t own = pw::ShellTypeCache::EntryIcon(Model.Path(info.item.iItem));
        if (own >= 0) item->IconIndex = own;
        item->OwnIcon = false;
      }
      const int mapped = Icons.FromSystem(item->IconIndex);
      info.item.iImage = mapped >= 0 ? mapped : I_IMAGENONE;
    }
  }
}

int TfrmFileBrowser::lvFilesFindItem(const NMLVFINDITEMW& find) const {
  if (!(find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find.lvfi.psz) return -1;
  return Model.FindCaption(find.lvfi.psz, find.iStart, (find.lvfi.flags & LVFI_PARTIAL) != 0,
                           (find.lvfi.flags & LVFI_WRAP) != 0, SameCaption);
}
