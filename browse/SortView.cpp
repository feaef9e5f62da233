// Sorting by column, the header arrow, hiding columns and the four view styles.
#include <unordered_set>

#include "app/kwFileBrowser.h"
#include "browse/core/FileCompare.h"

namespace {

// An entry's identity within one listing. Names are unique in a folder, and the parent and
// drives entries have kinds of their own, so a file that carries the parent entry's caption is
// still another entry.
std::wstring EntryKey(const pw::FileItem& item) {
  return static_cast<wchar_t>(L'0' + static_cast<int>(item.Kind)) + item.Caption;
}

}  // namespace

void TfrmFileBrowser::lvFilesColumnClick(int column) {
  if (column == SortColumn) {
    SortAscending = !SortAscending;
  } else {
    SortColumn = column;
    SortAscending = true;
  }
  // The selection belongs to the entries, not to the rows: carry it across the sort.
  const bool allSelected = !Items.empty() && lvFiles.SelectedCount() == static_cast<int>(Items.size());
  std::unordered_set<std::wstring> selected;
  if (!allSelected)
    for (int i : lvFiles.SelectedRows()) selected.insert(EntryKey(Items[static_cast<size_t>(i)]));
  std::wstring focused;
  if (const pw::FileItem* f = ItemAt(lvFiles.Focused())) focused = EntryKey(*f);
  SortItems();
  SuppressSelectionEvents = true;
  HWND list = lvFiles.Handle();
  ClearFileSelection(allSelected);
  for (size_t i = 0; i < Items.size() && (!selected.empty() || !focused.empty()); ++i) {
    const std::wstring key = EntryKey(Items[i]);
    UINT state = selected.erase(key) ? LVIS_SELECTED : 0;
    if (!focused.empty() && key == focused) {
      state |= LVIS_FOCUSED;
      focused.clear();
    }
    if (state) ListView_SetItemState(list, static_cast<int>(i), state, state);
  }
  SuppressSelectionEvents = false;
  InvalidateRect(list, nullptr, FALSE);
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

void TfrmFileBrowser::mnuViewTypeClick(const ui::Sender& sender) {
  static const DWORD kViews[] = {LV_VIEW_ICON, LV_VIEW_SMALLICON, LV_VIEW_LIST, LV_VIEW_DETAILS};
  const int tag = sender.Tag;
  if (tag < 0 || tag > 3) return;
  if (sender.Item) {
    for (ui::SpeedButton* b : {&btnLargeIcons, &btnSmallIcons, &btnList, &btnDetails})
      if (b->Tag == tag) b->SetDown(true);
  }
  for (ui::MenuItem* item : {mnuLargeIcons, mnuSmallIcons, mnuList, mnuDetails})
    if (item->Tag == tag) item->SetChecked(true);
  lvDrives.SetViewStyle(kViews[tag]);
  lvFiles.SetViewStyle(kViews[tag]);
  if (lvFiles.ViewStyle() == LV_VIEW_DETAILS) {
    ApplyColumnStates();
    UpdateSortArrows(SortColumn);
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
