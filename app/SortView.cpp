// Sorting by column, the header arrow, hiding columns and the four view styles.
#include "app/kwFileBrowser.h"

void TfrmFileBrowser::lvFilesColumnClick(int column) {
  Model.ClickColumn(column);
  ChangeRows([this] { return Model.Sort(); }, RowsView::Stay);
  UpdateSortArrows(column);
}

// The header of the file list: a column hidden through the Columns menu (width 0) cannot be
// dragged open, and the width a user drags a column to is the width it gets back when shown again.
bool TfrmFileBrowser::FilesWndProc(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  if (msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN) {
    *result = 0;
    return OnListKeyDown(lvFiles, msg, wp, lp);
  }
  if (msg != WM_NOTIFY) return false;
  auto* nm = reinterpret_cast<NMHEADERW*>(lp);
  if (static_cast<unsigned>(nm->iItem) > 6u) return false;
  const UINT code = nm->hdr.code;
  if (code == HDN_BEGINTRACKA || code == HDN_BEGINTRACKW) {
    if (ColumnStates[nm->iItem].Shown) return false;
    *result = 1;  // refuses the drag
    return true;
  }
  // The list would size a hidden column to its contents on a double click at its divider.
  if ((code == HDN_DIVIDERDBLCLICKA || code == HDN_DIVIDERDBLCLICKW) && !ColumnStates[nm->iItem].Shown) {
    *result = 0;
    return true;
  }
  if (code == HDN_ENDTRACKA || code == HDN_ENDTRACKW) {
    if (nm->pitem && (nm->pitem->mask & HDI_WIDTH)) ColumnStates[nm->iItem].SavedWidth = nm->pitem->cxy;
  }
  return false;
}

void TfrmFileBrowser::UpdateSortArrows(int column) {
  HWND header = lvFiles.Header();
  if (!header) return;
  int count = Header_GetItemCount(header);
  for (int i = 0; i < count; ++i) {
    HDITEMW hdi{};
    hdi.mask = HDI_FORMAT;
    Header_GetItem(header, i, &hdi);
    if (i == column) {
      hdi.mask |= HDI_BITMAP;
      hdi.hbm = SortBitmaps[Model.SortAscending() ? 1 : 0].get();
      hdi.fmt |= HDF_BITMAP;
      if ((hdi.fmt & HDF_JUSTIFYMASK) == HDF_LEFT) hdi.fmt |= HDF_BITMAP_ON_RIGHT;
    } else {
      hdi.fmt &= ~HDF_BITMAP;
    }
    Header_SetItem(header, i, &hdi);
  }
}

void TfrmFileBrowser::mnuViewTypeClick(const ui::Sender& sender) {
  constexpr int kViewGroup = 1;  // the view buttons' group on the toolbar
  static const DWORD kViews[] = {LV_VIEW_ICON, LV_VIEW_SMALLICON, LV_VIEW_LIST, LV_VIEW_DETAILS};
  const int tag = sender.Tag;
  if (tag < 0 || tag > 3) return;
  if (sender.Item) {
    for (std::size_t i = 0; i < pnToolbar.Count(); ++i) {
      ui::SpeedButton& button = pnToolbar.At(i);
      if (button.GroupIndex == kViewGroup && button.Tag == tag) button.SetDown(true);
    }
  }
  for (const auto& item : mnuViewType->Items())
    if (item->Tag == tag) item->SetChecked(true);
  lvDrives.SetViewStyle(kViews[tag]);
  lvFiles.SetViewStyle(kViews[tag]);
  if (lvFiles.ViewStyle() == LV_VIEW_DETAILS) {
    ApplyColumnStates();
    UpdateSortArrows(Model.SortColumn());
  }
}

void TfrmFileBrowser::mnuColumnsClick(const ui::Sender& sender) {
  const int column = sender.Tag;
  if (column < 1 || column >= kColumnCount) return;
  sender.Item->SetChecked(!sender.Item->Checked());
  ColumnStates[column].Shown = sender.Item->Checked();
  lvFiles.SetColumnWidth(column, ColumnStates[column].Shown ? ColumnStates[column].SavedWidth : 0);
}

void TfrmFileBrowser::ApplyColumnStates() {
  for (int column = 1; column < kColumnCount; ++column) {
    const TColumnState& state = ColumnStates[column];
    const int width = lvFiles.ColumnWidth(column);
    if (!state.Shown && width != 0) lvFiles.SetColumnWidth(column, 0);
    if (state.Shown && width == 0) lvFiles.SetColumnWidth(column, state.SavedWidth);
  }
}
