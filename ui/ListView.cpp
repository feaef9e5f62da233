#include "ui/ListView.h"

namespace ui {

void ListView::Create(HWND parent, DWORD style, int id) {
  hwnd_ = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | style, 0, 0, 0, 0,
                          parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                          GetModuleHandleW(nullptr), nullptr);
  ListView_SetExtendedListViewStyle(hwnd_, LVS_EX_DOUBLEBUFFER);
}

void ListView::AddColumn(const wchar_t* caption, int width, int format) const {
  LVCOLUMNW col{};
  col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
  col.pszText = const_cast<wchar_t*>(caption);
  col.cx = width;
  col.fmt = format;
  ListView_InsertColumn(hwnd_, ColumnCount(), &col);
}

int ListView::ColumnCount() const {
  HWND header = Header();
  return header ? Header_GetItemCount(header) : 0;
}

int ListView::ColumnWidth(int column) const { return ListView_GetColumnWidth(hwnd_, column); }

void ListView::SetColumnWidth(int column, int width) const {
  if (ViewStyle() == LV_VIEW_DETAILS) {
    ListView_SetColumnWidth(hwnd_, column, width);
    return;
  }
  HDITEMW item{};
  item.mask = HDI_WIDTH;
  item.cxy = width;
  Header_SetItem(Header(), column, &item);
}

int ListView::FirstSelected() const {
  const int first = ListView_GetNextItem(hwnd_, -1, LVNI_SELECTED);
  return first < Count() ? first : -1;
}

std::vector<int> ListView::SelectedRows() const {
  std::vector<int> rows;
  const int count = Count();
  // A search past the last selected row would visit every row after it.
  const int selected = SelectedCount();
  for (int i = selected > 0 ? ListView_GetNextItem(hwnd_, -1, LVNI_SELECTED) : -1; i >= 0 && i < count;) {
    rows.push_back(i);
    if (static_cast<int>(rows.size()) >= selected) break;
    const int next = ListView_GetNextItem(hwnd_, i, LVNI_SELECTED);
    if (next <= i) break;
    i = next;
  }
  return rows;
}

bool ListView::IsSelected(int index) const {
  return (ListView_GetItemState(hwnd_, index, LVIS_SELECTED) & LVIS_SELECTED) != 0;
}


}  // namespace ui
