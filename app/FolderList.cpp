// The folder listing: the model of lvFiles, filled by a listing that runs on a worker and shown by
// the owner-data list view, whose texts are made only for painted rows. A folder read within the
// first slice is shown at once, whole and sorted; a larger or slower one is shown as it comes,
// with the running count, and in order when it ends.
#include <windows.h>
#include <shellapi.h>

#include "app/kwFileBrowser.h"
#include "browse/core/FileText.h"
#include "browse/platform/UserFormats.h"
#include "common/core/PathRules.h"
#include "common/platform/LocalTime.h"
#include "common/core/NetworkErrors.h"
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
  if (listed.empty()) return false;
  if (!SetCurrentDirectoryW(listed.c_str())) {
    // The list keeps what it showed; a server that stopped answering is said to have, as the list
    // is not the folder's now.
    const DWORD error = GetLastError();
    if (pw::IsConnectionLost(error)) StatusBar.SetText(2, L"Connection lost: " + pw::SystemErrorText(error));
    return false;
  }

  {
    ui::RaisedFlag quiet(quietSelection_);
    ClearFileSelection(false);
    ListView_SetItemCountEx(lvFiles.Handle(), 0, 0);
  }
  popupAttached_ = false;  // nothing is selected in a fresh listing

  pw::FileTextContext& text = Model.Text();
  pw::LocalTimeZone& zone = pw::LocalZone();
  zone.Refresh();
  pw::LoadUserFormats(text);
  text.ToLocal = [&zone](std::uint64_t utc, pw::CalendarTime& local) { return zone.ToLocal(utc, local); };
  DWORD folderAttributes = GetFileAttributesW(listed.c_str());
  if (folderAttributes == INVALID_FILE_ATTRIBUTES) folderAttributes = 0;

  listing_ = Feed->Start(listed, Model.Options(), folderAttributes);
  listedSort_ = Model.Options();
  Model.Begin(listed, Feed->Names());
  afterListing_ = std::move(then);
  StatusBar.SetText(2, L"");
  lvDrives.SetVisible(false);
  lvFiles.SetVisible(true);
  History.Visit(listed);
  {
    ui::WaitCursor wait;
    Feed->WaitForEnd(kFirstSliceMs);
  }
  TakeListing(listing_);  // the whole listing, or what the first slice found
  return true;
}

