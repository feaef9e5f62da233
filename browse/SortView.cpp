// Sorting by column, the header arrow, hiding columns and the four view styles.
#include <unordered_set>

#include "app/kwFileBrowser.h"
#include "browse/FileCompare.h"

void TfrmFileBrowser::lvFilesColumnClick(int column) {
  if (column == SortColumn) {
    SortAscending = !SortAscending;
  } else {
    SortColumn = column;
    SortAscending = true;
  }
  // The selection belongs to the entries, not to the rows: carry it across the sort.
  std::unordered_set<std::wstring> selected;
  std::wstring focused;
  for (int i = lvFiles.FirstSelected(); i >= 0; i = lvFiles.NextSelected(i)) selected.insert(Items[i].Caption);
  if (const pw::FileItem* f = ItemAt(lvFiles.Focused())) focused = f->Caption;
  SortItems();
  SuppressSelectionEvents = true;
  ListView_SetItemState(lvFiles.Handle(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  for (size_t i = 0; i < Items.size() && (!selected.empty() || !focused.empty()); ++i) {
    UINT state = (selected.count(Items[i].Caption) ? LVIS_SELECTED : 0) |
                 (!focused.empty() && Items[i].Caption == focused ? LVIS_FOCUSED : 0);
    if (state) ListView_SetItemState(lvFiles.Handle(), static_cast<int>(i), state, state);
  }
  SuppressSelectionEvents = false;
  InvalidateRect(lvFiles.Handle(), nullptr, FALSE);
  UpdateSortArrows(column);
}

void TfrmFileBrowser::SortItems() { pw::SortFileItems(Items, SortColumn, SortAscending, TextContext); }

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
      hdi.hbm = SortBitmaps[SortAscending ? 1 : 0].get();
      hdi.fmt |= HDF_BITMAP;
      if ((hdi.fmt & HDF_JUSTIFYMASK) == HDF_LEFT) hdi.fmt |= HDF_BITMAP_ON_RIGHT;
    } else {
      hdi.fmt &= ~HDF_BITMAP;
    }
    Header_SetItem(header, i, &hdi);
  }
}

void TfrmFileBrowser::mnuViewTypeClick(int tag, bool fromButton) {
  static const DWORD kViews[] = {LV_VIEW_ICON, LV_VIEW_SMALLICON, LV_VIEW_LIST, LV_VIEW_DETAILS};
  if (tag < 0 || tag > 3) return;
  if (!fromButton) {
    for (ui::SpeedButton* b : {&btnLargeIcons, &btnSmallIcons, &btnList, &btnDetails})
      if (b->Tag == tag) b->SetDown(true);
  }
  for (ui::MenuItem* item : {mnuLargeIcons, mnuSmallIcons, mnuList, mnuDetails})
    if (item->Tag == tag) item->SetChecked(true);
  lvDrives.SetViewStyle(kViews[tag]);
  lvFiles.SetViewStyle(kViews[tag]);
  if (lvFiles.ViewStyle() == LV_VIEW_DETAILS) UpdateSortArrows(SortColumn);
}

void TfrmFileBrowser::mnuColumnsClick(ui::MenuItem& sender) {
  int column = sender.Tag;
  if (column < 1 || column >= kColumnCount) return;
  sender.SetChecked(!sender.Checked());
  ColumnStates[column].Shown = sender.Checked();
  lvFiles.SetColumnWidth(column, sender.Checked() ? ColumnStates[column].SavedWidth : 0);
}
