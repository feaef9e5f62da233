#include "ui/ListView.h"

namespace ui {

void ListView::Create(HWND parent, DWORD style, int id) {
  hwnd_ = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | style, 0, 0, 0, 0,
                          parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                          GetModuleHandleW(nullptr), nullptr);
  ListView_SetExtendedListViewStyle(hwnd_, LVS_EX_DOUBLEBUFFER);
}

void ListView::AddColumn(const ColumnSpec& column) const {
  LVCOLUMNW col{};
  col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
  col.pszText = const_cast<wchar_t*>(column.Caption);
  col.cx = column.Width;
  col.fmt = column.Format;
  ListView_InsertColumn(hwnd_, ColumnCount(), &col);
}

int ListView::ColumnCount() const {
  HWND header = Header();
  return header ? Header_GetItemCount(header) : 0;
}

int ListView::ColumnWidth(int column) const { return ListView_GetColumnWidth(hwnd_, column); }

void ListView::SetColumnWidth(int column, int width) const {
  ListView_SetColumnWidth(hwnd_, column, width);
}

bool ListView::IsSelected(int index) const {
  return (ListView_GetItemState(hwnd_, index, LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

std::wstring ListView::ItemText(int index, int subItem) const {
  wchar_t buf[1024];
  buf[0] = 0;
  ListView_GetItemText(hwnd_, index, subItem, buf, 1024);
  return buf;
}

}  // namespace ui