void TfrmFileBrowser::TakeListing(unsigned listing) {
  if (listing != listing_) return;
  std::optional<pw::FolderFeed::Progress> got = Feed->Take(listing);
  if (!got) return;  // a message of a batch that the end, taken since, took along
  pw::FolderFeed::Progress& taken = *got;
  std::vector<std::wstring>& types = Model.Text().TypeNames;
  types.insert(types.end(), taken.NewTypeNames.begin(), taken.NewTypeNames.end());
  if (taken.Ended) {
    EndListing(taken);
  } else if (Feed->Running()) {
    if (!taken.Found.empty()) {
      Model.Append(std::move(taken.Found), taken.FileCount, taken.FolderCount);
      ListView_SetItemCountEx(lvFiles.Handle(), static_cast<int>(Model.Count()),
                              LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
    }
    ShowCounts();
    StatusBar.SetText(2, L"Listing... " + pw::FormatGrouped(Model.Count(), Model.Text().ThousandSep) + L" entries");
  }
  // What changed on disk since: an ended listing that lost rows to it is not shown anew above.
  if (listing == listing_ && (taken.Anew || !taken.Changes.empty())) ShowFolderChanges(taken);
  if (listing == listing_ && taken.GoneTo) LeaveGoneFolder(*taken.GoneTo);
  if (listing == listing_ && taken.Unfollowed) StatusBar.SetText(2, L"Not following changes in this folder");
}

void TfrmFileBrowser::ShowFolderChanges(pw::FolderFeed::Progress& taken) {
  const std::wstring status = StatusBar.Text(2);
  ChangeRows([&] {
    std::vector<std::uint32_t> moved;
    const auto follow = [&moved](const std::vector<std::uint32_t>& step) {
      if (moved.empty()) moved = step;
      else
        for (std::uint32_t& row : moved)
          if (row != pw::FolderModel::kGoneRow) row = step[row];
    };
    if (taken.Anew)
      follow(Model.Replace(std::move(taken.Anew->Sorted), listedSort_, std::move(taken.Anew->Names),
                           taken.Anew->FileCount, taken.Anew->FolderCount));
    for (pw::FolderChanges& changes : taken.Changes) follow(Model.Merge(std::move(changes)));
    return moved;
  }, RowsView::KeepTop);
  StatusBar.SetText(2, status);
}

void TfrmFileBrowser::LeaveGoneFolder(const std::wstring& there) {
  const std::wstring gone = Model.ListedFolder();
  // Its name (a drive's root: the root): the list now shows where it was, and the status bar has
  // room for little more.
  const std::wstring name = pw::LastComponent(std::wstring_view(gone).substr(0, gone.size() - 1));
  const std::wstring note = L"Folder no longer there: " + (name.empty() ? gone : name);
  OpenFolder(there, [this, note](bool) { StatusBar.SetText(2, note); });
  StatusBar.SetText(2, note);
}

void TfrmFileBrowser::EndListing(pw::FolderFeed::Progress& ended) {
  // A listing shown while it ran may have rows the user selected meanwhile: they stay selected,
  // and the selection the listing's caller would make is not made.
  const bool userSelected = lvFiles.SelectedCount() > 0;
  const bool read = ended.Error == ERROR_SUCCESS;
  // A server that stopped answering says nothing of the folder: what was read stays, marked as
  // cut short, rather than an empty list or a jump to another folder.
  const bool lost = !read && pw::IsConnectionLost(ended.Error);
  ChangeRows([&] {
    if (!read && !lost) {
      // Never a part presented as the whole: a folder that could not be read to its end shows as
      // one that could not be read at all, its drives entry aside.
      std::vector<pw::FileItem> drives;
      for (const pw::FileItem& item : ended.Sorted)
        if (item.Kind == pw::ItemKind::Drives) drives.push_back(item);
      Model.Finish(std::move(drives), {}, 0, 0);
      return std::vector<std::uint32_t>();
    }
    std::vector<std::uint32_t> moved = Model.Finish(std::move(ended.Sorted), ended.Order, ended.FileCount,
                                                    ended.FolderCount);
    // The user sorted by another column while it listed: the rows follow that order.
    if (Model.SortColumn() != listedSort_.SortColumn || Model.SortAscending() != listedSort_.SortAscending) {
      const std::vector<std::uint32_t> again = Model.Sort();
      for (std::uint32_t& row : moved)
        if (row != pw::FolderModel::kGoneRow) row = again[row];
    }
    return moved;
  }, RowsView::Focused);
  if (lost)
    StatusBar.SetText(2, L"Connection lost: " +
                             pw::FormatGrouped(ended.FileCount + ended.FolderCount, Model.Text().ThousandSep) +
                             L" entries read (" + pw::SystemErrorText(ended.Error) + L")");
  else
    StatusBar.SetText(2, read ? L"" : L"Could not be read: " + pw::SystemErrorText(ended.Error));
  AfterListing then = std::move(afterListing_);
  if (then && !userSelected) then(read);
}

void TfrmFileBrowser::StopListing(const ui::Sender&) {
  if (!Feed->Running()) return;
  Feed->Cancel();
  afterListing_ = nullptr;
  ChangeRows([this] { return Model.Sort(); }, RowsView::Focused);
  StatusBar.SetText(2, L"Listing stopped: " + pw::FormatGrouped(Model.Count(), Model.Text().ThousandSep) +
                           L" entries shown");
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
