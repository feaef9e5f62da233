// The file list in step with its model: every change of the rows (a sort, the end of a listing or
// its Stop, changes on disk, a folder read anew, values written by an edit) goes through one
// sequence that carries the selection and the focus to where their entries went, keeps the view
// where the user had it, and lets the path line and the bookmark controls follow the selection.
#include <windows.h>

#include "app/kwFileBrowser.h"
#include "browse/core/FileText.h"

void TfrmFileBrowser::ChangeRows(const std::function<std::vector<std::uint32_t>()>& change, RowsView view) {
  HWND list = lvFiles.Handle();
  const int count = lvFiles.Count();
  // The list view keeps its selection by row until it is told otherwise: it is read only where it
  // has to move, which a large selection makes costly.
  const bool allSelected = count > 0 && lvFiles.SelectedCount() == count;
  const std::vector<int> selected = allSelected ? std::vector<int>() : lvFiles.SelectedRows();
  const int focused = lvFiles.Focused();
  const int top = ListView_GetTopIndex(list);
  // The entry the path line names, when it is one of the rows: it is followed to its new row.
  const int firstSelected = allSelected ? 0 : (selected.empty() ? -1 : selected.front());
  int named = -1;
  for (const int row : {focused, firstSelected})
    if (named < 0 && row >= 0 && Model.Path(row) == CurrentPath) named = row;

  const std::vector<std::uint32_t> moved = change();
  const auto newRow = [&moved](int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= moved.size()) return -1;
    const std::uint32_t to = moved[static_cast<std::size_t>(row)];
    return to == pw::FolderModel::kGoneRow ? -1 : static_cast<int>(to);
  };
  bool inPlace = moved.size() == Model.Count() && static_cast<int>(moved.size()) == count;
  for (std::size_t row = 0; inPlace && row < moved.size(); ++row) inPlace = moved[row] == row;
  if (inPlace) {
    // Values changed in their rows: the selection, the focus and the view stay as they are.
    InvalidateRect(list, nullptr, FALSE);
  } else {
    // Every row of a list that was all selected is still there: the selection stays whole.
    const bool keepAll = allSelected && moved.size() == Model.Count() &&
                         std::none_of(moved.begin(), moved.end(),
                                      [](std::uint32_t to) { return to == pw::FolderModel::kGoneRow; });
    {
      ui::RedrawOff redraw(list);
      ui::RaisedFlag quiet(quietSelection_);
      ClearFileSelection(keepAll);
      // The list takes a while to take a new length, even an unchanged one.
      if (count != static_cast<int>(Model.Count()))
        ListView_SetItemCountEx(list, static_cast<int>(Model.Count()), LVSICF_NOSCROLL);
      if (allSelected && !keepAll)
        for (int row = 0; row < count; ++row)
          if (const int to = newRow(row); to >= 0) ListView_SetItemState(list, to, LVIS_SELECTED, LVIS_SELECTED);
      for (int row : selected)
        if (const int to = newRow(row); to >= 0) ListView_SetItemState(list, to, LVIS_SELECTED, LVIS_SELECTED);
      if (const int to = newRow(focused); to >= 0) ListView_SetItemState(list, to, LVIS_FOCUSED, LVIS_FOCUSED);
    }
    int keepTop = -1;
    if (view == RowsView::KeepTop)
      for (int row = std::max(top, 0); keepTop < 0 && row < static_cast<int>(moved.size()); ++row)
        keepTop = newRow(row);
    const int shown = newRow(focused);
    if (keepTop >= 0) ScrollToTop(keepTop);
    else if (view != RowsView::Stay && shown >= 0) ListView_EnsureVisible(list, shown, FALSE);
    else if (view != RowsView::Stay && !Model.Empty()) ListView_EnsureVisible(list, 0, FALSE);
  }
  popupAttached_ = lvFiles.SelectedCount() > 0;
  ShowCounts();
  if (named >= 0) FollowSelection(newRow(named));
}

void TfrmFileBrowser::FollowSelection(int namedRow) {
  // The entry went: the path line names the first selected one, or the folder when none is.
  int row = namedRow;
  if (row < 0 || !lvFiles.IsSelected(row)) row = lvFiles.FirstSelected();
  const std::wstring now = row >= 0 ? Model.Path(row) : Model.ListedFolder();
  if (now == CurrentPath) return;
  CurrentPath = now;
  ShowPath();
  UpdateBookmarkControls(Bookmarks->State());
}

void TfrmFileBrowser::ShowPath() {
  // A path the user is typing stays; leaving the line shows the current one.
  if (GetFocus() != edFilename) SetWindowTextW(edFilename, CurrentPath.c_str());
}

void TfrmFileBrowser::ShowCounts() {
  StatusBar.SetText(0, L"Files: " + std::to_wstring(Model.FileCount()));
  StatusBar.SetText(1, L"Folders: " + std::to_wstring(Model.FolderCount()));
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
